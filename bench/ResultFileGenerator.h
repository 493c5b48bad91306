#pragma once
// Writes synthetic result files in the measurement file format: one drive line, then per test
// a condition line and the records of each series. The same seed gives the same bytes on
// every machine (the random numbers are our own, not the library's distributions).

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace varst::bench {

enum class ChartKind { Lba, LbaCompletionTime, Count, Time };

struct GeneratorOptions {
  ChartKind kind = ChartKind::Lba;
  std::int64_t records = 2000;        // per series and test
  std::vector<std::string> series{"R"};  // type codes in order: "W", "R", "WR", "K"
  double errorRate = 0;               // share of records with the error mark
  int breaks = 0;                     // records with the break mark, per series
  std::string model = "MODEL-A100";
  std::string serial = "SN00001";
  std::int64_t maxLba = 156301488;
  std::int64_t rangeEnd = -1;         // -1: maxLba - 1 (LBA kinds), 100000 (count), test time (time)
  std::int32_t threshold = -1;        // completion time threshold in ms
  int flagsOverride = -1;             // condition field 4 as given
  int tests = 1;                      // condition lines, each followed by every series
  std::string marker;                 // a fourteenth condition field
  bool sixFields = false;             // records carry a sixth field
  int unknownRecords = 0;             // records with a code of no known type at the end
  double speed = 1.0;                 // scales the transfer rates (another drive)
  std::string lineEnd = "\r\n";         // what ends every line: CR LF, or a lone CR or LF
  std::uint64_t seed = 1;
};

void WriteResultFile(std::ostream& out, const GeneratorOptions& options);

}  // namespace varst::bench
