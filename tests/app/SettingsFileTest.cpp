#include "app/SettingsFile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/ProfileFile.h"
#include "support/TempDir.h"

namespace varst {
namespace {

using test::ReadFileBytes;
using test::TempDir;

// The file SaveSettings writes for the built-in defaults, in its key order.
std::string DefaultsFile(const std::string& workFolder, const std::string& convertPath) {
  return "[Graf]\nGrf_ColorInfo0=0\nGrf_ColorInfo1=16777215\nGrf_ColorInfo2=16777215\nGrf_FontSize=1\n"
         "[Editor]\nEditor=notepad.exe\n[Path]\ntemp=" + workFolder + "\n[FileNameUTY]\nConvertPath=" + convertPath +
         "\nprm0=0\nprm1=0\nprm2=2\nprm3=0\nprm4=0\nprm5=0\nprm6=0\nprm7=0\nprm8=0\nprm9=0\nprm10=0\n"
         "[ColorSetting]\ncount=0\ncolor0=65280\ncolor1=255\ncolor2=16711680\ncolor3=16711935\ncolor4=16776960\n"
         "color5=65535\ncolor6=33023\ncolor7=12632256\ncolor8=49152\ncolor9=192\n";
}

TEST(SettingsFile, DefaultsWrittenInKeyOrderWithTenSampleColours) {
  TempDir dir;
  Settings settings;
  settings.WorkFolder = "/tmp/Varst";
  settings.ConvertPath = "/opt/varst";
  ASSERT_TRUE(SaveSettings(settings, dir.File("Varst.ini")));
  EXPECT_EQ(ReadFileBytes(dir.File("Varst.ini")), DefaultsFile("/tmp/Varst", "/opt/varst"));
}

TEST(SettingsFile, RoundTripOfEveryStoredValue) {
  TempDir dir;
  Settings saved;
  saved.Grf_ColorInfo = {0x102030, 0x405060, 0x708090};
  saved.Grf_FontSize = 2;
  saved.EditorPath = "/usr/bin/gedit";
  saved.WorkFolder = "/work dir";
  saved.ConvertPath = "/conv";
  for (int j = 0; j <= 10; ++j) saved.ConvertPrm[static_cast<std::size_t>(j)] = static_cast<std::int16_t>(j * 3);
  saved.ColorCount = 2;
  saved.ColorTable[0] = 0x123456;
  saved.ColorTable[1] = 0x654321;
  saved.FontScale = 1.5F;
  ASSERT_TRUE(SaveSettings(saved, dir.File("s.ini")));

  Settings loaded;
  LoadSettings(loaded, dir.File("s.ini"));
  EXPECT_EQ(loaded.Grf_ColorInfo[0], 0x102030);
  EXPECT_EQ(loaded.Grf_ColorInfo[2], 0x708090);
  EXPECT_EQ(loaded.Grf_FontSize, 2);
  EXPECT_EQ(loaded.EditorPath, "/usr/bin/gedit");
  EXPECT_EQ(loaded.WorkFolder, "/work dir");
  EXPECT_EQ(loaded.ConvertPath, "/conv");
  EXPECT_EQ(loaded.ConvertPrm, saved.ConvertPrm);
  EXPECT_EQ(loaded.ColorCount, 2);
  EXPECT_EQ(loaded.ColorTable[1], 0x654321);
  EXPECT_EQ(loaded.FontScale, 1.0F) << "the axis font multiplier is not stored";
}

TEST(SettingsFile, ColourForms) {
  TempDir dir;
  const std::string file = dir.Write("c.ini",
                                     "[ColorSetting]\ncount=6\ncolor0=&HFF\ncolor1=0x00FF00\ncolor2=255\n"
                                     "color3=0\ncolor4=&H0\ncolor5=\n");
  Settings settings;
  LoadSettings(settings, file);
  EXPECT_EQ(settings.ColorTable[0], 255);
  EXPECT_EQ(settings.ColorTable[1], 65280);
  EXPECT_EQ(settings.ColorTable[2], 255);
  EXPECT_EQ(settings.ColorTable[3], 1) << "a decimal zero is stored as 1";
  EXPECT_EQ(settings.ColorTable[4], 0) << "a hexadecimal zero stays 0";
  EXPECT_EQ(settings.ColorTable[5], kDefaultPalette[5]) << "an empty colour keeps the palette";
  EXPECT_EQ(settings.ColorTable[6], kDefaultPalette[6]) << "beyond count nothing is read";
}

TEST(SettingsFile, ColoursAreWrittenBackInDecimal) {
  TempDir dir;
  const std::string file = dir.Write("c.ini", "[ColorSetting]\ncount=1\ncolor0= &hff \n");
  Settings settings;
  LoadSettings(settings, file);
  ASSERT_TRUE(SaveSettings(settings, file));
  EXPECT_EQ(ReadProfileText(file, "ColorSetting", "color0"), "255");
  EXPECT_EQ(ReadProfileText(file, "ColorSetting", "color1"), "") << "count=1 writes one colour";
}

TEST(SettingsFile, BadValuesKeepTheDefaults) {
  TempDir dir;
  const std::string file = dir.Write("bad.ini",
                                     "[Graf]\nGrf_ColorInfo0=black\nGrf_FontSize=99999\n"
                                     "[FileNameUTY]\nprm2=two\nprm3=1.5\n"
                                     "[ColorSetting]\ncount=zz\ncolor0=1\n");
  Settings settings;
  LoadSettings(settings, file);
  EXPECT_EQ(settings.Grf_ColorInfo[0], 0);
  EXPECT_EQ(settings.Grf_FontSize, 1) << "beyond 16 bits";
  EXPECT_EQ(settings.ConvertPrm[2], 2);
  EXPECT_EQ(settings.ConvertPrm[3], 2) << "1.5 rounds half to even";
  EXPECT_EQ(settings.ColorCount, 0);
  EXPECT_EQ(settings.ColorTable[0], kDefaultPalette[0]);
}

TEST(SettingsFile, ColourCountIsBoundedByTheTable) {
  TempDir dir;
  const std::string file = dir.Write("many.ini", "[ColorSetting]\ncount=100000\ncolor512=7\ncolor513=9\n");
  Settings settings;
  LoadSettings(settings, file);
  EXPECT_EQ(settings.ColorCount, 513);
  EXPECT_EQ(settings.ColorTable[512], 7);
}

// A count below zero reads no colours, and saving must not put the sample colours over the
// colours the user keeps in the file.
TEST(SettingsFile, NegativeColourCountKeepsTheStoredColours) {
  TempDir dir;
  const std::string file = dir.Write("neg.ini", "[ColorSetting]\ncount=-5\ncolor0=&H123456\ncolor1=42\n");
  Settings settings;
  LoadSettings(settings, file);
  EXPECT_EQ(settings.ColorTable[0], kDefaultPalette[0]);
  ASSERT_TRUE(SaveSettings(settings, file));
  EXPECT_EQ(ReadProfileText(file, "ColorSetting", "count"), "-5");
  EXPECT_EQ(ReadProfileText(file, "ColorSetting", "color0"), "&H123456");
  EXPECT_EQ(ReadProfileText(file, "ColorSetting", "color1"), "42");
  EXPECT_EQ(ReadProfileText(file, "ColorSetting", "color2"), "") << "no sample colours added";
}

TEST(SettingsFile, EditorValue) {
  TempDir dir;
  Settings settings;
  LoadSettings(settings, dir.Write("e.ini", "[Editor]\nEditor=vim\n"));
  EXPECT_EQ(settings.EditorPath, "vim");
  settings.EditorPath = "notepad.exe";
  LoadSettings(settings, dir.Write("f.ini", "[Editor]\nEditor=\n"));
  EXPECT_EQ(settings.EditorPath, "notepad.exe");
}

TEST(SettingsFile, SaveKeepsLinesItDoesNotOwn) {
  TempDir dir;
  const std::string file = dir.Write("k.ini", "; notes\n[Custom]\nmine=1\n");
  ASSERT_TRUE(SaveSettings(Settings(), file));
  EXPECT_EQ(ReadProfileText(file, "Custom", "mine"), "1");
  EXPECT_EQ(ReadFileBytes(file).rfind("; notes\n", 0), 0U);
}

TEST(SettingsFile, LanguageIsWrittenBackOnlyWhenTheFileChoseOne) {
  TempDir dir;
  const std::string file = dir.Write("l.ini", "[Graf]\nLanguage=en\nGrf_FontSize=2\n");
  Settings settings;
  LoadSettings(settings, file);
  EXPECT_EQ(settings.Language, "en");
  ASSERT_TRUE(SaveSettings(settings, file));
  EXPECT_EQ(ReadFileBytes(file).rfind("[Graf]\nLanguage=en\nGrf_FontSize=2\n", 0), 0U) << "kept in its place";
  // No key, no choice: the file gets none (the defaults test pins the whole file).
  Settings none;
  LoadSettings(none, dir.Write("n.ini", "[Graf]\nGrf_FontSize=2\n"));
  EXPECT_EQ(none.Language, "");
}

TEST(SettingsFile, AFailedSaveLeavesTheOldFile) {
  TempDir dir;
  const std::string file = dir.Write("k.ini", "[Graf]\nGrf_FontSize=2\n");
  {
    ScopedWriteFault fault([](WriteStep step, const std::string&) { return step == WriteStep::Write; });
    EXPECT_FALSE(SaveSettings(Settings(), file));
  }
  EXPECT_EQ(ReadFileBytes(file), "[Graf]\nGrf_FontSize=2\n");
}

// A Varst.ini kept elsewhere (a repository of dot-files) and linked into place: saving updates
// the file the link points to and the link stays a link.
TEST(SettingsFile, SavingThroughALinkWritesTheLinkedFile) {
  namespace fs = std::filesystem;
  const struct {
    const char* name;
    std::vector<std::pair<std::string, std::string>> links;  // link, what it points to
  } rows[] = {
      {"relative link", {{"appdata/Varst.ini", "../dots/Varst.ini"}}},
      {"absolute link", {{"appdata/Varst.ini", "@/dots/Varst.ini"}}},
      {"chain of two links", {{"appdata/Varst.ini", "hop.ini"}, {"appdata/hop.ini", "../dots/Varst.ini"}}},
  };
  for (const auto& row : rows) {
    TempDir dir;
    const std::string real = dir.Write("dots/Varst.ini", "; mine\n[Editor]\nEditor=vi\n");
    fs::create_directories(dir.File("appdata"));
    for (const auto& [link, to] : row.links) {
      fs::create_symlink(to[0] == '@' ? dir.Path() + to.substr(1) : to, dir.File(link));
    }
    Settings settings;
    settings.EditorPath = "emacs";
    ASSERT_TRUE(SaveSettings(settings, dir.File("appdata/Varst.ini"))) << row.name;
    for (const auto& [link, to] : row.links) EXPECT_TRUE(fs::is_symlink(dir.File(link))) << row.name;
    EXPECT_EQ(ReadProfileText(real, "Editor", "Editor"), "emacs") << row.name;
    EXPECT_EQ(ReadFileBytes(real).rfind("; mine\n", 0), 0U) << row.name;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.File("dots")), fs::directory_iterator()), 1) << row.name;
  }
}

TEST(SettingsFile, SampleFileFromTheField) {
  TempDir dir;
  const std::string file = dir.Write("Varst.ini",
                                     "[Graf]\r\nGrf_ColorInfo0=0\r\nGrf_ColorInfo1=16777215\r\nGrf_ColorInfo2=16777215\r\n"
                                     "Grf_FontSize=1\r\n[Editor]\r\nEditor=notepad.exe\r\n[ColorSetting]\r\ncount=3\r\n"
                                     "color0=&HFF\r\ncolor1=0x00FF00\r\ncolor2=255\r\n");
  Settings settings;
  LoadSettings(settings, file);
  EXPECT_EQ(settings.ColorCount, 3);
  EXPECT_EQ(settings.ColorTable[0], 255);
  EXPECT_EQ(settings.ColorTable[1], 65280);
  EXPECT_EQ(settings.ColorTable[2], 255);
}

}  // namespace
}  // namespace varst
