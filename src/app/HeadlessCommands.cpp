#include "app/HeadlessCommands.h"

#include <QGuiApplication>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <set>
#include <sstream>
#include <system_error>

#include "app/ChartOptions.h"
#include "app/HeadlessSession.h"
#include "app/OutputFile.h"
#include "app/StatsCommand.h"
#include "chart/ViewRanges.h"
#include "common/Numbers.h"
#include "common/Paths.h"
#include "common/Text.h"
#include "data/LoadFiles.h"
#include "platform/ConsolePrompter.h"
#include "platform/DisplayList.h"
#include "platform/DisplayListPainter.h"
#include "platform/PictureFile.h"
#include "platform/QtText.h"

namespace varst {
namespace {

enum class Mode { Export, Dump, List, Stats };

struct Command {
  Mode mode = Mode::Dump;
  std::string output;
  HeadlessOptions options;
  StatsFormat format = StatsFormat::Csv;
};

constexpr char kUsage[] =
    "Usage: varst --export OUT.png|OUT.svg|OUT.pdf [options] [--] DATAFILE...\n"
    "       varst --dump-drawing [options] [--] DATAFILE...\n"
    "       varst --list-series [options] [--] DATAFILE...\n"
    "       varst --stats [--format csv|json] [options] [--] DATAFILE...\n"
    "Options:\n"
    "  --size WxH       picture size in pixels (default 1200x800)\n"
    "  --yscale N       Y full scale, 1 to 500 (default: the files' value)\n"
    "  --no-model       legend without model, serial number and capacity\n"
    "  --settings FILE  chart colours and fonts from a settings file\n"
    "  --range A:B      only X from A to B (file units; hex with a trailing h)\n"
    "  --               end of options: every later item is a data file\n"
    "Exit status: 0 done, 2 usage error, 3 failure or files or series left out (513 at most).\n";

// ParseCommand's answer when the command asked for the usage text.
constexpr int kHelpShown = -1;

int UsageError(const std::string& why) {
  std::cerr << "varst: " << why << "\n" << kUsage;
  return 2;
}


// Reads the command; returns 0 when it is complete, kHelpShown after --help, else the usage
// error status.
int ParseCommand(const std::vector<std::string>& items, Command& command) {
  std::size_t i = 0;
  const std::string& mode = items[i++];
  if (mode == "--export") {
    command.mode = Mode::Export;
    // An option in the place of the output is a forgotten output, never a picture's name.
    if (i >= items.size() || StartsWith(items[i], "--")) return UsageError("--export needs the output file");
    command.output = items[i++];
  } else {
    command.mode = mode == "--list-series" ? Mode::List : mode == "--stats" ? Mode::Stats : Mode::Dump;
  }
  bool filesOnly = false;
  for (; i < items.size(); ++i) {
    const std::string& item = items[i];
    if (filesOnly || !StartsWith(item, "--")) {
      command.options.files.push_back(item);
    } else if (item == "--") {
      filesOnly = true;
    } else if (item == "--help") {
      std::cout << kUsage;
      return kHelpShown;
    } else if (item == "--format" && command.mode == Mode::Stats) {
      if (i + 1 >= items.size() || !ParseStatsFormat(items[++i], command.format)) return UsageError("--format takes csv or json");
    } else if (const ChartOption* option = FindChartOption(item)) {
      if (option->takesValue && i + 1 >= items.size()) return UsageError(std::string(option->name) + " needs a value");
      const std::string why = option->apply(option->takesValue ? items[++i] : std::string(), command.options);
      if (!why.empty()) return UsageError(why);
    } else {
      return UsageError("unknown option " + item);
    }
  }
  if (command.options.files.empty()) return UsageError("no data file given");
  // Only the statistics read the drawn records; a picture or a listing needs none of them.
  command.options.keepPoints = command.mode == Mode::Stats;
  // The statistics count the values first (see RunHeadlessCommand).
  if (command.mode == Mode::Stats) command.options.keep = PointStore::Keep::Tally;
  // Only the dump shows every drawing operation; the others need at most the picture's pixels.
  if (command.mode != Mode::Dump) command.options.reduceToPixels = true;
  // The statistics and the list of series need none of it.
  command.options.recordDrawing = command.mode == Mode::Export || command.mode == Mode::Dump;
  if (command.mode == Mode::Export) {
    std::vector<std::string> inputs = command.options.files;
    if (!command.options.settingsFile.empty()) inputs.push_back(command.options.settingsFile);
    if (IsOneOfTheFiles(command.output, inputs)) return UsageError("the output is one of the input files: " + command.output);
    const std::optional<PictureFormat> format = PictureFormatOfPath(command.output);
    if (!format) return UsageError("--export writes .png, .svg or .pdf: " + command.output);
    if (*format == PictureFormat::Png) {
      command.options.coveredLines = CoveredLines::Finders(command.options.width, command.options.height);
    }
  }
  return 0;
}

// The files in order, each once (as the loader counts them), split at the table's size:
// the ones that are drawn and the ones left out.
std::vector<std::string> LeaveOutBeyondTable(std::vector<std::string>& files) {
  std::set<std::string> seen;
  std::vector<std::string> kept;
  std::vector<std::string> leftOut;
  for (const std::string& file : files) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(file, error);
    if (!seen.insert(error ? file : absolute.lexically_normal().string()).second) continue;
    (kept.size() < static_cast<std::size_t>(kTableSize) ? kept : leftOut).push_back(file);
  }
  files = std::move(kept);
  return leftOut;
}

void PrintSeries(const HeadlessSession& session) {
  const MemoryGrid& grid = session.SeriesGrid();
  for (int row = 0; row < grid.Rows(); ++row) {
    std::cout << row << '\t' << grid.TextMatrix(row, 0) << '\t' << grid.TextMatrix(row, 2) << '\t'
              << grid.TextMatrix(row, 3) << '\t' << grid.TextMatrix(row, 4) << '\t' << grid.TextMatrix(row, 5) << '\t'
              << ColourHex(session.Data().SeriesColor[static_cast<std::size_t>(row)]) << '\n';
  }
}

// Qt's notes about the desktop session (no runtime folder on a server) are not for the user
// of a script; everything else is passed on.
void QuietHeadlessMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type != QtFatalMsg && message.startsWith("QStandardPaths:")) return;
  std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

}  // namespace

void StartHeadlessQt() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(QuietHeadlessMessages);
}

namespace {

int Export(int& argc, char** argv, const HeadlessSession& session, const Command& command) {
  StartHeadlessQt();
  QGuiApplication application(argc, argv);
  const QByteArray picture = EncodePicture(session.Drawing(), command.options.width, command.options.height,
                                           *PictureFormatOfPath(command.output));
  if (picture.isEmpty()) {
    std::cerr << "画像を保存できません: " << command.output << '\n';
    return 3;
  }
  const WriteResult written = WriteOutputFile(command.output, [&picture](const ChunkWriter& write) {
    return write(picture.constData(), static_cast<std::size_t>(picture.size()));
  });
  if (!written) {
    std::cerr << "画像を保存できません: " << command.output << '\n' << written.error << '\n';
    return 3;
  }
  return 0;
}

}  // namespace

bool IsHeadlessCommand(const std::vector<std::string>& items) {
  return !items.empty() && (items[0] == "--export" || items[0] == "--dump-drawing" || items[0] == "--list-series" ||
                            items[0] == "--stats");
}

int RunHeadlessCommand(int& argc, char** argv, const std::vector<std::string>& items) {
  Command command;
  if (const int status = ParseCommand(items, command); status != 0) return status == kHelpShown ? 0 : status;
  for (const std::string& file : command.options.files) {
    if (!FileExists(std::string_view(file))) {
      std::cerr << "ファイルが見つかりません: " << file << '\n';
      return 3;
    }
  }
  const std::vector<std::string> leftOut = LeaveOutBeyondTable(command.options.files);
  ConsolePrompter prompter(std::cerr);
  auto owned = std::make_unique<HeadlessSession>(command.options, prompter);
  owned->LoadFiles();
  if (owned->Points().NeedsValuesInOrder()) {
    // A row holds a value whose percentile rank depends on the order of the values (a NaN or
    // a negative zero), or its sum overflowed: the files are drawn again keeping the values in
    // order. What the loading had to say was said the first time.
    std::ostringstream said;
    ConsolePrompter again(said);
    HeadlessOptions options = command.options;
    options.keep = PointStore::Keep::Values;
    owned = std::make_unique<HeadlessSession>(options, again);
    owned->LoadFiles();
  }
  HeadlessSession& session = *owned;
  // Series beyond the table are left out with the window's message; what fits is still
  // drawn, as in the window, and the status says that something is missing.
  const bool seriesLeftOut = session.Data().SeriesLimitReached;
  if (prompter.Errors() > (seriesLeftOut ? 1 : 0)) return 3;
  if (session.Data().Grf_Hist_Ptr == 0) {
    // Nothing to draw: the files hold no data records the chart can show.
    prompter.Message("データがありません", MessageIcon::Critical);
    return 3;
  }
  if (session.ViewRefused()) return UsageError("--range lies outside the test range");
  if (!leftOut.empty()) {
    prompter.Message(kTooManyFilesMessage, MessageIcon::Critical);
    for (const std::string& file : leftOut) std::cerr << '\t' << file << '\n';
  }
  int status = 0;
  switch (command.mode) {
    case Mode::Dump:
      std::cout << DumpDisplayList(session.Drawing());
      break;
    case Mode::List:
      PrintSeries(session);
      break;
    case Mode::Export:
      status = Export(argc, argv, session, command);
      break;
    case Mode::Stats:
      PrintStatistics(std::cout, session, command.format);
      break;
  }
  return status == 0 && (seriesLeftOut || !leftOut.empty()) ? 3 : status;
}

}  // namespace varst
