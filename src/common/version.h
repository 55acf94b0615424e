// Program version and build date shown in every report header.
#pragma once

inline constexpr const char* kLqaVersion = "7.75";
inline constexpr const char* kLqaBuildDate = __DATE__;  // "Mmm dd yyyy"
inline constexpr const char* kCfgFileName = "lqa.cfg";
inline constexpr const char* kMacroFileName = "lqa_macro.cfg";
inline constexpr const char* kWorkDiffCfgFileName = "lqa_workdiff.cfg";
inline constexpr const char* kUdqnFileName = "lqa_udqn.cfg";
