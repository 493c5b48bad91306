#pragma once
// Columns of numbers for millions of records. A column is kept in blocks of a fixed size, so
// growing copies nothing once the first block is full (that one doubles up to the size), and
// emptying it keeps the blocks it used for the next drawing, which then touches no fresh memory.
// The value column stores a number that is a decimal of few places (as the result files write
// them) as a 32-bit integer with the column's count of places, and reads it back as the very
// same double; a column holding any other number keeps doubles.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <new>
#include <vector>

#include "common/LargeBlocks.h"

namespace varst {

template <typename T>
class BlockArray {
 public:
  static_assert(sizeof(T) == 2 || sizeof(T) == 4 || sizeof(T) == 8, "a block holds 2 MB of 2-, 4- or 8-byte numbers");
  static constexpr std::size_t kBlockBits = sizeof(T) == 8 ? 18 : sizeof(T) == 4 ? 19 : 20;
  static constexpr std::size_t kBlockSize = std::size_t{1} << kBlockBits;

  void PushBack(T value) {
    if (size_ == capacity_) Grow();
    blocks_[size_ >> kBlockBits][size_ & (kBlockSize - 1)] = value;
    ++size_;
  }
  [[nodiscard]] T Get(std::size_t i) const { return blocks_[i >> kBlockBits][i & (kBlockSize - 1)]; }
  void Set(std::size_t i, T value) { blocks_[i >> kBlockBits][i & (kBlockSize - 1)] = value; }
  [[nodiscard]] std::size_t Size() const { return size_; }
  // Empties the array. The blocks it filled stay for what comes next (a redraw is mostly the
  // same records again); blocks beyond those are given back.
  void Clear() {
    blocks_.resize((size_ + kBlockSize - 1) >> kBlockBits);
    if (blocks_.empty()) firstCapacity_ = 0;
    capacity_ = blocks_.size() == 1 ? firstCapacity_ : blocks_.size() * kBlockSize;
    size_ = 0;
  }
  // Empties the array and gives its memory back.
  void Release() {
    blocks_.clear();
    size_ = capacity_ = firstCapacity_ = 0;
  }

 private:
  static constexpr std::size_t kFirstSize = 1024;
  struct Free {
    void operator()(T* block) const { FreeLargeBlock(block); }
  };
  // The first block grows by doubling up to the block size (most rows of a small file stay in
  // a few kilobytes, and a window of 513 of them asks for no more), touched in small pages; a
  // row that fills it is a big one, and its further blocks take large pages.
  void Grow() {
    if (blocks_.size() > 1 || firstCapacity_ == kBlockSize) {
      void* block = AllocateLargeBlock(true);
      if (block == nullptr) throw std::bad_alloc();
      blocks_.emplace_back(static_cast<T*>(block));
      capacity_ += kBlockSize;
      return;
    }
    const std::size_t wanted = firstCapacity_ == 0 ? kFirstSize : firstCapacity_ * 2;
    void* block = wanted == kBlockSize ? AllocateLargeBlock(false) : std::malloc(wanted * sizeof(T));
    if (block == nullptr) throw std::bad_alloc();
    std::unique_ptr<T[], Free> grown(static_cast<T*>(block));
    if (blocks_.empty()) {
      blocks_.push_back(std::move(grown));
    } else {
      std::memcpy(grown.get(), blocks_[0].get(), size_ * sizeof(T));
      blocks_[0] = std::move(grown);
    }
    firstCapacity_ = capacity_ = wanted;
  }

  std::vector<std::unique_ptr<T[], Free>> blocks_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;       // elements the blocks hold
  std::size_t firstCapacity_ = 0;  // elements of the first block (it grows up to a block)
};

// A random-access iterator over a column's values (read only, by value).
template <typename Column>
class ColumnIterator {
 public:
  using iterator_category = std::random_access_iterator_tag;
  using value_type = double;
  using difference_type = std::ptrdiff_t;
  using pointer = void;
  using reference = double;

  ColumnIterator() = default;
  ColumnIterator(const Column* column, std::size_t at) : column_(column), at_(at) {}
  double operator*() const { return (*column_)[at_]; }
  double operator[](difference_type n) const { return (*column_)[Offset(n)]; }
  ColumnIterator& operator++() { return *this += 1; }
  ColumnIterator operator++(int) {
    ColumnIterator before = *this;
    *this += 1;
    return before;
  }
  ColumnIterator& operator--() { return *this -= 1; }
  ColumnIterator operator--(int) {
    ColumnIterator before = *this;
    *this -= 1;
    return before;
  }
  ColumnIterator& operator+=(difference_type n) {
    at_ = Offset(n);
    return *this;
  }
  ColumnIterator& operator-=(difference_type n) { return *this += -n; }
  friend ColumnIterator operator+(ColumnIterator it, difference_type n) { return it += n; }
  friend ColumnIterator operator+(difference_type n, ColumnIterator it) { return it += n; }
  friend ColumnIterator operator-(ColumnIterator it, difference_type n) { return it -= n; }
  friend difference_type operator-(const ColumnIterator& a, const ColumnIterator& b) {
    return static_cast<difference_type>(a.at_) - static_cast<difference_type>(b.at_);
  }
  friend bool operator==(const ColumnIterator& a, const ColumnIterator& b) { return a.at_ == b.at_; }
  friend bool operator!=(const ColumnIterator& a, const ColumnIterator& b) { return a.at_ != b.at_; }
  friend bool operator<(const ColumnIterator& a, const ColumnIterator& b) { return a.at_ < b.at_; }
  friend bool operator>(const ColumnIterator& a, const ColumnIterator& b) { return a.at_ > b.at_; }
  friend bool operator<=(const ColumnIterator& a, const ColumnIterator& b) { return a.at_ <= b.at_; }
  friend bool operator>=(const ColumnIterator& a, const ColumnIterator& b) { return a.at_ >= b.at_; }

 private:
  [[nodiscard]] std::size_t Offset(difference_type n) const {
    return static_cast<std::size_t>(static_cast<difference_type>(at_) + n);
  }
  const Column* column_ = nullptr;
  std::size_t at_ = 0;
};

// Shared by both columns: a vector-like face for reading, filling and emptying.
template <typename Derived>
class ColumnFace {
 public:
  using const_iterator = ColumnIterator<Derived>;
  [[nodiscard]] const_iterator begin() const { return {Self(), 0}; }
  [[nodiscard]] const_iterator end() const { return {Self(), Self()->size()}; }
  [[nodiscard]] bool empty() const { return Self()->size() == 0; }
  Derived& operator=(std::initializer_list<double> values) {
    auto& self = static_cast<Derived&>(*this);
    self.clear();
    for (const double value : values) self.push_back(value);
    return self;
  }

 private:
  [[nodiscard]] const Derived* Self() const { return static_cast<const Derived*>(this); }
};

// The integers of a compact column, in 2 bytes each while they lie near one another: each run
// of 32 keeps its first integer as a base and every one as its distance from it (the LBAs of a
// big file's records lie a few sectors apart, its values to two places within a few thousand of
// each other). From the first that does not fit on, they take 4 bytes each.
class ScaledIntegers {
 public:
  void PushBack(std::int32_t value) {
    if (!wide_) {
      if ((near_.Size() & (kRun - 1)) == 0) bases_.push_back(value);
      const std::int64_t distance = std::int64_t{value} - bases_.back();
      if (distance >= -32768 && distance <= 32767) {
        near_.PushBack(static_cast<std::int16_t>(distance));
        return;
      }
      Widen();
    }
    full_.PushBack(value);
  }
  [[nodiscard]] std::int32_t Get(std::size_t i) const {
    return wide_ ? full_.Get(i) : bases_[i / kRun] + near_.Get(i);
  }
  [[nodiscard]] std::size_t Size() const { return wide_ ? full_.Size() : near_.Size(); }
  [[nodiscard]] std::size_t BytesPerValue() const { return wide_ ? sizeof(std::int32_t) : sizeof(std::int16_t); }
  // Multiplies every integer by factor; false, with nothing changed, when one would lie
  // beyond +-limit.
  bool Multiply(std::int64_t factor, std::int64_t limit);
  // Empties the integers, keeping the blocks they filled (see BlockArray::Clear).
  void Clear();
  // Empties the integers and gives their memory back.
  void Release();

 private:
  static constexpr std::size_t kRun = 32;
  void Widen();

  BlockArray<std::int16_t> near_;
  std::vector<std::int32_t> bases_;  // one for each run of near_
  BlockArray<std::int32_t> full_;
  bool wide_ = false;
};

// Values of few decimal places in 2 or 4 bytes each; any other value turns the column into
// doubles.
class ValueColumn : public ColumnFace<ValueColumn> {
 public:
  using ColumnFace::operator=;
  void push_back(double value) {
    // Most often a whole number (an LBA) while the column keeps no places: stored as it is.
    if (!wide_ && places_ == 0 && value > -2147483647.0 && value < 2147483647.0) {
      const auto whole = static_cast<std::int32_t>(value);
      if (static_cast<double>(whole) == value && (whole != 0 || !std::signbit(value))) {
        scaled_.PushBack(whole);
        return;
      }
    }
    PushBackAny(value);
  }
  [[nodiscard]] double operator[](std::size_t i) const {
    return wide_ ? doubles_.Get(i) : static_cast<double>(scaled_.Get(i)) / Scale(places_);
  }
  [[nodiscard]] std::size_t size() const { return wide_ ? doubles_.Size() : scaled_.Size(); }
  // Empties the column; it stores the next values compactly again.
  void clear();
  // While compact: the stored integers, which sort as the values do, and the value of one.
  [[nodiscard]] bool Compact() const { return !wide_; }
  [[nodiscard]] std::int32_t Scaled(std::size_t i) const { return scaled_.Get(i); }
  [[nodiscard]] double FromScaled(std::int32_t scaled) const { return static_cast<double>(scaled) / Scale(places_); }
  // Bytes each value takes: 2 or 4 while every value fits the compact form, else 8.
  [[nodiscard]] std::size_t BytesPerValue() const { return wide_ ? sizeof(double) : scaled_.BytesPerValue(); }

 private:
  static constexpr int kMostPlaces = 9;
  [[nodiscard]] static double Scale(int places);
  void PushBackAny(double value);
  // Stores value compactly at places_ or more places; false when it does not fit.
  bool PushScaled(double value);
  // Rewrites the stored integers for `places` places; false when one would not fit.
  bool Rescale(int places);
  void Widen();

  ScaledIntegers scaled_;
  BlockArray<double> doubles_;
  int places_ = 0;
  bool wide_ = false;
};

}  // namespace varst
