// The varst program: the viewer window, or one of the headless modes for scripts.

#include <cstdio>
#include <string>
#include <vector>

#include "Version.h"
#include "app/Application.h"

namespace {

constexpr char kUsage[] =
    "Usage: varst [/DEB] [/MULTI] [/FN<file>] [FILE...]   open the viewer\n"
    "       varst --help | --version\n";

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
  return varst::RunViewer(argc, argv, items);
}
