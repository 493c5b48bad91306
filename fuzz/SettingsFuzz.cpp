// The settings file over any bytes: the profile layer reads it, a value written is read back
// as written, and the settings read from it survive being saved and read again.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "FuzzSupport.h"
#include "app/SettingsFile.h"
#include "common/ProfileFile.h"

using namespace varst;

namespace {

// Colours are written back in decimal, and a decimal 0 reads as 1: a colour read as "&H0"
// comes back as 1.
bool SameColours(const Settings& a, const Settings& b) {
  for (std::size_t i = 0; i < a.ColorTable.size(); ++i) {
    const Colour expected = a.ColorTable[i] == 0 && static_cast<int>(i) < a.ColorCount ? 1 : a.ColorTable[i];
    if (b.ColorTable[i] != expected) return false;
  }
  return true;
}

bool SameStoredSettings(const Settings& a, const Settings& b) {
  return a.Grf_ColorInfo[0] == b.Grf_ColorInfo[0] && a.Grf_ColorInfo[1] == b.Grf_ColorInfo[1] &&
         a.Grf_ColorInfo[2] == b.Grf_ColorInfo[2] && a.Grf_FontSize == b.Grf_FontSize &&
         a.EditorPath == b.EditorPath && a.WorkFolder == b.WorkFolder && a.ConvertPath == b.ConvertPath &&
         a.ConvertPrm == b.ConvertPrm && a.ColorCount == b.ColorCount && SameColours(a, b);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string file = fuzz::WriteFile("Varst.ini", data, size);

  ProfileFile profile(file);
  profile.Load();
  static_cast<void>(profile.Value("Graf", "Grf_FontSize"));
  profile.SetValue("Editor", "Editor", "/usr/bin/editor");
  fuzz::Require(profile.Value("editor", "EDITOR") == std::optional<std::string>("/usr/bin/editor"),
                "a value written is read back");
  static_cast<void>(profile.Text());

  Settings loaded;
  LoadSettings(loaded, file);
  // A negative count is kept as stored (it writes no colours); a larger one is cut to the table.
  fuzz::Require(loaded.ColorCount <= kTableSize, "the colour count fits the table");
  const std::string saved = fuzz::WriteFile("Saved.ini", "");
  fuzz::Require(SaveSettings(loaded, saved).ok, "the settings are saved");
  Settings again;
  LoadSettings(again, saved);
  fuzz::Require(SameStoredSettings(loaded, again), "saved settings read back the same");
  return 0;
}
