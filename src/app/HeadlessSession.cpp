#include "app/HeadlessSession.h"

#include "app/SettingsFile.h"
#include "data/LoadFiles.h"
#include "data/SeriesRows.h"

namespace varst {

HeadlessSession::HeadlessSession(HeadlessOptions options, Prompter& prompter)
    : options_(std::move(options)),
      prompter_(prompter),
      drawing_(settings_, dataSet_, chart_, surface_, *this),
      yScaleText_(options_.yScale) {
  if (!options_.settingsFile.empty()) LoadSettings(settings_, options_.settingsFile);
  settings_.CommandLine = options_.files;
  // Twips at 96 dots per inch, as the window reports its size.
  surface_.SetControlSize(options_.width * 15.0, options_.height * 15.0);
  if (options_.reduceToPixels) surface_.ReduceToPixels(options_.width, options_.height);
  grid_.SetCols(kSeriesGridColumns);
}

void HeadlessSession::LoadFiles() {
  chart_.YZoom = 50;
  surface_.SetBackColor(settings_.Grf_ColorInfo[0]);
  surface_.Clear();
  LoadContext context = Context();
  LoadStartupFiles(context);
}

LoadContext HeadlessSession::Context() {
  return LoadContext{settings_, dataSet_, drawing_, surface_, grid_, *this, prompter_};
}

}  // namespace varst
