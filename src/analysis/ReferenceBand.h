#pragma once
// The reference band of a group of comparable series: where most drives of one kind lie, and
// which drives lie outside it. Standard library only: the window and the batch report both feed
// it the records they read.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "analysis/SeriesPoints.h"

namespace varst {

// One record of a series: X as the file gives it (LBA, time or count) and the measured value.
struct BandPoint {
  double x = 0;
  double value = 0;
};

struct BandSettings {
  double k = 3;             // band half-width in scaled median absolute deviations
  double tolerance = 0.05;  // the least half-width, as a share of the median
  double share = 0.01;      // a series is an outlier when more than this share of its bins is outside
  int bins = 500;
};

// One bin of the band; `present` is false where fewer than three series have a value there.
struct BandBin {
  bool present = false;
  double median = 0;
  double low = 0;
  double high = 0;
};

struct SeriesVerdict {
  std::size_t binsWithBand = 0;  // bins where the series has a value and the band exists
  std::size_t binsOutside = 0;   // of those, bins where its value lies outside the band
  double outlierShare = 0;       // binsOutside / binsWithBand (0 when binsWithBand is 0)
  bool outlier = false;
};

struct ReferenceBand {
  bool present = false;  // false when fewer than three series take part
  double start = 0;      // the test range the bins divide
  double end = 0;
  std::vector<BandBin> bins;
  std::vector<SeriesVerdict> series;  // one per input series, in input order
};

// A smoothed or merged series, which never takes part in a band: a reference file of the
// viewer ("~REF" & n), or a "Threshold" series.
[[nodiscard]] bool IsDerivedSeries(const std::string& path, const std::string& label);

// The median of `values` (for an even count the mean of the two middle values); reorders them.
// Empty input gives no value.
[[nodiscard]] std::optional<double> MedianOf(std::vector<double>& values);

// The bin of `x` among `bins` equal bins over [start, end]; the last bin holds its upper end.
// X outside the range, or a range without width, has no bin.
[[nodiscard]] std::optional<int> BinOf(double x, double start, double end, int bins);

// Per bin, the median of the series' values (y) whose X falls in it; empty where it has none.
[[nodiscard]] std::vector<std::optional<double>> SeriesBinValues(const SeriesPoints& points, double start, double end,
                                                                 int bins);
[[nodiscard]] std::vector<std::optional<double>> SeriesBinValues(const std::vector<BandPoint>& points,
                                                                 double start, double end, int bins);

using BinValues = std::vector<std::optional<double>>;

// The band over [start, end] of `series` (each one series' records) and each series' verdict.
[[nodiscard]] ReferenceBand ComputeReferenceBand(const std::vector<std::vector<BandPoint>>& series,
                                                 double start, double end, const BandSettings& settings = {});

// The same from each series' bin values (SeriesBinValues with settings.bins bins), for callers
// that read many files and keep only their bins, not their records.
[[nodiscard]] ReferenceBand ComputeReferenceBandFromBins(const std::vector<BinValues>& binValues, double start,
                                                         double end, const BandSettings& settings = {});

}  // namespace varst
