#include "analysis/SeriesStatistics.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace varst {

namespace {

// The 0-based index, in ascending order, of the nearest-rank percentile p of n values.
std::size_t NearestRankIndex(std::size_t count, double p) {
  const auto n = static_cast<double>(count);
  // p / 100 x n in one division keeps exact ranks exact (1 x 200 / 100 is 2, never 2.0000001).
  const double rank = std::ceil(p * n / 100);
  return static_cast<std::size_t>(std::clamp(rank, 1.0, n)) - 1;
}

// Three selections instead of a sort: each puts the value of its rank where a sort would, the
// median first, then the others in the parts below and above it.
// toValue turns a selected number into the value it stands for.
template <typename Number, typename ToValue>
void SelectPercentiles(std::vector<Number> values, ToValue toValue, SeriesStatistics& stats) {
  const std::size_t at1 = NearestRankIndex(values.size(), 1);
  const std::size_t at50 = NearestRankIndex(values.size(), 50);
  const std::size_t at99 = NearestRankIndex(values.size(), 99);
  const auto begin = values.begin();
  const auto offset = [](std::size_t at) { return static_cast<std::ptrdiff_t>(at); };
  std::nth_element(begin, begin + offset(at50), values.end());
  std::nth_element(begin, begin + offset(at1), begin + offset(at50));
  if (at99 > at50) std::nth_element(begin + offset(at50) + 1, begin + offset(at99), values.end());
  stats.p1 = toValue(values[at1]);
  stats.p50 = toValue(values[at50]);
  stats.p99 = toValue(values[at99]);
}

}  // namespace

double NearestRankPercentile(const std::vector<double>& sorted, double p) {
  return sorted[NearestRankIndex(sorted.size(), p)];
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
  if (points.y.Compact()) {
    // The stored integers order as the values do, in half the memory.
    std::vector<std::int32_t> scaled(points.Size());
    for (std::size_t i = 0; i < scaled.size(); ++i) scaled[i] = points.y.Scaled(i);
    SelectPercentiles(std::move(scaled), [&points](std::int32_t v) { return points.y.FromScaled(v); }, stats);
  } else {
    SelectPercentiles(std::vector<double>(points.y.begin(), points.y.end()), [](double v) { return v; }, stats);
  }
  if (points.hasThreshold) stats.threshold_count = points.thresholdCount;
  return stats;
}

}  // namespace varst
