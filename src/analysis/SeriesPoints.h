#pragma once
// The records of one series row as the chart drew them, in file order: X (the file's units)
// and value, with the row's error and threshold counts. This is the one point store the
// statistics and the hover readout read; it knows no file format.

#include <cstdint>
#include <vector>

#include "analysis/PointColumns.h"

namespace varst {

struct SeriesPoints {
  ValueColumn x;  // LBAs and seconds are short decimals too: 4 bytes each while they fit
  ValueColumn y;
  // A store that keeps the values only (x stays empty) keeps the first smallest and largest
  // value and their X instead, which is all the statistics read of X.
  double low = 0, lowX = 0;
  double high = 0, highX = 0;
  std::int64_t errors = 0;
  // Sum of the counts drawn as count boxes; meaningful only when hasThreshold.
  std::int64_t thresholdCount = 0;
  bool hasThreshold = false;

  [[nodiscard]] std::size_t Size() const { return y.size(); }
  [[nodiscard]] bool Empty() const { return y.empty(); }
  [[nodiscard]] bool ValuesOnly() const { return x.empty() && !y.empty(); }
  // Empties the row; its memory stays for the next drawing.
  void Clear() {
    x.clear();
    y.clear();
    low = lowX = high = highX = 0;
    errors = 0;
    thresholdCount = 0;
    hasThreshold = false;
  }
};

}  // namespace varst
