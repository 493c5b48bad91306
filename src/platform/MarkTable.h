#pragma once
// Marks (error dots, threshold boxes, single-point dots) told apart by the whole pixels they
// cover and their colours, for the reduction of a drawing to the pixels of one picture: two
// marks with the same key paint the same pixels but for a sub-pixel shift of their edges.

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "common/Colour.h"

namespace varst {

struct MarkKey {
  std::int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  Colour pen = 0;
  Colour fill = 0;
  std::uint32_t kind = 0;
  bool operator==(const MarkKey& other) const { return std::memcmp(this, &other, sizeof *this) == 0; }
};

// A pixel coordinate as a whole pixel, halves away from zero as std::lround rounds them;
// NaN and values far off the picture alike. Without a library call: millions of marks are
// keyed while a file is read.
inline std::int32_t WholePixel(double value) {
  if (!(value > -1e9 && value < 1e9)) return value > 0 ? 1000000000 : -1000000000;
  const auto whole = static_cast<std::int32_t>(value);  // towards zero
  const double fraction = value - whole;                 // exact for values this small
  return whole + (fraction >= 0.5 ? 1 : 0) - (fraction <= -0.5 ? 1 : 0);
}

// The fields in four words, each through a multiplication of its own (side by side in the
// processor), then mixed down to the low bits that pick a slot.
inline std::size_t HashMarkKey(const MarkKey& key) {
  const auto pair = [](std::int32_t a, std::int32_t b) {
    return static_cast<std::uint64_t>(static_cast<std::uint32_t>(a)) << 32 | static_cast<std::uint32_t>(b);
  };
  std::uint64_t h = pair(key.x1, key.y1) * 0x9E3779B97F4A7C15ULL + pair(key.x2, key.y2) * 0xC2B2AE3D27D4EB4FULL +
                    pair(key.pen, key.fill) * 0x165667B19E3779F9ULL +
                    key.kind * 0xFF51AFD7ED558CCDULL;
  h ^= h >> 32;
  h *= 0xD6E8FEB86659FD93ULL;
  h ^= h >> 32;
  return static_cast<std::size_t>(h);
}

// A set of keys: an open-addressed table of 8-byte slots (a fingerprint of the key's hash and
// where the key is kept), so that the table of a picture's hundred thousand different marks
// stays small, and the keys themselves are read only when a fingerprint matches.
class MarkKeySet {
 public:
  // Room for `keys` keys before the table grows.
  void Reserve(std::size_t keys) {
    std::size_t size = slots_.empty() ? 1024 : slots_.size();
    while (size < 2 * keys + 2) size *= 2;
    if (size > slots_.size()) Rehash(size);
    keys_.reserve(keys);
  }

  // Adds key; false when it was there already.
  bool Insert(const MarkKey& key) {
    const std::size_t hash = HashMarkKey(key);
    // Marks repeat near one another: the keys met last answer most look-ups from the cache.
    if (recent_.empty()) recent_.resize(kRecent);
    Recent& recent = recent_[(hash >> 40) & (kRecent - 1)];
    if (recent.used && recent.key == key) return false;
    recent.key = key;
    recent.used = true;
    if ((keys_.size() + 1) * 2 > slots_.size()) Rehash(slots_.empty() ? 1024 : slots_.size() * 2);
    const auto fingerprint = static_cast<std::uint32_t>(hash >> 32);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
      const std::uint64_t slot = slots_[at];
      if (slot == 0) {
        keys_.push_back(key);
        slots_[at] = static_cast<std::uint64_t>(fingerprint) << 32 | keys_.size();
        return true;
      }
      if (static_cast<std::uint32_t>(slot >> 32) == fingerprint && keys_[(slot & 0xFFFFFFFFU) - 1] == key) return false;
    }
  }

 private:
  void Rehash(std::size_t size) {
    slots_.assign(size, 0);
    const std::size_t mask = size - 1;
    for (std::size_t k = 0; k < keys_.size(); ++k) {
      const std::size_t hash = HashMarkKey(keys_[k]);
      std::size_t at = hash & mask;
      while (slots_[at] != 0) at = (at + 1) & mask;
      slots_[at] = (hash >> 32) << 32 | (k + 1);
    }
  }

  static constexpr std::size_t kRecent = 2048;
  struct Recent {
    MarkKey key;
    bool used = false;
  };
  std::vector<Recent> recent_;  // each a key of the set, by its hash
  std::vector<std::uint64_t> slots_;  // 0: empty
  std::vector<MarkKey> keys_;
};

// The last marks seen, a fixed number of them, each key in one place by its hash: a new key
// takes the place of the one there. It finds most repeats of a series drawn left to right (the
// marks of the last few pixel columns, and of a dense run of error records, which may cover
// thousands of pixels), stays in the processor's second-level cache, and never claims a repeat
// that is not one.
class RecentMarks {
 public:
  static constexpr std::uint32_t kNone = 0xFFFFFFFFU;
  // Set in an index that names a mark waiting to enter the list (the rest is its number).
  static constexpr std::uint32_t kWaiting = 0x80000000U;

  struct Slot {
    MarkKey key;
    std::uint32_t index = kNone;
  };
  // The one place of a key with this hash: its index stands for the key only while its key is
  // the key.
  Slot& SlotOf(std::size_t hash) {
    if (slots_.empty()) slots_.resize(kSlots);
    return slots_[hash & (kSlots - 1)];
  }

  // Stores index under key; returns the index stored before under the same key, or kNone.
  std::uint32_t Exchange(const MarkKey& key, std::uint32_t index) {
    Slot& slot = SlotOf(HashMarkKey(key));
    const std::uint32_t before = slot.index != kNone && slot.key == key ? slot.index : kNone;
    slot.key = key;
    slot.index = index;
    return before;
  }

  // Forgets key; returns the index stored under it, or kNone.
  std::uint32_t Take(const MarkKey& key) {
    if (slots_.empty()) return kNone;
    Slot& slot = slots_[HashMarkKey(key) & (kSlots - 1)];
    if (slot.index == kNone || !(slot.key == key)) return kNone;
    const std::uint32_t before = slot.index;
    slot.index = kNone;
    return before;
  }

  void Clear() {
    for (Slot& slot : slots_) slot.index = kNone;
  }

  // The operations were renumbered: operation i is now newIndex[i]. Every slot names an
  // operation that is kept (a mark is dropped only for the one that takes its slot), or a mark
  // not yet in the list.
  void Renumber(const std::vector<std::uint32_t>& newIndex) {
    for (Slot& slot : slots_) {
      if (slot.index != kNone && (slot.index & kWaiting) == 0) slot.index = newIndex[slot.index];
    }
  }

 private:
  static constexpr std::size_t kSlots = std::size_t{1} << 13;
  // Made on the first mark: a surface that draws no marks (or a small file's) pays nothing.
  std::vector<Slot> slots_;
};

}  // namespace varst
