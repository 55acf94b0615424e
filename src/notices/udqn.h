// User defined quality notices as the rest of the system sees them.
#pragma once

struct GlobalData;

// The summary text of the user defined notice with this identifier, or null
// when no such notice is loaded.
const char* UdqnSummary(int id, GlobalData& gcd);
// The profile of user defined notices: each active, counted notice with its
// count and its share of totalNotices.
void udqn_profile(int totalNotices, GlobalData& gcd);
