// The record columns read back every value as the very double that was stored, whether it
// fits the compact form or turns the column into doubles, across block boundaries and clears.

#include <gtest/gtest.h>

#include <cmath>
#include <algorithm>
#include <cstring>
#include <limits>
#include <thread>
#include <vector>

#include "analysis/PointColumns.h"

namespace varst {
namespace {

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// 1,000 whole numbers that leap by a million every 256 (where runs of 2-byte integers begin)
// and once more at `leapAt` too.
std::vector<double> Leaps(std::size_t leapAt) {
  std::vector<double> values;
  for (std::size_t i = 0; i < 1000; ++i) {
    values.push_back(static_cast<double>((i / 256 + (i >= leapAt ? 7 : 0)) * 1000000 + i % 256));
  }
  return values;
}

TEST(PointColumns, ValuesReadBackExactlyAndCompactWhileTheyAreShortDecimals) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    const char* name;
    std::vector<double> values;
    std::size_t bytes;  // per value after the last one
  };
  const Case cases[] = {
      {"near one another", {80.46, 80.5, 79, 81.99, -3.25}, 2},
      {"places grow, the integers still near", {1, 2.5, 3.25, 4.125}, 2},
      {"places grow, the integers then too far apart", {0, 30000, 0.5}, 4},
      {"far apart only where a run begins", Leaps(512), 2},
      {"far apart inside a run", Leaps(300), 4},
      {"whole numbers", {0, 1, -5, 2147483647.0 - 1, 1000}, 4},
      {"places grow, earlier values rescaled", {12, 3.5, 123.25, 0.001, 99.999999}, 4},
      {"nine places", {0.123456789, 1.5}, 4},
      {"too many places", {1.5, 1e-12}, 8},
      {"beyond 32 bits once scaled", {0.5, 2147483.6471}, 8},
      {"too large", {1, 3e10}, 8},
      {"a third", {1.0 / 3}, 8},
      {"negative zero", {1, -0.0}, 8},
      {"not a number", {2, nan}, 8},
      {"infinite", {std::numeric_limits<double>::infinity()}, 8},
  };
  for (const Case& c : cases) {
    ValueColumn column;
    for (double v : c.values) column.push_back(v);
    ASSERT_EQ(column.size(), c.values.size()) << c.name;
    for (std::size_t i = 0; i < c.values.size(); ++i) EXPECT_TRUE(SameBits(column[i], c.values[i])) << c.name << " #" << i;
    EXPECT_EQ(column.BytesPerValue(), c.bytes) << c.name;
    // Emptied, the column starts compact again.
    column.clear();
    column.push_back(2.5);
    EXPECT_EQ(column.size(), 1U);
    EXPECT_EQ(column[0], 2.5);
    EXPECT_EQ(column.BytesPerValue(), 2U) << c.name;
  }
}

TEST(PointColumns, ManyBlocksKeepTheirOrderThroughAClearAndAWidening) {
  ValueColumn values;
  ValueColumn xs;
  const std::size_t n = 3 * BlockArray<double>::kBlockSize + 17;
  for (int round = 0; round < 2; ++round) {
    values.clear();
    xs.clear();
    // First a small row (its first block still growing), then a big one over the kept block.
    for (std::size_t i = 0; i < (round == 0 ? 1500 : n); ++i) {
      values.push_back(static_cast<double>(i % 1000) / 100);
      xs.push_back(static_cast<double>(i) * 4096);
    }
  }
  values.push_back(1.0 / 3);  // widens every stored value
  ASSERT_EQ(values.size(), n + 1);
  for (std::size_t i = 0; i < n; i += 997) {
    EXPECT_EQ(values[i], static_cast<double>(i % 1000) / 100) << i;
    EXPECT_EQ(xs[i], static_cast<double>(i) * 4096) << i;
  }
  EXPECT_EQ(values[n], 1.0 / 3);
  EXPECT_EQ(xs.end() - xs.begin(), static_cast<std::ptrdiff_t>(n));
  EXPECT_TRUE(std::is_sorted(xs.begin(), xs.end()));
}

// Large blocks are made ahead on a thread of their own: columns filled at once on two threads
// (two report jobs) each get blocks of their own, whole.
TEST(PointColumns, ColumnsFilledOnTwoThreadsAtOnceKeepTheirOwnValues) {
  const std::size_t n = 3 * BlockArray<std::int32_t>::kBlockSize + 5;
  ValueColumn columns[2];
  const auto value = [](std::size_t i, std::size_t k) { return static_cast<double>(i * 2 + k); };
  const auto fill = [&](std::size_t k) {
    for (std::size_t i = 0; i < n; ++i) columns[k].push_back(value(i, k));
  };
  std::thread other(fill, 1);
  fill(0);
  other.join();
  for (std::size_t k = 0; k < 2; ++k) {
    ASSERT_EQ(columns[k].size(), n);
    for (std::size_t i = 0; i < n; i += 4099) EXPECT_EQ(columns[k][i], value(i, k));
    EXPECT_EQ(columns[k][n - 1], value(n - 1, k));
  }
}

}  // namespace
}  // namespace varst
