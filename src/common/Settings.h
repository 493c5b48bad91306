#pragma once
// The process-wide settings: every value start-up sets to its default, overlays from the
// settings file and keeps for the whole run. Start-up (app/StartUp) fills them, the settings
// file (app/SettingsFile) stores the persistent ones, and every subsystem reads them. One
// object lives for the run and is passed by reference; a test makes a fresh one in one line.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/Colour.h"

namespace varst {

inline constexpr char kApplicationTitle[] = "Varst";

// Tables of files, series and colours have this many entries (index 0..512).
inline constexpr int kTableSize = 513;

// The built-in series palette; ColorTable entry k (k = 0..511) is entry k mod 32.
inline constexpr std::array<Colour, 32> kDefaultPalette = {
    0xFF00,   0xFF,     0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFF,   0x80FF,   0xC0C0C0,
    0xC000,   0xC0,     0xC00000, 0xC000C0, 0xC0C000, 0xC0C0,   0x40C0,   0x808080,
    0x8000,   0x80,     0x800000, 0x800080, 0x808000, 0x8080,   0x4080,   0x404040,
    0xC0FFC0, 0x8080FF, 0xFF8080, 0xFF80FF, 0xFFFF80, 0x80FFFF, 0x80C0FF, 0xE0E0E0};

// BatchMode bits.
inline constexpr std::int32_t kBatchReplaceWithoutAsking = 1;
inline constexpr std::int32_t kBatchSkipSizeDialog = 2;

struct Settings {
  // The command-line items after the program path, one argv item each.
  std::vector<std::string> CommandLine;
  std::int16_t TraceWindowOn = 0;
  std::int16_t MultiCondition = 0;
  std::string StartupFiles;  // the loader's list form, or empty
  std::int32_t BatchMode = 0;
  // "/CONV": the program opens the file name conversion tool instead of the viewer.
  bool ConversionToolOnly = false;

  std::string AppDataFolder;  // holds the settings file
  std::string TempFolder;     // the default work folder
  std::string WorkFolder;     // reference files "~REF" & n
  std::string EditorPath = "notepad.exe";
  std::string ConvertPath;  // destination root of the conversion tool
  std::array<std::int16_t, 11> ConvertPrm{0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0};

  // [0] chart background, [1] frame and grid, [2] scale texts.
  std::array<Colour, 11> Grf_ColorInfo{0, kWhite, kWhite, 0, 0, 0, 0, 0, 0, 0, 0};
  std::int16_t Grf_FontSize = 1;  // legend size: 0 small, 1 medium, 2 large
  float FontScale = 1.0F;         // axis font multiplier; not stored
  // [Graf] Language: "en" shows the English interface, anything else the Japanese one. Kept
  // as read; empty when the file has none, and then it is not written.
  std::string Language;

  std::array<Colour, kTableSize> ColorTable = DefaultColorTable();
  std::int32_t ColorCount = 0;  // user colours in the settings file

  std::string BaseCaption;  // the main window caption without a busy suffix

  [[nodiscard]] static std::array<Colour, kTableSize> DefaultColorTable() {
    std::array<Colour, kTableSize> table{};
    for (int k = 0; k < kTableSize - 1; ++k) table[k] = kDefaultPalette[k % 32];
    return table;
  }

  // The settings file: AppDataFolder & "/" & "Varst.ini".
  [[nodiscard]] std::string SettingsFilePath() const {
    return AppDataFolder + "/" + kApplicationTitle + ".ini";
  }
};

}  // namespace varst
