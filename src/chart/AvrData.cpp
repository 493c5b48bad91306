#include "chart/AvrData.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>
#include <utility>

#include "common/Numbers.h"
#include "data/DrawFile.h"

namespace varst {
namespace {

// What one input line is to the averaging, found in a single pass so that no line is split
// again for every window that covers it.
enum class LineKind : std::uint8_t {
  Other,            // copied unchanged
  CountedRecord,    // five fields, field 3 a number: enters the windows
  UncountedRecord,  // six fields, or field 3 not a number: derived, but enters no window
  Condition,        // 13 or more fields: gains the averaging field
};

struct ScannedLines {
  std::vector<LineKind> kinds;  // one per line
  std::vector<double> values;   // field 3 of the counted records, in line order
};

// Field count as SplitFields on "," gives it: 0 for an empty line, else commas + 1.
std::size_t FieldCount(std::string_view line) {
  if (line.empty()) return 0;
  return static_cast<std::size_t>(std::count(line.begin(), line.end(), ',')) + 1;
}

// The text of field `index` (0-based) of a line known to have more than `index` fields.
std::string_view Field(std::string_view line, std::size_t index) {
  std::size_t begin = 0;
  for (std::size_t i = 0; i < index; ++i) begin = line.find(',', begin) + 1;
  const std::size_t end = line.find(',', begin);
  return line.substr(begin, end == std::string_view::npos ? std::string_view::npos : end - begin);
}

ScannedLines ScanLines(const std::vector<std::string>& lines, std::size_t count) {
  ScannedLines scanned;
  scanned.kinds.reserve(count);
  scanned.values.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const std::string_view line = lines[i];
    const std::size_t fields = FieldCount(line);
    LineKind kind = LineKind::Other;
    if (fields == 5) {
      double value = 0;
      if (TryParseDouble(Field(line, 3), value)) {
        kind = LineKind::CountedRecord;
        scanned.values.push_back(value);
      } else {
        kind = LineKind::UncountedRecord;
      }
    } else if (fields == 6) {
      kind = LineKind::UncountedRecord;
    } else if (fields >= 13) {
      kind = LineKind::Condition;
    }
    scanned.kinds.push_back(kind);
  }
  return scanned;
}

// Adds from[0..Lanes-1] into the lanes, one addition per lane, written out so that the lanes
// stay in registers.
template <std::size_t... Lane>
void AddToLanes(std::array<double, sizeof...(Lane)>& lanes, const double* from, std::index_sequence<Lane...>) {
  ((lanes[Lane] += from[Lane]), ...);
}

// sums[s] := values[s] + values[s + 1] + ... over at most `window` values, added one by one
// from 0 in line order: exactly the sum the window of the record at counted position s
// takes. Full windows are summed kLanes at a time, each lane its own running sum, so the
// additions of neighbouring windows overlap in the processor while every single sum keeps
// its order and therefore its value.
std::vector<double> WindowSums(const std::vector<double>& values, std::size_t window) {
  constexpr std::size_t kLanes = 8;
  const std::size_t n = values.size();
  std::vector<double> sums(n, 0.0);
  if (window == 0) return sums;
  std::size_t s = 0;
  if (n >= window + kLanes - 1) {
    const std::size_t lastFullBlock = n - window - (kLanes - 1);  // the last s whose block is whole
    for (; s <= lastFullBlock; s += kLanes) {
      std::array<double, kLanes> lanes{};
      const double* from = values.data() + s;
      for (std::size_t w = 0; w < window; ++w, ++from) AddToLanes(lanes, from, std::make_index_sequence<kLanes>());
      std::copy(lanes.begin(), lanes.end(), sums.begin() + static_cast<std::ptrdiff_t>(s));
    }
  }
  for (; s < n; ++s) {
    const std::size_t end = s + std::min(window, n - s);
    double sum = 0;
    for (std::size_t k = s; k < end; ++k) sum += values[k];
    sums[s] = sum;
  }
  return sums;
}

double DerivedValue(double sum, std::size_t used, double offset, std::int32_t offmode) {
  double value = 0;
  switch (offmode) {
    case kOffsetSubtract:
      if (used == 0) return 0;
      value = sum / static_cast<double>(used) - offset;
      break;
    case kOffsetPercent:
      if (used == 0) return 0;
      value = sum / static_cast<double>(used) * ((100 - offset) / 100);
      break;
    case kOffsetConstant:
      value = offset;
      break;
    default:
      return 0;
  }
  // An overflowing sum is no more a level than NaN is; neither may reach the file as text
  // the reader would refuse.
  if (!std::isfinite(value) || value < 0) return 0;
  return value;
}

// F0 & "," & F1 & "," & F2 & "," & value & "," & F4 of a record of five or six fields.
std::string DerivedRecord(std::string_view line, double value) {
  std::size_t third = 0;  // the comma after F2
  for (int i = 0; i < 3; ++i) third = line.find(',', third) + 1;
  const std::size_t fourth = line.find(',', third);
  const std::size_t fifth = line.find(',', fourth + 1);
  const std::string_view head = line.substr(0, third);
  const std::string_view f4 =
      line.substr(fourth + 1, fifth == std::string_view::npos ? std::string_view::npos : fifth - fourth - 1);
  const std::string text = FormatFixed(value, 2);
  std::string record;
  record.reserve(head.size() + text.size() + 1 + f4.size());
  record.append(head).append(text).append(1, ',').append(f4);
  return record;
}

}  // namespace


void BuildAveragedLines(std::vector<std::string>& datainfo, std::int32_t datacount, std::int32_t avr_cnt,
                        double offset, std::int32_t offmode, std::vector<std::string>& RefLines,
                        std::int32_t& RefLineCount) {
  const std::size_t count = std::min(static_cast<std::size_t>(std::max(datacount, 0)), datainfo.size());
  const ScannedLines scanned = ScanLines(datainfo, count);
  const std::size_t window = static_cast<std::size_t>(std::max(avr_cnt, 0));
  const bool averaging = offmode == kOffsetSubtract || offmode == kOffsetPercent;
  const std::vector<double> sums = averaging ? WindowSums(scanned.values, window) : std::vector<double>();
  const std::string conditionSuffix = "," + DecimalText(static_cast<std::int64_t>(avr_cnt)) + "_" + DecimalText(offset);

  // Built aside and moved in at the end, so datainfo may be RefLines itself.
  std::vector<std::string> out;
  out.reserve(count);
  std::size_t counted = 0;  // counted records before line i: where its window starts
  for (std::size_t i = 0; i < count; ++i) {
    switch (scanned.kinds[i]) {
      case LineKind::CountedRecord:
      case LineKind::UncountedRecord: {
        const std::size_t available = scanned.values.size() - counted;
        const std::size_t used = averaging ? std::min(window, available) : 0;
        const double sum = used == 0 ? 0.0 : sums[counted];
        out.push_back(DerivedRecord(datainfo[i], DerivedValue(sum, used, offset, offmode)));
        if (scanned.kinds[i] == LineKind::CountedRecord) ++counted;
        break;
      }
      case LineKind::Condition:
        datainfo[i] += conditionSuffix;
        out.push_back(datainfo[i]);
        break;
      case LineKind::Other:
        out.push_back(datainfo[i]);
        break;
    }
  }
  RefLines = std::move(out);
  RefLineCount = static_cast<std::int32_t>(RefLines.size());
}

void AvrData(LoadContext& context, std::vector<std::string>& datainfo, std::int32_t datacount,
             std::int32_t avr_cnt, double offset, std::uint8_t /*drawflg*/, std::int32_t offmode) {
  DataSet& dataSet = context.dataSet;
  BuildAveragedLines(datainfo, datacount, avr_cnt, offset, offmode, dataSet.RefLines, dataSet.RefLineCount);
  dataSet.SeriesIndex = dataSet.Grf_Hist_Ptr;
  const auto slot = static_cast<std::int16_t>(std::min(dataSet.Grf_Hist_Ptr, kTableSize));
  std::int32_t co = 0;
  DrawFile(context, slot, "", dataSet.RefLines, dataSet.RefLineCount, DrawRequest{"", "", "", 1}, co);
}

}  // namespace varst
