#pragma once
// The X ranges of a drawn chart, in the file's units: the whole test range and a view range
// inside it (zoom).

#include <string>
#include <string_view>

#include "chart/ChartState.h"

namespace varst {

// The test range of a condition line: 0 to the test time for time charts (flags &H80), else
// start to end.
[[nodiscard]] ViewRange TestRangeOf(std::int32_t conditionFlags, double start, double end, std::int32_t testTime);

// The range the whole chart shows: 0 to the test time for time charts, else the test range
// start to the largest range end of the loaded files.
[[nodiscard]] ViewRange TestRange(const ChartState& chart, double rangeEnd);

// The range the chart shows now: the view range when one is active, else the test range.
[[nodiscard]] ViewRange ShownRange(const ChartState& chart, double rangeEnd);

// True when `view` is a non-empty, ordered range of finite numbers inside `test`.
[[nodiscard]] bool ViewInside(const ViewRange& view, const ViewRange& test);

// "START:END", each decimal or hexadecimal with a trailing "h" ("0:1F4h"); false when either
// is not a number.
[[nodiscard]] bool ParseViewRange(std::string_view text, ViewRange& view);

// The file X at chart X `chartX` (0..10000 across the shown range).
[[nodiscard]] double FileXAt(const ViewRange& shown, double chartX);

}  // namespace varst
