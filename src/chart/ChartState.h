#pragma once
// The state of the chart being drawn: its scales, the condition it was drawn for, where the
// current series stands, and the legend. One object lives for the run with the data set.

#include <cstdint>
#include <string>
#include <vector>

namespace varst {

// CaptureFlags bit: every processed line of the selected series goes to the line buffer.
inline constexpr std::int32_t kCaptureOn = 1;

// The X range the chart shows, in the file's units. Inactive, the chart shows the test range;
// active, it is drawn as the chart of a test over [start, end] with every series clipped at
// the frame.
struct ViewRange {
  bool active = false;
  double start = 0;
  double end = 0;
};

// Follows the legend label of a series that the reference band finds out of line.
inline constexpr char kOutlierMark[] = "(外れ)";

struct ChartState {
  std::int32_t YZoom = 50;  // data value to Y units
  std::int32_t YFullScale = 0;
  double XStart = 0;        // X value mapped to 0
  double XStartField1 = 0;  // condition field 1, kept but not drawn
  std::int32_t ConditionFlags = 0;  // &H80 time axis, &H100 CCT axis, 4 short count footer
  std::int16_t UnitCode = 0;        // 10: command completion time / count test
  std::int32_t TestTime = 0;        // ms
  std::int32_t CctThreshold = -1;   // ms; -1 none
  std::string ThresholdText = "*";
  float LogScale = 0;               // Y units per decade of the count axis
  std::int32_t AxesDrawn = 0;       // frames drawn since ClearChart
  std::int16_t LegendLineCount = 0;
  float LegendFontSize = 0;
  std::int32_t CaptureFlags = 0;
  std::int32_t XPos = 0;
  double PlotX = 0;  // the X of the point being plotted, in chart units
  ViewRange View;
  // Series rows whose legend line carries kOutlierMark (a view: empty for the plain chart).
  std::vector<bool> OutlierRows;
  // Per series row: the test range of the file its records came from (file units), as its
  // condition line gives it; inactive for a row not drawn since the chart was cleared.
  std::vector<ViewRange> RowTestRanges;
  double TestStart = 0;  // condition field 0 of the chart's first condition line
  double PrevX = -1;
  double PrevY = -1;
  std::string DriveInfoLine;
  std::string ConditionLine;
  std::int32_t ConditionFieldCount = 0;
  std::string CurrentTestCode;
  std::int32_t CurrentColorNo = 0;
  std::uint8_t SeriesSelected = 1;
  // The row of the series being drawn (its key's index): its colour state is kept there.
  std::int32_t CurrentSeriesRow = 0;
};

}  // namespace varst
