// The drawing of small result files of every chart kind, compared operation by operation with
// the recorded drawing in tests/golden. Run with VARST_UPDATE_GOLDEN=1 to record them again
// after an intended change, and read the difference before committing it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/HeadlessSession.h"
#include "platform/DisplayList.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

namespace varst {
namespace {

std::string GoldenPath(const std::string& name) { return std::string(VARST_SOURCE_DIR) + "/tests/golden/" + name; }

std::string DrawingOf(const std::string& input, HeadlessOptions options = {}, bool readerThread = false) {
  test::ScriptedPrompter prompter;
  options.files = {GoldenPath(input + ".dat")};
  HeadlessSession session(options, prompter);
  if (readerThread) session.Data().PipelineFromBytes = 0;
  session.LoadFiles();
  return DumpDisplayList(session.Drawing());
}

void ExpectGolden(const std::string& input, HeadlessOptions options = {}) {
  const std::string dump = DrawingOf(input, options);
  // Big files are read on a second thread; the drawing is the same.
  EXPECT_EQ(DrawingOf(input, options, true), dump) << input << " through the reader thread";
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

// The recorded drawings were made by the program itself. These operations are worked out by
// hand from each file's numbers and the chart rules, so a wrong drawing cannot be recorded as
// the truth: X = (x - start) / (end - start) x 10000 (time: ms / test time), Y = value x 50, full
// scale F x 50 with scale top 1.2 F and height -1.3 F, axis font 0.03 F, legend font 0.045 F,
// labels half a font above their line, legend lines one axis font apart from the top, palette
// 00FF00 then 0000FF, error dots 60 wide and 60 x 1.3 F / 12000 x 1.5 (surface 3:2) tall in red,
// count boxes 60 wide and 1.3 F / 100 tall at log10(count) x F / 5. A pin ending in '*' is the
// beginning of an operation whose remaining digits come from a logarithm. Fails, for one, when
// the count box is drawn twice as tall (ScaleHeight() / 100 in the plot).
TEST(GoldenDrawing, PinsWorkedOutByHand) {
  struct Example {
    const char* input;
    std::vector<std::string> pins;
    std::vector<std::string> absent;
  };
  const std::vector<Example> examples = {
      // LBA 0..1000000, F 100 -> 5000, no threshold; W 50.5, 60, 55.25 (error), 40 (break), 45.
      {"lba_small",
       {"scale -1000 6000 12000 -6500", "text -600 2575 150 FFFFFF 50", "text -600 5300 150 FFFFFF RATE[MB/SEC]",
        "text 3000 0 150 FFFFFF 493E0h", "text 3000 -150 150 FFFFFF 153.60MB", "text 10000 0 150 FFFFFF F4240h",
        "text 10000 -150 150 FFFFFF 512.00MB", "text 0 -300 150 FFFFFF Sampling Block Size:100[MB] SECC:256",
        "text -1000 6000 225 00FF00 Write  MODEL-G1 S/N:SNG001 MaxLBA:1953125(1.00GB)",
        "line 0 2525 0 2525 00FF00 0", "line 0 2525 2500 3000 00FF00 0", "line 2500 3000 5000 2762.5 00FF00 0",
        "ellipse 4940 2713.75 5060 2811.25 00FF00 0000FF", "line 5000 2762.5 7500 2000 00FF00 0",
        "line 10000 2250 10000 2250 00FF00 0", "text -1000 5850 225 0000FF Read  MODEL-G1 S/N:SNG001 MaxLBA:1953125(1.00GB)",
        "line 0 3500 5000 3625 0000FF 0", "line 10000 3550 10000 3550 0000FF 0", "text 8000 6000 225 00FF00 ERR Cnt:1",
        "text 8000 5850 225 0000FF ERR Cnt:1"},
       {"CCT", "ellipse 9940"}},
      // Count 0..1000 step 100, F 50 -> 2500, threshold 30; counts 1, 120, 0, 5000 and "x".
      {"count_small",
       {"scale -1000 3000 12000 -3250", "text -600 1287.5 75 FFFFFF 25", "text -600 2650 75 FFFFFF CCT Time[ms]",
        "text 4000 0 75 FFFFFF 400", "text 10000 -150 75 FFFFFF COUNT", "text 0 -150 75 FFFFFF Count:1000[MB] SECC:8 STEP:100",
        "text 10000 2537.5 75 FFFFFF 100000", "text 10000 1537.5 75 FFFFFF 1000", "line 0 1849.48*",
        "text -1000 3000 112.5 00FF00 Read  MODEL-G2 S/N:SNG002 MaxLBA:156301488(80.03GB)", "line 0 375 0 375 00FF00 0",
        "rect -30 16.25 30 -16.25 00FF00 EFEFEF", "line 0 375 2500 1750 00FF00 0",
        "ellipse 4940 375.625 5060 424.375 00FF00 0000FF", "line 5000 400 7500 2075 00FF00 0", "rect 7470 1865.735*",
        "line 7500 2075 10000 450 00FF00 0", "text 8000 3000 112 00FF00 ERR Cnt:1"},
       {"CCT Threshold", "rect 4970", "rect 9970"}},
      // Count with flags 4: the short footer; 0..50000 step 5000, no threshold.
      {"count_flags4_small",
       {"scale -1000 3000 12000 -3250", "text 3000 0 75 FFFFFF 15000", "text 10000 0 75 FFFFFF 50000",
        "text 0 -150 75 FFFFFF Count:50000 STEP:5",
        "text -1000 3000 112.5 00FF00 Write  MODEL-G5 S/N:SNG005 MaxLBA:156301488(80.03GB)",
        "line 0 349 0 349 00FF00 0", "line 0 349 5000 223.5 00FF00 0", "line 5000 223.5 10000 260.5 00FF00 0",
        "text 8000 3000 112 00FF00 ERR Cnt:0"},
       {"[MB] SECC", "100000", "00FF00 EFEFEF"}},
      // Time: test time 10000 ms, sampling 1000 ms; labels in seconds.
      {"time_small",
       {"scale -1000 6000 12000 -6500", "text 5000 0 150 FFFFFF 5", "text 10000 0 150 FFFFFF 10",
        "text 10000 -150 150 FFFFFF TIME[s]", "text 0 -150 150 FFFFFF Test time10[S] Sampling time:1[S] SECC:256",
        "text -600 5300 150 FFFFFF RATE[MB/SEC]",
        "text -1000 6000 225 00FF00 Read  MODEL-G3 S/N:SNG003 MaxLBA:156301488(80.03GB)",
        "line 0 4000 2500 3900 00FF00 0", "line 2500 3900 5000 3975 00FF00 0", "line 7500 4050 10000 4000 00FF00 0",
        "text 8000 6000 225 00FF00 ERR Cnt:0"},
       {"h\n", "CCT", "ellipse"}},
      // LBA 0..156301487 (step 15630148.7), flag &H100, threshold 0 and a fourteenth field: the
      // series is "Threshold"; counts 1, 10 and 100000 on a log axis of 1000 a decade.
      {"threshold_small",
       {"text 1000 0 150 FFFFFF EE7F45h", "text 1000 -150 150 FFFFFF 8.00GB", "text 5000 0 150 FFFFFF 4A87C58h",
        "text 5000 -150 150 FFFFFF 40.01GB", "text 10000 0 150 FFFFFF 950F8AFh", "text -600 5300 150 FFFFFF CCT Time[ms]",
        "text 0 -300 150 FFFFFF Sampling Block Size:100[MB] SECC:256 CCT Threshold:0[ms]",
        "text 10000 5075 150 FFFFFF 100000", "text 10000 3075 150 FFFFFF 1000", "text 10000 1075 150 FFFFFF 10",
        "line 0 4698.97*", "text -1000 6000 225 00FF00 Threshold MODEL-G4 S/N:SNG004 MaxLBA:156301488(80.03GB)",
        "line 0 600 0 600 00FF00 0", "rect -30 32.5 30 -32.5 00FF00 EFEFEF", "line 0 600 5000 1550 00FF00 0",
        "rect 4970 1032.5 5030 967.5 00FF00 EFEFEF", "line 5000 1550 10000 650 00FF00 0",
        "ellipse 9940 601.25 10060 698.75 00FF00 0000FF", "rect 9970 5032.5 10030 4967.5 00FF00 0000FF",
        "text 8000 6000 225 00FF00 ERR Cnt:1"},
       {"Read "}},
  };
  for (const Example& example : examples) {
    const std::string dump = "\n" + DrawingOf(example.input);
    for (const std::string& pin : example.pins) {
      const bool prefix = pin.back() == '*';
      const std::string wanted = "\n" + (prefix ? pin.substr(0, pin.size() - 1) : pin + "\n");
      EXPECT_NE(dump.find(wanted), std::string::npos) << example.input << ": no " << pin;
    }
    for (const std::string& text : example.absent) {
      EXPECT_EQ(dump.find(text), std::string::npos) << example.input << ": unexpected " << text;
    }
  }
}

}  // namespace
}  // namespace varst
