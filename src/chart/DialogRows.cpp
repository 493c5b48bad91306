#include "chart/DialogRows.h"

#include <algorithm>

#include "common/Text.h"

namespace varst {
namespace {

// Rows beyond the colour table have no colour to show or to set.
int RowLimit(const Grid& grid) { return std::min(grid.Rows(), kTableSize); }

}  // namespace

std::vector<LineColourRow> LineColourRowsFromGrid(const Grid& grid, const DataSet& dataSet) {
  std::vector<LineColourRow> rows;
  for (int r = 0; r < RowLimit(grid); ++r) {
    std::string text = grid.TextMatrix(r, 1);
    if (Trim(text).empty()) break;
    rows.push_back({std::move(text), dataSet.SeriesColor[static_cast<std::size_t>(r)]});
  }
  return rows;
}

void ApplyLineColours(const std::vector<LineColourRow>& rows, DataSet& dataSet) {
  const std::size_t count = std::min(rows.size(), dataSet.SeriesColor.size());
  for (std::size_t r = 0; r < count; ++r) dataSet.SeriesColor[r] = rows[r].colour;
}

std::vector<PositionRow> PositionRowsFromGrid(const Grid& grid, const DataSet& dataSet) {
  std::vector<PositionRow> rows;
  for (int r = 0; r < RowLimit(grid); ++r) {
    std::string path = grid.TextMatrix(r, 0);
    if (path.empty()) break;
    rows.push_back({std::move(path), grid.TextMatrix(r, 1), grid.TextMatrix(r, 3), grid.TextMatrix(r, 4),
                    dataSet.SeriesColor[static_cast<std::size_t>(r)]});
  }
  return rows;
}

void ApplyPositionColours(const std::vector<PositionRow>& rows, DataSet& dataSet) {
  const std::size_t count = std::min(rows.size(), dataSet.SeriesColor.size());
  for (std::size_t d = 0; d < count; ++d) dataSet.SeriesColor[d] = rows[d].colour;
}

std::string BuildOrderList(const std::vector<PositionRow>& rows) {
  std::string list;
  for (const PositionRow& row : rows) {
    list += row.path;
    list += '\0';
  }
  if (!list.empty()) {
    list.pop_back();
    list += ",,";
  }
  return list;
}

}  // namespace varst
