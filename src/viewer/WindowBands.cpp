#include "viewer/WindowBands.h"

#include <map>
#include <string>

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

  // The groups in the order of their first row: every series of one chart shares its kind and
  // test range, so the label tells them apart.
  std::vector<std::string> labels;
  std::map<std::string, std::vector<std::size_t>> members;
  std::vector<BinValues> bins(rows);
  for (std::size_t row = 0; row < rows; ++row) {
    const auto r = static_cast<std::int32_t>(row);
    if (!ticked(r) || r >= points.RowCount() || points.Row(r).Empty()) continue;
    const SeriesKeyParts key = ParseSeriesKey(dataSet.SeriesInfo[row]);
    const std::string label(Trim(key.label));
    if (IsDerivedSeries(key.path, label)) continue;
    const SeriesPoints& drawn = points.Row(r);
    bins[row] = SeriesBinValues(drawn, whole.start, whole.end, settings.bins);
    if (members.count(label) == 0) labels.push_back(label);
    members[label].push_back(row);
  }
  for (const std::string& label : labels) {
    const std::vector<std::size_t>& group = members[label];
    std::vector<BinValues> groupBins;
    for (std::size_t row : group) groupBins.push_back(bins[row]);
    ReferenceBand band = ComputeReferenceBandFromBins(groupBins, whole.start, whole.end, settings);
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
