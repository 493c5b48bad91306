#include "app/StartUp.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "app/SettingsFile.h"
#include "common/Paths.h"
#include "common/Text.h"
#include "data/DataSet.h"

namespace varst {
namespace {

// The path after "/FN", as written when it names a file, else in upper case when that does.
std::string StartupFileFromOption(const std::string& item) {
  std::string path = item.substr(3);
  if (FileExists(path)) return path + ",,";
  std::string upper = ToUpperAscii(path);
  if (FileExists(upper)) return upper + ",,";
  return {};
}

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

}  // namespace

void ReadCommandLine(const std::vector<std::string>& items, Settings& settings, std::size_t optionItems) {
  settings.CommandLine = items;
  settings.BatchMode = 0;
  settings.TraceWindowOn = 0;
  settings.MultiCondition = 0;
  settings.StartupFiles.clear();
  settings.ConversionToolOnly = false;
  const std::size_t scanned = std::min({items.size(), static_cast<std::size_t>(kMaxOptionItems), optionItems});
  for (std::size_t i = 0; i < scanned; ++i) {
    const std::string& item = items[i];
    if (item.size() <= 1) continue;
    const std::string upper = ToUpperAscii(item);
    if (upper == "/DEB") {
      settings.TraceWindowOn = 1;
    } else if (upper == "/MULTI") {
      settings.MultiCondition = 1;
    } else if (upper == "/CONV") {
      settings.ConversionToolOnly = true;
    } else if (StartsWith(upper, "/FN")) {
      settings.StartupFiles = StartupFileFromOption(item);
    }
  }
}

void PrepareStartUp(const std::vector<std::string>& items, const StartEnvironment& environment,
                    Settings& settings, DataSet& dataSet, std::size_t optionItems) {
  ReadCommandLine(items, settings, optionItems);
  settings.AppDataFolder = environment.appData + "/" + kApplicationTitle;
  settings.TempFolder = environment.temp + "/" + kApplicationTitle;
  // The settings file lives in the per-user folder; its parent may be missing on a new
  // account (~/.config), so the whole chain is made.
  MakeFolderTree(settings.AppDataFolder);

  settings.Grf_ColorInfo[0] = kBlack;
  settings.Grf_ColorInfo[1] = kWhite;
  settings.Grf_ColorInfo[2] = kWhite;
  settings.Grf_FontSize = 1;
  settings.FontScale = 1.0F;
  settings.EditorPath = "notepad.exe";
  settings.WorkFolder = settings.TempFolder;
  settings.ConvertPath = environment.programFolder;
  settings.ConvertPrm = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0};
  settings.ColorCount = 0;
  settings.ColorTable = Settings::DefaultColorTable();

  LoadSettings(settings);
  dataSet.SeriesColorSel.fill(kNoColour);
  ResetDataSet(dataSet);
  MakeFolderTree(settings.WorkFolder);
}

StartEnvironment CurrentEnvironment(const std::string& programPath) {
  StartEnvironment environment;
  const std::string home = Variable("HOME");
  environment.appData = Variable("APPDATA");
  if (environment.appData.empty()) {
    const std::string configHome = Variable("XDG_CONFIG_HOME");
    environment.appData = !configHome.empty() ? configHome : home + "/.config";
  }
  environment.temp = Variable("TEMP");
  if (environment.temp.empty()) environment.temp = Variable("TMPDIR");
  if (environment.temp.empty()) environment.temp = "/tmp";
  std::error_code error;
  std::filesystem::path program = std::filesystem::canonical("/proc/self/exe", error);
  if (error) program = std::filesystem::absolute(programPath, error);
  environment.programFolder = program.parent_path().string();
  return environment;
}

}  // namespace varst
