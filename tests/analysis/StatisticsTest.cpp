// The statistics of series rows, pinned on small hand-made files drawn as the chart draws them.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "analysis/StatisticsTable.h"
#include "support/SessionFixture.h"

namespace varst {
namespace {

using test::DriveLine;
using test::ScriptedPrompter;
using test::TempDir;

// Condition line over 0..1000 with a completion time threshold ("-1": none).
std::string Condition(const std::string& threshold = "-1") { return "0,0,1000,0,0,256,100,100,0,0,0,0," + threshold; }

struct Drawn {
  std::vector<StatisticsRow> rows;
  int prompts = 0;
};

Drawn DrawFile(const std::vector<std::string>& lines, ViewRange view = {}, PointStore::Keep keep = PointStore::Keep::Points) {
  TempDir dir;
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  HeadlessOptions options;
  options.files = {dir.Write("t.dat", text)};
  options.view = view;
  options.keep = keep;
  ScriptedPrompter prompter;
  HeadlessSession session(options, prompter);
  session.CurrentSettings().WorkFolder = dir.File("work");
  session.LoadFiles();
  return {BuildStatisticsRows(session.Data(), session.Points(), [](std::int32_t) { return true; }),
          static_cast<int>(prompter.History().size())};
}

struct Case {
  const char* name;
  std::vector<std::string> lines;
  ViewRange view;
  // records, errors, min, min_x, mean, p1, p50, p99, max, max_x, threshold_count of row 0
  std::vector<std::string> expected;
};

TEST(SeriesStatistics, DefinitionsOnHandMadeFiles) {
  const std::vector<Case> cases{
      {"ties take the first record's X",
       {DriveLine(), Condition(), "R,10,0,5,1", "R,20,1,3,1", "R,30,2,3,1", "R,40,3,7,1", "R,50,4,7,1"},
       {},
       {"5", "0", "3", "20", "5", "3", "5", "7", "7", "40", ""}},
      {"one record",
       {DriveLine(), Condition(), "R,600,0,4.25,1"},
       {},
       {"1", "0", "4.25", "600", "4.25", "4.25", "4.25", "4.25", "4.25", "600", ""}},
      {"two tests of one file fill one row",
       {DriveLine(), Condition(), "R,0,0,2,1", "R,1000,1,4,1", Condition(), "R,0,0,1,1", "R,1000,1,9,1"},
       {},
       {"4", "0", "1", "0", "4", "1", "2", "9", "9", "1000", ""}},
      {"errors end in E or A; S is no error",
       {DriveLine(), Condition(), "RE,0,0,1,1", "RA,100,1,1,1", "RS,200,2,1,1", "R,300,3,1,1"},
       {},
       {"4", "2", "1", "0", "1", "1", "1", "1", "1", "0", ""}},
      {"threshold count sums the drawn count boxes",
       {DriveLine(), Condition("30"), "R,0,0,1,2", "R,100,1,2,0", "R,200,2,3,5", "R,300,3,4,x"},
       {},
       {"4", "0", "1", "0", "2.5", "1", "2", "4", "4", "300", "7"}},
      {"a range keeps the records inside it, ends included",
       {DriveLine(), Condition("30"), "R,0,0,1,2", "R,100,1,2,3", "R,200,2,3,5", "R,300,3,4,7"},
       {true, 100, 200},
       {"2", "0", "2", "100", "2.5", "2", "2", "3", "3", "200", "8"}},
      {"a range without records has empty numbers",
       {DriveLine(), Condition(), "R,0,0,1,1", "R,1000,1,2,1"},
       {true, 10, 20},
       {"0", "", "", "", "", "", "", "", "", "", ""}},
  };
  // The window keeps every point; --stats counts the values, or keeps them when they are
  // too many and too varied to count.
  for (const auto keep : {PointStore::Keep::Points, PointStore::Keep::Values, PointStore::Keep::Tally}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + ", keeping " + std::to_string(static_cast<int>(keep)));
      const Drawn drawn = DrawFile(c.lines, c.view, keep);
      EXPECT_EQ(drawn.prompts, 0);
      ASSERT_EQ(drawn.rows.size(), 1U);
      EXPECT_EQ(StatisticsNumberTexts(drawn.rows[0].stats), c.expected);
    }
  }
}

TEST(SeriesStatistics, NearestRankPercentiles) {
  struct Rank {
    std::size_t n;
    double p;
    double expected;  // values are 1..n, so the value is the rank
  };
  for (const Rank& r : std::vector<Rank>{{100, 1, 1}, {100, 99, 99}, {200, 1, 2}, {3, 50, 2}, {2, 50, 1}, {7, 99, 7}}) {
    std::vector<double> sorted(r.n);
    for (std::size_t i = 0; i < r.n; ++i) sorted[i] = static_cast<double>(i + 1);
    EXPECT_EQ(NearestRankPercentile(sorted, r.p), r.expected) << r.n << " p" << r.p;
  }
  // The statistics select their percentiles without sorting: the same values as a sorted copy
  // gives, with ties, for every count from 1 to 300, the values in scrambled order: short
  // decimals (kept compact) of a narrow span and of spans wider than the count's slices, and
  // values that are not short decimals.
  for (std::size_t m = 3; m <= 902; ++m) {
    const std::size_t n = m / 3;
    const int kind = static_cast<int>(m % 3);
    SeriesPoints points;
    std::vector<double> sorted;
    for (std::size_t i = 0; i < n; ++i) {
      const auto scrambled = static_cast<double>((i * 7919) % 97);
      const double value = kind == 0 ? scrambled / 4 : kind == 1 ? (i % 5 == 0 ? scrambled * 12345.5 - 600000 : scrambled / 4) : scrambled / 4 + 1.0 / 3;
      points.x.push_back(static_cast<double>(i));
      points.y.push_back(value);
      sorted.push_back(value);
    }
    std::sort(sorted.begin(), sorted.end());
    const SeriesStatistics stats = ComputeStatistics(points);
    EXPECT_EQ(points.y.Compact(), kind != 2);
    EXPECT_EQ(*stats.p1, NearestRankPercentile(sorted, 1)) << m;
    EXPECT_EQ(*stats.p50, NearestRankPercentile(sorted, 50)) << m;
    EXPECT_EQ(*stats.p99, NearestRankPercentile(sorted, 99)) << m;
    // Counted instead of kept, the same figures; a negative zero (equal to the other zero)
    // cannot be counted.
    PointStore tally(PointStore::Keep::Tally);
    for (std::size_t i = 0; i < n; ++i) tally.Record(0, points.x[i], points.y[i], false, -1);
    ASSERT_FALSE(tally.NeedsValuesInOrder()) << m;
    EXPECT_EQ(StatisticsNumberTexts(ComputeStatistics(tally.Row(0))), StatisticsNumberTexts(stats)) << m;
    tally.Record(0, 0, -0.0, false, -1);
    EXPECT_TRUE(tally.NeedsValuesInOrder()) << m;
  }
}

// More distinct values than a tally counts: the statistics of a row that keeps every point,
// of one that keeps the values, and of one that counted them until they were too many.
TEST(SeriesStatistics, ValuesTooVariedToCountGiveTheSameFigures) {
  std::array<PointStore, 3> stores{PointStore(PointStore::Keep::Points), PointStore(PointStore::Keep::Values),
                                   PointStore(PointStore::Keep::Tally)};
  const std::size_t n = 20000;
  for (std::size_t i = 0; i < n; ++i) {
    const double value = static_cast<double>((i * 7919) % (n - 5)) / 1000 - 20;  // ties, mostly not
    for (PointStore& store : stores) store.Record(0, static_cast<double>(i), value, i % 1000 == 0, -1);
  }
  EXPECT_FALSE(stores[2].NeedsValuesInOrder());
  EXPECT_TRUE(stores[2].Row(0).spilled);
  const std::vector<std::string> expected = StatisticsNumberTexts(ComputeStatistics(stores[0].Row(0)));
  EXPECT_EQ(StatisticsNumberTexts(ComputeStatistics(stores[1].Row(0))), expected);
  EXPECT_EQ(StatisticsNumberTexts(ComputeStatistics(stores[2].Row(0))), expected);
}

TEST(SeriesStatistics, CsvAndJsonTexts) {
  StatisticsRow row;
  row.row = 3;
  row.path = "/d/a,\"b\".dat";
  row.label = "Read";
  row.model = "M";
  row.serial = "S\x01";
  row.stats.records = 1;
  row.stats.min = row.stats.max = row.stats.mean = row.stats.p1 = row.stats.p50 = row.stats.p99 = 0.1;
  row.stats.min_x = row.stats.max_x = 1e20;
  EXPECT_EQ(StatisticsCsv({row}),
            "row,path,label,model,serial,records,errors,min,min_x,mean,p1,p50,p99,max,max_x,threshold_count\n"
            "3,\"/d/a,\"\"b\"\".dat\",Read,M,S\x01,1,0,0.1,1e+20,0.1,0.1,0.1,0.1,0.1,1e+20,\n");
  EXPECT_EQ(StatisticsJson({row}),
            "{\"row\":3,\"path\":\"/d/a,\\\"b\\\".dat\",\"label\":\"Read\",\"model\":\"M\",\"serial\":\"S\\u0001\","
            "\"records\":1,\"errors\":0,\"min\":0.1,\"min_x\":1e+20,\"mean\":0.1,\"p1\":0.1,\"p50\":0.1,\"p99\":0.1,"
            "\"max\":0.1,\"max_x\":1e+20,\"threshold_count\":null}\n");
}

}  // namespace
}  // namespace varst
