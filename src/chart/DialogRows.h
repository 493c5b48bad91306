#pragma once
// The series rows the line colour dialog and the drawing order dialog work on, copied from the
// window's series grid and the data set, and what their results do to the data set. The
// dialogs edit these plain rows; they never see the window's grid.

#include <string>
#include <vector>

#include "common/Colour.h"
#include "data/DataSet.h"
#include "platform/Grid.h"

namespace varst {

// A row of the line colour dialog: the series grid's column 1 text and the row's colour.
struct LineColourRow {
  std::string text;
  Colour colour = kBlack;
};

// Series grid rows from row 0 while their column 1 text, blanks removed, is not empty, with
// SeriesColor of the same row.
[[nodiscard]] std::vector<LineColourRow> LineColourRowsFromGrid(const Grid& grid, const DataSet& dataSet);

// SeriesColor(r) := colour of row r, for every row given.
void ApplyLineColours(const std::vector<LineColourRow>& rows, DataSet& dataSet);

// A row of the drawing order dialog: series grid columns 0, 1, 3 and 4 and the row's colour.
struct PositionRow {
  std::string path;
  std::string name;
  std::string model;
  std::string serial;
  Colour colour = kBlack;
};

// Series grid rows from row 0 while their column 0 text is not empty, with SeriesColor.
[[nodiscard]] std::vector<PositionRow> PositionRowsFromGrid(const Grid& grid, const DataSet& dataSet);

// SeriesColor(d) := colour of row d, so the colours follow the rows into their new order.
void ApplyPositionColours(const std::vector<PositionRow>& rows, DataSet& dataSet);

// The loader's list of the row paths in order: each path followed by the NUL character, the
// last NUL dropped and ",," appended; "" when there are no rows.
[[nodiscard]] std::string BuildOrderList(const std::vector<PositionRow>& rows);

}  // namespace varst
