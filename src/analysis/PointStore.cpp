#include "analysis/PointStore.h"

namespace varst {

void PointStore::ChartCleared() {
  // The rows keep their memory: the next drawing is mostly the same records again.
  for (SeriesPoints& points : rows_) points.Clear();
  ++revision_;
}

void PointStore::Record(std::int32_t row, double x, double value, bool error, std::int32_t countBox) {
  if (row < 0) return;
  const auto at = static_cast<std::size_t>(row);
  if (at >= rows_.size()) rows_.resize(at + 1);
  SeriesPoints& points = rows_[at];
  if (!valuesOnly_) {
    points.x.push_back(x);
  } else if (points.y.empty()) {
    points.low = points.high = value;
    points.lowX = points.highX = x;
  } else {
    // The first record holding the smallest or the largest value, as the statistics take it.
    if (value < points.low) points.low = value, points.lowX = x;
    if (value > points.high) points.high = value, points.highX = x;
  }
  points.y.push_back(value);
  if (error) ++points.errors;
  if (countBox >= 0) {
    points.hasThreshold = true;
    points.thresholdCount += countBox;
  }
  ++revision_;
}

const SeriesPoints& PointStore::Row(std::int32_t row) const {
  static const SeriesPoints kEmpty;
  if (row < 0 || static_cast<std::size_t>(row) >= rows_.size()) return kEmpty;
  return rows_[static_cast<std::size_t>(row)];
}

}  // namespace varst
