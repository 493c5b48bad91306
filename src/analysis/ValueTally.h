#pragma once
// The values of a series row counted by value, for statistics that need no single record:
// result files write short decimals, so a row of millions of records holds a few thousand
// distinct values, and its percentiles come from their counts. Equal values are the same
// double but for the two zeros, so a tally that holds no negative zero (and no NaN) orders
// its values as any sort of the row's values would.

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "analysis/PointColumns.h"

namespace varst {

class ValueTally {
 public:
  // Whether value can be counted: a NaN or a negative zero cannot (see above).
  [[nodiscard]] static bool Countable(double value) { return !std::isnan(value) && !(value == 0 && std::signbit(value)); }
  // Counts a countable value. False, and nothing counted, when it is one more distinct value
  // than the tally keeps: more than kMostDistinct, or so many that counting them takes more
  // memory than keeping them.
  bool Add(double value);
  // Appends every value counted (each as often as it came, in no order) and gives the
  // tally's memory back.
  void SpillInto(ValueColumn& column);
  [[nodiscard]] std::uint64_t Count() const { return count_; }
  // The values at the given 0-based ranks of the ascending values (each below Count()).
  [[nodiscard]] std::array<double, 3> ValuesAtRanks(const std::array<std::uint64_t, 3>& ranks) const;
  void Clear();

  static constexpr std::size_t kMostDistinct = std::size_t{1} << 16;
  static constexpr std::size_t kSmallBytes = std::size_t{64} << 10;  // always allowed

 private:
  struct Slot {
    std::uint64_t bits = kEmpty;
    std::uint64_t count = 0;
  };
  static constexpr std::uint64_t kEmpty = ~std::uint64_t{0};  // a NaN, never counted
  [[nodiscard]] static double ValueOf(std::uint64_t bits);
  [[nodiscard]] bool RoomToGrow() const;
  // The slot holding bits, or the empty one where it would go.
  Slot& Find(std::uint64_t bits);
  void Grow();

  std::vector<Slot> slots_;
  unsigned shift_ = 64;  // 64 less the bits of a slot's index
  std::size_t used_ = 0;
  std::uint64_t count_ = 0;
};

}  // namespace varst
