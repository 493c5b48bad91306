#pragma once
// The records of one series row as the chart drew them, in file order: X (the file's units)
// and value, with the row's error and threshold counts. This is the one point store the
// statistics and the hover readout read; it knows no file format.

#include <cstdint>
#include <vector>

#include "analysis/PointColumns.h"
#include "analysis/ValueTally.h"

namespace varst {

struct SeriesPoints {
  ValueColumn x;  // LBAs and seconds are short decimals too: 4 bytes each while they fit
  ValueColumn y;
  // A store that keeps no X (for the statistics only) keeps the first smallest and largest
  // value and their X instead, which is all the statistics read of X. One that keeps no value
  // either counts the values in `tally` and sums them in file order; values too varied to
  // count are spilled into y (spilled), in no order from then on.
  double low = 0, lowX = 0;
  double high = 0, highX = 0;
  ValueTally tally;
  double sum = 0;
  bool spilled = false;
  bool unordered = false;  // a value came whose place needs the order of all (see PointStore)
  std::int64_t errors = 0;
  // Sum of the counts drawn as count boxes; meaningful only when hasThreshold.
  std::int64_t thresholdCount = 0;
  bool hasThreshold = false;

  // A row's values are in the tally or in y, never in both.
  [[nodiscard]] bool Tallied() const { return tally.Count() > 0; }
  [[nodiscard]] std::size_t Size() const { return static_cast<std::size_t>(tally.Count()) + y.size(); }
  [[nodiscard]] bool Empty() const { return Size() == 0; }
  [[nodiscard]] bool ValuesOnly() const { return x.empty() && !Empty(); }
  // Empties the row; its memory stays for the next drawing.
  void Clear() {
    x.clear();
    y.clear();
    low = lowX = high = highX = sum = 0;
    tally.Clear();
    spilled = unordered = false;
    errors = 0;
    thresholdCount = 0;
    hasThreshold = false;
  }
};

}  // namespace varst
