// The smoothing step: the derived lines it builds, and the series it draws from them.

#include "chart/AvrData.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "common/Numbers.h"
#include "common/Text.h"
#include "support/SessionFixture.h"

namespace varst {
namespace {

using test::DriveLine;
using test::Session;

const std::string kDrive = DriveLine();
const std::string kCondition = "0,0,1000,0,0,256,100,100,0,0,0,0,-1";  // 13 fields

std::string Record(const std::string& value, int x = 0) { return "R," + std::to_string(x) + ",0," + value + ",1"; }

struct BuildCase {
  const char* name;
  std::vector<std::string> lines;
  std::int32_t avr_cnt;
  double offset;
  std::int32_t offmode;
  std::vector<std::string> expected;
};

std::vector<std::string> Build(std::vector<std::string> lines, std::int32_t avr_cnt, double offset,
                               std::int32_t offmode) {
  std::vector<std::string> out{"stale"};
  std::int32_t count = 99;
  BuildAveragedLines(lines, static_cast<std::int32_t>(lines.size()), avr_cnt, offset, offmode, out, count);
  EXPECT_EQ(count, static_cast<std::int32_t>(out.size()));
  return out;
}

TEST(AvrData, DerivedLines) {
  const BuildCase cases[] = {
      {"window shrinks at the end",
       {kDrive, Record("10"), Record("20"), Record("30"), Record("40")},
       3, 0, kOffsetSubtract,
       {kDrive, Record("20.00"), Record("30.00"), Record("35.00"), Record("40.00")}},
      {"percent of a constant", {Record("50"), Record("50"), Record("50")}, 5, 10, kOffsetPercent,
       {Record("45.00"), Record("45.00"), Record("45.00")}},
      {"constant level whatever the data", {Record("7"), Record("x"), "R,0,0,1,1,9"}, 3, 12.5, kOffsetConstant,
       {Record("12.50"), Record("12.50"), Record("12.50")}},
      {"average below the offset is zero", {Record("10"), Record("20")}, 2, 100, kOffsetSubtract,
       {Record("0.00"), Record("0.00")}},
      {"negative constant is zero", {Record("10")}, 1, -5, kOffsetConstant, {Record("0.00")}},
      {"six-field record is skipped and the window reaches further",
       {Record("10"), "R,0,0,99,1,7", Record("20"), Record("30")},
       2, 0, kOffsetSubtract,
       {Record("15.00"), Record("25.00"), Record("25.00"), Record("30.00")}},
      {"header lines inside the window do not count",
       {Record("10"), kDrive, "a,b", Record("30")},
       2, 0, kOffsetSubtract,
       {Record("20.00"), kDrive, "a,b", Record("30.00")}},
      {"field 3 that is not a number enters no window",
       {Record("10"), Record("abc"), Record("30")},
       2, 0, kOffsetSubtract,
       {Record("20.00"), Record("30.00"), Record("30.00")}},
      {"window of zero gives zero", {Record("10"), Record("20")}, 0, 0, kOffsetSubtract,
       {Record("0.00"), Record("0.00")}},
      {"record after the last counted one has an empty window", {Record("10"), "R,0,0,5,1,1"}, 3, 0,
       kOffsetSubtract, {Record("10.00"), Record("0.00")}},
      {"unknown offset mode gives zero", {Record("10")}, 1, 0, 7, {Record("0.00")}},
      {"overflowing sum gives zero", {Record("1e308"), Record("1e308")}, 2, 0, kOffsetSubtract,
       {Record("0.00"), Record("1" + std::string(308, '0') + ".00")}},
      {"fields 0 to 2 and 4 are kept as text", {"WE, 12 ,003,4,  9 "}, 1, 0, kOffsetSubtract,
       {"WE, 12 ,003,4.00,  9 "}},
      {"condition lines of 13 or more fields gain the averaging field",
       {kCondition, kCondition + ",*", "1,2,3,4,5,6,7,8,9,10,11,12"},
       3, 2.5, kOffsetSubtract,
       {kCondition + ",3_2.5", kCondition + ",*,3_2.5", "1,2,3,4,5,6,7,8,9,10,11,12"}},
      {"empty and odd lines are copied", {"", "a,b,c,d,e,f,g"}, 3, 0, kOffsetSubtract, {"", "a,b,c,d,e,f,g"}},
  };
  for (const BuildCase& c : cases) {
    EXPECT_EQ(Build(c.lines, c.avr_cnt, c.offset, c.offmode), c.expected) << c.name;
  }
}

TEST(AvrData, InputLinesCountAndAliasing) {
  std::vector<std::string> lines{kCondition, Record("10"), Record("20"), Record("30")};
  std::vector<std::string> out;
  std::int32_t count = 0;
  BuildAveragedLines(lines, 3, 10, 5, kOffsetSubtract, out, count);
  EXPECT_EQ(lines[0], kCondition + ",10_5") << "the condition line changes in the input too";
  EXPECT_EQ(out, (std::vector<std::string>{kCondition + ",10_5", Record("10.00"), Record("15.00")}))
      << "only datacount lines are seen";
  BuildAveragedLines(lines, -1, 1, 0, kOffsetSubtract, out, count);
  EXPECT_EQ(count, 0);
  BuildAveragedLines(lines, 50, 3, 0, kOffsetSubtract, lines, count);
  EXPECT_EQ(count, 4) << "a count beyond the lines takes their number";
  EXPECT_EQ(lines[2], Record("25.00")) << "the input may be the output";
}

// The averaging as the plain algorithm states it: every record splits the lines of its window
// again. The fast build must give the same text for every line.
std::vector<std::string> PlainAverage(const std::vector<std::string>& lines, std::int32_t avr_cnt, double offset) {
  std::vector<std::string> out;
  const auto count = static_cast<std::int32_t>(lines.size());
  for (std::int32_t i = 0; i < count; ++i) {
    const std::vector<std::string> f = SplitFields(lines[static_cast<std::size_t>(i)]);
    if (f.size() != 5 && f.size() != 6) {
      out.push_back(lines[static_cast<std::size_t>(i)]);
      continue;
    }
    double sum = 0;
    int used = 0;
    std::int32_t k = i;
    for (std::int32_t w = 0; w < avr_cnt;) {
      if (k > count - 1) break;
      const std::vector<std::string> g = SplitFields(lines[static_cast<std::size_t>(k)]);
      if (g.size() == 5) {
        sum += std::stod(g[3]);
        ++used;
        ++w;
      }
      ++k;
    }
    double value = used == 0 ? 0 : sum / used - offset;
    if (value < 0 || std::isnan(value)) value = 0;
    out.push_back(f[0] + "," + f[1] + "," + f[2] + "," + FormatFixed(value, 2) + "," + f[4]);
  }
  return out;
}

TEST(AvrData, SameTextAsThePlainAlgorithmForEveryWindow) {
  std::vector<std::string> lines{kDrive};
  unsigned seed = 7;
  for (int i = 0; i < 157; ++i) {
    seed = seed * 1103515245U + 12345U;
    const unsigned r = seed >> 8;
    // Values with many digits, so that a changed order of additions shows in the last places.
    // Huge values of both signs make the order of the additions show even at two decimals.
    std::string value = DecimalText(static_cast<double>(r % 100000) / 7.0);
    if (r % 13 == 0) value = "1e17";
    if (r % 17 == 0) value = "-1e17";
    if (r % 11 == 0) {
      lines.push_back("R," + std::to_string(i) + ",0," + value + ",1,2");
    } else if (r % 23 == 0) {
      lines.push_back(kDrive);
    } else {
      lines.push_back(Record(value, i));
    }
  }
  for (const std::int32_t window : {1, 2, 3, 7, 8, 9, 15, 16, 17, 64, 140, 150, 157, 400}) {
    EXPECT_EQ(Build(lines, window, 0.5, kOffsetSubtract), PlainAverage(lines, window, 0.5)) << "window " << window;
  }
}

TEST(AvrData, DrawsTheLinesAsANewThresholdSeries) {
  Session s;
  std::vector<std::string> lines{kDrive, kCondition, Record("10", 0), Record("20", 500), Record("30", 1000)};
  s.Load({s.File("a.dat", lines)});
  ASSERT_EQ(s.Data().Grf_Hist_Ptr, 1);
  LoadContext context = s.Context();
  AvrData(context, lines, static_cast<std::int32_t>(lines.size()), 3, 2.5, 0, kOffsetSubtract);

  DataSet& data = s.Data();
  EXPECT_EQ(data.RefLineCount, 5);
  EXPECT_EQ(data.RefLines[1], kCondition + ",3_2.5");
  EXPECT_EQ(data.RefLines[2], Record("17.50", 0));
  ASSERT_EQ(data.Grf_Hist_Ptr, 2) << "one new series";
  EXPECT_EQ(data.SeriesIndex, 1);
  EXPECT_NE(data.SeriesInfo[1].find(",Threshold,|" + kDrive), std::string::npos) << data.SeriesInfo[1];
  EXPECT_EQ(data.FileList.back(), data.SeriesInfo[1].substr(0, data.SeriesInfo[1].find(',')))
      << "the in-memory series is listed under its reference file name";
  EXPECT_EQ(s.TextColours("Threshold " + std::string("MODEL-T1")).size(), 1U) << "a legend line labelled Threshold";
  EXPECT_EQ(s.SeriesPens().size(), 2U) << "drawn in a colour of its own";
  EXPECT_TRUE(s.prompter.Messages().empty());
}

}  // namespace
}  // namespace varst
