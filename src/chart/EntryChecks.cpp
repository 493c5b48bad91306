#include "chart/EntryChecks.h"

#include <cmath>
#include <limits>

#include "common/Numbers.h"

namespace varst {
namespace {

// The runtime's descriptions of the two ways a checked text can still fail to convert.
constexpr char kTypeMismatch[] = "型が一致しません。";
constexpr char kOverflow[] = "オーバーフローしました。";

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return c - 'A' + 10;
}

std::string TwoHexDigits(double value) {
  const std::string digits = "00" + HexText(value);
  return digits.substr(digits.size() - 2);
}

std::string BoundText(const EntryField& entry, float bound) {
  return entry.format == kHexFormat ? TwoHexDigits(bound) : DecimalTextSingle(bound);
}

// The text as a single-precision value, or the description of why it is none.
bool ConvertEntry(const EntryField& entry, std::string_view text, float& value, std::string& error) {
  double real = 0;
  if (entry.format == kHexFormat) {
    // A hexadecimal literal holds at most 32 bits.
    if (text.size() > 8) {
      error = kOverflow;
      return false;
    }
    for (const char c : text) real = real * 16 + HexDigitValue(c);
  } else if (!TryParseDouble(text, real)) {
    // The test let it through, so it is either all marks and no digit, or too large.
    error = IsNumeric(text) ? kOverflow : kTypeMismatch;
    return false;
  }
  if (std::fabs(real) > static_cast<double>(std::numeric_limits<float>::max())) {
    error = kOverflow;
    return false;
  }
  value = static_cast<float>(real);
  return true;
}

}  // namespace

bool IsNumericExt(std::string_view chkstr) {
  if (IsNumeric(chkstr)) return true;
  if (chkstr.empty() || chkstr.back() != '.') return false;
  return IsNumeric(std::string(chkstr) + "0");
}

bool IsHexExt(std::string_view chkstr) {
  if (chkstr.empty()) return false;
  for (const char c : chkstr) {
    if (!IsHexDigit(c)) return false;
  }
  return true;
}

std::string EntryText(const EntryField& entry, float value) {
  if (entry.format == kHexFormat) return TwoHexDigits(value);
  return FormatFixed(value, 0);
}

std::string OutOfRangeMessage(const EntryField& entry) {
  return std::string("設定値が範囲外です") + "\r" + BoundText(entry, entry.lower) + "～" +
         BoundText(entry, entry.upper);
}

EntryCheck ReadEntry(EntryField& entry, std::string_view text) {
  const bool hex = entry.format == kHexFormat;
  if (!(hex ? IsHexExt(text) : IsNumericExt(text))) return {EntryOutcome::NotANumber, {}};
  float value = 0;
  std::string error;
  if (!ConvertEntry(entry, text, value, error)) return {EntryOutcome::ConversionError, error};
  if (value < entry.lower || value > entry.upper) return {EntryOutcome::OutOfRange, OutOfRangeMessage(entry)};
  entry.value = value;
  return {EntryOutcome::Accepted, {}};
}

}  // namespace varst
