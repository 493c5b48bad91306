#pragma once
// The reference band of the main window ("基準帯"): the ticked series of one label form a
// group over the chart's test range; each group of at least three series gets its band, and
// the rows outside it are marked. Smoothed and merged series never take part.

#include <functional>
#include <optional>
#include <vector>

#include "analysis/PointStore.h"
#include "analysis/ReferenceBand.h"
#include "chart/ChartState.h"
#include "data/DataSet.h"

namespace varst {

inline constexpr char kBandCaption[] = "基準帯";

struct WindowBands {
  std::vector<ReferenceBand> bands;  // the groups' bands, those without one included
  std::vector<bool> outlierRows;     // per series row
  // Per series row: the share of its banded bins outside the band; empty where the row takes
  // no part in a band.
  std::vector<std::optional<double>> outlierShare;
  int groupsWithoutBand = 0;  // groups of fewer than three series
};

// The bands of the rows for which ticked(row) holds, from the records the chart drew.
[[nodiscard]] WindowBands ComputeWindowBands(const DataSet& dataSet, const PointStore& points,
                                             const ChartState& chart, double rangeEnd,
                                             const std::function<bool(int row)>& ticked,
                                             const BandSettings& settings);

}  // namespace varst
