#include "viewer/RedrawTickedRows.h"

#include "common/Paths.h"
#include "data/Compatibility.h"
#include "data/DrawFile.h"
#include "data/SeriesKey.h"

namespace varst {
namespace {

bool Drawable(Grid& grid, int row) {
  std::string path = grid.TextMatrix(row, 0);
  return grid.CellChecked(row, 1) == kChecked && FileExists(path);
}

}  // namespace

std::vector<std::string> TickedRowPaths(Grid& grid) {
  std::vector<std::string> paths;
  for (int row = 0; row < grid.Rows() && static_cast<int>(paths.size()) < kTableSize; ++row) {
    if (Drawable(grid, row)) paths.push_back(grid.TextMatrix(row, 0));
  }
  return paths;
}

void RedrawTickedRows(LoadContext& context) {
  DataSet& dataSet = context.dataSet;
  Grid& grid = context.grid;
  context.drawer.ClearChart();
  dataSet.RangeEnd = -1.0;
  dataSet.RangeEnd =
      CheckCompatibility(TickedRowPaths(grid), context.settings.MultiCondition != 0, dataSet, context.prompter).rangeEnd;
  for (int row = 0; row < grid.Rows(); ++row) {
    if (row < dataSet.Grf_Hist_Ptr) {
      grid.SetCellForeColor(row, 0, row, grid.Cols() - 1, dataSet.SeriesColor[static_cast<std::size_t>(row)]);
    }
    if (!Drawable(grid, row)) continue;
    const SeriesKeyParts key = ParseSeriesKey(grid.RowData(row));
    std::int32_t co = 0;
    DrawFile(context, static_cast<std::int16_t>(row), grid.TextMatrix(row, 0), {}, 0,
             DrawRequest{"", key.driveLine, key.label, 1, false}, co);
  }
}

}  // namespace varst
