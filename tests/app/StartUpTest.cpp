#include "app/StartUp.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/SettingsFile.h"
#include "common/Paths.h"
#include "data/DataSet.h"
#include "support/TempDir.h"

namespace varst {
namespace {

using test::TempDir;

StartEnvironment EnvironmentIn(const TempDir& dir) {
  return {dir.File("appdata"), dir.File("temp"), "/opt/varst"};
}

TEST(StartUp, MakesThePerUserFoldersAndSetsEveryDefault) {
  TempDir dir;
  Settings settings;
  settings.EditorPath = "changed";
  DataSet dataSet;
  dataSet.Grf_Hist_Ptr = 3;
  dataSet.SeriesColorSel[5] = 9;
  PrepareStartUp({}, EnvironmentIn(dir), settings, dataSet);
  EXPECT_EQ(settings.AppDataFolder, dir.File("appdata/Varst"));
  EXPECT_EQ(settings.TempFolder, dir.File("temp/Varst"));
  EXPECT_EQ(settings.WorkFolder, settings.TempFolder);
  EXPECT_TRUE(FolderExists(settings.AppDataFolder));
  EXPECT_TRUE(FolderExists(settings.WorkFolder));
  EXPECT_EQ(settings.EditorPath, "notepad.exe");
  EXPECT_EQ(settings.ConvertPath, "/opt/varst");
  EXPECT_EQ(settings.ConvertPrm[2], 2);
  EXPECT_EQ(settings.Grf_ColorInfo[1], 0xFFFFFF);
  EXPECT_EQ(settings.ColorTable[0], 0xFF00);
  EXPECT_EQ(settings.ColorTable[32], 0xFF00) << "the palette repeats";
  EXPECT_EQ(settings.ColorTable[511], 0xE0E0E0);
  EXPECT_EQ(settings.ColorTable[512], 0);
  EXPECT_EQ(dataSet.Grf_Hist_Ptr, 0);
  EXPECT_EQ(dataSet.TimeModeFlag, -1);
  EXPECT_EQ(dataSet.SeriesColorSel[5], -1);
}

TEST(StartUp, StoredValuesReplaceTheDefaultsAndTheWorkFolderIsMade) {
  TempDir dir;
  const std::string work = dir.File("my work");
  dir.Write("appdata/Varst/Varst.ini", "[Path]\ntemp=" + work + "\n[Graf]\nGrf_FontSize=0\n");
  Settings settings;
  DataSet dataSet;
  PrepareStartUp({}, EnvironmentIn(dir), settings, dataSet);
  EXPECT_EQ(settings.WorkFolder, work);
  EXPECT_EQ(settings.Grf_FontSize, 0);
  EXPECT_TRUE(FolderExists(work));
}

TEST(CommandLine, OptionsInAnyLetterCase) {
  Settings settings;
  ReadCommandLine({"/deb", "/Multi", "x"}, settings);
  EXPECT_EQ(settings.TraceWindowOn, 1);
  EXPECT_EQ(settings.MultiCondition, 1);
  EXPECT_EQ(settings.CommandLine.size(), 3U);
  ReadCommandLine({"/", "a"}, settings);
  EXPECT_EQ(settings.TraceWindowOn, 0) << "every start begins from zero";
}

TEST(CommandLine, FnNamesTheStartupFile) {
  TempDir dir;
  const std::string file = dir.Write("Data.dat", "x");
  Settings settings;
  ReadCommandLine({"/FN" + file}, settings);
  EXPECT_EQ(settings.StartupFiles, file + ",,") << "the path as written names the file";
  ReadCommandLine({"/fn" + dir.File("missing.dat")}, settings);
  EXPECT_EQ(settings.StartupFiles, "");
  // Relative to the current folder, so that the upper-case form names a file.
  dir.Write("UP.DAT", "x");
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir.Path());
  ReadCommandLine({"/FNup.dat"}, settings);
  std::filesystem::current_path(previous);
  EXPECT_EQ(settings.StartupFiles, "UP.DAT,,") << "the upper-case form is tried next";
  ReadCommandLine({"/FN" + file, "/FN" + dir.File("missing")}, settings);
  EXPECT_EQ(settings.StartupFiles, "") << "a later /FN replaces an earlier one";
}

TEST(CommandLine, OnlyTheFirst33ItemsAreScanned) {
  std::vector<std::string> items(33, "file");
  items.push_back("/DEB");
  Settings settings;
  ReadCommandLine(items, settings);
  EXPECT_EQ(settings.TraceWindowOn, 0);
  EXPECT_EQ(settings.CommandLine.size(), 34U);
  items[32] = "/DEB";
  ReadCommandLine(items, settings);
  EXPECT_EQ(settings.TraceWindowOn, 1);
}

TEST(CommandLine, ItemsAfterTheEndOfOptionsAreFiles) {
  Settings settings;
  // The window was started as: varst /MULTI -- /DEB /CONV
  ReadCommandLine({"/MULTI", "/DEB", "/CONV"}, settings, 1);
  EXPECT_EQ(settings.MultiCondition, 1);
  EXPECT_EQ(settings.TraceWindowOn, 0);
  EXPECT_FALSE(settings.ConversionToolOnly);
  EXPECT_EQ(settings.CommandLine.size(), 3U) << "they stay on the command line as files";
}

}  // namespace
}  // namespace varst
