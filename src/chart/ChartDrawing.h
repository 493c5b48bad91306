#pragma once
// The chart drawing: DrawBarChart takes the lines of a file one by one and draws the frame
// for the first condition line after ClearChart, and a point of a series for each data record.
//
// Chart coordinates are fixed: X 0..10000 over the test range (-1000..11000 visible), Y 0 up
// to the full scale (1.2 times it visible above, 0.1 below); a value v is drawn at
// v x YZoom. Font sizes are Y units.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "chart/ChartControls.h"
#include "chart/ChartState.h"
#include "common/Settings.h"
#include "common/Text.h"
#include "data/DataSet.h"
#include "data/LineDrawer.h"
#include "data/RecordSink.h"
#include "platform/DrawingSurface.h"

namespace varst {

class ChartDrawing final : public LineDrawer {
 public:
  ChartDrawing(Settings& settings, DataSet& dataSet, ChartState& chart, DrawingSurface& surface,
               ChartControls& controls);

  void ClearChart() override;
  bool LeaveViewRange() override;
  [[nodiscard]] const RecordFacts* LastRecord() const override { return &facts_; }
  bool PassOver(const RecordRun& run, const DrawRequest& request, std::int32_t& co) override;
  DrawOutcome DrawBarChart(std::int16_t Index, const std::string& fname, std::string_view idat,
                           const DrawRequest& request, std::int32_t& co, bool fst) override;
  DrawOutcome DrawParsedLine(std::int16_t Index, const std::string& fname, std::string_view idat,
                             const ParsedLine& parsed, const DrawRequest& request, std::int32_t& co) override;
  [[nodiscard]] bool MayPassOver() const override { return chart_.View.active; }

  // Drawn right after the frame of a chart and before its first series: a view that lies under
  // the series (the reference band). Empty draws nothing, as the plain chart is drawn.
  using Underlay = std::function<void(DrawingSurface& surface, const ChartState& chart, double rangeEnd)>;
  void SetUnderlay(Underlay underlay) { underlay_ = std::move(underlay); }

  // Told about every record drawn into a series row, and about every clear; may be null.
  void SetRecordSink(RecordSink* sink) { sink_ = sink; }

  // One 0..255 component of a series colour: part 1 blue, 2 green, 3 red. The base is the
  // palette entry colorNo - 2, or the colour of the current series' row once one was given.
  [[nodiscard]] int SeriesColorComponent(std::int32_t colorNo, int part) const;

 private:
  // The condition line: stores it and, for the first one of a chart, draws the frame.
  DrawOutcome DrawConditionLine(std::string_view idat, const DrawRequest& request);
  [[nodiscard]] bool ReadCondition();
  void DrawScalesAndFrame();
  void DrawYGrid(float fontSize);
  void DrawXGrid(float fontSize, double rangeEnd);
  void DrawXTitleAndFooter(float fontSize);
  void DrawLogAxis(float fontSize);

  // A data record: its series, its point, its marks.
  DrawOutcome DrawDataRecord(std::int16_t Index, const std::string& fname, const DrawRequest& request,
                             std::int32_t& co);
  void BeginSeries(const std::string& fname, std::string_view label, const DrawRequest& request);
  // Finds or registers the key; false when the tables are full.
  bool SelectSeriesRow(const std::string& key);
  // Notes the current row's test range from the current condition line.
  void NoteRowTestRange();
  void BeginLegendLine(std::string_view label, std::uint8_t drawflg);
  [[nodiscard]] DrawOutcome PlotPoint(std::int16_t Index, bool errorMark, double x);
  // The segment from the previous point to (PlotX, y), clipped at the frame's left and right
  // edges, for a chart that shows a view range.
  void ClippedSegment(double y);

  void CaptureLine(const std::string& fname, std::string_view idat);

  Settings& settings_;
  DataSet& dataSet_;
  ChartState& chart_;
  DrawingSurface& surface_;
  ChartControls& controls_;
  RecordSink* sink_ = nullptr;
  Underlay underlay_;
  // The fields of the line being drawn: split here, or for a data record that the reader
  // thread took apart, where it found them (see Field).
  LineFields fields_;
  std::string_view line_;
  // While DrawParsedLine runs: what the reader thread worked out of the line.
  const ParsedLine* parsed_ = nullptr;
  [[nodiscard]] std::string_view Field(int i) const;
  // Field 1 (X) or 3 (the value) of a data record as a number; false when it is not one.
  [[nodiscard]] bool RecordNumber(int i, double& value) const;
  RecordFacts facts_;
  // The half width and half height of an error mark in scale units, for the scale and control
  // size they were worked out at (a mark on every record would work them out anew each time).
  struct MarkSize {
    double scaleWidth = 0, scaleHeight = 0, controlWidth = 0, controlHeight = 0;
    double h = 0, v = 0;
    bool known = false;
  };
  [[nodiscard]] const MarkSize& ErrorMarkSize();
  MarkSize markSize_;
};

}  // namespace varst
