#pragma once
// The statistics of series rows with the rows' identity, and their machine-readable texts:
// csv (one header line, RFC 4180 quoting) and JSON (one object a line). Numbers are the
// shortest texts that read back to the same double; empty numbers are empty fields or null.

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/PointStore.h"
#include "analysis/SeriesStatistics.h"
#include "data/DataSet.h"

namespace varst {

struct StatisticsRow {
  std::int32_t row = 0;  // the series row (grid row)
  std::string path;
  std::string label;  // trimmed
  std::string model;
  std::string serial;
  SeriesStatistics stats;
};

// The column keys, in output order.
[[nodiscard]] const std::vector<std::string>& StatisticsKeys();

// One entry per series row of the data set for which `include(row)` holds, in row order.
template <typename Include>
[[nodiscard]] std::vector<StatisticsRow> BuildStatisticsRows(const DataSet& dataSet, const PointStore& store,
                                                             Include include);
[[nodiscard]] StatisticsRow MakeStatisticsRow(const DataSet& dataSet, const PointStore& store, std::int32_t row);

// The numbers of a row as texts, in key order after serial (records .. threshold_count);
// an empty number is "".
[[nodiscard]] std::vector<std::string> StatisticsNumberTexts(const SeriesStatistics& stats);

// A column after the statistics' own (none when key is empty), one text per row.
struct StatisticsColumn {
  std::string key;
  std::vector<std::string> texts;
};

[[nodiscard]] std::string StatisticsCsv(const std::vector<StatisticsRow>& rows, const StatisticsColumn& extra = {});
[[nodiscard]] std::string StatisticsJson(const std::vector<StatisticsRow>& rows);
// One csv field, quoted when it holds a comma, a quote or a line break.
[[nodiscard]] std::string CsvField(const std::string& text);

template <typename Include>
std::vector<StatisticsRow> BuildStatisticsRows(const DataSet& dataSet, const PointStore& store, Include include) {
  std::vector<StatisticsRow> rows;
  for (std::int32_t row = 0; row < dataSet.Grf_Hist_Ptr; ++row) {
    if (include(row)) rows.push_back(MakeStatisticsRow(dataSet, store, row));
  }
  return rows;
}

}  // namespace varst
