#include "convert/TimeStampText.h"

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace varst {
namespace {

TEST(TimeStampText, ShowsAFileTimeInLocalTimeZeroPadded) {
  test::TempDir dir;
  const std::string path = dir.Write("05040101.csv", "x");
  const struct {
    int month, day, hour, minute, second;
    const char* text;
  } rows[] = {{4, 1, 9, 5, 0, "2005/04/01 09:05:00"}, {12, 31, 23, 59, 59, "2005/12/31 23:59:59"}};
  for (const auto& row : rows) {
    std::tm local{};
    local.tm_year = 2005 - 1900;
    local.tm_mon = row.month - 1;
    local.tm_mday = row.day;
    local.tm_hour = row.hour;
    local.tm_min = row.minute;
    local.tm_sec = row.second;
    local.tm_isdst = -1;
    std::filesystem::last_write_time(path, FromTimeT(std::mktime(&local)));
    EXPECT_EQ(FileTimeStampText(path), row.text);
  }
  EXPECT_EQ(FileTimeStampText(dir.File("missing")), "");
}

}  // namespace
}  // namespace varst
