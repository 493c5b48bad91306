#include "app/HeadlessSession.h"

#include "app/SettingsFile.h"
#include "chart/ViewRanges.h"
#include "data/LoadFiles.h"
#include "data/SeriesRows.h"
#include "viewer/RedrawTickedRows.h"

namespace varst {

HeadlessSession::HeadlessSession(HeadlessOptions options, Prompter& prompter)
    : options_(std::move(options)),
      prompter_(prompter),
      drawing_(settings_, dataSet_, chart_, surface_, *this),
      points_(options_.keep),
      yScaleText_(options_.yScale) {
  if (!options_.settingsFile.empty()) LoadSettings(settings_, options_.settingsFile);
  settings_.CommandLine = options_.files;
  // Twips at 96 dots per inch, as the window reports its size.
  surface_.SetControlSize(options_.width * 15.0, options_.height * 15.0);
  if (options_.reduceToPixels) surface_.ReduceToPixels(options_.width, options_.height);
  if (options_.reduceToPixels && options_.coveredLines) surface_.LeaveOutCoveredLines(options_.coveredLines);
  if (options_.mergePointsAtOneX) surface_.MergePointsAtOneX();
  if (!options_.recordDrawing) surface_.RecordNothing();
  grid_.SetCols(kSeriesGridColumns);
  if (options_.keepPoints) drawing_.SetRecordSink(&points_);
}

void HeadlessSession::LoadFiles() {
  chart_.YZoom = 50;
  surface_.SetBackColor(settings_.Grf_ColorInfo[0]);
  surface_.Clear();
  LoadContext context = Context();
  LoadStartupFiles(context);
  if (options_.view.active && dataSet_.Grf_Hist_Ptr > 0) {
    if (!ViewInside(options_.view, TestRange(chart_, dataSet_.RangeEnd))) {
      viewRefused_ = true;
    } else {
      // A range is drawn as the window draws a zoom: every row again over the loaded chart.
      chart_.View = options_.view;
      RedrawTickedRows(context);
    }
  }
  surface_.Finish();
}

LoadContext HeadlessSession::Context() {
  return LoadContext{settings_, dataSet_, drawing_, surface_, grid_, *this, prompter_};
}

}  // namespace varst
