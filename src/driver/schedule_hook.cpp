#include "driver/schedule_hook.h"

#include <charconv>
#include <string_view>

#include "driver/usable_cpus.h"

namespace {

bool Blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

template <class Number>
bool WholeNumber(std::string_view s, Number& value) {
  if (s.empty() || s.front() < '0' || s.front() > '9') return false;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  return ec == std::errc() && end == s.data() + s.size();
}

// Applies one key=value item; false when the item is not a valid one.
bool ApplyItem(std::string_view item, ScheduleHook& hook, unsigned& seen) {
  const std::size_t eq = item.find('=');
  if (eq == std::string_view::npos) return false;
  const std::string_view key = item.substr(0, eq);
  const std::string_view value = item.substr(eq + 1);
  unsigned bit = 0;
  if (key == "jobs") {
    bit = 1;
    int jobs = 0;
    if (!WholeNumber(value, jobs) || jobs < 1 || jobs > kMaxJobs) return false;
    hook.jobs = jobs;
  } else if (key == "order") {
    bit = 2;
    if (value == "inorder") hook.order = ScheduleHook::Order::InOrder;
    else if (value == "reverse") hook.order = ScheduleHook::Order::Reverse;
    else if (value == "shuffle") hook.order = ScheduleHook::Order::Shuffle;
    else return false;
  } else if (key == "seed") {
    bit = 4;
    if (!WholeNumber(value, hook.seed)) return false;
  } else {
    return false;
  }
  if ((seen & bit) != 0) return false;
  seen |= bit;
  return true;
}

}  // namespace

ScheduleHook ParseScheduleHook(const char* text) {
  ScheduleHook hook;
  if (text == nullptr) return hook;
  std::string_view rest(text);
  unsigned seen = 0;
  for (;;) {
    while (!rest.empty() && Blank(rest.front())) rest.remove_prefix(1);
    if (rest.empty()) return hook;
    std::size_t end = 0;
    while (end < rest.size() && !Blank(rest[end])) ++end;
    if (!ApplyItem(rest.substr(0, end), hook, seen)) {
      ScheduleHook invalid;
      invalid.valid = false;
      return invalid;
    }
    rest.remove_prefix(end);
  }
}
