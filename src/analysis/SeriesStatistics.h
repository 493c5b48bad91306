#pragma once
// The figures of one series row, one definition for the window's table, --stats and reports.
//
// Over the row's records in file order: records and errors are counts; min and max are the
// smallest and largest value, min_x and max_x the X of the first record holding it; mean is
// the sum over the count; p1, p50 and p99 are nearest-rank percentiles (the value at 1-based
// rank ceil(p / 100 x records) of the ascending values); threshold_count is the sum of the
// counts drawn as count boxes, present only when the chart has a completion time threshold.
// A row without records has no numbers.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analysis/SeriesPoints.h"

namespace varst {

struct SeriesStatistics {
  std::int64_t records = 0;
  std::int64_t errors = 0;
  // All empty for a row without records.
  std::optional<double> min, min_x, mean, p1, p50, p99, max, max_x;
  std::optional<std::int64_t> threshold_count;
};

[[nodiscard]] SeriesStatistics ComputeStatistics(const SeriesPoints& points);

// The value at 1-based rank ceil(p / 100 x n) of `sorted` (ascending, not empty).
[[nodiscard]] double NearestRankPercentile(const std::vector<double>& sorted, double p);

}  // namespace varst
