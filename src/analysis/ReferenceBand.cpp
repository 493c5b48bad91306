#include "analysis/ReferenceBand.h"

#include <algorithm>
#include <cmath>

#include "common/Paths.h"

namespace varst {

bool IsDerivedSeries(const std::string& path, const std::string& label) {
  return GetFileName(path).rfind("~REF", 0) == 0 || label == "Threshold";
}

std::optional<double> MedianOf(std::vector<double>& values) {
  if (values.empty()) return std::nullopt;
  const std::size_t half = values.size() / 2;
  std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(half), values.end());
  const double upper = values[half];
  if (values.size() % 2 == 1) return upper;
  // The lower middle value is the largest of the lower half, which nth_element left unsorted.
  const double lower = *std::max_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(half));
  return lower / 2 + upper / 2;
}

std::optional<int> BinOf(double x, double start, double end, int bins) {
  if (bins < 1 || !(end > start) || !(x >= start) || !(x <= end)) return std::nullopt;
  const double width = end - start;
  if (!std::isfinite(width)) return std::nullopt;
  const double scaled = std::floor((x - start) / width * bins);
  // The upper end, and values that rounding lifts onto it, belong to the last bin.
  return std::min(static_cast<int>(scaled), bins - 1);
}

namespace {

template <typename XValues, typename YValues>
std::vector<std::optional<double>> BinValuesOf(const XValues& x, const YValues& y, double start, double end, int bins) {
  std::vector<std::optional<double>> result(static_cast<std::size_t>(std::max(bins, 0)));
  if (result.empty()) return result;
  // Counting sort by bin: one pass to count, one to place, then a median per bin's slice.
  const std::size_t count = std::min(x.size(), y.size());
  std::vector<int> binOfPoint(count, -1);
  std::vector<std::size_t> firstOfBin(result.size() + 1, 0);
  for (std::size_t i = 0; i < count; ++i) {
    if (std::isnan(y[i])) continue;
    if (const auto bin = BinOf(x[i], start, end, bins)) {
      binOfPoint[i] = *bin;
      ++firstOfBin[static_cast<std::size_t>(*bin) + 1];
    }
  }
  for (std::size_t b = 1; b < firstOfBin.size(); ++b) firstOfBin[b] += firstOfBin[b - 1];
  std::vector<double> sorted(firstOfBin.back());
  std::vector<std::size_t> next(firstOfBin.begin(), firstOfBin.end() - 1);
  for (std::size_t i = 0; i < count; ++i) {
    if (binOfPoint[i] >= 0) sorted[next[static_cast<std::size_t>(binOfPoint[i])]++] = y[i];
  }
  std::vector<double> slice;
  for (std::size_t b = 0; b < result.size(); ++b) {
    slice.assign(sorted.begin() + static_cast<std::ptrdiff_t>(firstOfBin[b]),
                 sorted.begin() + static_cast<std::ptrdiff_t>(firstOfBin[b + 1]));
    result[b] = MedianOf(slice);
  }
  return result;
}

}  // namespace

std::vector<std::optional<double>> SeriesBinValues(const SeriesPoints& points, double start, double end, int bins) {
  return BinValuesOf(points.x, points.y, start, end, bins);
}

std::vector<std::optional<double>> SeriesBinValues(const std::vector<BandPoint>& points, double start, double end,
                                                   int bins) {
  std::vector<double> x(points.size());
  std::vector<double> y(points.size());
  for (std::size_t i = 0; i < points.size(); ++i) {
    x[i] = points[i].x;
    y[i] = points[i].value;
  }
  return BinValuesOf(x, y, start, end, bins);
}

ReferenceBand ComputeReferenceBand(const std::vector<std::vector<BandPoint>>& series, double start, double end,
                                   const BandSettings& settings) {
  std::vector<BinValues> binValues;
  binValues.reserve(series.size());
  for (const auto& points : series) binValues.push_back(SeriesBinValues(points, start, end, settings.bins));
  return ComputeReferenceBandFromBins(binValues, start, end, settings);
}

ReferenceBand ComputeReferenceBandFromBins(const std::vector<BinValues>& binValues, double start, double end,
                                           const BandSettings& settings) {
  ReferenceBand band;
  band.start = start;
  band.end = end;
  band.series.resize(binValues.size());
  if (binValues.size() < 3 || settings.bins < 1) return band;
  for (const BinValues& perSeries : binValues) {
    if (perSeries.size() != static_cast<std::size_t>(settings.bins)) return band;
  }

  band.bins.resize(static_cast<std::size_t>(settings.bins));
  std::vector<double> values;
  std::vector<double> deviations;
  for (std::size_t b = 0; b < band.bins.size(); ++b) {
    values.clear();
    for (const auto& perSeries : binValues) {
      if (perSeries[b]) values.push_back(*perSeries[b]);
    }
    if (values.size() < 3) continue;
    const double m = *MedianOf(values);
    deviations.clear();
    for (double v : values) deviations.push_back(std::fabs(v - m));
    const double s = 1.4826 * *MedianOf(deviations);
    const double h = std::max(settings.k * s, settings.tolerance * std::fabs(m));
    band.bins[b] = BandBin{true, m, m - h, m + h};
    band.present = true;
  }

  for (std::size_t i = 0; i < binValues.size(); ++i) {
    SeriesVerdict& verdict = band.series[i];
    for (std::size_t b = 0; b < band.bins.size(); ++b) {
      const BandBin& bin = band.bins[b];
      if (!bin.present || !binValues[i][b]) continue;
      ++verdict.binsWithBand;
      const double v = *binValues[i][b];
      if (v < bin.low || v > bin.high) ++verdict.binsOutside;
    }
    if (verdict.binsWithBand > 0) {
      verdict.outlierShare = static_cast<double>(verdict.binsOutside) / static_cast<double>(verdict.binsWithBand);
    }
    verdict.outlier = band.present && verdict.outlierShare > settings.share;
  }
  return band;
}

}  // namespace varst
