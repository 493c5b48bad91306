#include "common/Numbers.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <limits>

namespace varst {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Checks the number grammar of the header comment on an already trimmed text.
bool MatchesNumber(std::string_view text) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < n && IsDigit(text[i])) ++i, ++digits;
  if (i < n && text[i] == '.') {
    ++i;
    while (i < n && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t exponentDigits = 0;
    while (i < n && IsDigit(text[i])) ++i, ++exponentDigits;
    if (exponentDigits == 0) return false;
  }
  return i == n;
}

// Converts a text that matches the grammar. from_chars takes no leading "+".
bool ConvertMatched(std::string_view text, double& value) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  const char* first = text.data();
  const char* last = text.data() + text.size();
  const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
  if (error == std::errc() && end == last) return std::isfinite(value);
  if (error != std::errc::result_out_of_range) return false;
  // Out of range is either an overflow (not representable: refuse) or an underflow, which
  // reads as zero as the runtime conversion does. strtod tells the two apart.
  std::string copy(text);
  errno = 0;
  const double probe = std::strtod(copy.c_str(), nullptr);
  if (std::isinf(probe)) return false;
  value = probe;
  return true;
}

template <typename Int>
bool ToInteger(double value, Int& result) {
  const double rounded = RoundHalfEven(value);
  if (!(rounded >= static_cast<double>(std::numeric_limits<Int>::min()) &&
        rounded <= static_cast<double>(std::numeric_limits<Int>::max()))) {
    return false;
  }
  result = static_cast<Int>(rounded);
  return true;
}

// Drops trailing zeros of a fraction and a trailing decimal mark.
void DropTrailingZeros(std::string& digits) {
  if (digits.find('.') == std::string::npos) return;
  while (!digits.empty() && digits.back() == '0') digits.pop_back();
  if (!digits.empty() && digits.back() == '.') digits.pop_back();
}

std::string DecimalTextWithDigits(double value, int significant) {
  if (value == 0 || !std::isfinite(value)) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value < 0 ? "-Inf" : "Inf";
    return "0";
  }
  // Round to the significant digits first; the exponent of the rounded value decides
  // between plain and exponent notation.
  std::array<char, 64> buffer{};
  std::snprintf(buffer.data(), buffer.size(), "%.*e", significant - 1, value);
  const std::string scientific(buffer.data());
  const auto ePos = scientific.find('e');
  const int exponent = std::atoi(scientific.c_str() + ePos + 1);
  if (exponent < -5 || exponent >= significant) {
    std::string mantissa = scientific.substr(0, ePos);
    DropTrailingZeros(mantissa);
    std::snprintf(buffer.data(), buffer.size(), "E%c%02d", exponent < 0 ? '-' : '+',
                  std::abs(exponent));
    return mantissa + buffer.data();
  }
  const int decimals = std::max(0, significant - 1 - exponent);
  std::snprintf(buffer.data(), buffer.size(), "%.*f", decimals, value);
  std::string plain(buffer.data());
  DropTrailingZeros(plain);
  if (plain == "-0") plain = "0";
  return plain;
}

}  // namespace

bool IsNumeric(std::string_view text) { return MatchesNumber(TrimBlanks(text)); }

namespace {

constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Plain decimals as data files hold them ("12", "-81.86"): when the digits fit 2^53 and there
// are at most 22 decimals, digits / 10^decimals is one correctly rounded division, the same
// double the general conversion gives. Anything else is left to it.
bool TryPlainDecimal(std::string_view text, double& value) {
  const char* p = text.data();
  const char* const end = p + text.size();
  const bool negative = p < end && *p == '-';
  if (p < end && (*p == '-' || *p == '+')) ++p;
  std::uint64_t digits = 0;
  const char* const integerStart = p;
  for (unsigned d; p < end && (d = static_cast<unsigned char>(*p) - '0') <= 9; ++p) digits = digits * 10 + d;
  std::ptrdiff_t count = p - integerStart;
  std::ptrdiff_t decimals = 0;
  if (p < end && *p == '.') {
    const char* const fractionStart = ++p;
    for (unsigned d; p < end && (d = static_cast<unsigned char>(*p) - '0') <= 9; ++p) digits = digits * 10 + d;
    decimals = p - fractionStart;
    count += decimals;
  }
  if (p != end || count == 0 || count > 19 || digits > (std::uint64_t{1} << 53) || decimals > 22) return false;
  // A whole number (an LBA) needs no division.
  const double whole = static_cast<double>(digits);
  const double magnitude = decimals == 0 ? whole : whole / kExactPowersOfTen[decimals];
  value = negative ? -magnitude : magnitude;
  return true;
}

}  // namespace

bool TryParseDouble(std::string_view text, double& value) {
  if (!text.empty() && (IsBlank(text.front()) || IsBlank(text.back()))) text = TrimBlanks(text);
  if (TryPlainDecimal(text, value)) return true;
  if (!MatchesNumber(text)) return false;
  return ConvertMatched(text, value);
}

bool TryParseInt32(std::string_view text, std::int32_t& value) {
  double real = 0;
  return TryParseDouble(text, real) && ToInteger(real, value);
}

bool TryParseInt16(std::string_view text, std::int16_t& value) {
  double real = 0;
  return TryParseDouble(text, real) && ToInteger(real, value);
}

std::int32_t ParseInteger(std::string_view text) {
  text = TrimBlanks(text);
  if (!MatchesNumber(text)) return 0;
  double real = 0;
  if (!ConvertMatched(text, real)) {
    // Only an overflow fails on a matching text; its sign is the text's.
    return text.front() == '-' ? std::numeric_limits<std::int32_t>::min()
                               : std::numeric_limits<std::int32_t>::max();
  }
  std::int32_t result = 0;
  if (ToInteger(real, result)) return result;
  return real < 0 ? std::numeric_limits<std::int32_t>::min()
                  : std::numeric_limits<std::int32_t>::max();
}

float ParseReal(std::string_view text) {
  text = TrimBlanks(text);
  if (!MatchesNumber(text)) return 0.0F;
  double real = 0;
  if (!ConvertMatched(text, real)) real = text.front() == '-' ? -HUGE_VAL : HUGE_VAL;
  constexpr double kMax = std::numeric_limits<float>::max();
  if (real > kMax) return std::numeric_limits<float>::max();
  if (real < -kMax) return -std::numeric_limits<float>::max();
  return static_cast<float>(real);
}

std::string HexText(double value) {
  if (std::isnan(value)) return "0";
  value = RoundHalfEven(value);
  std::string sign;
  if (value < 0) {
    sign = "-";
    value = -value;
  }
  if (std::isinf(value)) return sign + "0";
  // Taking the value apart in hexadecimal digits is exact for any integral double: the
  // remainder by 16 and the division by a power of two lose nothing.
  std::string digits;
  do {
    const double digit = std::fmod(value, 16.0);
    digits.insert(digits.begin(), "0123456789ABCDEF"[static_cast<int>(digit)]);
    value = (value - digit) / 16.0;
  } while (value >= 1.0);
  return sign + digits;
}

std::string DecimalText(double value) { return DecimalTextWithDigits(value, 15); }

std::string DecimalTextSingle(float value) { return DecimalTextWithDigits(value, 7); }

std::string DecimalText(std::int64_t value) { return std::to_string(value); }

namespace {

constexpr double kFixedScales[] = {1, 10, 100, 1000, 10000};

// The common case of FormatFixed without printing digits: a moderate value that is not close
// to a rounding tie. Then rounding its exact value and rounding its 15-digit text give the
// same places, and value x 10^decimals rounded to an integer holds them. False otherwise.
bool TryFixedByIntegers(double value, int decimals, std::string& text) {
  if (decimals > 4) return false;
  const double scaled = std::fabs(value) * kFixedScales[decimals];
  // Below 1e11 the 15-digit text differs from the exact value by less than 5e-4 of a place
  // unit, and the product by far less: only a fraction within 1e-3 of one half can round
  // differently.
  if (!(scaled < 1e11)) return false;
  const double fraction = scaled - std::floor(scaled);
  if (std::fabs(fraction - 0.5) < 1e-3) return false;
  auto places = static_cast<std::uint64_t>(std::floor(scaled + 0.5));
  char digits[24];
  int count = 0;
  do {
    digits[count++] = static_cast<char>('0' + places % 10);
    places /= 10;
  } while (places != 0 || count <= decimals);
  text.clear();
  if (value < 0 && !(count == decimals + 1 && std::all_of(digits, digits + count, [](char c) { return c == '0'; }))) {
    text += '-';
  }
  for (int i = count - 1; i >= 0; --i) {
    if (i == decimals - 1) text += '.';
    text += digits[i];
  }
  return true;
}

}  // namespace

std::string FormatFixed(double value, int decimals) {
  if (!std::isfinite(value)) return DecimalText(value);
  decimals = std::clamp(decimals, 0, 30);
  if (std::string fast; TryFixedByIntegers(value, decimals, fast)) return fast;
  // The magnitude at 15 significant digits, as the runtime's formatting takes it: the integer
  // M of those digits times 10^(exponent - 14). M * 10^shift rounded to an integer, halves
  // away from zero, gives the result's digits with `decimals` places.
  constexpr int kSignificant = 15;
  char scientific[40];
  const auto printed = std::to_chars(std::begin(scientific), std::end(scientific), std::fabs(value),
                                     std::chars_format::scientific, kSignificant - 1);
  const std::string_view text(scientific, static_cast<std::size_t>(printed.ptr - scientific));
  const std::size_t ePos = text.find('e');
  int exponent = 0;
  std::from_chars(text.data() + ePos + (text[ePos + 1] == '+' ? 2 : 1), text.data() + text.size(), exponent);
  // Room for the digits, the zeros a large value gains, and the places.
  char digits[kSignificant + 330 + 32];
  int count = 0;
  for (std::size_t i = 0; i < ePos; ++i) {
    if (text[i] != '.') digits[count++] = text[i];
  }
  const int shift = exponent - (kSignificant - 1) + decimals;
  if (shift >= 0) {
    for (int i = 0; i < shift; ++i) digits[count++] = '0';
  } else if (-shift > count) {
    digits[0] = '0';
    count = 1;
  } else {
    const int keep = count + shift;
    const bool roundUp = digits[keep] >= '5';
    count = keep;
    if (roundUp) {
      int i = count - 1;
      while (i >= 0 && digits[i] == '9') digits[i--] = '0';
      if (i >= 0) {
        ++digits[i];
      } else {
        std::memmove(digits + 1, digits, static_cast<std::size_t>(count));
        digits[0] = '1';
        ++count;
      }
    }
    if (count == 0) digits[count++] = '0';
  }
  // At least one digit before the decimal mark.
  std::string result;
  result.reserve(static_cast<std::size_t>(count + decimals + 3));
  const int integerDigits = count - decimals;
  bool zero = true;
  for (int i = 0; i < count; ++i) zero = zero && digits[i] == '0';
  if (value < 0 && !zero) result += '-';
  if (integerDigits <= 0) {
    result += '0';
  } else {
    result.append(digits, static_cast<std::size_t>(integerDigits));
  }
  if (decimals > 0) {
    result += '.';
    for (int i = integerDigits; i < 0; ++i) result += '0';
    const int from = std::max(integerDigits, 0);
    result.append(digits + from, static_cast<std::size_t>(count - from));
  }
  return result;
}

std::string ShortestText(double value) {
  if (value == 0) return "0";
  std::array<char, 64> buffer{};
  const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  if (error != std::errc()) return "0";
  return std::string(buffer.data(), end);
}

}  // namespace varst
