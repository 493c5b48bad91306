#include "app/ReportCommand.h"

#include <QGuiApplication>
#include <QImage>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <iostream>
#include <mutex>
#include <set>
#include <sstream>
#include <system_error>
#include <thread>

#include "analysis/BandDrawing.h"
#include "analysis/ReferenceBand.h"
#include "analysis/StatisticsTable.h"
#include "app/ChartOptions.h"
#include "app/HeadlessCommands.h"
#include "app/HeadlessSession.h"
#include "chart/ViewRanges.h"
#include "common/Numbers.h"
#include "common/Paths.h"
#include "common/Text.h"
#include "convert/ConvertCommandOptions.h"
#include "convert/NameRules.h"
#include "convert/TimeStampText.h"
#include "data/SeriesKey.h"
#include "platform/ConsolePrompter.h"
#include "platform/PictureFile.h"
#include "platform/DisplayListPainter.h"
#include "platform/QtText.h"
#include "report/ReportFolder.h"
#include "report/ReportGroups.h"
#include "report/ReportPage.h"
#include "viewer/RedrawTickedRows.h"

namespace varst {
namespace {
namespace fs = std::filesystem;

constexpr char kUsage[] =
    "Usage: varst --report DIR [options] [--] DATAFILE...\n"
    "       varst --report DIR [options] --from-list LISTFILE\n"
    "       varst --report DIR [options] --scan FOLDER\n"
    "Options:\n"
    "  --k K              band half-width in scaled median deviations (default 3)\n"
    "  --tolerance T      least band half-width as a share of the median (default 0.05)\n"
    "  --share P          outlier when more than this share of bins is outside (default 0.01)\n"
    "  --fail-on-outlier  exit status 1 when any series is an outlier\n"
    "  --jobs N           files read at once (default: the number of cores)\n"
    "  --level1 none|model|date, --level2 none|model|date   folders below charts/\n"
    "  --size WxH, --yscale N, --no-model, --settings FILE   as for --export\n"
    "Writes DIR/summary.csv, DIR/charts/, DIR/overlay-GROUP.png and DIR/index.html.\n"
    "Exit status: 0 done, 1 outlier found (--fail-on-outlier), 2 usage error, 3 failure.\n";

struct ReportOptions {
  std::string dir;
  BandSettings band;
  bool failOnOutlier = false;
  int jobs = 0;
  std::string levels;  // level codes for the chart folders, "DRV,DATE"
  HeadlessOptions chart;
  std::string fromList;
  std::string scan;
};

int UsageError(const std::string& why) {
  std::cerr << "varst: " << why << "\n" << kUsage;
  return 2;
}

bool ParseNumber(const std::string& text, double low, double high, double& value) {
  double parsed = 0;
  if (!IsNumeric(text) || !TryParseDouble(text, parsed) || !(parsed >= low) || !(parsed <= high)) return false;
  value = parsed;
  return true;
}

int ParseReportCommand(const std::vector<std::string>& items, ReportOptions& options) {
  std::size_t i = 1;
  if (i >= items.size() || StartsWith(items[i], "--")) return UsageError("--report needs the output folder");
  options.dir = items[i++];
  std::string level1 = "NON";
  std::string level2 = "NON";
  bool filesOnly = false;
  for (; i < items.size(); ++i) {
    const std::string& item = items[i];
    if (filesOnly || !StartsWith(item, "--")) {
      options.chart.files.push_back(item);
      continue;
    }
    if (item == "--") {
      filesOnly = true;
      continue;
    }
    if (item == "--help") {
      std::cout << kUsage;
      return -1;
    }
    if (item == "--fail-on-outlier") {
      options.failOnOutlier = true;
      continue;
    }
    // The chart options of the other modes, but for --range: the band is made over the whole
    // test range.
    if (const ChartOption* option = item == "--range" ? nullptr : FindChartOption(item)) {
      if (option->takesValue && i + 1 >= items.size()) return UsageError(item + " needs a value");
      const std::string why = option->apply(option->takesValue ? items[++i] : std::string(), options.chart);
      if (!why.empty()) return UsageError(why);
      continue;
    }
    static const std::set<std::string> kValued = {"--k",      "--tolerance", "--share",     "--jobs",
                                                   "--level1", "--level2",    "--from-list", "--scan"};
    if (kValued.count(item) == 0) return UsageError("unknown option " + item);
    if (i + 1 >= items.size()) return UsageError(item + " needs a value");
    const std::string& value = items[++i];
    double number = 0;
    if (item == "--k") {
      if (!ParseNumber(value, 0, 1e6, options.band.k)) return UsageError("--k takes a number from 0 to 1000000");
    } else if (item == "--tolerance") {
      if (!ParseNumber(value, 0, 10, options.band.tolerance)) return UsageError("--tolerance takes a number from 0 to 10");
    } else if (item == "--share") {
      if (!ParseNumber(value, 0, 1, options.band.share)) return UsageError("--share takes a number from 0 to 1");
    } else if (item == "--jobs") {
      if (!ParseNumber(value, 1, 256, number) || number != static_cast<int>(number)) {
        return UsageError("--jobs takes a whole number from 1 to 256");
      }
      options.jobs = static_cast<int>(number);
    } else if (item == "--level1" || item == "--level2") {
      int choice = 0;
      if (!LevelChoiceOfWord(value, choice)) return UsageError(item + " takes none, model or date");
      (item == "--level1" ? level1 : level2) = LevelCode(choice);
    } else if (item == "--from-list") {
      options.fromList = value;
    } else if (item == "--scan") {
      options.scan = value;
    }
  }
  options.levels = level1 + "," + level2;
  const int sources = (options.chart.files.empty() ? 0 : 1) + (options.fromList.empty() ? 0 : 1) +
                      (options.scan.empty() ? 0 : 1);
  if (sources != 1) return UsageError("give the data files, or --from-list LISTFILE, or --scan FOLDER");
  return 0;
}

// The files a list names, one a line; a relative name is taken from the list's folder. Blank
// lines and the list files' header lines are skipped.
bool ReadListFile(const std::string& list, std::vector<std::string>& files) {
  std::ifstream in(list, std::ios::binary);
  if (!in) return false;
  const fs::path folder = fs::path(list).parent_path();
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::string name(Trim(line));
    if (name.empty() || name == "DATA FILE LIST" || name == "[FILE LIST]") continue;
    const fs::path path(name);
    files.push_back(path.is_absolute() || folder.empty() ? name : (folder / path).string());
  }
  return !in.bad();
}

// The regular files of a folder (not hidden ones), in name order.
bool ScanFolder(const std::string& folder, std::vector<std::string>& files) {
  std::error_code error;
  fs::directory_iterator it(folder, error);
  if (error) return false;
  for (const fs::directory_entry& entry : it) {
    const std::string name = entry.path().filename().string();
    if (name.empty() || name[0] == '.' || !entry.is_regular_file(error)) continue;
    files.push_back(entry.path().string());
  }
  std::sort(files.begin(), files.end());
  return true;
}

// The outcome of reading one file.
struct FileOutcome {
  std::string error;  // the program's message when the file could not be read
  std::vector<ReportSeries> series;
  std::string model;
  std::string serial;
  std::string stamp;
  bool chart = false;  // its chart waits in the staging folder under its index
};

std::string FirstLine(const std::string& text) {
  const std::string line(Trim(text.substr(0, text.find('\n'))));
  return line;
}

std::string ChartKind(const ChartState& chart) {
  if ((chart.ConditionFlags & 0x80) != 0) return "time";
  return chart.UnitCode == 10 ? "count" : "LBA";
}

bool WriteText(const std::string& path, std::string_view text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  out.flush();
  return static_cast<bool>(out);
}

bool WritePng(const QImage& image, const std::string& path) {
  const QByteArray bytes = EncodePngImage(image);
  return !bytes.isEmpty() &&
         WriteText(path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

std::string PartPath(const std::string& staging, std::size_t index) {
  return staging + "/charts/.part-" + std::to_string(index) + ".png";
}

FileOutcome ReadOne(const std::string& path, std::size_t index, const ReportOptions& options,
                    const std::string& staging) {
  FileOutcome outcome;
  if (!FileExists(std::string_view(path))) {
    outcome.error = "ファイルが見つかりません";
    return outcome;
  }
  std::ostringstream messages;
  ConsolePrompter prompter(messages);
  HeadlessOptions chartOptions = options.chart;
  chartOptions.files = {path};
  HeadlessSession session(chartOptions, prompter);
  try {
    session.LoadFiles();
  } catch (const std::bad_alloc&) {
    outcome.error = "メモリが不足しています";
    return outcome;
  }
  if (prompter.Errors() != 0) {
    outcome.error = FirstLine(messages.str());
    return outcome;
  }
  if (session.Data().Grf_Hist_Ptr == 0) {
    outcome.error = "データがありません";
    return outcome;
  }
  const ViewRange range = TestRange(session.Chart(), session.Data().RangeEnd);
  const std::string kind = ChartKind(session.Chart());
  const auto rows = BuildStatisticsRows(session.Data(), session.Points(), [](std::int32_t) { return true; });
  for (const StatisticsRow& row : rows) {
    ReportSeries series;
    series.file = index;
    series.stats = row;
    series.key = GroupKey{kind, range.start, range.end, row.label};
    series.comparable = !IsDerivedSeries(row.path, row.label) && row.stats.records > 0;
    if (series.comparable) {
      const SeriesPoints& points = session.Points().Row(row.row);
      series.bins = SeriesBinValues(points, range.start, range.end, options.band.bins);
    }
    outcome.series.push_back(std::move(series));
  }
  if (!rows.empty()) {
    outcome.model = rows.front().model;
    outcome.serial = rows.front().serial;
  }
  outcome.stamp = FileTimeStampText(path);
  outcome.chart = WritePng(RenderDisplayList(session.Drawing(), options.chart.width, options.chart.height),
                           PartPath(staging, index));
  return outcome;
}

// Reads every file on `jobs` threads; the outcomes keep the files' order.
std::vector<FileOutcome> ReadAll(const std::vector<std::string>& files, const ReportOptions& options,
                                 const std::string& staging) {
  std::vector<FileOutcome> outcomes(files.size());
  std::atomic<std::size_t> next{0};
  std::atomic<std::size_t> done{0};
  const auto started = std::chrono::steady_clock::now();
  const int jobs = std::max(1, std::min<int>(options.jobs, static_cast<int>(files.size())));
  const auto work = [&] {
    for (std::size_t i = next++; i < files.size(); i = next++) {
      outcomes[i] = ReadOne(files[i], i, options, staging);
      ++done;
    }
  };
  std::vector<std::thread> workers;
  for (int j = 0; j < jobs; ++j) {
    try {
      workers.emplace_back(work);
    } catch (const std::system_error&) {
      // No more threads to be had (a limit on threads or on memory): those started do the rest.
      break;
    }
  }
  if (workers.empty()) work();
  // Progress for more than a few files, about once a second and when the last one is done.
  if (files.size() > 5) {
    auto lastShown = started;
    for (bool last = false; !last;) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      const std::size_t now = done;
      last = now == files.size();
      const auto clock = std::chrono::steady_clock::now();
      if (!last && clock - lastShown < std::chrono::seconds(1)) continue;
      lastShown = clock;
      std::fprintf(stderr, "report: %zu/%zu files, %.1f s\n", now, files.size(),
                   std::chrono::duration<double>(clock - started).count());
    }
  }
  for (std::thread& worker : workers) worker.join();
  return outcomes;
}

// Names the charts as the conversion tool names copies (model "_" serial, numbered when taken),
// optionally below model and date folders; the relative names in file order ("" without chart).
std::vector<std::string> PlaceCharts(const std::vector<FileOutcome>& outcomes, const std::string& staging,
                                     const std::string& levels, std::string& why) {
  std::vector<std::string> names(outcomes.size());
  std::set<std::string> taken;
  for (std::size_t i = 0; i < outcomes.size(); ++i) {
    if (!outcomes[i].chart) continue;
    const std::string folder =
        GetSaveFolder("charts", levels, FolderInfo{SafeNamePart(outcomes[i].model), outcomes[i].stamp});
    const std::string first = folder + SafeNamePart(outcomes[i].model) + "_" + SafeNamePart(outcomes[i].serial) + ".png";
    std::string name = first;
    for (int n = 1; taken.count(name) != 0; ++n) name = MakeNumberedName(first, n);
    taken.insert(name);
    std::error_code error;
    fs::create_directories(fs::path(staging) / fs::path(name).parent_path(), error);
    fs::rename(PartPath(staging, i), fs::path(staging) / name, error);
    if (error) {
      why = "cannot write " + name + ": " + error.message();
      return {};
    }
    names[i] = name;
  }
  return names;
}

// The files of a group in file order, each once.
std::vector<std::string> GroupFiles(const ReportGroup& group, const std::vector<ReportSeries>& series,
                                    const std::vector<std::string>& files) {
  std::vector<std::string> paths;
  std::set<std::string> seen;
  for (std::size_t member : group.members) {
    const std::string& path = files[series[member].file];
    if (seen.insert(path).second) paths.push_back(path);
  }
  return paths;
}

// The overlay of one group: every member series drawn together, the others unticked. A chart
// holds kTableSize files at most: the first ones are drawn, the band is that of all.
bool WriteOverlay(const ReportGroup& group, const std::vector<ReportSeries>& series,
                  const std::vector<std::string>& files, const ReportOptions& options, const std::string& picture) {
  std::vector<std::string> paths = GroupFiles(group, series, files);
  if (paths.size() > static_cast<std::size_t>(kTableSize)) paths.resize(static_cast<std::size_t>(kTableSize));
  std::ostringstream messages;
  ConsolePrompter prompter(messages);
  HeadlessOptions chartOptions = options.chart;
  chartOptions.files = paths;
  chartOptions.keepPoints = false;  // the band is known; 513 files of points would not fit
  HeadlessSession session(chartOptions, prompter);
  // A point per record drawn, and a little for the frame and the marks.
  std::set<std::string> drawn(paths.begin(), paths.end());
  std::size_t records = 0;
  for (const ReportSeries& one : series) {
    if (drawn.count(files[one.file]) != 0) records += static_cast<std::size_t>(std::max<std::int64_t>(0, one.stats.stats.records));
  }
  session.ReserveDrawingPoints(records + records / 64 + 65536);
  session.LoadFiles();
  MemoryGrid& grid = session.SeriesGrid();
  std::vector<bool>& outlierRows = session.Chart().OutlierRows;
  outlierRows.assign(static_cast<std::size_t>(grid.Rows()), false);
  for (int row = 0; row < grid.Rows(); ++row) {
    const SeriesKeyParts key = ParseSeriesKey(grid.RowData(row));
    const std::string label(Trim(key.label));
    grid.SetCellChecked(row, 1, label == group.key.label ? kChecked : kUnchecked);
    for (std::size_t m = 0; m < group.members.size(); ++m) {
      const StatisticsRow& member = series[group.members[m]].stats;
      if (group.band.present && group.band.series[m].outlier && member.path == key.path && member.label == label) {
        outlierRows[static_cast<std::size_t>(row)] = true;
      }
    }
  }
  session.Drawer().SetUnderlay([&group](DrawingSurface& surface, const ChartState& chart, double rangeEnd) {
    const ViewRange shown = ShownRange(chart, rangeEnd);
    DrawBand(surface, group.band, BandFrame{shown.start, shown.end, static_cast<double>(chart.YZoom),
                                            static_cast<double>(chart.YFullScale), surface.BackColor()});
  });
  LoadContext context = session.Context();
  RedrawTickedRows(context);
  return WritePng(RenderDisplayList(session.Drawing(), options.chart.width, options.chart.height), picture);
}

std::string OutlierShareText(const ReportGroup* group, std::size_t memberIndex) {
  if (group == nullptr || !group->band.present) return "";
  return ShortestText(group->band.series[memberIndex].outlierShare);
}

}  // namespace

bool IsReportCommand(const std::vector<std::string>& items) { return !items.empty() && items[0] == "--report"; }

int RunReportCommand(int& argc, char** argv, const std::vector<std::string>& items) {
  ReportOptions options;
  if (const int status = ParseReportCommand(items, options); status != 0) return status < 0 ? 0 : status;
  if (options.jobs == 0) options.jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  std::vector<std::string> files = options.chart.files;
  if (!options.fromList.empty() && !ReadListFile(options.fromList, files)) {
    std::cerr << "ファイルが見つかりません: " << options.fromList << '\n';
    return 3;
  }
  if (!options.scan.empty() && !ScanFolder(options.scan, files)) {
    std::cerr << "ファイルが見つかりません: " << options.scan << '\n';
    return 3;
  }
  if (files.empty()) {
    std::cerr << "データがありません\n";
    return 3;
  }
  if (const std::string problem = ReportFolderProblem(options.dir); !problem.empty()) {
    std::cerr << "varst: " << problem << '\n';
    return 3;
  }

  StartHeadlessQt();
  QGuiApplication application(argc, argv);
  std::string why;
  const std::string staging = MakeStagingFolder(options.dir, why);
  if (staging.empty()) {
    std::cerr << "varst: " << why << '\n';
    return 3;
  }
  const auto fail = [&](const std::string& reason) {
    std::error_code ignored;
    fs::remove_all(staging, ignored);
    std::cerr << "varst: " << reason << '\n';
    return 3;
  };
  std::error_code error;
  fs::create_directories(fs::path(staging) / "charts", error);
  if (error) return fail("cannot write into " + staging + ": " + error.message());

  std::vector<FileOutcome> outcomes = ReadAll(files, options, staging);
  const std::vector<std::string> charts = PlaceCharts(outcomes, staging, options.levels, why);
  if (!why.empty()) return fail(why);

  std::vector<ReportSeries> series;
  for (FileOutcome& outcome : outcomes) {
    for (ReportSeries& one : outcome.series) series.push_back(std::move(one));
  }
  const std::vector<ReportGroup> groups = GroupSeries(series, options.band);
  // Where each series stands in its group.
  std::vector<const ReportGroup*> groupOf(series.size(), nullptr);
  std::vector<std::size_t> memberOf(series.size(), 0);
  for (const ReportGroup& group : groups) {
    for (std::size_t m = 0; m < group.members.size(); ++m) {
      groupOf[group.members[m]] = &group;
      memberOf[group.members[m]] = m;
    }
  }

  ReportPageContent page;
  page.title = "Varst report";
  bool anyOutlier = false;
  for (const ReportGroup& group : groups) {
    const std::string picture = "overlay-" + group.name + ".png";
    if (!WriteOverlay(group, series, files, options, staging + "/" + picture)) {
      return fail("cannot write " + picture);
    }
    std::string note = std::to_string(group.members.size()) + " series";
    if (const std::size_t inGroup = GroupFiles(group, series, files).size(); inGroup > static_cast<std::size_t>(kTableSize)) {
      note += "; the first " + std::to_string(kTableSize) + " of " + std::to_string(inGroup) +
              " files drawn (a chart holds " + std::to_string(kTableSize) + "), the band is of all";
      std::fprintf(stderr, "report: %s: the first %d of %zu files drawn\n", picture.c_str(), kTableSize, inGroup);
    }
    if (!group.band.present) note += "; fewer than 3 comparable series: no band";
    if (group.band.present) {
      std::size_t flagged = 0;
      for (const SeriesVerdict& verdict : group.band.series) flagged += verdict.outlier ? 1 : 0;
      note += ", " + std::to_string(flagged) + (flagged == 1 ? " outlier" : " outliers");
    }
    page.groups.push_back({group.name, picture, note});
  }
  // The page shows the groups with a band first, the biggest first; the files keep their names.
  std::vector<std::size_t> shown(groups.size());
  for (std::size_t g = 0; g < shown.size(); ++g) shown[g] = g;
  std::stable_sort(shown.begin(), shown.end(), [&groups](std::size_t a, std::size_t b) {
    if (groups[a].band.present != groups[b].band.present) return groups[a].band.present;
    return groups[a].members.size() > groups[b].members.size();
  });
  std::vector<ReportPageGroup> ordered;
  for (std::size_t g : shown) ordered.push_back(page.groups[g]);
  page.groups = std::move(ordered);

  std::vector<std::string> columns = StatisticsKeys();
  for (const char* extra : {"group", "outlier_share", "outlier", "error"}) columns.emplace_back(extra);
  page.columns = columns;
  std::string csv;
  for (std::size_t c = 0; c < columns.size(); ++c) csv += (c == 0 ? "" : ",") + columns[c];
  csv += "\r\n";
  std::size_t seriesIndex = 0;
  std::size_t errors = 0;
  for (std::size_t f = 0; f < outcomes.size(); ++f) {
    std::vector<std::vector<std::string>> rows;
    std::vector<bool> outliers;
    if (!outcomes[f].error.empty()) {
      ++errors;
      std::vector<std::string> cells(columns.size());
      cells[1] = files[f];
      cells.back() = outcomes[f].error;
      rows.push_back(cells);
      outliers.push_back(false);
    }
    for (; seriesIndex < series.size() && series[seriesIndex].file == f; ++seriesIndex) {
      const StatisticsRow& stats = series[seriesIndex].stats;
      std::vector<std::string> cells = {std::to_string(stats.row), stats.path, stats.label, stats.model, stats.serial};
      for (std::string& number : StatisticsNumberTexts(stats.stats)) cells.push_back(std::move(number));
      const ReportGroup* group = groupOf[seriesIndex];
      const bool banded = group != nullptr && group->band.present;
      const bool outlier = banded && group->band.series[memberOf[seriesIndex]].outlier;
      anyOutlier = anyOutlier || outlier;
      cells.push_back(group != nullptr ? group->name : "");
      cells.push_back(OutlierShareText(group, memberOf[seriesIndex]));
      cells.push_back(banded ? (outlier ? "yes" : "no") : "");
      cells.emplace_back();
      rows.push_back(cells);
      outliers.push_back(outlier);
    }
    for (std::size_t r = 0; r < rows.size(); ++r) {
      for (std::size_t c = 0; c < rows[r].size(); ++c) csv += (c == 0 ? "" : ",") + CsvField(rows[r][c]);
      csv += "\r\n";
      ReportPageRow pageRow;
      pageRow.cells = rows[r];
      pageRow.chart = charts[f];
      pageRow.outlier = outliers[r];
      pageRow.error = !outcomes[f].error.empty();
      page.rows.push_back(std::move(pageRow));
    }
  }
  std::size_t outlierCount = 0;
  for (const ReportPageRow& row : page.rows) outlierCount += row.outlier ? 1 : 0;
  const auto counted = [](std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
  };
  page.generated = counted(files.size(), "file", "files") + ", " + counted(series.size(), "series", "series") + ", " +
                   counted(groups.size(), "group", "groups") + ", " + counted(outlierCount, "outlier", "outliers") +
                   ", " + counted(errors, "file", "files") + " not read; band k " + ShortestText(options.band.k) +
                   ", tolerance " + ShortestText(options.band.tolerance) + ", share " +
                   ShortestText(options.band.share) + ".";
  if (!WriteText(staging + "/summary.csv", csv) || !WriteText(staging + "/index.html", ReportPage(page))) {
    return fail("cannot write the summary into " + staging);
  }
  if (!CommitReportFolder(staging, options.dir, why)) return fail(why);
  if (files.size() > 5 || errors > 0) {
    std::fprintf(stderr, "report: %zu files, %zu series, %zu outliers, %zu files not read\n", files.size(),
                 series.size(), outlierCount, errors);
  }
  return options.failOnOutlier && anyOutlier ? 1 : 0;
}

}  // namespace varst
