#include "report/calendar_time.h"

#include <chrono>

namespace korden {

std::optional<std::tm> utcCalendarTime(long long epochSeconds) {
  // 0001-01-01 00:00:00 and 9999-12-31 23:59:59 UTC in seconds since 1970.
  constexpr long long kFirst = -62135596800LL;
  constexpr long long kLast = 253402300799LL;
  if (epochSeconds < kFirst || epochSeconds > kLast) return std::nullopt;
  using namespace std::chrono;
  const sys_seconds when{seconds(epochSeconds)};
  const sys_days day = floor<days>(when);
  const year_month_day date{day};
  const hh_mm_ss<seconds> clock{when - day};
  std::tm t{};
  t.tm_year = static_cast<int>(date.year()) - 1900;
  t.tm_mon = static_cast<int>(static_cast<unsigned>(date.month())) - 1;
  t.tm_mday = static_cast<int>(static_cast<unsigned>(date.day()));
  t.tm_hour = static_cast<int>(clock.hours().count());
  t.tm_min = static_cast<int>(clock.minutes().count());
  t.tm_sec = static_cast<int>(clock.seconds().count());
  t.tm_wday = static_cast<int>(weekday{day}.c_encoding());
  t.tm_yday = static_cast<int>((day - sys_days{date.year() / January / 1}).count());
  return t;
}

std::optional<std::tm> localCalendarTime(std::time_t t) {
  std::tm local{};
#if defined(_WIN32)
  if (localtime_s(&local, &t) != 0) return std::nullopt;
#else
  if (localtime_r(&t, &local) == nullptr) return std::nullopt;
#endif
  return local;
}

}  // namespace korden
