#include "analysis/PointColumns.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace varst {
namespace {

constexpr double kLargestScaled = std::numeric_limits<std::int32_t>::max();

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

double ValueColumn::Scale(int places) {
  static constexpr double kPowers[kMostPlaces + 1] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
  return kPowers[places];
}

void ValueColumn::PushBackAny(double value) {
  if (!wide_ && !PushScaled(value)) Widen();
  if (wide_) doubles_.PushBack(value);
}

bool ValueColumn::PushScaled(double value) {
  for (int places = places_; places <= kMostPlaces; ++places) {
    const double scaled = value * Scale(places);
    // Larger scales only grow; NaN fails here too.
    if (!(std::fabs(scaled) < kLargestScaled)) return false;
    // Any nearby integer will do: it is kept only when it reads back as the same double.
    const auto integer = static_cast<std::int32_t>(scaled < 0 ? scaled - 0.5 : scaled + 0.5);
    // An integer and a power of ten below 2^53 are exact, and a division is rounded once, so
    // the quotient is the double nearest to the decimal, as a parsed text is.
    // (Whole numbers, as LBAs are, need no division.)
    const double back = places == 0 ? static_cast<double>(integer) : static_cast<double>(integer) / Scale(places);
    if (!SameBits(back, value)) continue;
    if (places != places_ && !Rescale(places)) return false;
    scaled_.PushBack(integer);
    return true;
  }
  return false;
}

bool ScaledIntegers::Multiply(std::int64_t factor, std::int64_t limit) {
  const std::size_t n = Size();
  for (std::size_t i = 0; i < n; ++i) {
    if (std::llabs(Get(i) * factor) > limit) return false;
  }
  if (!wide_) {
    for (std::size_t i = 0; i < n; ++i) {
      const std::int64_t distance = near_.Get(i) * factor;
      if (distance < -32768 || distance > 32767) {
        Widen();
        break;
      }
    }
  }
  if (wide_) {
    for (std::size_t i = 0; i < n; ++i) full_.Set(i, static_cast<std::int32_t>(full_.Get(i) * factor));
    return true;
  }
  for (std::int32_t& base : bases_) base = static_cast<std::int32_t>(base * factor);
  for (std::size_t i = 0; i < n; ++i) near_.Set(i, static_cast<std::int16_t>(near_.Get(i) * factor));
  return true;
}

void ScaledIntegers::Widen() {
  for (std::size_t i = 0; i < near_.Size(); ++i) full_.PushBack(Get(i));
  near_.Release();
  std::vector<std::int32_t>().swap(bases_);
  wide_ = true;
}

void ScaledIntegers::Clear() {
  near_.Clear();
  full_.Clear();
  bases_.clear();
  wide_ = false;
}

void ScaledIntegers::Release() {
  near_.Release();
  full_.Release();
  std::vector<std::int32_t>().swap(bases_);
  wide_ = false;
}

bool ValueColumn::Rescale(int places) {
  // Both forms name the same decimal, so each value reads back as before.
  const auto factor = static_cast<std::int64_t>(Scale(places - places_));
  if (!scaled_.Multiply(factor, static_cast<std::int64_t>(kLargestScaled))) return false;
  places_ = places;
  return true;
}

void ValueColumn::Widen() {
  for (std::size_t i = 0; i < scaled_.Size(); ++i) doubles_.PushBack((*this)[i]);
  scaled_.Release();
  wide_ = true;
}

void ValueColumn::clear() {
  if (wide_) doubles_.Release();
  scaled_.Clear();
  places_ = 0;
  wide_ = false;
}

}  // namespace varst
