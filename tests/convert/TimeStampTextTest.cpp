#include "convert/TimeStampText.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <sstream>

#include <fcntl.h>
#include <sys/stat.h>

#include "ConvertTestFiles.h"
#include "common/Text.h"
#include "convert/ConvertCommand.h"
#include "support/TempDir.h"

namespace varst {
namespace {

// TZ for one scope: the local time functions read it again at once.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* zone) {
    if (const char* old = std::getenv("TZ")) previous_ = old;
    ::setenv("TZ", zone, 1);
    ::tzset();
  }
  ~ScopedTimeZone() {
    if (previous_) {
      ::setenv("TZ", previous_->c_str(), 1);
    } else {
      ::unsetenv("TZ");
    }
    ::tzset();
  }

 private:
  std::optional<std::string> previous_;
};

// The file's modification time set by the system, in seconds since 1970 UTC.
void SetFileTime(const std::string& path, std::time_t utc) {
  const timespec times[2] = {{utc, 0}, {utc, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << path;
}

// The time of a file and the date folder of its copy, both in the local zone. The instants
// are written out as UTC seconds (not made by the code under test), and the zones are POSIX
// rules that need no zone database. Catches: localtime_r replaced by gmtime_r in TimeStampText
// (the JST-9 and EST5 rows show UTC), a file time read through a 64-bit nanosecond clock (the
// year 2300 row comes out empty or wrong), and a month printed without its + 1.
TEST(TimeStampText, ShowsTheSystemsFileTimeInTheLocalZoneAndNamesTheDateFolderByIt) {
  const struct {
    const char* zone;
    std::time_t utc;
    const char* text;
  } rows[] = {
      {"UTC0", 1112385600, "2005/04/01 20:00:00"},   // 2005-04-01 20:00:00 UTC
      {"JST-9", 1112385600, "2005/04/02 05:00:00"},  // the same instant, next day in Tokyo
      {"EST5", 1112358896, "2005/04/01 07:34:56"},   // 2005-04-01 12:34:56 UTC
      {"JST-9", 10413792000, "2300/01/01 09:00:00"},  // 2300-01-01 00:00:00 UTC, after 2262
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.zone) + " " + row.text);
    const ScopedTimeZone zone(row.zone);
    test::TempDir dir;
    const std::string source = dir.Write("src/a.csv", test::DataFileText("M", "S"));
    SetFileTime(source, row.utc);
    EXPECT_EQ(FileTimeStampText(source), row.text);

    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunConvertCommand({"--dest", dir.File("out"), "--level1", "date", source}, out, err), 0) << err.str();
    const std::string folder = std::string(row.text, 4) + std::string(row.text + 5, 2) + std::string(row.text + 8, 2);
    struct stat copy {};
    EXPECT_EQ(::stat(dir.File("out/" + folder + "/M_S.csv").c_str(), &copy), 0) << out.str();
  }
  EXPECT_EQ(FileTimeStampText("/no/such/file"), "");
}

}  // namespace
}  // namespace varst
