#pragma once
// The check that files can share one chart: the same test range start and end, and the same
// time-axis kind. Every file is read whole and cut into lines by the line reader.

#include <string>
#include <vector>

#include "data/DataSet.h"

namespace varst {

class Prompter;

struct CompatibilityResult {
  bool rangeDiffers = false;
  // The files are of different kinds, or one could not be read: they cannot be loaded.
  bool kindDiffers = false;
  // The largest test range end (-1 when no file has a condition line).
  double rangeEnd = -1.0;
};

// With scanAll every condition line counts; otherwise only the first of each file. Sets
// TimeModeFlag from the first condition line seen when it is unset (-1).
[[nodiscard]] CompatibilityResult CheckCompatibility(const std::vector<std::string>& paths, bool scanAll,
                                                     DataSet& dataSet, Prompter& prompter);

}  // namespace varst
