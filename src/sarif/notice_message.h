// The text a document gives a notice, shared by the SARIF log and the GitLab
// report: the rule's short text (notice 22: its keyword and the scope
// wording), and " in function NAME" (class, struct, interface) when it
// belongs to one.
#pragma once

#include <string>

#include "sarif/notice_capture.h"

// "function", "class", "struct", "interface"; "" for none.
const char* NoticeEntityKindWord(NoticeEntityKind kind);
// The kind a SARIF logical location gives: "function" or "type".
const char* LogicalLocationKind(NoticeEntityKind kind);
// The message without its entity part.
std::string NoticeMessageHead(const NoticeRule& rule, const char* keyword);
// " in function NAME", or "" for none.
std::string NoticeEntitySuffix(const NoticeEntity& entity);
// The whole message of a captured notice.
std::string NoticeMessage(const NoticeRule& rule, const CapturedNotice& notice, const FileNotices& file);
// The last part of a qualified name (after the last "::" or "." outside
// template arguments).
std::string_view SimpleName(std::string_view qualified);
