#include "app/SettingsFile.h"

#include <algorithm>
#include <limits>
#include <cstdint>

#include "common/Numbers.h"
#include "common/ProfileFile.h"
#include "common/Text.h"

namespace varst {
namespace {

constexpr char kGraf[] = "Graf";
constexpr char kEditor[] = "Editor";
constexpr char kPath[] = "Path";
constexpr char kFileNameUty[] = "FileNameUTY";
constexpr char kColorSetting[] = "ColorSetting";

std::string Numbered(const char* stem, int index) { return stem + std::to_string(index); }

// The stored text, or the default text when the key is missing or empty.
std::string Read(const ProfileFile& profile, const char* section, const std::string& key,
                 const std::string& defaultText) {
  std::string value = profile.Value(section, key).value_or(std::string());
  return value.empty() ? defaultText : value;
}

template <typename Int>
void ReadInteger(const ProfileFile& profile, const char* section, const std::string& key, Int& variable) {
  const std::string text = Read(profile, section, key, DecimalText(static_cast<std::int64_t>(variable)));
  std::int32_t value = 0;
  if (!TryParseInt32(text, value)) return;
  if (value < std::numeric_limits<Int>::min() || value > std::numeric_limits<Int>::max()) return;
  variable = static_cast<Int>(value);
}

bool ParseHexDigits(std::string_view digits, Colour& colour) {
  if (digits.empty() || digits.size() > 8) return false;
  std::uint32_t value = 0;
  for (char c : digits) {
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit < 0) return false;
    value = value * 16 + static_cast<std::uint32_t>(digit);
  }
  colour = static_cast<Colour>(value);  // eight digits wrap into the sign, as the runtime's &H does
  return true;
}

}  // namespace

bool ParseSettingsColour(const std::string& text, Colour& colour) {
  const std::string upper = ToUpperAscii(Trim(text));
  if (StartsWith(upper, "&H")) return ParseHexDigits(std::string_view(upper).substr(2), colour);
  if (StartsWith(upper, "0X")) return ParseHexDigits(std::string_view(upper).substr(2), colour);
  std::int32_t value = 0;
  if (!TryParseInt32(upper, value)) return false;
  colour = value == 0 ? 1 : value;
  return true;
}

void LoadSettings(Settings& settings, const std::string& file) {
  ProfileFile profile(file);
  profile.Load();
  for (int i = 0; i < 3; ++i) {
    ReadInteger(profile, kGraf, Numbered("Grf_ColorInfo", i), settings.Grf_ColorInfo[static_cast<std::size_t>(i)]);
  }
  ReadInteger(profile, kGraf, "Grf_FontSize", settings.Grf_FontSize);
  settings.Language = Read(profile, kGraf, "Language", settings.Language);
  settings.EditorPath = Read(profile, kEditor, "Editor", settings.EditorPath);
  settings.WorkFolder = Read(profile, kPath, "temp", settings.WorkFolder);
  settings.ConvertPath = Read(profile, kFileNameUty, "ConvertPath", settings.ConvertPath);
  for (int j = 0; j <= 10; ++j) {
    ReadInteger(profile, kFileNameUty, Numbered("prm", j), settings.ConvertPrm[static_cast<std::size_t>(j)]);
  }
  ReadInteger(profile, kColorSetting, "count", settings.ColorCount);
  // A negative count reads no colours and is kept as it is, so that saving leaves the stored
  // colours alone.
  settings.ColorCount = std::min(settings.ColorCount, kTableSize);
  for (int l = 0; l < settings.ColorCount; ++l) {
    Colour& entry = settings.ColorTable[static_cast<std::size_t>(l)];
    const std::string text = Read(profile, kColorSetting, Numbered("color", l), DecimalText(entry));
    if (Trim(text).empty()) continue;
    Colour colour = 0;
    if (ParseSettingsColour(text, colour)) entry = colour;
  }
}

WriteResult SaveSettings(const Settings& settings, const std::string& file) {
  ProfileFile profile(file);
  profile.Load();
  for (int i = 0; i < 3; ++i) {
    profile.SetValue(kGraf, Numbered("Grf_ColorInfo", i), DecimalText(settings.Grf_ColorInfo[static_cast<std::size_t>(i)]));
  }
  profile.SetValue(kGraf, "Grf_FontSize", DecimalText(settings.Grf_FontSize));
  // Only a file that chose a language carries the key; every other file stays as it was.
  if (!settings.Language.empty()) profile.SetValue(kGraf, "Language", settings.Language);
  profile.SetValue(kEditor, "Editor", settings.EditorPath);
  profile.SetValue(kPath, "temp", settings.WorkFolder);
  profile.SetValue(kFileNameUty, "ConvertPath", settings.ConvertPath);
  for (int j = 0; j <= 10; ++j) {
    profile.SetValue(kFileNameUty, Numbered("prm", j), DecimalText(settings.ConvertPrm[static_cast<std::size_t>(j)]));
  }
  profile.SetValue(kColorSetting, "count", DecimalText(settings.ColorCount));
  // A negative count (written by hand) names no colours: the colour keys stay as stored.
  const int written = settings.ColorCount < 0    ? 0
                      : settings.ColorCount == 0 ? 10
                                                 : std::min(settings.ColorCount, kTableSize);
  for (int l = 0; l < written; ++l) {
    profile.SetValue(kColorSetting, Numbered("color", l), DecimalText(settings.ColorTable[static_cast<std::size_t>(l)]));
  }
  return profile.Save();
}

}  // namespace varst
