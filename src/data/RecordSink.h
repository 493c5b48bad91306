#pragma once
// What the chart reports about the data records it draws into a series row, for views that
// work on the same records as the picture (statistics, the hover readout). The chart lives
// above this layer and the views beside it, so both meet at this interface.

#include <cstdint>

namespace varst {

class RecordSink {
 public:
  virtual ~RecordSink() = default;
  // The chart was cleared: every record reported so far is gone from it.
  virtual void ChartCleared() = 0;
  // A record that extends row `row`'s polyline inside the shown range. countBox is the count
  // the chart draws as a count box for it (0 when none), or -1 when the chart has no
  // completion time threshold.
  virtual void Record(std::int32_t row, double x, double value, bool error, std::int32_t countBox) = 0;
};

}  // namespace varst
