#include "app/ChartOptions.h"

#include <cstdint>

#include "chart/ViewRanges.h"
#include "common/Numbers.h"
#include "common/Paths.h"

namespace varst {
namespace {

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

constexpr ChartOption kOptions[] = {
    {"--size", true,
     [](const std::string& value, HeadlessOptions& options) -> std::string {
       return ParseSize(value, options.width, options.height) ? "" : "--size takes WxH, each 1 to 16384";
     }},
    {"--yscale", true,
     [](const std::string& value, HeadlessOptions& options) -> std::string {
       std::int32_t number = 0;
       if (!IsNumeric(value) || !TryParseInt32(value, number) || number < 1 || number > 500) {
         return "--yscale takes a number from 1 to 500";
       }
       options.yScale = value;
       return "";
     }},
    {"--no-model", false,
     [](const std::string&, HeadlessOptions& options) -> std::string {
       options.showModelName = false;
       return "";
     }},
    {"--range", true,
     [](const std::string& value, HeadlessOptions& options) -> std::string {
       ViewRange& view = options.view;
       return ParseViewRange(value, view) && view.start < view.end ? "" : "--range takes START:END with START below END";
     }},
    {"--settings", true,
     [](const std::string& value, HeadlessOptions& options) -> std::string {
       options.settingsFile = value;
       return FileExists(std::string_view(value)) ? "" : "settings file not found: " + value;
     }},
};

}  // namespace

const ChartOption* FindChartOption(const std::string& item) {
  for (const ChartOption& option : kOptions) {
    if (item == option.name) return &option;
  }
  return nullptr;
}

}  // namespace varst
