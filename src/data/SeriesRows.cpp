#include "data/SeriesRows.h"

#include "common/Paths.h"
#include "common/Text.h"
#include "data/SeriesKey.h"

namespace varst {

void FillSeriesRow(Grid& grid, const DataSet& dataSet, int row, int checkState) {
  if (row < 0 || row >= dataSet.Grf_Hist_Ptr || row >= grid.Rows()) return;
  const std::string& key = dataSet.SeriesInfo[static_cast<std::size_t>(row)];
  const SeriesKeyParts parts = ParseSeriesKey(key);
  std::vector<std::string_view> drive;
  SplitFields(parts.driveLine, drive);
  const auto driveField = [&](std::size_t i) { return i < drive.size() ? std::string(drive[i]) : std::string(); };
  grid.SetRowData(row, key);
  grid.SetTextMatrix(row, 0, parts.path);
  grid.SetTextMatrix(row, 1, GetFileName(parts.path));
  grid.SetCellChecked(row, 1, checkState);
  grid.SetTextMatrix(row, 2, parts.label);
  grid.SetTextMatrix(row, 3, driveField(0));
  grid.SetTextMatrix(row, 4, driveField(1));
  grid.SetTextMatrix(row, 5, driveField(2));
  grid.SetCellForeColor(row, 0, row, grid.Cols() - 1, dataSet.SeriesColor[static_cast<std::size_t>(row)]);
}

void ShowSeriesRows(Grid& grid, const DataSet& dataSet) {
  grid.SetRows(dataSet.Grf_Hist_Ptr);
  for (int row = 0; row < dataSet.Grf_Hist_Ptr; ++row) {
    FillSeriesRow(grid, dataSet, row, kChecked);
    grid.SetRow(row);
  }
  grid.AutoSize(0, grid.Cols() - 1);
}

void ClearSeriesRows(Grid& grid) {
  grid.ClearCells();
  grid.SetRows(0);
}

}  // namespace varst
