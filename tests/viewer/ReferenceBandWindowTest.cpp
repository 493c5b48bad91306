// The reference band of the main window: ticked, the band lies under the series, the drive
// outside it is marked in its grid row and legend line; unticked, the chart is drawn as before.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QTest>

#include "common/Numbers.h"
#include "platform/ChartView.h"
#include "platform/DisplayList.h"
#include "platform/QtGrid.h"
#include "support/SessionFixture.h"
#include "support/WindowFixture.h"
#include "viewer/ChartViews.h"
#include "viewer/StatisticsWindow.h"

namespace varst {
namespace {

using test::DriveLine;
using test::RangeCondition;
using test::Window;

// `range` records over the range 0..range at `level` MB/s, or at half of it over the first tenth.
std::string Drive(const std::string& model, double level, bool slowStart, int range = 1000) {
  std::string text = DriveLine(model, "S" + model) + "\r\n" + RangeCondition(range) + "\r\n";
  for (int i = 0; i < range; ++i) {
    const double value = slowStart && i < 100 ? level / 2 : level + (i % 3) * 0.1;
    text += "R," + std::to_string(i) + ",0," + ShortestText(value) + ",1\r\n";
  }
  return text;
}

TEST(ReferenceBandWindow, BandUnderTheSeriesAndTheOutlierMarkedUntilUnticked) {
  test::TempDir files;
  std::vector<std::string> paths;
  for (const char* model : {"MA", "MB", "MC"}) paths.push_back(files.Write(std::string(model) + ".dat", Drive(model, 100, false)));
  paths.push_back(files.Write("MS.dat", Drive("MS", 100, true)));
  Window w(paths);
  MainMenu& window = *w.window;
  const DisplayList& list = window.ChartSurface().Surface().List();
  const std::string plain = DumpDisplayList(list);
  ASSERT_EQ(plain.find("polygon"), std::string::npos);

  QTest::mouseClick(window.BandCheck(), Qt::LeftButton);
  const std::string banded = DumpDisplayList(list);
  const std::size_t band = banded.find("polygon");
  ASSERT_NE(band, std::string::npos);
  // Under the series: each series starts with its legend line, and the first one comes after
  // the band; only the slow drive's legend line is marked.
  EXPECT_LT(band, banded.find("MA S/N:SMA"));
  EXPECT_NE(banded.find("Read (外れ) MS S/N:SMS"), std::string::npos);
  EXPECT_EQ(banded.find("(外れ) MA"), std::string::npos);
  ASSERT_EQ(window.Bands().outlierRows.size(), 4u);
  EXPECT_EQ(window.Bands().outlierRows, (std::vector<bool>{false, false, false, true}));
  EXPECT_DOUBLE_EQ(*window.Bands().outlierShare[3], 0.1);
  EXPECT_EQ(window.SeriesGrid().TextMatrix(3, 2), "Read (外れ)");
  EXPECT_EQ(window.SeriesGrid().TextMatrix(0, 2), "Read ");
  // The statistics table gains the share of each row's bins outside the band.
  window.Views().ShowStatistics();
  StatisticsWindow& statistics = *window.Views().Statistics();
  const std::string table = statistics.TabText();
  EXPECT_NE(table.find("\tthreshold_count\toutlier_share\n"), std::string::npos) << table;
  EXPECT_NE(table.find("\t0.1\n"), std::string::npos) << table;
  EXPECT_NE(table.find("\t0\n"), std::string::npos) << table;

  // Unticking the slow drive leaves three alike: a band and no outlier.
  window.SeriesGrid().SetCellChecked(3, 1, kUnchecked);
  window.Grid1_AfterEdit(3, 1);
  window.RefreshBand();
  EXPECT_EQ(window.Bands().outlierRows, (std::vector<bool>{false, false, false, false}));
  EXPECT_NE(DumpDisplayList(list).find("polygon"), std::string::npos);

  window.SeriesGrid().SetCellChecked(3, 1, kChecked);
  QTest::mouseClick(window.BandCheck(), Qt::LeftButton);
  EXPECT_EQ(DumpDisplayList(list), plain);
  EXPECT_EQ(window.SeriesGrid().TextMatrix(3, 2), "Read ");
  statistics.Refresh();
  EXPECT_EQ(statistics.TabText().find("outlier_share"), std::string::npos);
}

// Files of another test range share the chart (drawn over the largest) but not a band: each
// range is a group of its own, binned over its own range.
TEST(ReferenceBandWindow, EachTestRangeIsAGroupOfItsOwn) {
  test::TempDir files;
  std::vector<std::string> paths;
  for (const char* model : {"MA", "MB", "MC"}) paths.push_back(files.Write(std::string(model) + ".dat", Drive(model, 100, false)));
  for (const char* model : {"LA", "LB", "LC"}) {
    paths.push_back(files.Write(std::string(model) + ".dat", Drive(model, 100, false, 2000)));
  }
  Window w(paths);
  MainMenu& window = *w.window;
  QTest::mouseClick(window.BandCheck(), Qt::LeftButton);
  const auto& bands = window.Bands().bands;
  ASSERT_EQ(bands.size(), 2u);
  EXPECT_TRUE(bands[0].present && bands[1].present);
  EXPECT_EQ(bands[0].end, 1000);
  EXPECT_EQ(bands[1].end, 2000);
  EXPECT_EQ(window.Bands().outlierRows, std::vector<bool>(6, false));
}

}  // namespace
}  // namespace varst
