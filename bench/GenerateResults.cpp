// varst-generate: writes a synthetic result file for examples, tests and benchmarks.

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "bench/ResultFileGenerator.h"

namespace {

constexpr char kUsage[] =
    "Usage: varst-generate -o FILE [options]\n"
    "  --kind lba|lba-cct|count|time   chart kind (lba)\n"
    "  --records N | --size-mb N       records per series, or about N MB in all\n"
    "  --series W,R                    type codes of the series, in order (R)\n"
    "  --errors RATE  --breaks N       error share, break marks per series\n"
    "  --model M --serial S --maxlba N --range-end N --speed F\n"
    "  --threshold MS --flags N --tests N --marker TEXT --six-fields --unknown N --seed N\n"
    "  --files N                       N drives into the folder -o names (drive-0001.dat, ...):\n"
    "                                  seeds SEED+1.., serials SERIAL-0001.., speeds within 1%\n"
    "  --line-end crlf|cr|lf           what ends every line (crlf)\n";

using varst::bench::ChartKind;
using varst::bench::GeneratorOptions;

std::vector<std::string> SplitComma(const std::string& text) {
  std::vector<std::string> items;
  std::stringstream stream(text);
  for (std::string item; std::getline(stream, item, ',');) items.push_back(item);
  return items;
}

bool ParseKind(const std::string& text, ChartKind& kind) {
  if (text == "lba") kind = ChartKind::Lba;
  else if (text == "lba-cct") kind = ChartKind::LbaCompletionTime;
  else if (text == "count") kind = ChartKind::Count;
  else if (text == "time") kind = ChartKind::Time;
  else return false;
  return true;
}

bool Write(const std::string& path, const GeneratorOptions& options) {
  std::ofstream out(path, std::ios::binary);
  varst::bench::WriteResultFile(out, options);
  out.close();
  if (!out) std::cerr << "varst-generate: cannot write " << path << "\n";
  return static_cast<bool>(out);
}

bool ParseLineEnd(const std::string& text, std::string& lineEnd) {
  if (text == "crlf") lineEnd = "\r\n";
  else if (text == "cr") lineEnd = "\r";
  else if (text == "lf") lineEnd = "\n";
  else return false;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  GeneratorOptions options;
  std::string output;
  double sizeMb = 0;
  int files = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    const bool hasValue = i + 1 < argc;
    const std::string value = hasValue ? argv[i + 1] : "";
    auto take = [&] { ++i; return value; };
    if (option == "-o" && hasValue) output = take();
    else if (option == "--kind" && hasValue && ParseKind(value, options.kind)) take();
    else if (option == "--records" && hasValue) options.records = std::atoll(take().c_str());
    else if (option == "--size-mb" && hasValue) sizeMb = std::atof(take().c_str());
    else if (option == "--series" && hasValue) options.series = SplitComma(take());
    else if (option == "--errors" && hasValue) options.errorRate = std::atof(take().c_str());
    else if (option == "--breaks" && hasValue) options.breaks = std::atoi(take().c_str());
    else if (option == "--model" && hasValue) options.model = take();
    else if (option == "--serial" && hasValue) options.serial = take();
    else if (option == "--maxlba" && hasValue) options.maxLba = std::atoll(take().c_str());
    else if (option == "--range-end" && hasValue) options.rangeEnd = std::atoll(take().c_str());
    else if (option == "--speed" && hasValue) options.speed = std::atof(take().c_str());
    else if (option == "--threshold" && hasValue) options.threshold = std::atoi(take().c_str());
    else if (option == "--flags" && hasValue) options.flagsOverride = std::atoi(take().c_str());
    else if (option == "--tests" && hasValue) options.tests = std::atoi(take().c_str());
    else if (option == "--marker" && hasValue) options.marker = take();
    else if (option == "--line-end" && hasValue && ParseLineEnd(value, options.lineEnd)) take();
    else if (option == "--six-fields") options.sixFields = true;
    else if (option == "--unknown" && hasValue) options.unknownRecords = std::atoi(take().c_str());
    else if (option == "--files" && hasValue) files = std::atoi(take().c_str());
    else if (option == "--seed" && hasValue) options.seed = std::strtoull(take().c_str(), nullptr, 10);
    else {
      std::cerr << "varst-generate: bad option " << option << "\n" << kUsage;
      return 2;
    }
  }
  if (output.empty() || options.series.empty() || options.tests < 1) {
    std::cerr << kUsage;
    return 2;
  }
  if (sizeMb > 0) {
    // An LBA record line takes about 28 bytes.
    const double perSeries = sizeMb * 1e6 / 28.5 / static_cast<double>(options.series.size() * options.tests);
    options.records = static_cast<std::int64_t>(perSeries);
  }
  if (files <= 0) return Write(output, options) ? 0 : 1;
  const GeneratorOptions base = options;
  for (int i = 1; i <= files; ++i) {
    char number[16];
    std::snprintf(number, sizeof number, "%04d", i);
    options.seed = base.seed + static_cast<std::uint64_t>(i);
    options.serial = base.serial + "-" + number;
    options.speed = base.speed * (0.995 + 0.01 * static_cast<double>(i % 11) / 10.0);
    if (!Write(output + "/drive-" + number + ".dat", options)) return 1;
  }
  return 0;
}
