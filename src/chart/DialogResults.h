#pragma once
// What the chart option dialogs report to the window that opened them. One object lives with
// the window for the run; the dialogs write it, the window reads it after each one closes.
// A dialog closed by its window's close box leaves both values as they were.

#include <cstdint>

namespace varst {

// DialogResult values.
inline constexpr std::int32_t kDialogOk = 1;
inline constexpr std::int32_t kDialogCancel = -1;

// SettingsChanged bits.
inline constexpr std::int32_t kSettingsAccepted = 1;     // Setting ended with OK
inline constexpr std::int32_t kLineColoursChanged = 2;  // the last line colour step ended with OK

struct DialogResults {
  // The last option dialog's button: kDialogOk or kDialogCancel.
  std::int32_t DialogResult = 0;
  // Non-zero: the window applies the chart settings and redraws. Setting does not reset it
  // when it opens; its OK and cancel overwrite it.
  std::int32_t SettingsChanged = 0;
};

}  // namespace varst
