#include "chart/FormatSize.h"

#include "common/Numbers.h"

namespace varst {

std::string FormatSize(double sectors, std::int16_t digits) {
  const double bytes = sectors * 512;
  double value = bytes / 1e9;
  const char* unit = "GB";
  if (value < 1) {
    value = bytes / 1e6;
    unit = "MB";
  }
  if (value < 1) {
    value = bytes / 1000;
    unit = value == 0 ? "B" : "KB";
  }
  const int decimals = digits == 1 ? 1 : (digits == 2 ? 2 : 0);
  return FormatFixed(value, decimals) + unit;
}

}  // namespace varst
