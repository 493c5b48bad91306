#include "app/HeadlessCommands.h"

#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <iostream>

#include "app/HeadlessSession.h"
#include "common/Numbers.h"
#include "common/Paths.h"
#include "platform/ConsolePrompter.h"
#include "platform/DisplayList.h"
#include "platform/DisplayListPainter.h"
#include "platform/QtText.h"

namespace varst {
namespace {

enum class Mode { Export, Dump, List };

struct Command {
  Mode mode = Mode::Dump;
  std::string output;
  HeadlessOptions options;
};

constexpr char kUsage[] =
    "Usage: varst --export OUT.png [options] DATAFILE...\n"
    "       varst --dump-drawing [options] DATAFILE...\n"
    "       varst --list-series [options] DATAFILE...\n"
    "Options:\n"
    "  --size WxH       picture size in pixels (default 1200x800)\n"
    "  --yscale N       Y full scale, 1 to 500 (default: the files' value)\n"
    "  --no-model       legend without model, serial number and capacity\n"
    "  --settings FILE  chart colours and fonts from a settings file\n";

int UsageError(const std::string& why) {
  std::cerr << "varst: " << why << "\n" << kUsage;
  return 2;
}

bool ParseSize(const std::string& text, int& width, int& height) {
  const auto x = text.find_first_of("xX");
  if (x == std::string::npos) return false;
  const std::string w = text.substr(0, x);
  const std::string h = text.substr(x + 1);
  std::int32_t wv = 0;
  std::int32_t hv = 0;
  if (!IsNumeric(w) || !IsNumeric(h) || !TryParseInt32(w, wv) || !TryParseInt32(h, hv)) return false;
  if (wv < 1 || hv < 1 || wv > 16384 || hv > 16384) return false;
  width = wv;
  height = hv;
  return true;
}

// Reads the command; returns 0 when it is complete, else the usage error status.
int ParseCommand(const std::vector<std::string>& items, Command& command) {
  std::size_t i = 0;
  const std::string& mode = items[i++];
  if (mode == "--export") {
    command.mode = Mode::Export;
    command.options.reduceToPixels = true;
    if (i >= items.size()) return UsageError("--export needs the output file");
    command.output = items[i++];
  } else {
    command.mode = mode == "--list-series" ? Mode::List : Mode::Dump;
  }
  for (; i < items.size(); ++i) {
    const std::string& item = items[i];
    const bool hasValue = i + 1 < items.size();
    if (item == "--size") {
      if (!hasValue || !ParseSize(items[++i], command.options.width, command.options.height)) {
        return UsageError("--size takes WxH, each 1 to 16384");
      }
    } else if (item == "--yscale") {
      std::int32_t value = 0;
      if (!hasValue || !IsNumeric(items[i + 1]) || !TryParseInt32(items[i + 1], value) || value < 1 || value > 500) {
        return UsageError("--yscale takes a number from 1 to 500");
      }
      command.options.yScale = items[++i];
    } else if (item == "--no-model") {
      command.options.showModelName = false;
    } else if (item == "--settings") {
      if (!hasValue) return UsageError("--settings needs a file");
      command.options.settingsFile = items[++i];
      if (!FileExists(std::string_view(command.options.settingsFile))) {
        return UsageError("settings file not found: " + command.options.settingsFile);
      }
    } else if (item.size() > 2 && item.compare(0, 2, "--") == 0) {
      return UsageError("unknown option " + item);
    } else {
      command.options.files.push_back(item);
    }
  }
  if (command.options.files.empty()) return UsageError("no data file given");
  return 0;
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

int Export(int& argc, char** argv, const HeadlessSession& session, const Command& command) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(QuietHeadlessMessages);
  QGuiApplication application(argc, argv);
  const QImage image = RenderDisplayList(session.Drawing(), command.options.width, command.options.height);
  if (image.isNull() || !image.save(PathToQString(command.output), "PNG")) {
    std::cerr << "画像を保存できません: " << command.output << '\n';
    return 3;
  }
  return 0;
}

}  // namespace

bool IsHeadlessCommand(const std::vector<std::string>& items) {
  return !items.empty() && (items[0] == "--export" || items[0] == "--dump-drawing" || items[0] == "--list-series");
}

int RunHeadlessCommand(int& argc, char** argv, const std::vector<std::string>& items) {
  Command command;
  if (const int status = ParseCommand(items, command); status != 0) return status;
  for (const std::string& file : command.options.files) {
    if (!FileExists(std::string_view(file))) {
      std::cerr << "ファイルが見つかりません: " << file << '\n';
      return 3;
    }
  }
  ConsolePrompter prompter(std::cerr);
  HeadlessSession session(command.options, prompter);
  session.LoadFiles();
  if (prompter.Errors() != 0) return 3;
  if (session.Data().Grf_Hist_Ptr == 0) {
    // Nothing to draw: the files hold no data records the chart can show.
    prompter.Message("データがありません", MessageIcon::Critical);
    return 3;
  }
  switch (command.mode) {
    case Mode::Dump:
      std::cout << DumpDisplayList(session.Drawing());
      return 0;
    case Mode::List:
      PrintSeries(session);
      return 0;
    case Mode::Export:
      return Export(argc, argv, session, command);
  }
  return 0;
}

}  // namespace varst
