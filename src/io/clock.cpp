// clock.cpp -- the date and time of the report header: local time now, or the time given
// by SOURCE_DATE_EPOCH (seconds since 1970, taken as UTC) so that reports can be reproduced.
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "io/io.h"

namespace io {

Clock now() {
  std::tm tm{};
  bool have = false;
  if (const char* s = std::getenv("SOURCE_DATE_EPOCH"); s && *s) {
    long long v = 0;
    const char* end = s + std::strlen(s);
    const auto r = std::from_chars(s, end, v);
    // Only a whole number of seconds is taken; anything else is ignored.
    if (r.ec == std::errc() && r.ptr == end) {
      const std::time_t t = static_cast<std::time_t>(v);
      have = gmtime_r(&t, &tm) != nullptr;
    }
  }
  if (!have) {
    const std::time_t t = std::time(nullptr);
    if (!localtime_r(&t, &tm)) tm = std::tm{};
  }
  Clock c;
  c.year = tm.tm_year + 1900;
  c.month = tm.tm_mon + 1;
  c.day = tm.tm_mday;
  c.hour = tm.tm_hour;
  c.minute = tm.tm_min;
  c.second = tm.tm_sec;
  return c;
}

}  // namespace io
