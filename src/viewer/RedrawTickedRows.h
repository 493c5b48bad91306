#pragma once
// The redraw of the whole window: the chart is cleared and every ticked series row is drawn
// again, in grid order, each one selected within its file by its drive line and test label.

#include "data/LoadContext.h"

namespace varst {

// The paths of the ticked rows whose file exists, in row order (at most 513).
[[nodiscard]] std::vector<std::string> TickedRowPaths(Grid& grid);

void RedrawTickedRows(LoadContext& context);

}  // namespace varst
