// The rows the colour and order dialogs get from the series grid, and what they give back.

#include "chart/DialogRows.h"

#include <gtest/gtest.h>

#include "platform/MemoryGrid.h"

namespace varst {
namespace {

// A series grid of six columns with the given (path, name) rows and then empty rows.
MemoryGrid SeriesGrid(const std::vector<std::pair<std::string, std::string>>& rows, int emptyRows) {
  MemoryGrid grid;
  grid.SetCols(6);
  grid.SetRows(static_cast<int>(rows.size()) + emptyRows);
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const int row = static_cast<int>(r);
    grid.SetTextMatrix(row, 0, rows[r].first);
    grid.SetTextMatrix(row, 1, rows[r].second);
    grid.SetTextMatrix(row, 3, "model" + std::to_string(r));
    grid.SetTextMatrix(row, 4, "serial" + std::to_string(r));
  }
  return grid;
}

TEST(DialogRows, LineColourRowsStopAtTheFirstBlankName) {
  const MemoryGrid grid = SeriesGrid({{"/d/a", "a.dat"}, {"/d/b", "b.dat"}, {"/d/c", "  "}, {"/d/e", "e.dat"}}, 2);
  DataSet data;
  data.SeriesColor[0] = 0x11;
  data.SeriesColor[1] = 0x22;
  std::vector<LineColourRow> rows = LineColourRowsFromGrid(grid, data);
  ASSERT_EQ(rows.size(), 2U);
  EXPECT_EQ(rows[1].text, "b.dat");
  EXPECT_EQ(rows[1].colour, 0x22);
  rows[0].colour = 0x99;
  ApplyLineColours(rows, data);
  EXPECT_EQ(data.SeriesColor[0], 0x99);
  EXPECT_EQ(data.SeriesColor[1], 0x22);
  EXPECT_TRUE(LineColourRowsFromGrid(SeriesGrid({}, 3), data).empty());
}

TEST(DialogRows, PositionRowsAndTheirOrderList) {
  const MemoryGrid grid = SeriesGrid({{"/d/a", "a.dat"}, {"/d/b", "b.dat"}, {"", "orphan"}, {"/d/c", "c.dat"}}, 1);
  DataSet data;
  data.SeriesColor[1] = 0x22;
  std::vector<PositionRow> rows = PositionRowsFromGrid(grid, data);
  ASSERT_EQ(rows.size(), 2U) << "copied while the path is not empty";
  EXPECT_EQ(rows[1].path, "/d/b");
  EXPECT_EQ(rows[1].name, "b.dat");
  EXPECT_EQ(rows[1].model, "model1");
  EXPECT_EQ(rows[1].serial, "serial1");
  EXPECT_EQ(rows[1].colour, 0x22);

  std::swap(rows[0], rows[1]);
  ApplyPositionColours(rows, data);
  EXPECT_EQ(data.SeriesColor[0], 0x22) << "the colour follows its row";
  EXPECT_EQ(BuildOrderList({PositionRow{"/only", "", "", "", 0}}), "/only,,");
}

}  // namespace
}  // namespace varst
