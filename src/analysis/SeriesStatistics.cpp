#include "analysis/SeriesStatistics.h"

#include <algorithm>
#include <array>
#include <cmath>

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

// The compact values' percentiles without a copy of them all: the values are counted in at
// most 65,536 equal slices of their span low..high, and only the values of the slices that
// hold the three ranks are selected among themselves (a slice one integer wide is one value).
void SelectScaledPercentiles(const ValueColumn& y, std::int32_t low, std::int32_t high, SeriesStatistics& stats) {
  constexpr std::uint32_t kSlices = 1U << 16;
  const auto span = static_cast<std::uint32_t>(static_cast<std::int64_t>(high) - low);
  int shift = 0;
  while ((span >> shift) >= kSlices) ++shift;
  const auto sliceOf = [&](std::int32_t v) {
    return static_cast<std::size_t>(static_cast<std::uint32_t>(static_cast<std::int64_t>(v) - low) >> shift);
  };
  std::vector<std::size_t> counts(static_cast<std::size_t>(span >> shift) + 1);
  const std::size_t n = y.size();
  for (std::size_t i = 0; i < n; ++i) ++counts[sliceOf(y.Scaled(i))];

  struct Wanted {
    std::size_t rank;  // 0-based, in ascending order
    std::size_t slice = 0;
    std::size_t rankInSlice = 0;
  };
  std::array<Wanted, 3> wanted{{{NearestRankIndex(n, 1)}, {NearestRankIndex(n, 50)}, {NearestRankIndex(n, 99)}}};
  for (Wanted& w : wanted) {
    std::size_t before = 0;
    while (before + counts[w.slice] <= w.rank) before += counts[w.slice++];
    w.rankInSlice = w.rank - before;
  }
  std::array<double, 3> values{};
  if (shift == 0) {
    for (std::size_t k = 0; k < 3; ++k) {
      values[k] = y.FromScaled(static_cast<std::int32_t>(static_cast<std::int64_t>(low) + static_cast<std::int64_t>(wanted[k].slice)));
    }
  } else {
    // The ranks lie in at most three slices; the values of each are gathered in one pass.
    std::array<std::vector<std::int32_t>, 3> members;
    for (std::size_t k = 0; k < 3; ++k) {
      if (k == 0 || wanted[k].slice != wanted[k - 1].slice) members[k].reserve(counts[wanted[k].slice]);
    }
    for (std::size_t i = 0; i < n; ++i) {
      const std::int32_t v = y.Scaled(i);
      const std::size_t slice = sliceOf(v);
      for (std::size_t k = 0; k < 3; ++k) {
        if (slice != wanted[k].slice) continue;
        members[k].push_back(v);
        break;
      }
    }
    for (std::size_t k = 0; k < 3; ++k) {
      // A slice that holds two of the ranks was gathered once, for the first of them.
      std::size_t from = k;
      while (from > 0 && wanted[from - 1].slice == wanted[k].slice) --from;
      std::vector<std::int32_t>& slice = members[from];
      const auto at = slice.begin() + static_cast<std::ptrdiff_t>(wanted[k].rankInSlice);
      std::nth_element(slice.begin(), at, slice.end());
      values[k] = y.FromScaled(*at);
    }
  }
  stats.p1 = values[0];
  stats.p50 = values[1];
  stats.p99 = values[2];
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
  if (points.hasThreshold) stats.threshold_count = points.thresholdCount;
  if (points.Tallied()) {
    stats.min = points.low;
    stats.min_x = points.lowX;
    stats.max = points.high;
    stats.max_x = points.highX;
    stats.mean = points.sum / static_cast<double>(points.Size());
    const std::size_t n = points.Size();
    const std::array<double, 3> values = points.tally.ValuesAtRanks(
        {NearestRankIndex(n, 1), NearestRankIndex(n, 50), NearestRankIndex(n, 99)});
    stats.p1 = values[0];
    stats.p50 = values[1];
    stats.p99 = values[2];
    return stats;
  }
  std::size_t minAt = 0;
  std::size_t maxAt = 0;
  double sum = 0;
  double low = points.y[0];
  double high = low;
  for (std::size_t i = 0; i < points.Size(); ++i) {
    const double v = points.y[i];
    if (v < low) low = v, minAt = i;
    if (v > high) high = v, maxAt = i;
    sum += v;
  }
  stats.min = low;
  stats.min_x = points.ValuesOnly() ? points.lowX : points.x[minAt];
  stats.max = high;
  stats.max_x = points.ValuesOnly() ? points.highX : points.x[maxAt];
  const auto n = static_cast<double>(points.Size());
  // Spilled values lie in no order: the sum was taken in file order as they came.
  stats.mean = (points.spilled ? points.sum : sum) / n;
  if (!points.spilled && !std::isfinite(*stats.mean)) {
    // The sum of large values overflowed; their shares do not.
    double share = 0;
    for (const double v : points.y) share += v / n;
    stats.mean = share;
  }
  if (points.y.Compact()) {
    // The stored integers order as the values do.
    SelectScaledPercentiles(points.y, points.y.Scaled(minAt), points.y.Scaled(maxAt), stats);
  } else {
    SelectPercentiles(std::vector<double>(points.y.begin(), points.y.end()), [](double v) { return v; }, stats);
  }
  return stats;
}

}  // namespace varst
