#pragma once
// The viewer without a window: the same state, chart drawing and loader as the main window,
// with the window's controls held as plain values. Scripts and benchmarks turn result files
// into drawings with it.

#include <string>
#include <vector>

#include "analysis/PointStore.h"
#include "chart/ChartControls.h"
#include "chart/ChartDrawing.h"
#include "chart/ChartState.h"
#include "common/Settings.h"
#include "data/DataSet.h"
#include "data/LoadContext.h"
#include "data/LoaderHost.h"
#include "platform/MemoryGrid.h"
#include "platform/Prompter.h"
#include "platform/RecordingSurface.h"

namespace varst {

struct HeadlessOptions {
  std::vector<std::string> files;
  int width = 1200;  // pixels
  int height = 800;
  std::string yScale;  // the Y full scale box; empty uses the files' value
  bool showModelName = true;
  std::string settingsFile;  // empty: the built-in defaults
  ViewRange view;            // active: only this X range is drawn (--range)
  bool keepPoints = true;    // false: Points() stays empty, for a drawing of many files
  // With keepPoints: what of each record is kept (the statistics need less than the views).
  PointStore::Keep keep = PointStore::Keep::Points;
  // Record only what a picture of width x height shows (an export); the drawing is then not
  // the full record that a dump prints.
  bool reduceToPixels = false;
  // With reduceToPixels, for a picture painted on those pixels (a PNG): makes the finders of
  // the lines and marks that later ones paint over, to leave them out as the drawing is
  // recorded (see RecordingSurface::LeaveOutCoveredLines).
  RecordingSurface::CoveredLineFinders coveredLines;
  // Points at one X merged as the window merges them (RecordingSurface::MergePointsAtOneX).
  bool mergePointsAtOneX = false;
  // False: nothing of the drawing is recorded (Drawing() stays empty), for the statistics and
  // the list of series, which read only what the drawing finds.
  bool recordDrawing = true;
};

class HeadlessSession final : public LoaderHost, public ChartControls {
 public:
  HeadlessSession(HeadlessOptions options, Prompter& prompter);

  // What the window does when it opens with the files on its command line.
  void LoadFiles();

  // True when the options' view range lies outside the loaded test range; nothing was drawn
  // over it.
  [[nodiscard]] bool ViewRefused() const { return viewRefused_; }

  // The loader's view of the session, for further loads.
  [[nodiscard]] LoadContext Context();

  [[nodiscard]] const DisplayList& Drawing() const { return surface_.List(); }
  void ReserveDrawingPoints(std::size_t count) { surface_.ReservePoints(count); }
  [[nodiscard]] const MemoryGrid& SeriesGrid() const { return grid_; }
  [[nodiscard]] const DataSet& Data() const { return dataSet_; }
  // The records the chart drew, per series row.
  [[nodiscard]] const PointStore& Points() const { return points_; }
  [[nodiscard]] const ChartState& Chart() const { return chart_; }
  [[nodiscard]] DataSet& Data() { return dataSet_; }
  [[nodiscard]] Settings& CurrentSettings() { return settings_; }
  [[nodiscard]] ChartState& Chart() { return chart_; }
  [[nodiscard]] MemoryGrid& SeriesGrid() { return grid_; }
  [[nodiscard]] ChartDrawing& Drawer() { return drawing_; }

  void ClearYScaleBox() override { yScaleText_.clear(); }
  [[nodiscard]] bool KeepYScale() const override { return keepYScale_; }
  void SetKeepYScale(bool keep) { keepYScale_ = keep; }
  void AppendProgress(const std::string& /*marks*/) override {}
  void ClearProgress() override {}
  void ProcessEvents() override {}
  [[nodiscard]] ScreenPoint MessageBoxPoint() const override { return {}; }

  [[nodiscard]] std::string YScaleText() const override { return yScaleText_; }
  void SetYScaleText(const std::string& text) override { yScaleText_ = text; }
  [[nodiscard]] bool ShowModelName() const override { return options_.showModelName; }
  void SetOffsetUnitCaption(const std::string& /*caption*/) override {}
  [[nodiscard]] Colour WindowBackColor() const override { return kWindowBackColour; }
  void Trace(const std::string& /*line*/) override {}

  // The window background of the desktop the drawing is made for (a light grey).
  static constexpr Colour kWindowBackColour = 0xEFEFEF;

 private:
  HeadlessOptions options_;
  Prompter& prompter_;
  Settings settings_;
  DataSet dataSet_;
  ChartState chart_;
  RecordingSurface surface_;
  MemoryGrid grid_;
  ChartDrawing drawing_;
  PointStore points_;
  std::string yScaleText_;
  bool keepYScale_ = false;
  bool viewRefused_ = false;
};

}  // namespace varst
