#include "chart/ViewRanges.h"

#include <cmath>
#include <cstdint>

#include "common/Numbers.h"
#include "common/Text.h"

namespace varst {
namespace {

constexpr std::int32_t kTimeAxis = 0x80;

bool ParseBound(std::string_view text, double& value) {
  text = Trim(text);
  if (text.size() > 1 && (text.back() == 'h' || text.back() == 'H')) {
    text.remove_suffix(1);
    if (text.empty() || text.size() > 15) return false;  // 15 hex digits stay exact in a double
    double result = 0;
    for (const char c : text) {
      int digit = 0;
      if (c >= '0' && c <= '9') {
        digit = c - '0';
      } else if (c >= 'A' && c <= 'F') {
        digit = c - 'A' + 10;
      } else if (c >= 'a' && c <= 'f') {
        digit = c - 'a' + 10;
      } else {
        return false;
      }
      result = result * 16 + digit;
    }
    value = result;
    return true;
  }
  return IsNumeric(text) && TryParseDouble(text, value);
}

}  // namespace

ViewRange TestRangeOf(std::int32_t conditionFlags, double start, double end, std::int32_t testTime) {
  if ((conditionFlags & kTimeAxis) != 0) return {true, 0, static_cast<double>(testTime)};
  return {true, start, end};
}

ViewRange TestRange(const ChartState& chart, double rangeEnd) {
  return TestRangeOf(chart.ConditionFlags, chart.TestStart, rangeEnd, chart.TestTime);
}

ViewRange ShownRange(const ChartState& chart, double rangeEnd) {
  return chart.View.active ? chart.View : TestRange(chart, rangeEnd);
}

bool ViewInside(const ViewRange& view, const ViewRange& test) {
  return std::isfinite(view.start) && std::isfinite(view.end) && view.start < view.end && view.start >= test.start &&
         view.end <= test.end;
}

bool ParseViewRange(std::string_view text, ViewRange& view) {
  const auto colon = text.find(':');
  if (colon == std::string_view::npos) return false;
  ViewRange parsed{true, 0, 0};
  if (!ParseBound(text.substr(0, colon), parsed.start) || !ParseBound(text.substr(colon + 1), parsed.end)) {
    return false;
  }
  view = parsed;
  return true;
}

double FileXAt(const ViewRange& shown, double chartX) {
  return shown.start + (shown.end - shown.start) * (chartX / 10000);
}

}  // namespace varst
