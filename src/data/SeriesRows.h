#pragma once
// The rows of the series grid: one per series key, column 0 (hidden) the file path, column 1
// the file name with a tick box, column 2 the test label, columns 3 to 5 the drive model,
// serial number and maximum LBA; the row data is the key and the row's text is drawn in the
// series colour.

#include "data/DataSet.h"
#include "platform/Grid.h"

namespace varst {

inline constexpr int kSeriesGridColumns = 6;

// Fills row `row` (which must exist) from SeriesInfo[row] and SeriesColor[row].
void FillSeriesRow(Grid& grid, const DataSet& dataSet, int row, int checkState);

// One row per series, each ticked and made the current row as it is filled; then the columns
// are sized to their contents.
void ShowSeriesRows(Grid& grid, const DataSet& dataSet);

// Empties the grid of series rows.
void ClearSeriesRows(Grid& grid);

}  // namespace varst
