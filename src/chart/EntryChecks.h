#pragma once
// The checked numeric entry boxes of the image size dialog: the tests a typed text must pass,
// and the value, bounds and display format each box keeps. Logic only, so that the rules are
// tested without a window.

#include <cstdint>
#include <string>
#include <string_view>

namespace varst {

// True when chkstr is a number by IsNumeric, or when it is not empty, ends in "." and becomes
// a number with a "0" appended ("12." and even a lone "." pass; the conversion decides).
[[nodiscard]] bool IsNumericExt(std::string_view chkstr);

// True when chkstr is not empty and every character is a hexadecimal digit, either case.
[[nodiscard]] bool IsHexExt(std::string_view chkstr);

inline constexpr char kDecimalFormat[] = "0";
inline constexpr char kHexFormat[] = "Hex";

// One entry box: the last accepted value, its bounds and how it is shown.
struct EntryField {
  float value = 0;
  float lower = 0;
  float upper = 0;
  std::string format = kDecimalFormat;  // kDecimalFormat or kHexFormat
};

// The text the box shows for value: the whole number (halves away from zero), or for "Hex"
// the last two digits of "00" & its hexadecimal digits.
[[nodiscard]] std::string EntryText(const EntryField& entry, float value);

// "設定値が範囲外です" & CR & lower & "～" & upper, the bounds in the entry's format (shortest
// decimal text, or two hexadecimal digits).
[[nodiscard]] std::string OutOfRangeMessage(const EntryField& entry);

enum class EntryOutcome {
  Accepted,         // entry.value holds the new value
  NotANumber,       // the text failed the test; the box shows the last accepted value again
  OutOfRange,       // message holds the out of range text; the box shows the last value again
  ConversionError,  // passed the test but did not convert; message holds why, the box keeps the text
};

struct EntryCheck {
  EntryOutcome outcome = EntryOutcome::NotANumber;
  std::string message;  // for OutOfRange and ConversionError
};

// What leaving a box (or Enter in it) does with its text: test, convert to single, check the
// bounds, and on success store the value. The window shows the message and the box text.
[[nodiscard]] EntryCheck ReadEntry(EntryField& entry, std::string_view text);

}  // namespace varst
