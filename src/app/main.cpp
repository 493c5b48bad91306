// The varst program: the viewer window, or one of the headless modes for scripts.

#include <algorithm>
#include <array>
#include <cstdio>
#include <iostream>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "Version.h"
#include "app/Application.h"
#include "app/ConsoleLanguage.h"
#include "app/LanguageOption.h"
#include "app/HeadlessCommands.h"
#include "common/TemporaryFiles.h"
#include "common/Text.h"
#include "app/ReportCommand.h"
#include "convert/ConvertCommand.h"
#include "platform/OutOfMemory.h"

namespace varst {
namespace {

constexpr char kUsage[] =
    "Usage: varst [/DEB] [/MULTI] [/FN<file>] [--] [FILE...]  open the viewer\n"
    "       varst --export OUT.png|.svg|.pdf [options] [--] DATAFILE...  the chart as a picture\n"
    "       varst --dump-drawing [options] [--] DATAFILE...    the chart's drawing operations as text\n"
    "       varst --list-series [options] [--] DATAFILE...     the series rows, one a line\n"
    "       varst --stats [--format csv|json] [options] [--] DATAFILE...  figures of every series row\n"
    "       varst --report DIR [options] DATAFILE... | --from-list F | --scan DIR   batch report\n"
    "       varst /CONV [FILE...]                              open the file name conversion tool\n"
    "       varst --convert --dest DIR [options] [--] FILE...  copy files to names made of model and serial\n"
    "       varst --help | --version\n"
    "Interface language (any mode): --lang en|ja\n"
    "Chart options: --size WxH, --yscale N, --no-model, --settings FILE, --range START:END\n"
    "Conversion options: varst --convert --help\n"
    "\"--\" ends the options: every later item is a file, even one that begins with - or /.\n"
    "Exit status: 0 done, 2 usage error (an unknown option too), 3 failure (the message\n"
    "goes to standard error), 1 when --convert did not copy every file.\n";

constexpr char kOutputFailedMessage[] = "標準出力に書き込めません";

// The arguments Qt is given: the program path and, for the window, the items before "--",
// so that a file named like one of Qt's options is never taken as one.
struct QtArguments {
  std::vector<char*> values;
  int count = 0;
};

// What every mode prints has reached standard output, or the run fails: a full disk or a
// closed pipe must not look like success.
int FinishStandardOutput(int status) {
  std::cout.flush();
  const bool failed = !std::cout || std::fflush(stdout) != 0 || std::ferror(stdout) != 0;
  if (!failed || status == 2 || status == 3) return status;
  std::cerr << kOutputFailedMessage << '\n';
  return 3;
}

int PrintUsage() {
  std::fputs(kUsage, stdout);
  return 0;
}

int PrintVersion() {
  std::printf("varst %s\n", kVersionText);
  return 0;
}

int UsageError(const std::string& item) {
  std::cerr << "varst: unknown option " << item << '\n' << kUsage;
  return 2;
}

// The window: options are the "/" items and --help and --version; any other "--" item
// before the end of options is a mistake, never a file name.
int RunWindow(char** argv, std::vector<std::string> items, const std::string& language) {
  const auto end = std::find(items.begin(), items.end(), "--");
  for (auto item = items.begin(); item != end; ++item) {
    if (*item == "--help" || *item == "-h") return FinishStandardOutput(PrintUsage());
    if (*item == "--version") return FinishStandardOutput(PrintVersion());
    if (StartsWith(*item, "--")) return UsageError(*item);
  }
  const auto optionItems = static_cast<std::size_t>(end - items.begin());
  // Qt sees the option items as they remain once "--lang" was taken out.
  std::vector<std::string> qtItems(items.begin(), end);
  QtArguments qt;
  qt.values.push_back(argv[0]);
  for (std::string& item : qtItems) qt.values.push_back(item.data());
  qt.values.push_back(nullptr);
  qt.count = static_cast<int>(1 + optionItems);
  if (end != items.end()) items.erase(end);
  return RunViewer(qt.count, qt.values.data(), items, optionItems, language);
}

using ModeRunner = int (*)(char** argv, const std::vector<std::string>& items);

int RunHeadless(char** argv, const std::vector<std::string>& items) {
  std::array<char*, 2> values = {argv[0], nullptr};
  int count = 1;
  return RunHeadlessCommand(count, values.data(), items);
}

int RunReport(char** argv, const std::vector<std::string>& items) {
  std::array<char*, 2> values = {argv[0], nullptr};
  int count = 1;
  return RunReportCommand(count, values.data(), items);
}

int RunConvert(char** /*argv*/, const std::vector<std::string>& items) {
  return RunConvertCommand({items.begin() + 1, items.end()}, std::cout, std::cerr);
}

// The modes chosen by the first item; any other first item opens the window.
struct Mode {
  std::string_view option;
  ModeRunner run;
};
constexpr Mode kModes[] = {
    {"--help", [](char**, const std::vector<std::string>&) { return PrintUsage(); }},
    {"-h", [](char**, const std::vector<std::string>&) { return PrintUsage(); }},
    {"--version", [](char**, const std::vector<std::string>&) { return PrintVersion(); }},
    {"--export", RunHeadless},
    {"--dump-drawing", RunHeadless},
    {"--list-series", RunHeadless},
    {"--stats", RunHeadless},
    {"--report", RunReport},
    {"--convert", RunConvert},
};

int Run(char** argv, const std::vector<std::string>& items, const std::string& language) {
  for (const Mode& mode : kModes) {
    if (!items.empty() && items[0] == mode.option) return FinishStandardOutput(mode.run(argv, items));
  }
  return RunWindow(argv, items, language);
}

}  // namespace
}  // namespace varst

int main(int argc, char** argv) {
  static char programName[] = "varst";
  static char* withoutArguments[] = {programName, nullptr};
  if (argc < 1 || argv[0] == nullptr) {
    argc = 1;
    argv = withoutArguments;
  }
  varst::RemoveTemporariesOnSignals();
  try {
    std::vector<std::string> items(argv + 1, argv + argc);
    std::string language;
    if (!varst::TakeLanguageOption(items, language)) {
      std::cerr << "varst: --lang takes en or ja\n" << varst::kUsage;
      return 2;
    }
    const varst::ConsoleLanguage consoleLanguage(language);
    return varst::Run(argv, items, language);
  } catch (const std::bad_alloc&) {
    // Everything the command built is gone by now; only the message is left to say.
    std::fputs(varst::kOutOfMemoryMessage, stderr);
    std::fputs("\n", stderr);
    return 3;
  }
}
