// Data records: each extends its series' polyline. A series begins where the record's type
// code changes; it gets a key, a colour and a legend line. Error records get a red dot, and
// with a completion time threshold each record's count gets a small box on the count axis.

#include <algorithm>
#include <cmath>
#include <ctime>
#include <limits>

#include "chart/ChartDrawing.h"
#include "chart/FormatSize.h"
#include "chart/ViewRanges.h"
#include "common/Numbers.h"
#include "common/Text.h"
#include "data/ReferenceFiles.h"
#include "data/SeriesKey.h"

namespace varst {
namespace {

constexpr std::int32_t kTimeAxis = 0x80;
constexpr Colour kErrorMarkColour = 255;
constexpr double kChartWidth = 10000;
// Beyond this many frame widths a clipped segment's slope is exact enough to the last pixel.
constexpr double kFarOutside = 1e15;

// Where X lies in a chart that shows a view range. Records far outside the view map far
// outside the frame; they only feed the clipping.
double ViewPlotX(const ViewRange& view, double x) {
  const double d = (x - view.start) / (view.end - view.start);
  return std::clamp(RoundHalfEven(d * 10000), -kFarOutside, kFarOutside);
}

struct TypeCode {
  std::string_view code;   // "WR", "W", "R" (seek records too) or "" when unknown
  std::string_view label;  // the series label
  bool known = false;
  bool error = false;    // mark "E" or "A"
  bool breakAfter = false;  // mark "S" or "A"
};

TypeCode DecodeTypeCode(std::string_view field) {
  const std::string_view text = Trim(field);
  TypeCode type;
  switch (text.empty() ? '\0' : text.front()) {
    case 'W':
      type = text.size() > 1 && text[1] == 'R' ? TypeCode{"WR", "Write/Read ", true} : TypeCode{"W", "Write ", true};
      break;
    case 'R':
      type = {"R", "Read ", true};
      break;
    case 'K':
      type = {"R", "Seek ", true};
      break;
    default:
      break;
  }
  if (text.size() > 1) {
    const char mark = text.back();
    type.error = mark == 'E' || mark == 'A';
    type.breakAfter = mark == 'S' || mark == 'A';
  }
  return type;
}

std::string TimeOfDay() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[16];
  std::strftime(text, sizeof text, "%H:%M:%S", &local);
  return text;
}

float LegendSizeFactor(std::int16_t fontSizeChoice) {
  switch (fontSizeChoice) {
    case 0:
      return 0.5F;
    case 2:
      return 1.5F;
    default:
      return 1.0F;
  }
}

// Moves the running X position on by `by` points; a position at the end of what it can hold
// (X far beyond the range) stays there instead of wrapping round.
void AdvanceXPos(std::int32_t& xPos, std::uint32_t by) {
  xPos = static_cast<std::int32_t>(
      std::min<std::int64_t>(std::int64_t{xPos} + by, std::numeric_limits<std::int32_t>::max()));
}

std::int32_t RoundedOrZero(double value) {
  std::int32_t rounded = 0;
  return RoundToInt32(value, rounded) ? rounded : 0;
}

}  // namespace

DrawOutcome ChartDrawing::DrawDataRecord(std::int16_t Index, const std::string& fname, const DrawRequest& request,
                                         std::int32_t& co) {
  TypeCode type = DecodeTypeCode(Field(0));
  if (type.known) co = 255;
  if (chart_.ThresholdText != std::string_view("*")) type.label = "Threshold";

  double x = 0;
  if (!RecordNumber(1, x)) return DrawOutcome::InvalidData;
  facts_ = RecordFacts{true, type.known, type.breakAfter, false, false, type.code, x, 0};
  double d = 0;
  if (chart_.View.active) {
    chart_.PlotX = ViewPlotX(chart_.View, x);
  } else {
    if ((chart_.ConditionFlags & kTimeAxis) != 0) {
      if (chart_.TestTime == 0) return DrawOutcome::InvalidData;
      d = x / chart_.TestTime;
    } else {
      const double range = dataSet_.RangeEnd - chart_.XStart;
      if (range == 0) return DrawOutcome::InvalidData;
      d = (x - chart_.XStart) / range;
    }
    if (!RoundToInt32(d * 10000, chart_.XPos)) return DrawOutcome::InvalidData;
    chart_.PlotX = chart_.XPos;
  }

  if (type.code != chart_.CurrentTestCode) {
    BeginSeries(fname, type.label, request);
    chart_.CurrentTestCode = std::string(type.code);
  }

  if (request.drawflg == 1) {
    if (chart_.SeriesSelected == 0) return DrawOutcome::Drawn;
    if (PlotPoint(Index, type.error, x) == DrawOutcome::InvalidData) return DrawOutcome::InvalidData;
  }
  if (type.breakAfter) {
    chart_.PrevX = -1;
    chart_.PrevY = -1;
  }
  return DrawOutcome::Drawn;
}

void ChartDrawing::BeginSeries(const std::string& fname, std::string_view label, const DrawRequest& request) {
  chart_.CaptureFlags &= ~kCaptureOn;
  chart_.PrevX = -1;
  chart_.PrevY = -1;
  if (!SelectSeriesRow(MakeSeriesKey(fname, label, chart_.DriveInfoLine))) {
    chart_.SeriesSelected = 0;
    return;
  }
  chart_.SeriesSelected = 1;
  NoteRowTestRange();
  if (!request.draw_info.empty()) {
    const bool match = request.draw_info == chart_.DriveInfoLine && request.draw_info2 == label;
    chart_.SeriesSelected = match ? 1 : 0;
    if (match && request.keepLines) {
      OutputLine(dataSet_, fname, chart_.DriveInfoLine, kOutputClearBuffer | kOutputToBuffer);
      OutputLine(dataSet_, fname, chart_.ConditionLine, kOutputToBuffer);
      chart_.CaptureFlags |= kCaptureOn;
    }
  }
  if (chart_.SeriesSelected == 1) BeginLegendLine(label, request.drawflg);
}

void ChartDrawing::NoteRowTestRange() {
  std::vector<std::string_view> condition;
  SplitFields(chart_.ConditionLine, condition);
  const auto field = [&](std::size_t i) { return i < condition.size() ? condition[i] : std::string_view(); };
  double start = 0;
  double end = 0;
  std::int32_t flags = 0;
  std::int32_t testTime = 0;
  if (!TryParseInt32(field(4), flags)) flags = 0;
  // A field the range needs that is not a number leaves the row without a range of its own.
  const bool read = (flags & kTimeAxis) != 0 ? TryParseInt32(field(9), testTime)
                                             : TryParseDouble(field(0), start) && TryParseDouble(field(2), end);
  const ViewRange range = read ? TestRangeOf(flags, start, end, testTime) : ViewRange{};
  const auto row = static_cast<std::size_t>(chart_.CurrentSeriesRow);
  if (chart_.RowTestRanges.size() <= row) chart_.RowTestRanges.resize(row + 1);
  chart_.RowTestRanges[row] = range;
}

bool ChartDrawing::SelectSeriesRow(const std::string& key) {
  for (std::int32_t k = 0; k < dataSet_.Grf_Hist_Ptr; ++k) {
    if (dataSet_.SeriesInfo[static_cast<std::size_t>(k)] == key) {
      chart_.CurrentColorNo = dataSet_.SeriesKeyColorNo[static_cast<std::size_t>(k)];
      chart_.CurrentSeriesRow = k;
      return true;
    }
  }
  if (dataSet_.Grf_Hist_Ptr >= kTableSize) {
    dataSet_.SeriesLimitReached = true;
    return false;
  }
  const std::int32_t row = dataSet_.Grf_Hist_Ptr;
  dataSet_.SeriesInfo.resize(static_cast<std::size_t>(row));
  dataSet_.SeriesInfo.push_back(key);
  // Colour numbers start at 2, so the n-th new series takes palette entry n - 1.
  dataSet_.SeriesKeyColorNo[static_cast<std::size_t>(row)] = row + 2;
  chart_.CurrentColorNo = row + 2;
  chart_.CurrentSeriesRow = row;
  ++dataSet_.Grf_Hist_Ptr;
  return true;
}

void ChartDrawing::BeginLegendLine(std::string_view label, std::uint8_t drawflg) {
  if (chart_.LegendLineCount != 0) {
    surface_.SetFontSize(chart_.LegendFontSize);
  } else {
    chart_.LegendFontSize = static_cast<float>(surface_.FontSize());
  }
  surface_.SetCurrentY(surface_.ScaleTop() - surface_.FontSize() * chart_.LegendLineCount);
  surface_.SetCurrentX(surface_.ScaleLeft());
  const std::int32_t colorNo = chart_.CurrentColorNo;
  surface_.SetTextColor(
      Rgb(SeriesColorComponent(colorNo, 3), SeriesColorComponent(colorNo, 2), SeriesColorComponent(colorNo, 1)));
  const auto row = static_cast<std::size_t>(chart_.CurrentSeriesRow);
  dataSet_.SeriesColorSel[row] = colorNo;
  dataSet_.SeriesColor[row] = surface_.TextColor();

  if (settings_.TraceWindowOn != 0) {
    controls_.Trace(TimeOfDay() + " index" + std::to_string(dataSet_.SeriesIndex) + " Grf_Hist_Ptr" +
                    std::to_string(dataSet_.Grf_Hist_Ptr) + " " + HexText(surface_.TextColor()) +
                    " DF:" + std::to_string(drawflg) + "\r\n");
  }
  if (controls_.ShowModelName()) {
    // The legend lines are one LegendFontSize apart; a larger chosen size would paint glyphs
    // taller than that step over the next line, so the text is held at the size whose glyphs
    // just fill the step. Positions stay as they are. The tolerance keeps a size that fits
    // but for rounding (the medium size at the axis font's own scale) exactly as chosen.
    const float chosen = chart_.YFullScale * 0.03F * LegendSizeFactor(settings_.Grf_FontSize) * 1.5F;
    const auto fitting = static_cast<float>(std::fabs(chart_.LegendFontSize) / kGlyphShareOfLine);
    surface_.SetFontSize(chosen > fitting * 1.0001F ? fitting : chosen);
    std::vector<std::string_view> drive;
    SplitFields(chart_.DriveInfoLine, drive);
    const auto field = [&](std::size_t i) { return i < drive.size() ? std::string(drive[i]) : std::string(); };
    const bool outlier = row < chart_.OutlierRows.size() && chart_.OutlierRows[row];
    std::string text = std::string(label) + (outlier ? kOutlierMark : "") + " " + field(0) + " S/N:" + field(1) + " MaxLBA:" + field(2);
    double maxLba = 0;
    // A capacity that is not a number is shown as it stands, without a size.
    if (TryParseDouble(field(2), maxLba)) text += "(" + FormatSize(maxLba, 2) + ")";
    surface_.Text(text);
    if (dataSet_.ErrKindCount < kErrLabelRecords) {
      const auto k = static_cast<std::size_t>(dataSet_.ErrKindCount);
      dataSet_.ErrLabelY[k] = RoundedOrZero(surface_.CurrentY());
      dataSet_.ErrLabelX[k] = 8000;
      dataSet_.ErrLabelColor[k] = surface_.TextColor();
      dataSet_.ErrLabelFontSize[k] = RoundedOrZero(surface_.FontSize());
      ++dataSet_.ErrKindCount;
    }
  }
  ++chart_.LegendLineCount;
  surface_.SetPenStyle(kPenSolid);
}

DrawOutcome ChartDrawing::PlotPoint(std::int16_t Index, bool errorMark, double x) {
  double value = 0;
  if (!RecordNumber(3, value)) return DrawOutcome::InvalidData;
  facts_.valueRead = true;
  facts_.value = value;
  const double y = value * chart_.YZoom;
  surface_.SetPenColor(dataSet_.SeriesColor[static_cast<std::size_t>(chart_.CurrentSeriesRow)]);
  const bool inView = !chart_.View.active || (x >= chart_.View.start && x <= chart_.View.end);
  if (chart_.View.active) {
    ClippedSegment(y);
  } else {
    if (chart_.PrevX == -1 && chart_.PrevY == -1) {
      chart_.PrevX = chart_.XPos;  // the first point draws as a dot
      chart_.PrevY = y;
    }
    surface_.Line(chart_.PrevX, chart_.PrevY, chart_.XPos, y);
  }

  if (errorMark && inView) {
    surface_.SetFillColor(kErrorMarkColour);
    const MarkSize& size = ErrorMarkSize();
    surface_.Ellipse(chart_.PlotX - size.h, y - size.v, chart_.PlotX + size.h, y + size.v);
    if (dataSet_.ErrKindCount >= 1 && Index >= 0 && Index < kTableSize) {
      ++dataSet_.ErrCount[static_cast<std::size_t>(Index)][static_cast<std::size_t>(dataSet_.ErrKindCount - 1)];
    }
  }

  std::int32_t countBox = chart_.CctThreshold >= 0 ? 0 : -1;
  if (chart_.CctThreshold >= 0 && IsNumeric(Field(4))) {
    std::int32_t count = 0;
    if (!TryParseInt32(Field(4), count)) return DrawOutcome::InvalidData;
    if (count > 0 && inView) {
      countBox = count;
      const double level = chart_.LogScale * std::log10(static_cast<double>(count));
      const double halfWidth = surface_.ScaleWidth() / 400;
      const double halfHeight = surface_.ScaleHeight() / 200;
      surface_.Rectangle(chart_.PlotX - halfWidth, level - halfHeight, chart_.PlotX + halfWidth, level + halfHeight);
    }
  }
  if (inView && sink_ != nullptr) sink_->Record(chart_.CurrentSeriesRow, x, value, errorMark, countBox);
  facts_.countRead = chart_.CctThreshold >= 0;
  chart_.PrevX = chart_.PlotX;
  chart_.PrevY = y;
  AdvanceXPos(chart_.XPos, 1);
  return DrawOutcome::Drawn;
}

const ChartDrawing::MarkSize& ChartDrawing::ErrorMarkSize() {
  const double scaleWidth = surface_.ScaleWidth(), scaleHeight = surface_.ScaleHeight();
  const double controlWidth = surface_.ControlWidth(), controlHeight = surface_.ControlHeight();
  MarkSize& size = markSize_;
  // Compared as they are: a value that is not a number is worked out each time.
  if (size.known && size.scaleWidth == scaleWidth && size.scaleHeight == scaleHeight &&
      size.controlWidth == controlWidth && size.controlHeight == controlHeight) {
    return size;
  }
  const double h = scaleWidth / 200;
  const double ratio = controlHeight != 0 ? controlWidth / controlHeight : 1;
  // Round on screen: the vertical radius in Y units matches the horizontal one in pixels.
  const double v = h * (std::fabs(scaleHeight) / scaleWidth) * ratio;
  size = {scaleWidth, scaleHeight, controlWidth, controlHeight, h, v, true};
  return size;
}

bool ChartDrawing::PassOver(const RecordRun& run, const DrawRequest& request, std::int32_t& co) {
  // Only a chart that shows a part of the range leaves records out, and lines kept for
  // smoothing are kept whole.
  if (!run.passable || !chart_.View.active || (chart_.CaptureFlags & kCaptureOn) != 0) return false;
  // Another type code would begin a series.
  if (run.code != chart_.CurrentTestCode) return false;
  const double lastPlotX = ViewPlotX(chart_.View, run.lastX);
  if (request.drawflg == 1 && chart_.SeriesSelected != 0) {
    if (!run.valuesRead || (chart_.CctThreshold >= 0 && !run.countsRead)) return false;
    // Every segment, the one from the point before the run too, lies beyond one edge.
    const bool firstPoint = chart_.PrevX == -1 && chart_.PrevY == -1;
    const bool left = ViewPlotX(chart_.View, run.maxX) < 0 && (firstPoint || chart_.PrevX < 0);
    const bool right = ViewPlotX(chart_.View, run.minX) > kChartWidth && (firstPoint || chart_.PrevX > kChartWidth);
    if (!left && !right) return false;
    surface_.SetPenColor(dataSet_.SeriesColor[static_cast<std::size_t>(chart_.CurrentSeriesRow)]);
    chart_.PrevX = lastPlotX;
    chart_.PrevY = run.lastValue * chart_.YZoom;
    AdvanceXPos(chart_.XPos, run.lines);
  }
  chart_.PlotX = lastPlotX;
  if (run.known) co = 255;
  return true;
}

void ChartDrawing::ClippedSegment(double y) {
  double x0 = chart_.PrevX;
  double y0 = chart_.PrevY;
  double x1 = chart_.PlotX;
  double y1 = y;
  if (x0 == -1 && y0 == -1) {
    x0 = x1;  // the first point draws as a dot
    y0 = y1;
  }
  if (std::max(x0, x1) < 0 || std::min(x0, x1) > kChartWidth) return;
  // Each end outside the frame moves along the segment to the edge it crosses.
  const auto moveTo = [&](double& xa, double& ya, double xb, double yb, double edge) {
    ya += (yb - ya) * ((edge - xa) / (xb - xa));
    xa = edge;
  };
  if (x0 < 0) moveTo(x0, y0, x1, y1, 0);
  if (x0 > kChartWidth) moveTo(x0, y0, x1, y1, kChartWidth);
  if (x1 < 0) moveTo(x1, y1, x0, y0, 0);
  if (x1 > kChartWidth) moveTo(x1, y1, x0, y0, kChartWidth);
  surface_.Line(x0, y0, x1, y1);
}

}  // namespace varst
