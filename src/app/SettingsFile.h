#pragma once
// The per-user settings file: LoadSettings overlays the stored values on the defaults at
// start; SaveSettings writes every key back when a window that owns settings closes.

#include <string>

#include "common/FileWrite.h"
#include "common/Settings.h"

namespace varst {

// Reads every key into its variable; a missing file or key, an empty value or a value that is
// not a number keeps the current value.
void LoadSettings(Settings& settings, const std::string& file);
inline void LoadSettings(Settings& settings) { LoadSettings(settings, settings.SettingsFilePath()); }

// Writes every key, in the fixed order, from its variable; other lines of the file stay.
WriteResult SaveSettings(const Settings& settings, const std::string& file);
inline WriteResult SaveSettings(const Settings& settings) {
  return SaveSettings(settings, settings.SettingsFilePath());
}

// A colour as the settings file may hold it: "&H" and hexadecimal digits, "0X" and
// hexadecimal digits, or a decimal number, where a decimal 0 reads as 1. Blanks around the
// text and letter case do not matter. False when the text is none of these.
[[nodiscard]] bool ParseSettingsColour(const std::string& text, Colour& colour);

}  // namespace varst
