#include "viewer/AxisXText.h"

#include "chart/FormatSize.h"
#include "common/Numbers.h"

namespace varst {

std::string AxisXText(const ChartState& chart, double x) {
  constexpr std::int32_t kTimeAxis = 0x80;
  constexpr std::int16_t kCompletionTimeUnit = 10;
  if ((chart.ConditionFlags & kTimeAxis) != 0) return DecimalText(x / 1000) + "s";
  if (chart.UnitCode == kCompletionTimeUnit) return DecimalText(x);
  return HexText(x) + "h (" + FormatSize(x, 2) + ")";
}

}  // namespace varst
