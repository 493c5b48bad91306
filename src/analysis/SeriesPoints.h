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
  std::int64_t errors = 0;
  // Sum of the counts drawn as count boxes; meaningful only when hasThreshold.
  std::int64_t thresholdCount = 0;
  bool hasThreshold = false;

  [[nodiscard]] std::size_t Size() const { return x.size(); }
  [[nodiscard]] bool Empty() const { return x.empty(); }
  // Empties the row; its memory stays for the next drawing.
  void Clear() {
    x.clear();
    y.clear();
    errors = 0;
    thresholdCount = 0;
    hasThreshold = false;
  }
};

}  // namespace varst
