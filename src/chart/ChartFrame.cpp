// The frame of a chart, drawn for the first condition line after ClearChart: scales, frame
// lines, grid, scale labels, axis titles, the footer with the test conditions and, when the
// test has a completion time threshold, the logarithmic count axis.

#include <cmath>
#include <cstdint>
#include <limits>

#include "chart/ChartDrawing.h"
#include "chart/FormatSize.h"
#include "common/Numbers.h"
#include "common/Text.h"

namespace varst {
namespace {

constexpr std::int32_t kTimeAxis = 0x80;
constexpr std::int32_t kCctAxis = 0x100;
constexpr std::int16_t kCompletionTimeUnit = 10;

// X labels step in fixed point with four decimals, as a currency value does.
constexpr double kTicksPerUnit = 10000;
constexpr double kMaxTicks = 9.2e18;

std::int64_t ToTicks(double value) { return static_cast<std::int64_t>(RoundHalfEven(value * kTicksPerUnit)); }

bool FitsTicks(double value) { return std::isfinite(value) && std::fabs(value * kTicksPerUnit) < kMaxTicks / 16; }

}  // namespace

DrawOutcome ChartDrawing::DrawConditionLine(std::string_view idat, const DrawRequest& request) {
  const int n = fields_.Count();
  chart_.ConditionFieldCount = n;
  chart_.CaptureFlags &= ~kCaptureOn;
  chart_.ConditionLine = std::string(idat);
  if (request.drawflg == 0) return DrawOutcome::Drawn;
  chart_.ThresholdText = n == 13 ? "*" : std::string(fields_[13]);
  if (chart_.AxesDrawn != 0) {
    // A later test or file: the polyline starts again on the same axes.
    chart_.XPos = 0;
    chart_.PrevX = -1;
    chart_.PrevY = -1;
    return DrawOutcome::Drawn;
  }
  if (!ReadCondition()) return DrawOutcome::InvalidData;
  const double rangeEnd = chart_.View.active ? chart_.View.end : dataSet_.RangeEnd;
  DrawScalesAndFrame();
  const auto fontSize = static_cast<float>(chart_.YFullScale * 0.03 * settings_.FontScale);
  surface_.SetFontSize(fontSize);
  surface_.SetPenStyle(kPenDot);
  DrawYGrid(fontSize);
  surface_.SetFontSize(fontSize);
  DrawXGrid(fontSize, rangeEnd);
  DrawXTitleAndFooter(fontSize);
  chart_.LogScale = static_cast<float>(chart_.YFullScale / (std::log(100000.0) / std::log(10.0)));
  if (chart_.CctThreshold >= 0) DrawLogAxis(fontSize);
  if (underlay_) {
    const Colour pen = surface_.PenColor();
    const Colour fill = surface_.FillColor();
    const std::int32_t style = surface_.PenStyle();
    underlay_(surface_, chart_, dataSet_.RangeEnd);
    surface_.SetPenColor(pen);
    surface_.SetFillColor(fill);
    surface_.SetPenStyle(style);
  }
  return DrawOutcome::Drawn;
}

bool ChartDrawing::ReadCondition() {
  const auto& f = fields_;
  double rangeEndField = 0;
  std::int32_t unused = 0;
  std::int32_t defaultScale = 0;
  if (!TryParseDouble(f[0], chart_.XStart) || !TryParseDouble(f[1], chart_.XStartField1) ||
      !TryParseDouble(f[2], rangeEndField) || !TryParseInt32(f[3], unused) ||
      !TryParseInt32(f[4], chart_.ConditionFlags) || !TryParseInt32(f[9], chart_.TestTime) ||
      !TryParseInt32(f[10], unused) || !TryParseInt16(f[8], chart_.UnitCode)) {
    return false;
  }
  chart_.TestStart = chart_.XStart;
  // A view range is drawn as a test over that range: its start, its span as the test time.
  if (chart_.View.active) chart_.XStart = chart_.View.start;
  const double rangeEnd = chart_.View.active ? chart_.View.end : dataSet_.RangeEnd;
  std::int32_t scale = 0;
  const std::string box = controls_.YScaleText();
  if (IsNumeric(box)) {
    if (!TryParseInt32(box, scale)) return false;
  } else {
    if (!TryParseInt32(f[7], defaultScale)) return false;
    scale = defaultScale;
    controls_.SetYScaleText(std::string(Trim(f[7])));
  }
  const std::int64_t fullScale = static_cast<std::int64_t>(scale) * chart_.YZoom;
  // A full scale that is not positive has no grid step; one beyond 32 bits cannot be drawn.
  if (fullScale <= 0 || fullScale > std::numeric_limits<std::int32_t>::max()) return false;
  chart_.YFullScale = static_cast<std::int32_t>(fullScale);
  chart_.CctThreshold = -1;
  if (IsNumeric(f[12])) {
    std::int32_t threshold = 0;
    if (!TryParseInt32(f[12], threshold)) return false;
    if (threshold >= 0) chart_.CctThreshold = threshold;
  }
  // The X labels count in fixed point; a range beyond it cannot be labelled.
  return FitsTicks(chart_.XStart) && FitsTicks(rangeEnd) && FitsTicks(rangeEnd - chart_.XStart) &&
         FitsTicks(chart_.TestTime);
}

void ChartDrawing::DrawScalesAndFrame() {
  const double fullScale = chart_.YFullScale;
  surface_.SetScaleWidth(12000);
  surface_.SetScaleLeft(-1000);
  surface_.SetScaleHeight(-(fullScale / 10 * 3 + fullScale));
  surface_.SetScaleTop(fullScale / 5 + fullScale);
  // Erase the visible area (the corners are given as left, top, width and height).
  surface_.SetFillColor(surface_.BackColor());
  surface_.SetPenColor(surface_.BackColor());
  surface_.Rectangle(surface_.ScaleLeft(), surface_.ScaleTop(), surface_.ScaleWidth(), surface_.ScaleHeight());

  surface_.SetTextColor(settings_.Grf_ColorInfo[2]);
  surface_.SetPenColor(settings_.Grf_ColorInfo[1]);
  surface_.SetPenStyle(kPenSolid);
  surface_.SetFillColor(controls_.WindowBackColor());
  surface_.Line(0, 0, 10000, 0);
  surface_.Line(0, fullScale, 10000, fullScale);
  surface_.Line(0, 0, 0, fullScale);
  surface_.Line(10000, 0, 10000, fullScale);
  ++chart_.AxesDrawn;
}

void ChartDrawing::DrawYGrid(float fontSize) {
  const auto fullScale = static_cast<float>(chart_.YFullScale);
  const float step = fullScale / 10;
  float y = 0;
  for (; y <= fullScale; y += step) {
    surface_.Line(0, y, 10000, y);
    surface_.SetCurrentX(-(surface_.ScaleWidth() / 20));
    surface_.SetCurrentY(fontSize / 2 + y);
    surface_.Text(DecimalText(static_cast<double>(y) / chart_.YZoom));
  }
  // The title stands two font heights above the last label, at the labels' X.
  surface_.SetCurrentY(fontSize / 0.5 + y - chart_.YFullScale / 10.0);
  if ((chart_.ConditionFlags & kCctAxis) != 0) {
    surface_.Text("CCT Time[ms]");
  } else if (chart_.UnitCode == kCompletionTimeUnit) {
    surface_.Text("CCT Time[ms]");
    controls_.SetOffsetUnitCaption("ms");
  } else {
    surface_.Text("RATE[MB/SEC]");
    controls_.SetOffsetUnitCaption("MB");
  }
}

void ChartDrawing::DrawXGrid(float fontSize, double rangeEnd) {
  std::int64_t pos = ToTicks(chart_.XStart);
  for (float i = 0; i <= 10; i += 1) {
    if (i < 10) surface_.Line(i * 1000, 0, i * 1000, chart_.YFullScale);
    surface_.SetCurrentX(i * 1000);
    surface_.SetCurrentY(0);
    const double value = static_cast<double>(pos) / kTicksPerUnit;
    double step = 0;
    if ((chart_.ConditionFlags & kTimeAxis) != 0) {
      surface_.Text(DecimalText(value / 1000));
      step = chart_.View.active ? (rangeEnd - chart_.XStart) / 10 : chart_.TestTime / 10.0;
    } else if (chart_.UnitCode == kCompletionTimeUnit) {
      surface_.Text(DecimalText(value));
      step = std::floor((rangeEnd - chart_.XStart) / 10);
    } else {
      surface_.Text(HexText(value) + "h");
      surface_.SetCurrentY(-fontSize);
      surface_.Text(FormatSize(value, 2));
      step = (rangeEnd - chart_.XStart) / 10;
    }
    pos += ToTicks(step);
  }
}

void ChartDrawing::DrawXTitleAndFooter(float fontSize) {
  const auto& f = fields_;
  std::string footer;
  const bool timeAxis = (chart_.ConditionFlags & kTimeAxis) != 0;
  if (timeAxis) {
    surface_.SetCurrentY(-fontSize);
    surface_.Text("TIME[s]");
    surface_.SetCurrentX(0);
    std::int32_t testTime = 0;
    std::int32_t samplingTime = 0;
    static_cast<void>(TryParseInt32(f[9], testTime));
    static_cast<void>(TryParseInt32(f[10], samplingTime));
    footer = "Test time" + DecimalText(testTime / 1000.0) + "[S] Sampling time:" + DecimalText(samplingTime / 1000.0) +
             "[S] SECC:" + std::string(f[5]);
  } else {
    surface_.SetCurrentY(-2 * fontSize);
    if (chart_.UnitCode == kCompletionTimeUnit) {
      surface_.Text("COUNT");
      surface_.SetCurrentX(0);
      footer = chart_.ConditionFlags == 4
                   ? "Count:" + std::string(f[6]) + " STEP:" + std::string(f[9])
                   : "Count:" + std::string(f[6]) + "[MB] SECC:" + std::string(f[5]) + " STEP:" + std::string(f[9]);
    } else {
      surface_.Text("LBA");
      surface_.SetCurrentX(0);
      footer = "Sampling Block Size:" + std::string(f[6]) + "[MB] SECC:" + std::string(f[5]);
    }
  }
  const bool countKind = !timeAxis && chart_.UnitCode == kCompletionTimeUnit;
  if (!countKind && chart_.CctThreshold >= 0) {
    footer += " CCT Threshold:" + DecimalText(chart_.CctThreshold) + "[ms]";
  }
  surface_.Text(footer);
}

void ChartDrawing::DrawLogAxis(float fontSize) {
  surface_.SetPenStyle(kPenDashDot);
  double value = 100000;
  for (int k = 0; k < 5; ++k, value /= 10) {
    surface_.SetCurrentY(fontSize / 2 + chart_.LogScale * std::log10(value));
    surface_.SetCurrentX(10000);
    surface_.Text(DecimalText(value));
  }
  value = 50000;
  for (int k = 0; k < 5; ++k, value /= 10) {
    const double y = chart_.LogScale * std::log10(value);
    surface_.SetCurrentY(fontSize / 2 + y);
    surface_.SetCurrentX(10000);
    surface_.Text(DecimalText(value));
    surface_.Line(0, y, 10000, y);
  }
}

}  // namespace varst
