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
  // valuesOnly: X is not kept, only what the statistics need of it (a row then serves the
  // statistics and nothing else), at half the memory.
  explicit PointStore(bool valuesOnly = false) : valuesOnly_(valuesOnly) {}

  void ChartCleared() override;
  void Record(std::int32_t row, double x, double value, bool error, std::int32_t countBox) override;

  // Rows 0 .. RowCount() - 1; a row the chart drew nothing into is empty.
  [[nodiscard]] std::int32_t RowCount() const { return static_cast<std::int32_t>(rows_.size()); }
  [[nodiscard]] const SeriesPoints& Row(std::int32_t row) const;
  // Counts every change, so a view can tell whether what it derived is stale.
  [[nodiscard]] std::uint64_t Revision() const { return revision_; }

 private:
  std::vector<SeriesPoints> rows_;
  std::uint64_t revision_ = 0;
  bool valuesOnly_ = false;
};

}  // namespace varst
