#pragma once
// Collects the records the chart draws, one SeriesPoints per series row. Attached to the
// chart drawing, it always holds what the chart shows (the ticked rows, inside the shown
// range) and is emptied with the chart.

#include <cstdint>
#include <vector>

#include "analysis/SeriesPoints.h"
#include "data/RecordSink.h"

namespace varst {

class PointStore final : public RecordSink {
 public:
  enum class Keep {
    Points,  // every record's X and value
    Values,  // the values and what the statistics need of X: half the memory
    Tally,   // what the statistics need, by counting the values: memory bound by their variety
  };
  explicit PointStore(Keep keep = Keep::Points) : keep_(keep) {}
  // Kept by Tally when a row holds a value whose percentile depends on the order of the values
  // (a NaN or a negative zero), or its sum overflowed: its statistics are wrong, and the
  // records must be drawn again with Values.
  [[nodiscard]] bool NeedsValuesInOrder() const;

  void ChartCleared() override;
  void Record(std::int32_t row, double x, double value, bool error, std::int32_t countBox) override;

  // Rows 0 .. RowCount() - 1; a row the chart drew nothing into is empty.
  [[nodiscard]] std::int32_t RowCount() const { return static_cast<std::int32_t>(rows_.size()); }
  [[nodiscard]] const SeriesPoints& Row(std::int32_t row) const;
  // Counts every change, so a view can tell whether what it derived is stale.
  [[nodiscard]] std::uint64_t Revision() const { return revision_; }

 private:
  static void TallyValue(SeriesPoints& points, double value);

  std::vector<SeriesPoints> rows_;
  std::uint64_t revision_ = 0;
  Keep keep_ = Keep::Points;
};

}  // namespace varst
