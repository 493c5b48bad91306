#pragma once
// Finds the record of a series nearest to an X by binary search: the X values in ascending
// order, built once per drawing (a test's records are already in order, so usually no sort
// is needed), then each query costs log n.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "analysis/SeriesPoints.h"

namespace varst {

class NearestRecord {
 public:
  NearestRecord() = default;
  explicit NearestRecord(const SeriesPoints& points);

  // The index (into the points) of the record whose X is nearest to x; on a tie the one of
  // smaller X, among equal X the first in file order. Empty for a series without records.
  [[nodiscard]] std::optional<std::size_t> Find(double x) const;

 private:
  const SeriesPoints* points_ = nullptr;
  // Indexes of the points in ascending X; empty when the points are in order already.
  std::vector<std::uint32_t> order_;
  std::vector<double> sortedX_;  // only with order_

  [[nodiscard]] double XAt(std::size_t rank) const;
  [[nodiscard]] std::size_t IndexAt(std::size_t rank) const;
  // The lowest rank below `count` whose X is not less than x (count when none).
  [[nodiscard]] std::size_t LowestRankFrom(double x, std::size_t count) const;
};

}  // namespace varst
