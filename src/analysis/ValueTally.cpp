#include "analysis/ValueTally.h"

#include <algorithm>
#include <cstring>

namespace varst {

double ValueTally::ValueOf(std::uint64_t bits) {
  double value = 0;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

bool ValueTally::Add(double value) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  if (slots_.empty()) Grow();
  Slot* slot = &Find(bits);
  if (slot->bits == kEmpty) {
    if ((used_ + 1) * 2 > slots_.size()) {
      if (!RoomToGrow()) return false;
      Grow();
      slot = &Find(bits);
    }
    *slot = {bits, 0};
    ++used_;
  }
  ++slot->count;
  ++count_;
  return true;
}

bool ValueTally::RoomToGrow() const {
  // Twice the table, unless it would take more memory than the values themselves.
  const std::size_t bytes = slots_.size() * 2 * sizeof(Slot);
  return used_ < kMostDistinct && (bytes <= kSmallBytes || bytes <= count_ * sizeof(double));
}

ValueTally::Slot& ValueTally::Find(std::uint64_t bits) {
  const std::size_t mask = slots_.size() - 1;
  // Short decimals differ in all bits of their mantissa, whole numbers only in its top: the
  // top bits of the product with an odd constant depend on every bit.
  for (auto at = static_cast<std::size_t>((bits * 0x9E3779B97F4A7C15ULL) >> shift_);; at = (at + 1) & mask) {
    Slot& slot = slots_[at];
    if (slot.bits == bits || slot.bits == kEmpty) return slot;
  }
}

void ValueTally::Grow() {
  std::vector<Slot> old(slots_.empty() ? 1024 : slots_.size() * 2);
  old.swap(slots_);
  // The slot is the top bits of the product, as many as the table's size takes.
  shift_ = 64;
  for (std::size_t size = slots_.size(); size > 1; size /= 2) --shift_;
  for (const Slot& slot : old) {
    if (slot.bits != kEmpty) Find(slot.bits) = slot;
  }
}

std::array<double, 3> ValueTally::ValuesAtRanks(const std::array<std::uint64_t, 3>& ranks) const {
  struct Held {
    double value;
    std::uint64_t count;
  };
  std::vector<Held> held;
  held.reserve(used_);
  for (const Slot& slot : slots_) {
    if (slot.bits != kEmpty) held.push_back({ValueOf(slot.bits), slot.count});
  }
  std::sort(held.begin(), held.end(), [](const Held& a, const Held& b) { return a.value < b.value; });
  std::array<double, 3> values{};
  for (std::size_t k = 0; k < ranks.size(); ++k) {
    std::uint64_t before = 0;
    for (const Held& one : held) {
      if (ranks[k] < before + one.count) {
        values[k] = one.value;
        break;
      }
      before += one.count;
    }
  }
  return values;
}

void ValueTally::SpillInto(ValueColumn& column) {
  for (const Slot& slot : slots_) {
    if (slot.bits == kEmpty) continue;
    const double value = ValueOf(slot.bits);
    for (std::uint64_t i = 0; i < slot.count; ++i) column.push_back(value);
  }
  std::vector<Slot>().swap(slots_);
  used_ = 0;
  count_ = 0;
}

void ValueTally::Clear() {
  std::fill(slots_.begin(), slots_.end(), Slot{});
  used_ = 0;
  count_ = 0;
}

}  // namespace varst
