#pragma once
// An X position as the chart's X axis shows it: hexadecimal LBA with its size for LBA
// charts, seconds for time charts, the count for count charts.

#include <string>

#include "chart/ChartState.h"

namespace varst {

// x in the file's units (LBA, milliseconds or count).
[[nodiscard]] std::string AxisXText(const ChartState& chart, double x);

}  // namespace varst
