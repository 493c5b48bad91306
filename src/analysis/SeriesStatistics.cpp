#include "analysis/SeriesStatistics.h"

#include <algorithm>
#include <cmath>

namespace varst {

double NearestRankPercentile(const std::vector<double>& sorted, double p) {
  const auto n = static_cast<double>(sorted.size());
  // p / 100 x n in one division keeps exact ranks exact (1 x 200 / 100 is 2, never 2.0000001).
  const double rank = std::ceil(p * n / 100);
  const auto index = static_cast<std::size_t>(std::clamp(rank, 1.0, n)) - 1;
  return sorted[index];
}

SeriesStatistics ComputeStatistics(const SeriesPoints& points) {
  SeriesStatistics stats;
  stats.records = static_cast<std::int64_t>(points.Size());
  stats.errors = points.errors;
  if (points.Empty()) return stats;
  std::size_t minAt = 0;
  std::size_t maxAt = 0;
  double sum = 0;
  for (std::size_t i = 0; i < points.Size(); ++i) {
    const double v = points.y[i];
    if (v < points.y[minAt]) minAt = i;
    if (v > points.y[maxAt]) maxAt = i;
    sum += v;
  }
  stats.min = points.y[minAt];
  stats.min_x = points.x[minAt];
  stats.max = points.y[maxAt];
  stats.max_x = points.x[maxAt];
  const auto n = static_cast<double>(points.Size());
  stats.mean = sum / n;
  if (!std::isfinite(*stats.mean)) {
    // The sum of large values overflowed; their shares do not.
    double share = 0;
    for (const double v : points.y) share += v / n;
    stats.mean = share;
  }
  std::vector<double> sorted(points.y.begin(), points.y.end());
  std::sort(sorted.begin(), sorted.end());
  stats.p1 = NearestRankPercentile(sorted, 1);
  stats.p50 = NearestRankPercentile(sorted, 50);
  stats.p99 = NearestRankPercentile(sorted, 99);
  if (points.hasThreshold) stats.threshold_count = points.thresholdCount;
  return stats;
}

}  // namespace varst
