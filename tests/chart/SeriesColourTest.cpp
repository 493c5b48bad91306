// Every series keeps its own colour: the colour state is held per series row, so a file with
// write and read series draws two colours, the grid row shows the colour its series is drawn
// in, and a redraw changes no colour.

#include <gtest/gtest.h>

#include "support/SessionFixture.h"
#include "viewer/RedrawTickedRows.h"

namespace varst {
namespace {

using test::DriveLine;
using test::RangeCondition;
using test::Records;
using test::Session;

struct TwoFilesOfTwoSeries : ::testing::Test {
  Session s;
  void SetUp() override {
    const std::string a = s.File("a.dat", {DriveLine("MODEL-A", "SNA"), RangeCondition(), Records("W", 5), Records("R", 5)});
    const std::string b = s.File("b.dat", {DriveLine("MODEL-B", "SNB"), RangeCondition(), Records("W", 5), Records("R", 5)});
    s.Load({a, b});
  }
  // Each row's grid colour, which is also the colour its series was drawn in.
  std::vector<Colour> RowColours() {
    std::vector<Colour> colours;
    for (int row = 0; row < s.Grid().Rows(); ++row) colours.push_back(s.Grid().CellForeColor(row, 1));
    return colours;
  }
};

TEST_F(TwoFilesOfTwoSeries, FourSeriesTakePaletteEntriesZeroToThree) {
  const std::vector<Colour> palette = {0x00FF00, 0x0000FF, 0xFF0000, 0xFF00FF};
  ASSERT_EQ(s.Data().Grf_Hist_Ptr, 4);
  EXPECT_EQ(s.SeriesPens(), palette) << "each series' lines";
  EXPECT_EQ(RowColours(), palette) << "each grid row";
  for (int row = 0; row < 4; ++row) EXPECT_EQ(s.Data().SeriesColor[static_cast<std::size_t>(row)], palette[row]);
  EXPECT_EQ(s.TextColours("S/N:"), palette) << "each legend line";
}

TEST_F(TwoFilesOfTwoSeries, RedrawAfterUntickingAndTickingChangesNoColour) {
  const std::vector<Colour> before = RowColours();
  LoadContext context = s.Context();
  s.Grid().SetCellChecked(1, 1, kUnchecked);
  RedrawTickedRows(context);
  EXPECT_EQ(s.SeriesPens(), (std::vector<Colour>{before[0], before[2], before[3]})) << "row 1 is not drawn";
  s.Grid().SetCellChecked(1, 1, kChecked);
  RedrawTickedRows(context);
  EXPECT_EQ(s.SeriesPens(), before);
  EXPECT_EQ(RowColours(), before);
}

TEST_F(TwoFilesOfTwoSeries, AChosenRowColourChangesOnlyThatRow) {
  s.Data().SeriesColor[2] = 0x123456;  // what the line colour dialog does
  LoadContext context = s.Context();
  RedrawTickedRows(context);
  EXPECT_EQ(s.SeriesPens(), (std::vector<Colour>{0x00FF00, 0x0000FF, 0x123456, 0xFF00FF}));
  EXPECT_EQ(s.Grid().CellForeColor(2, 0), 0x123456);
}

TEST(SeriesColour, UserPaletteFromTheSettings) {
  Session s;
  s.session->CurrentSettings().ColorTable[0] = 0x111111;
  s.session->CurrentSettings().ColorTable[1] = 0x222222;
  s.Load({s.File("a.dat", {DriveLine(), RangeCondition(), Records("W", 3), Records("R", 3)})});
  EXPECT_EQ(s.SeriesPens(), (std::vector<Colour>{0x111111, 0x222222}));
}

}  // namespace
}  // namespace varst
