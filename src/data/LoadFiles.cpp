#include "data/LoadFiles.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>

#include "common/Paths.h"
#include "common/Text.h"
#include "data/Compatibility.h"
#include "data/DrawFile.h"
#include "data/ReferenceFiles.h"
#include "data/SeriesRows.h"

namespace varst {
namespace {

// Empties the data set, the grid and the chart; the Y full scale box too unless it is kept.
void StartOver(LoadContext& context, bool keepYScaleIfTicked) {
  ResetDataSet(context.dataSet);
  ClearSeriesRows(context.grid);
  if (!keepYScaleIfTicked || !context.host.KeepYScale()) context.host.ClearYScaleBox();
  context.drawer.ClearChart();
}

// The paths the load starts from: the loaded files when they are kept, else none.
std::vector<std::string> KeptOrNone(LoadContext& context, std::int16_t replace) {
  DataSet& dataSet = context.dataSet;
  if (dataSet.Grf_Hist_Ptr != 0) {
    if (replace == 1) {
      StartOver(context, false);
    } else if ((context.settings.BatchMode & kBatchReplaceWithoutAsking) != 0) {
      StartOver(context, true);
    } else {
      const ScreenPoint at = context.host.MessageBoxPoint();
      context.prompter.PlaceNextMessageBox(at.x, at.y);
      if (context.prompter.Message(kAddDataQuestion, MessageIcon::Question, MessageButtons::YesNo) != Answer::Yes) {
        StartOver(context, true);
      }
    }
  }
  return {dataSet.FileList.begin(), dataSet.FileList.begin() + dataSet.FileCount};
}

std::size_t DistinctCount(const std::vector<std::string>& paths) {
  return std::set<std::string>(paths.begin(), paths.end()).size();
}

void DrawFiles(LoadContext& context, std::int32_t from) {
  DataSet& dataSet = context.dataSet;
  for (std::int32_t j = from; j < dataSet.FileCount; ++j) {
    std::int32_t co = 0;
    DrawFile(context, static_cast<std::int16_t>(j), dataSet.FileList[static_cast<std::size_t>(j)], {}, 0, DrawRequest{"a", "", "", 1},
             co);
    context.host.AppendProgress(">");
    context.host.ProcessEvents();
  }
}

// Passes every prompt on to the window's prompter and notes whether an error was reported,
// so that a load that ends with nothing to show and nothing said can say so.
class ErrorNotingPrompter final : public Prompter {
 public:
  explicit ErrorNotingPrompter(Prompter& inner) : inner_(inner) {}
  [[nodiscard]] bool ReportedError() const { return reportedError_; }

  void PlaceNextMessageBox(int x, int y) override { inner_.PlaceNextMessageBox(x, y); }
  std::string OpenFileDialog(const std::string& description, const std::string& patterns,
                             const std::string& initialName, const std::string& initialFolder) override {
    return inner_.OpenFileDialog(description, patterns, initialName, initialFolder);
  }
  std::string SaveFileDialog(const std::string& description, const std::string& patterns,
                             const std::string& initialName, const std::string& initialFolder) override {
    return inner_.SaveFileDialog(description, patterns, initialName, initialFolder);
  }
  Colour ChooseColorDialog(Colour colour) override { return inner_.ChooseColorDialog(colour); }
  std::string BrowseFolderDialog(const std::string& title, const std::string& initialFolder) override {
    return inner_.BrowseFolderDialog(title, initialFolder);
  }
  int ExecDialog(QDialog& dialog) override { return inner_.ExecDialog(dialog); }

 protected:
  Answer ShowMessage(const std::string& text, MessageIcon icon, MessageButtons buttons,
                     const std::string* title) override {
    if (icon == MessageIcon::Critical) reportedError_ = true;
    return inner_.Message(text, icon, buttons, title);
  }

 private:
  Prompter& inner_;
  bool reportedError_ = false;
};

void LoadNewPaths(LoadContext& context, const std::vector<std::string>& newPaths, std::int16_t replace);

}  // namespace

std::vector<std::string> ParseFileList(const std::string& list) {
  std::string text = list;
  std::replace(text.begin(), text.end(), '\0', ',');
  if (const auto end = text.find(",,"); end != std::string::npos) text.resize(end);
  const std::vector<std::string> items = SplitFields(text);
  if (items.size() <= 1) return items;
  const bool fullPaths = std::any_of(items.begin() + 1, items.end(),
                                     [](const std::string& item) { return !GetFolderPart(item).empty(); });
  if (fullPaths) return items;
  std::vector<std::string> paths;
  for (std::size_t i = 1; i < items.size(); ++i) paths.push_back(JoinPath(items[0], items[i]));
  return paths;
}

void LoadFiles(LoadContext& context, const std::string& list, std::int16_t replace) {
  if (list.empty()) return;
  LoadPaths(context, ParseFileList(list), replace);
}

void LoadPaths(LoadContext& context, const std::vector<std::string>& newPaths, std::int16_t replace) {
  // Nothing chosen (a cancelled dialog, an empty drop or list) leaves the loaded series
  // alone: the question whether to add would otherwise offer to throw them away for nothing.
  if (std::all_of(newPaths.begin(), newPaths.end(), [](const std::string& path) { return path.empty(); })) return;
  ErrorNotingPrompter noting(context.prompter);
  LoadContext noted{context.settings, context.dataSet, context.drawer, context.surface,
                    context.grid,     context.host,    noting};
  LoadNewPaths(noted, newPaths, replace);
  // Files without a single data record (only line ends, NUL bytes, cut inside the condition
  // line) pass every check and draw nothing: an empty chart must not be the only answer.
  if (!noting.ReportedError() && context.dataSet.Grf_Hist_Ptr == 0) {
    context.prompter.Message(kNoDataMessage, MessageIcon::Critical);
  }
}

namespace {

void LoadNewPaths(LoadContext& context, const std::vector<std::string>& newPaths, std::int16_t replace) {
  DataSet& dataSet = context.dataSet;
  dataSet.TimeModeFlag = -1;
  std::vector<std::string> paths = KeptOrNone(context, replace);
  paths.insert(paths.end(), newPaths.begin(), newPaths.end());
  if (DistinctCount(paths) > static_cast<std::size_t>(kTableSize)) {
    context.prompter.Message(kTooManyFilesMessage, MessageIcon::Critical);
    return;
  }

  context.host.AppendProgress(" >");
  context.host.ProcessEvents();
  // One check covers both the new and the kept files; its results equal those of a check
  // over the list without repeated paths, so the files are read once here.
  const CompatibilityResult check =
      CheckCompatibility(paths, context.settings.MultiCondition != 0, dataSet, context.prompter);
  if (check.kindDiffers) {
    context.prompter.Message(kKindDiffersMessage, MessageIcon::Critical);
    return;
  }
  context.host.AppendProgress(">");
  context.host.ProcessEvents();
  for (const std::string& path : paths) AddUnique(path, dataSet.FileList, dataSet.FileCount);
  dataSet.RangeEnd = check.rangeEnd;
  context.host.AppendProgress(">");
  context.host.ProcessEvents();

  std::int32_t from = dataSet.DrawnFileCount;
  // New files show the whole range again.
  const bool leftView = context.drawer.LeaveViewRange();
  if (check.rangeDiffers || leftView) {
    context.drawer.ClearChart();
    from = 0;
  }
  dataSet.SeriesLimitReached = false;
  std::uintmax_t bytes = 0;
  for (std::int32_t j = from; j < dataSet.FileCount; ++j) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(dataSet.FileList[static_cast<std::size_t>(j)], error);
    if (!error) bytes += size;
  }
  context.surface.ExpectFileBytes(bytes);
  DrawFiles(context, from);
  dataSet.DrawnFileCount = dataSet.FileCount;
  ShowSeriesRows(context.grid, dataSet);
  context.host.ClearProgress();
  if (dataSet.SeriesLimitReached) context.prompter.Message(kTooManySeriesMessage, MessageIcon::Critical);
}

}  // namespace

void LoadStartupFiles(LoadContext& context) {
  std::vector<std::string> paths;
  const std::vector<std::string>& items = context.settings.CommandLine;
  for (std::size_t i = 0; i < items.size() && i < static_cast<std::size_t>(kTableSize); ++i) {
    std::string item = items[i];
    if (!FileExists(item)) continue;
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(item, error);
    paths.push_back(error ? item : absolute.lexically_normal().string());
  }
  if (!paths.empty()) LoadPaths(context, paths, 0);
  if (!context.settings.StartupFiles.empty()) LoadFiles(context, context.settings.StartupFiles, 0);
}

}  // namespace varst
