#pragma once
// Numbers as text: the numeric test, strict conversions for data that must convert, the
// lenient ParseInteger / ParseReal with their fallback of 0, and the texts numbers are shown
// and written as. Everything is locale-free: the decimal mark is always ".".
//
// The numeric test (IsNumeric) accepts, and nothing else:
//   optional blanks (space or tab) around the number,
//   an optional sign "+" or "-",
//   digits with an optional decimal point (at least one digit: "12", "12.", ".5", "1.25"),
//   an optional exponent: "e" or "E", an optional sign, at least one digit.
// So "inf", "nan", hexadecimal, thousands separators and an empty text are not numbers.

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

namespace varst {

[[nodiscard]] bool IsNumeric(std::string_view text);

// Rounds to the nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4), as
// nearbyint does in the default rounding, which nothing in the program changes.
[[nodiscard]] inline double RoundHalfEven(double value) {
#if defined(FLT_EVAL_METHOD) && FLT_EVAL_METHOD == 0
  // Below 2^52, adding 2^52 leaves no room for a fraction, so the addition itself rounds the
  // sum to a whole number, and taking 2^52 away again is exact. Larger values are whole. Done
  // for every point drawn, this spares a library call.
  constexpr double kWhole = 4503599627370496.0;
  if (!(std::fabs(value) < kWhole)) return value;
  const double rounded = value >= 0 ? (value + kWhole) - kWhole : (value - kWhole) + kWhole;
  return std::copysign(rounded, value);  // -0.3 gives -0, as nearbyint does
#else
  // Arithmetic carried out wider than double would keep the fraction.
  return std::nearbyint(value);
#endif
}

// Strict conversions: false when the text is not a number or the value does not fit
// (1e309, a 40-digit integer into 32 bits). Integers round halves to even.
[[nodiscard]] bool TryParseDouble(std::string_view text, double& value);
[[nodiscard]] bool TryParseInt32(std::string_view text, std::int32_t& value);
[[nodiscard]] bool TryParseInt16(std::string_view text, std::int16_t& value);

// Rounds a double to a 32-bit integer, halves to even; false for NaN or out of range.
[[nodiscard]] inline bool RoundToInt32(double value, std::int32_t& result) {
  const double rounded = RoundHalfEven(value);
  if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) return false;
  result = static_cast<std::int32_t>(rounded);
  return true;
}

// Lenient conversions for values typed by the user: 0 for anything that is not a number;
// a value beyond the type's range is clamped to it.
[[nodiscard]] std::int32_t ParseInteger(std::string_view text);
[[nodiscard]] float ParseReal(std::string_view text);

// Upper-case hexadecimal digits of a non-negative integer value without leading zeros;
// 0 gives "0". A fractional value is rounded first (halves to even); a negative one gets
// a leading "-".
[[nodiscard]] std::string HexText(double value);

// The decimal text a number is shown as: at most 15 significant digits (7 for a
// single-precision value), trailing zeros and a trailing "." dropped, "0" before a leading
// decimal mark, no leading blank. Very large or small magnitudes use an exponent
// ("1E+20", "1E-06").
[[nodiscard]] std::string DecimalText(double value);
[[nodiscard]] std::string DecimalTextSingle(float value);
[[nodiscard]] std::string DecimalText(std::int64_t value);
[[nodiscard]] inline std::string DecimalText(int value) {
  return DecimalText(static_cast<std::int64_t>(value));
}

// Fixed-point format with the given number of decimals ("0", "0.0", "0.00"): the value is
// taken at 15 significant digits and rounded to the nearest, halves away from zero; a result
// of zero has no sign.
[[nodiscard]] std::string FormatFixed(double value, int decimals);

// The shortest text that reads back to the same double; -0 prints as 0. For
// machine-readable output.
[[nodiscard]] std::string ShortestText(double value);

}  // namespace varst
