#include "chart/FormatSize.h"

#include <gtest/gtest.h>

namespace varst {
namespace {

TEST(FormatSize, DecimalUnitsAndDigits) {
  struct Case {
    double sectors;
    std::int16_t digits;
    const char* text;
  };
  const Case cases[] = {
      {0, 2, "0.00B"},          {1, 2, "0.51KB"},        {1953125, 2, "1.00GB"},  {1953124, 2, "1000.00MB"},
      {156301488, 1, "80.0GB"}, {156301488, 2, "80.03GB"}, {156301488, 0, "80GB"}, {156301488, 3, "80GB"},
      {2000, 2, "1.02MB"},      {1e12, 2, "512000.00GB"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatSize(c.sectors, c.digits), c.text) << c.sectors << " " << c.digits;
}

}  // namespace
}  // namespace varst
