#include "analysis/StatisticsTable.h"

#include "common/Numbers.h"
#include "common/Text.h"
#include "common/TextEncoding.h"
#include "data/SeriesKey.h"

namespace varst {
namespace {

std::string NumberText(const std::optional<double>& value) { return value ? ShortestText(*value) : std::string(); }

std::string CountText(const std::optional<std::int64_t>& value) {
  return value ? std::to_string(*value) : std::string();
}

// A JSON string of the text as the window shows it (UTF-8 when valid, else Latin-1).
std::string JsonString(const std::string& bytes) {
  const std::string text = ToDisplayUtf8(bytes);
  std::string out = "\"";
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (u < 0x20) {
      static constexpr char kHex[] = "0123456789abcdef";
      out += "\\u00";
      out += kHex[u >> 4];
      out += kHex[u & 15];
    } else {
      out += c;
    }
  }
  return out + '"';
}

}  // namespace

const std::vector<std::string>& StatisticsKeys() {
  static const std::vector<std::string> kKeys{"row",  "path", "label", "model", "serial", "records",
                                              "errors", "min", "min_x", "mean",  "p1",     "p50",
                                              "p99",  "max",  "max_x", "threshold_count"};
  return kKeys;
}

StatisticsRow MakeStatisticsRow(const DataSet& dataSet, const PointStore& store, std::int32_t row) {
  StatisticsRow out;
  out.row = row;
  const SeriesKeyParts key = ParseSeriesKey(dataSet.SeriesInfo[static_cast<std::size_t>(row)]);
  std::vector<std::string_view> drive;
  SplitFields(key.driveLine, drive);
  out.path = key.path;
  out.label = std::string(Trim(key.label));
  out.model = drive.empty() ? std::string() : std::string(drive[0]);
  out.serial = drive.size() < 2 ? std::string() : std::string(drive[1]);
  out.stats = ComputeStatistics(store.Row(row));
  return out;
}

std::vector<std::string> StatisticsNumberTexts(const SeriesStatistics& s) {
  const bool any = s.records > 0;
  return {std::to_string(s.records),
          any ? std::to_string(s.errors) : std::string(),
          NumberText(s.min),
          NumberText(s.min_x),
          NumberText(s.mean),
          NumberText(s.p1),
          NumberText(s.p50),
          NumberText(s.p99),
          NumberText(s.max),
          NumberText(s.max_x),
          CountText(s.threshold_count)};
}

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + '"';
}

std::string StatisticsCsv(const std::vector<StatisticsRow>& rows, const StatisticsColumn& extra) {
  const bool withExtra = !extra.key.empty();
  std::string out = Join(StatisticsKeys(), ",") + (withExtra ? "," + CsvField(extra.key) : std::string()) + "\n";
  for (std::size_t at = 0; at < rows.size(); ++at) {
    const StatisticsRow& r = rows[at];
    out += std::to_string(r.row);
    for (const std::string* text : {&r.path, &r.label, &r.model, &r.serial}) out += "," + CsvField(*text);
    for (const std::string& number : StatisticsNumberTexts(r.stats)) out += "," + number;
    if (withExtra) out += "," + CsvField(at < extra.texts.size() ? extra.texts[at] : std::string());
    out += "\n";
  }
  return out;
}

std::string StatisticsJson(const std::vector<StatisticsRow>& rows) {
  const auto& keys = StatisticsKeys();
  std::string out;
  for (const StatisticsRow& r : rows) {
    out += "{\"row\":" + std::to_string(r.row);
    const std::string* texts[] = {&r.path, &r.label, &r.model, &r.serial};
    for (std::size_t k = 0; k < 4; ++k) out += ",\"" + keys[k + 1] + "\":" + JsonString(*texts[k]);
    const std::vector<std::string> numbers = StatisticsNumberTexts(r.stats);
    for (std::size_t k = 0; k < numbers.size(); ++k) {
      out += ",\"" + keys[k + 5] + "\":" + (numbers[k].empty() ? std::string("null") : numbers[k]);
    }
    out += "}\n";
  }
  return out;
}

}  // namespace varst
