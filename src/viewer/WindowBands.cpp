#include "viewer/WindowBands.h"

#include <map>
#include <string>
#include <tuple>

#include "chart/ViewRanges.h"
#include "common/Text.h"
#include "data/SeriesKey.h"

namespace varst {

WindowBands ComputeWindowBands(const DataSet& dataSet, const PointStore& points, const ChartState& chart,
                               double rangeEnd, const std::function<bool(int row)>& ticked,
                               const BandSettings& settings) {
  WindowBands result;
  const auto rows = static_cast<std::size_t>(dataSet.Grf_Hist_Ptr);
  result.outlierRows.assign(rows, false);
  result.outlierShare.assign(rows, std::nullopt);
  const ViewRange whole = TestRange(chart, rangeEnd);

  // The groups in the order of their first row: every series of one chart shares its kind, so
  // the label and the test range of its file tell them apart (files of other ranges may share
  // a chart, drawn over the largest).
  using GroupKey = std::tuple<std::string, double, double>;
  std::vector<GroupKey> keys;
  std::map<GroupKey, std::vector<std::size_t>> members;
  std::vector<BinValues> bins(rows);
  for (std::size_t row = 0; row < rows; ++row) {
    const auto r = static_cast<std::int32_t>(row);
    if (!ticked(r) || r >= points.RowCount() || points.Row(r).Empty()) continue;
    const SeriesKeyParts key = ParseSeriesKey(dataSet.SeriesInfo[row]);
    const std::string label(Trim(key.label));
    if (IsDerivedSeries(key.path, label)) continue;
    const ViewRange range =
        row < chart.RowTestRanges.size() && chart.RowTestRanges[row].active ? chart.RowTestRanges[row] : whole;
    bins[row] = SeriesBinValues(points.Row(r), range.start, range.end, settings.bins);
    const GroupKey group{label, range.start, range.end};
    if (members.count(group) == 0) keys.push_back(group);
    members[group].push_back(row);
  }
  for (const GroupKey& key : keys) {
    const std::vector<std::size_t>& group = members[key];
    std::vector<BinValues> groupBins;
    for (std::size_t row : group) groupBins.push_back(bins[row]);
    ReferenceBand band = ComputeReferenceBandFromBins(groupBins, std::get<1>(key), std::get<2>(key), settings);
    if (!band.present) ++result.groupsWithoutBand;
    for (std::size_t m = 0; m < group.size() && band.present; ++m) {
      result.outlierRows[group[m]] = band.series[m].outlier;
      result.outlierShare[group[m]] = band.series[m].outlierShare;
    }
    result.bands.push_back(std::move(band));
  }
  return result;
}

}  // namespace varst
