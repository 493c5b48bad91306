// The varst program: the viewer window, or one of the headless modes for scripts.

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "Version.h"
#include "app/Application.h"
#include "app/HeadlessCommands.h"
#include "app/ReportCommand.h"
#include "convert/ConvertCommand.h"

namespace {

constexpr char kUsage[] =
    "Usage: varst [/DEB] [/MULTI] [/FN<file>] [FILE...]     open the viewer\n"
    "       varst --export OUT.png [options] DATAFILE...    the chart as a PNG picture\n"
    "       varst --dump-drawing [options] DATAFILE...      the chart's drawing operations as text\n"
    "       varst --list-series [options] DATAFILE...       the series rows, one a line\n"
    "       varst --stats [--format csv|json] [options] DATAFILE...  figures of every series row\n"
    "       varst --report DIR [options] DATAFILE... | --from-list F | --scan DIR   batch report\n"
    "       varst /CONV [FILE...]                           open the file name conversion tool\n"
    "       varst --convert --dest DIR [options] FILE...    copy files to names made of model and serial\n"
    "       varst --help | --version\n"
    "Chart options: --size WxH, --yscale N, --no-model, --settings FILE, --range START:END\n"
    "Conversion options: varst --convert --help\n";

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> items(argv + (argc > 0 ? 1 : 0), argv + argc);
  if (!items.empty() && (items[0] == "--help" || items[0] == "-h")) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (!items.empty() && items[0] == "--version") {
    std::printf("varst %s\n", varst::kVersionText);
    return 0;
  }
  if (varst::IsHeadlessCommand(items)) return varst::RunHeadlessCommand(argc, argv, items);
  if (varst::IsReportCommand(items)) return varst::RunReportCommand(argc, argv, items);
  if (!items.empty() && items[0] == "--convert") {
    return varst::RunConvertCommand({items.begin() + 1, items.end()}, std::cout, std::cerr);
  }
  return varst::RunViewer(argc, argv, items);
}
