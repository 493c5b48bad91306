#pragma once
// The chart options that every command drawing charts shares (--size, --yscale, --no-model,
// --range, --settings), read into HeadlessOptions.

#include <string>

#include "app/HeadlessSession.h"

namespace varst {

// One chart option. `apply` takes the option's value (empty for an option without one) and
// answers "" when it is accepted, else why not.
struct ChartOption {
  const char* name;
  bool takesValue;
  std::string (*apply)(const std::string& value, HeadlessOptions& options);
};

// The option called `item`; null when there is none.
[[nodiscard]] const ChartOption* FindChartOption(const std::string& item);

}  // namespace varst
