// The calendar time of the report header. Expected dates are counted by hand from 1970-01-01
// (a Thursday): 365 days a year, 366 in the leap years.
#include "report/calendar_time.h"

#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "report/report_text.h"
#include "test_support.h"

namespace korden {
namespace {

struct Expected {
  long long seconds;
  int year, month, day, hour, minute, second, weekday, yearDay;
};

void expectTime(const std::tm& t, const Expected& e) {
  EXPECT_EQ(t.tm_year + 1900, e.year) << e.seconds;
  EXPECT_EQ(t.tm_mon + 1, e.month) << e.seconds;
  EXPECT_EQ(t.tm_mday, e.day) << e.seconds;
  EXPECT_EQ(t.tm_hour, e.hour) << e.seconds;
  EXPECT_EQ(t.tm_min, e.minute) << e.seconds;
  EXPECT_EQ(t.tm_sec, e.second) << e.seconds;
  EXPECT_EQ(t.tm_wday, e.weekday) << e.seconds;
  EXPECT_EQ(t.tm_yday, e.yearDay) << e.seconds;
}

TEST(CalendarTime, UtcDatesAcrossLeapYearsAndCenturies) {
  const Expected cases[] = {
      {0, 1970, 1, 1, 0, 0, 0, 4, 0},
      {-1, 1969, 12, 31, 23, 59, 59, 3, 364},
      // 2000-01-01 is 10957 days on (30 years, 7 leap days); Feb 29 is 59 days later.
      {951782400, 2000, 2, 29, 0, 0, 0, 2, 59},
      // 2024-01-01 is 19723 days on; 31 days and 29109 s later: Feb 1, 08:05:09, a Thursday.
      {1706774709, 2024, 2, 1, 8, 5, 9, 4, 31},
      // 2100-01-01 is 47482 days on; 2100 is no leap year, so day 59 is March 1.
      {4107542400LL, 2100, 3, 1, 0, 0, 0, 1, 59},
      // The ends of the four-digit years: 719162 days before 1970, 2932897 days after.
      {-62135596800LL, 1, 1, 1, 0, 0, 0, 1, 0},
      {253402300799LL, 9999, 12, 31, 23, 59, 59, 5, 364},
  };
  for (const Expected& e : cases) {
    const std::optional<std::tm> t = utcCalendarTime(e.seconds);
    ASSERT_TRUE(t.has_value()) << e.seconds;
    expectTime(*t, e);
  }
  EXPECT_FALSE(utcCalendarTime(-62135596801LL).has_value());
  EXPECT_FALSE(utcCalendarTime(253402300800LL).has_value());
}

TEST(CalendarTime, LocalTimeFollowsTheTimeZone) {
  {
    testing::ScopedEnvironment zone("TZ", "UTC0");
    const auto t = localCalendarTime(1706774709);
    ASSERT_TRUE(t.has_value());
    expectTime(*t, {1706774709, 2024, 2, 1, 8, 5, 9, 4, 31});
  }
  {
    // Five hours west of Greenwich.
    testing::ScopedEnvironment zone("TZ", "EST5");
    const auto t = localCalendarTime(1706774709);
    ASSERT_TRUE(t.has_value());
    expectTime(*t, {1706774709, 2024, 2, 1, 3, 5, 9, 4, 31});
  }
}

TEST(CalendarTime, TheReportTakesSourceDateEpochOnlyWhenItIsAUsableTime) {
  {
    testing::ScopedEnvironment epoch("SOURCE_DATE_EPOCH", "1706774709");
    expectTime(reportTime(), {1706774709, 2024, 2, 1, 8, 5, 9, 4, 31});
  }
  // Not a whole number, out of the long long range, or past the year 9999: the clock is used.
  for (const char* text : {"1e9", "12 ", "99999999999999999999", "253402300800"}) {
    testing::ScopedEnvironment zone("TZ", "UTC0");
    testing::ScopedEnvironment epoch("SOURCE_DATE_EPOCH", text);
    const std::time_t before = std::time(nullptr);
    const std::tm t = reportTime();
    const std::tm now = *utcCalendarTime(static_cast<long long>(before));
    EXPECT_EQ(t.tm_year, now.tm_year) << text;
    EXPECT_EQ(t.tm_yday, now.tm_yday) << text;
  }
}

}  // namespace
}  // namespace korden
