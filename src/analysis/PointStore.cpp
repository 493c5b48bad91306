#include "analysis/PointStore.h"

#include <algorithm>
#include <cmath>

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
  if (keep_ == Keep::Points) {
    points.x.push_back(x);
  } else if (points.Empty()) {
    points.low = points.high = value;
    points.lowX = points.highX = x;
  } else {
    // The first record holding the smallest or the largest value, as the statistics take it.
    if (value < points.low) points.low = value, points.lowX = x;
    if (value > points.high) points.high = value, points.highX = x;
  }
  if (keep_ == Keep::Tally) {
    TallyValue(points, value);
  } else {
    points.y.push_back(value);
  }
  if (error) ++points.errors;
  if (countBox >= 0) {
    points.hasThreshold = true;
    points.thresholdCount += countBox;
  }
  ++revision_;
}

void PointStore::TallyValue(SeriesPoints& points, double value) {
  points.sum += value;
  if (!ValueTally::Countable(value)) {
    // Equal to the other zero, or to nothing: which of them a percentile is depends on the
    // order of all values, which only a row that keeps them has.
    points.unordered = true;
    return;
  }
  if (!points.spilled && points.tally.Add(value)) return;
  if (!points.spilled) {
    // Too many distinct values: the percentiles are taken from all of them, in any order.
    points.tally.SpillInto(points.y);
    points.spilled = true;
  }
  points.y.push_back(value);
}

bool PointStore::NeedsValuesInOrder() const {
  // A sum that overflowed is taken another way, from every value in file order.
  return std::any_of(rows_.begin(), rows_.end(),
                     [](const SeriesPoints& row) { return row.unordered || !std::isfinite(row.sum); });
}

const SeriesPoints& PointStore::Row(std::int32_t row) const {
  static const SeriesPoints kEmpty;
  if (row < 0 || static_cast<std::size_t>(row) >= rows_.size()) return kEmpty;
  return rows_[static_cast<std::size_t>(row)];
}

}  // namespace varst
