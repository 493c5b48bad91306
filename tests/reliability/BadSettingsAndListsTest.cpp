// The other files the program reads from outside: the settings file, the plain file list and
// the batch list, and names that are not regular files at all. Odd content gives defaults or
// "not a list", soon; nothing blocks.

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "app/HeadlessSession.h"
#include "app/SettingsFile.h"
#include "common/Paths.h"
#include "data/DataFileList.h"
#include "data/LoadFiles.h"
#include "reliability/TimeBound.h"
#include "support/SessionFixture.h"
#include "viewer/FileListBatch.h"

namespace varst {
namespace {

using test::TempDir;
using test::WithinSeconds;

// A hang guard, not a speed target: generous enough for a sanitizer build on a busy machine,
// far below what a hang or a quadratic pass over these inputs takes.
constexpr double kBound = 60;

std::string Garbage(std::size_t size, std::uint32_t seed) {
  std::string bytes(size, '\0');
  for (char& c : bytes) {
    seed = seed * 1103515245U + 12345U;
    c = static_cast<char>(seed >> 24);
  }
  return bytes;
}

TEST(BadSettings, OddValuesGiveDefaultsOrTheirBoundedValue) {
  const Settings defaults;
  const struct {
    const char* name;
    std::string text;
    std::function<void(const Settings&)> check;
  } rows[] = {
      {"binary garbage", Garbage(64 * 1024, 7), [&](const Settings& s) {
         EXPECT_EQ(s.Grf_ColorInfo, defaults.Grf_ColorInfo);
         EXPECT_EQ(s.EditorPath, defaults.EditorPath);
         EXPECT_EQ(s.ColorCount, 0);
       }},
      {"huge and negative numbers",
       "[Graf]\nGrf_ColorInfo0=-1\nGrf_ColorInfo1=99999999999999999999\nGrf_FontSize=-3\n"
       "[FileNameUTY]\nprm0=-1\nprm1=99999\nprm2=-32768\n[ColorSetting]\ncount=2147483647\n",
       [&](const Settings& s) {
         EXPECT_EQ(s.Grf_ColorInfo[0], -1);
         EXPECT_EQ(s.Grf_ColorInfo[1], defaults.Grf_ColorInfo[1]) << "beyond 32 bits: the default";
         EXPECT_EQ(s.Grf_FontSize, -3);
         EXPECT_EQ(s.ConvertPrm[0], -1);
         EXPECT_EQ(s.ConvertPrm[1], 0) << "beyond 16 bits: the default";
         EXPECT_EQ(s.ConvertPrm[2], -32768);
         EXPECT_EQ(s.ColorCount, kTableSize);
       }},
      {"colours of eight and nine hex digits",
       "[ColorSetting]\ncount=3\ncolor0=&HFFFFFFFF\ncolor1=0x1FFFFFFFF\ncolor2=&H\n", [&](const Settings& s) {
         EXPECT_EQ(s.ColorTable[0], -1);
         EXPECT_EQ(s.ColorTable[1], defaults.ColorTable[1]);
         EXPECT_EQ(s.ColorTable[2], defaults.ColorTable[2]);
       }},
      {"a 10 MB value", "[Editor]\nEditor=" + std::string(10 << 20, 'e') + "\n[Path]\ntemp=/w\n",
       [&](const Settings& s) {
         EXPECT_EQ(s.EditorPath, std::string(2047, 'e'));
         EXPECT_EQ(s.WorkFolder, "/w");
       }},
      {"a 10 MB line without an equals sign", "[Editor]\n" + std::string(10 << 20, 'k') + "\nEditor=vi\n",
       [&](const Settings& s) { EXPECT_EQ(s.EditorPath, "vi"); }},
      {"NUL inside a value and CR-only line ends", std::string("[Editor]\rEditor=vi") + '\0' + "m\r[Path]\rtemp=/w\r",
       [&](const Settings& s) {
         EXPECT_EQ(s.EditorPath, "vi");
         EXPECT_EQ(s.WorkFolder, "/w");
       }},
      {"a million short lines before the colours",
       [] {
         std::string text = "[ColorSetting]\ncount=513\n";
         for (int i = 0; i < 1000000; ++i) text += "x=1\n";
         return text + "color512=7\n";
       }(),
       [&](const Settings& s) {
         EXPECT_EQ(s.ColorCount, kTableSize);
         EXPECT_EQ(s.ColorTable[512], 7);
       }},
  };
  for (const auto& row : rows) {
    TempDir dir;
    const std::string file = dir.Write("Varst.ini", row.text);
    Settings settings;
    WithinSeconds(kBound, row.name, [&] { LoadSettings(settings, file); });
    row.check(settings);
  }
}

// Saving into a long file adds each missing key after the last key of its section, in the
// order written, and keeps every other line, without a scan of the file per key.
TEST(BadSettings, AHugeFileSavesSoonAndKeepsItsLines) {
  std::string filler;
  for (int i = 0; i < 300000; ++i) filler += "x" + std::to_string(i) + "=1\n";
  TempDir dir;
  const std::string file = dir.Write("Varst.ini", "[ColorSetting]\ncount=2\n; note\n\n[Other]\n" + filler);
  Settings settings;
  WithinSeconds(kBound, "load and save a huge file", [&] {
    LoadSettings(settings, file);
    ASSERT_TRUE(SaveSettings(settings, file).ok);
  });
  const std::string text = test::ReadFileBytes(file);
  EXPECT_EQ(text.find("[ColorSetting]\ncount=2\ncolor0=65280\ncolor1=255\n; note\n\n[Other]\nx0=1\n"), 0U);
  EXPECT_NE(text.find("x299999=1\n[Graf]\nGrf_ColorInfo0=0\n"), std::string::npos);
}

// What was read from any file is saved and read back as the same settings.
TEST(BadSettings, SavedSettingsReadBackTheSame) {
  const struct {
    const char* name;
    std::string text;
  } rows[] = {
      {"blanks before a NUL (found by fuzzing)",
       test::ReadFileBytes(std::string(VARST_SOURCE_DIR) + "/tests/reliability/regressions/settings-blank-before-nul.ini")},
      {"a tab before a NUL", std::string("[Editor]\nEditor=vi \t") + '\0' + "tail\n"},
      {"a blank at the cut of a long value", "[Path]\ntemp=" + std::string(2046, 'p') + " tail\n"},
      {"binary garbage", Garbage(16 * 1024, 9)},
  };
  for (const auto& row : rows) {
    ASSERT_FALSE(row.text.empty()) << row.name;
    TempDir dir;
    Settings first;
    LoadSettings(first, dir.Write("first.ini", row.text));
    ASSERT_TRUE(SaveSettings(first, dir.File("saved.ini")).ok) << row.name;
    Settings again;
    LoadSettings(again, dir.File("saved.ini"));
    EXPECT_EQ(again.EditorPath, first.EditorPath) << row.name;
    EXPECT_EQ(again.WorkFolder, first.WorkFolder) << row.name;
    EXPECT_EQ(again.ConvertPath, first.ConvertPath) << row.name;
    EXPECT_EQ(again.Grf_ColorInfo, first.Grf_ColorInfo) << row.name;
    EXPECT_EQ(again.ConvertPrm, first.ConvertPrm) << row.name;
    EXPECT_EQ(again.ColorCount, first.ColorCount) << row.name;
  }
  TempDir dir;
  Settings settings;
  LoadSettings(settings, dir.Write("a.ini", std::string("[Editor]\nEditor=vi \t") + '\0' + "tail\n"));
  EXPECT_EQ(settings.EditorPath, "vi");
}

TEST(BadSettings, TheViewerDrawsWithOddStoredValues) {
  TempDir dir;
  const std::string data = dir.Write("a.dat", test::DriveLine() + "\r\n" + test::RangeCondition(1000) + "\r\n" +
                                                  test::Records("R", 3, 1000) + "\r\n");
  HeadlessOptions options;
  options.files = {data};
  options.settingsFile = dir.Write("Varst.ini",
                                   "[Graf]\nGrf_ColorInfo0=-1\nGrf_ColorInfo2=-2147483648\nGrf_FontSize=-3\n"
                                   "[ColorSetting]\ncount=999999\ncolor0=&HFFFFFFFF\n" +
                                       Garbage(4096, 3));
  test::ScriptedPrompter prompter;
  HeadlessSession session(options, prompter);
  session.CurrentSettings().WorkFolder = dir.Path();
  WithinSeconds(kBound, "odd settings", [&] { session.LoadFiles(); });
  EXPECT_EQ(session.Data().Grf_Hist_Ptr, 1);
  EXPECT_EQ(session.Data().SeriesColor[0], 0xFFFFFF) << "the stored -1 gives white";
}

TEST(BadLists, PlainListsOfOddContentAreNoLists) {
  TempDir dir;
  const std::string data = dir.Write("a.dat", "x\r\n");
  const struct {
    const char* name;
    std::string text;
    std::string joined;
  } rows[] = {
      {"binary garbage", Garbage(8000, 11), ""},
      {"marker and binary lines", "DATA FILE LIST\r\n" + Garbage(4000, 5), ""},
      {"NUL inside a listed name", "DATA FILE LIST\r\n" + data + std::string("\0x", 2) + "\r\n" + data + "\r\n", data},
      {"marker after a NUL", std::string("\0DATA FILE LIST\r\n", 17) + data + "\r\n", ""},
      {"CR-only line ends", "DATA FILE LIST\r" + data + "\r" + data + "\r", data + "," + data},
  };
  for (const auto& row : rows) {
    const std::string list = dir.Write("list.txt", row.text);
    EXPECT_EQ(ReadDataFileList(list), row.joined) << row.name;
  }
}

TEST(BadLists, BatchMarkerInTheFirst101LinesOnly) {
  const auto lines = [](int before, const std::string& marker, const char* end = "\r\n") {
    std::string text;
    for (int i = 0; i < before; ++i) text += "line" + std::string(end);
    return text + marker + end;
  };
  const struct {
    const char* name;
    std::string text;
    bool batch;
  } rows[] = {
      {"first line", lines(0, "[FILE LIST]"), true},
      {"line 101", lines(100, "[file list]"), true},
      {"line 102", lines(101, "[FILE LIST]"), false},
      {"line 101 with lone CRs", lines(100, "x[File List]x", "\r"), true},
      {"line 102 with lone LFs", lines(101, "[FILE LIST]", "\n"), false},
      {"inside binary bytes", Garbage(300, 1) + "[FILE LIST]" + Garbage(300, 2), true},
      {"after a NUL in its line", std::string("a\0[FILE LIST]", 13), true},
      {"split by a NUL", std::string("[FILE\0LIST]", 11), false},
      {"empty", "", false},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(HasFileListMarker(row.text), row.batch) << row.name;
    TempDir dir;
    EXPECT_EQ(IsFileListBatch(dir.Write("batch.txt", row.text)), row.batch) << row.name << ", from the file";
  }
}

TEST(BadLists, BatchLinesNameExistingFilesOnly) {
  TempDir dir;
  const std::string lower = dir.Write("low.dat", "x");
  const std::string folder = dir.Path();
  const struct {
    const char* name;
    std::string line;
    std::string file;
  } rows[] = {
      {"as written", lower, lower},
      {"with a separator at the end", lower + "/", lower},
      {"a folder", folder, ""},
      {"with a NUL", lower + std::string("\0", 1), ""},
      {"missing", folder + "/none.dat", ""},
      {"empty", "", ""},
  };
  for (const auto& row : rows) EXPECT_EQ(ExistingBatchFile(row.line), row.file) << row.name;
}

// A named pipe with no writer: opening it for reading would wait for ever.
TEST(BadLists, ANamedPipeIsNoFileAndNeverBlocks) {
  TempDir dir;
  const std::string pipe = dir.File("pipe.dat");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const std::string list = dir.Write("list.txt", "DATA FILE LIST\r\n" + pipe + "\r\n");
  const std::string batch = dir.Write("batch.txt", "[FILE LIST]\r\n" + pipe + "\r\n");
  WithinSeconds(kBound, "named pipe", [&] {
    EXPECT_FALSE(FileExists(std::string_view(pipe)));
    EXPECT_EQ(ReadDataFileList(list), "");
    EXPECT_FALSE(IsFileListBatch(pipe));
    EXPECT_EQ(ExistingBatchFile(pipe), "");
    test::Session s;
    s.prompter.ExpectMessage("データが不正です").ExpectMessage("計測データが異なります。");
    s.Load({pipe});
    EXPECT_EQ(s.Data().FileCount, 0);
  });
}

}  // namespace
}  // namespace varst
