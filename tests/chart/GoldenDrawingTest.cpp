// The drawing of small result files of every chart kind, compared operation by operation with
// the recorded drawing in tests/golden. Run with VARST_UPDATE_GOLDEN=1 to record them again
// after an intended change, and read the difference before committing it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "app/HeadlessSession.h"
#include "platform/DisplayList.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

namespace varst {
namespace {

std::string GoldenPath(const std::string& name) { return std::string(VARST_SOURCE_DIR) + "/tests/golden/" + name; }

void ExpectGolden(const std::string& input, HeadlessOptions options = {}) {
  test::ScriptedPrompter prompter;
  options.files = {GoldenPath(input + ".dat")};
  HeadlessSession session(options, prompter);
  session.LoadFiles();
  std::string dump = DumpDisplayList(session.Drawing());
  const std::string expectedPath = GoldenPath(input + (options.showModelName ? "" : ".nomodel") + ".dump");
  if (std::getenv("VARST_UPDATE_GOLDEN") != nullptr) {
    std::ofstream(expectedPath, std::ios::binary) << dump;
  }
  const std::string expected = test::ReadFileBytes(expectedPath);
  ASSERT_FALSE(expected.empty()) << "no recorded drawing " << expectedPath;
  EXPECT_EQ(dump, expected) << input;
}

TEST(GoldenDrawing, LbaRateWithWriteAndReadSeriesErrorAndBreakMarks) { ExpectGolden("lba_small"); }
TEST(GoldenDrawing, CountKindWithThresholdBoxesAndLogAxis) { ExpectGolden("count_small"); }
TEST(GoldenDrawing, CountKindWithTheShortFooter) { ExpectGolden("count_flags4_small"); }
TEST(GoldenDrawing, TimeKind) { ExpectGolden("time_small"); }
TEST(GoldenDrawing, CompletionTimeOverLbaWithThresholdZeroAndAThresholdSeries) { ExpectGolden("threshold_small"); }
TEST(GoldenDrawing, LegendWithoutModelName) {
  HeadlessOptions options;
  options.showModelName = false;
  ExpectGolden("lba_small", options);
}

}  // namespace
}  // namespace varst
