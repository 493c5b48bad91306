#include "analysis/NearestRecord.h"

#include <algorithm>
#include <numeric>

namespace varst {

NearestRecord::NearestRecord(const SeriesPoints& points) : points_(&points) {
  if (std::is_sorted(points.x.begin(), points.x.end())) return;
  order_.resize(points.Size());
  std::iota(order_.begin(), order_.end(), 0U);
  std::stable_sort(order_.begin(), order_.end(), [&](std::uint32_t a, std::uint32_t b) { return points.x[a] < points.x[b]; });
  sortedX_.reserve(order_.size());
  for (const std::uint32_t i : order_) sortedX_.push_back(points.x[i]);
}

double NearestRecord::XAt(std::size_t rank) const { return order_.empty() ? points_->x[rank] : sortedX_[rank]; }

std::size_t NearestRecord::IndexAt(std::size_t rank) const { return order_.empty() ? rank : order_[rank]; }

std::size_t NearestRecord::LowestRankFrom(double x, std::size_t count) const {
  std::size_t low = 0;
  std::size_t high = count;
  while (low < high) {
    const std::size_t middle = low + (high - low) / 2;
    if (XAt(middle) < x) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  return low;
}

std::optional<std::size_t> NearestRecord::Find(double x) const {
  if (points_ == nullptr || points_->Empty()) return std::nullopt;
  const std::size_t count = points_->Size();
  std::size_t rank = LowestRankFrom(x, count);
  if (rank == count) {
    rank = count - 1;
  } else if (rank > 0 && x - XAt(rank - 1) <= XAt(rank) - x) {
    rank -= 1;
  }
  // Among equal X the first in file order: the lowest rank holding that X.
  rank = LowestRankFrom(XAt(rank), rank);
  return IndexAt(rank);
}

}  // namespace varst
