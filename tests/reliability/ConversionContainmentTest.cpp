// The conversion tool names folders and files after what a data file says about its drive,
// so a hostile file must not steer a copy outside the base folder: whatever the model name,
// the serial number or the time stamp text holds, every copy lands below the base folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "convert/ConversionRun.h"
#include "convert/ConvertCommand.h"
#include "convert/ConvertTestFiles.h"
#include "convert/FileListRows.h"
#include "convert/NameRules.h"
#include "common/Text.h"
#include "platform/MemoryGrid.h"
#include "support/TempDir.h"

namespace varst {
namespace {

struct Hostile {
  const char* name;
  std::string model;
  std::string serial;
};

std::vector<Hostile> HostileDrives() {
  return {
      {"dot dot", "..", ".."},
      {"dot", ".", "."},
      {"slash", "/", "/"},
      {"climbing", "../../x", "../../../y"},
      {"backslashes", "..\\..\\x", "\\.."},
      {"absolute", "/etc/passwd", "/tmp/evil"},
      {"drive letter", "C:\\Windows", "D:"},
      {"NUL", std::string("a\0/../b", 7), std::string("\0", 1)},
      {"control characters", "a\tb\x01\x1f\x7f", "\r.."},
      {"blanks", "   ", " .. "},
      {"long", std::string(300, 'M'), std::string(300, '.')},
  };
}

const std::vector<std::string> kStamps = {"2005/04/01 12:34:56", "../../x 12:00:00", "../../x", "/etc/y 1",
                                          "..\\.. 1", "a/../../b/c 1"};

// Every file below root, as paths relative to it.
std::vector<std::string> FilesBelow(const std::string& root) {
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    if (!entry.is_directory()) files.push_back(std::filesystem::relative(entry.path(), root).string());
  }
  return files;
}

bool Below(const std::string& path, const std::string& folder) {
  const std::string normal = std::filesystem::path(path).lexically_normal().string();
  return normal.compare(0, folder.size() + 1, folder + "/") == 0;
}

TEST(ConversionContainment, NoCopyLandsOutsideTheBaseFolder) {
  const struct {
    int level1;
    int level2;
  } levels[] = {{kLevelModel, kLevelDate}, {kLevelDate, kLevelModel}, {kLevelModel, kLevelNone}, {kLevelDate, kLevelNone}};
  for (const auto& level : levels) {
    test::TempDir dir;
    const std::string base = dir.File("root/out");
    MemoryGrid grid;
    grid.SetCols(kFileListCols);
    ConversionState state;
    const std::vector<Hostile> drives = HostileDrives();
    for (std::size_t i = 0; i < drives.size(); ++i) {
      for (std::size_t k = 0; k < kStamps.size(); ++k) {
        const std::string name = "src/" + std::to_string(i) + "_" + std::to_string(k) + ".csv";
        AddListedFile(grid, state.ListedCount, dir.Write("root/" + name, test::DataFileText(drives[i].model, drives[i].serial)));
        grid.SetTextMatrix(state.ListedCount - 1, kColStamp, kStamps[k]);
      }
    }
    ConversionChoices choices;
    choices.baseFolder = base;
    choices.level1 = level.level1;
    choices.level2 = level.level2;
    choices.existing = kExistingRename;
    FixedForm form(choices);
    test::ScriptedQuestions questions;
    FileSystemTarget target;
    ConversionContext run{grid, state, form, questions, target};
    EXPECT_EQ(RunConversion(run), kRunFinished);

    // Every drive is copied but two: the one with NUL bytes (no drive line of a text file
    // holds one) and the one whose 300 + 300 byte name no folder entry can take. Each copy is
    // there, below the base, with the source's bytes. Catches: a run that refuses every file
    // (CopyRow returning before the copy), or a target that reports copies it never wrote
    // (CopyToDestination returning Copied before the rename).
    int copied = 0;
    for (int row = 0; row < state.ListedCount; ++row) {
      const std::string converted = grid.TextMatrix(row, kColConverted);
      if (grid.TextMatrix(row, kColStatus) != "Comp..") continue;
      ++copied;
      EXPECT_TRUE(Below(converted, base)) << converted;
      EXPECT_EQ(test::ReadFileBytes(converted), test::ReadFileBytes(grid.TextMatrix(row, kColPath))) << converted;
    }
    EXPECT_EQ(copied, static_cast<int>((drives.size() - 2) * kStamps.size()));
    int outside = 0;
    for (const std::string& file : FilesBelow(dir.Path())) {
      if (file.rfind("root/src/", 0) != 0 && file.rfind("root/out/", 0) != 0) {
        ADD_FAILURE() << "a file outside the base folder: " << file;
        ++outside;
      }
    }
    EXPECT_EQ(outside, 0);
    EXPECT_FALSE(std::filesystem::exists("/tmp/evil")) << "nothing is written to an absolute path";
  }
}

TEST(ConversionContainment, TheFolderRulesNeverClimb) {
  for (const Hostile& drive : HostileDrives()) {
    for (const std::string& stamp : kStamps) {
      for (const char* inf : {"DRV,DATE", "DATE,DRV", "drv,date,drv,date"}) {
        const std::string folder = GetSaveFolder("/base", inf, FolderInfo{drive.model, stamp}) +
                                   CalFileName(SafeNamePart(drive.model) + "_" + SafeNamePart(drive.serial) + ".csv");
        EXPECT_TRUE(Below(folder, "/base")) << drive.name << " / " << stamp << ": " << folder;
        EXPECT_EQ(folder.find('\0'), std::string::npos) << drive.name;
      }
    }
  }
}

// However the destination folder is spelt ("\" as separator, a trailing separator, "." or a
// doubled separator), every copy lands in root/out and holds its source's bytes. Catches: the
// folder taken as typed (a name "out\" then holds the copies' names beside out, in root), or
// the copies not made at all.
TEST(ConversionContainment, TheCommandKeepsCopiesBelowItsDestinationHoweverItIsSpelt) {
  const std::vector<Hostile> drives = HostileDrives();
  for (const char* spelling : {"root/out", "root/out/", "root/out\\", "root\\out", "root\\out\\", "root/./out//"}) {
    SCOPED_TRACE(spelling);
    test::TempDir dir;
    std::vector<std::string> args = {"--dest", dir.File(spelling), "--level1", "model", "--level2", "date",
                                     "--exists", "rename"};
    for (std::size_t i = 0; i < drives.size(); ++i) {
      args.push_back(dir.Write("root/src/" + std::to_string(i) + ".csv", test::DataFileText(drives[i].model, drives[i].serial)));
    }
    std::ostringstream out;
    std::ostringstream err;
    RunConvertCommand(args, out, err);
    int copies = 0;
    for (const std::string& file : FilesBelow(dir.Path())) {
      const bool copy = file.rfind("root/out/", 0) == 0;
      EXPECT_TRUE(copy || file.rfind("root/src/", 0) == 0) << file;
      copies += copy ? 1 : 0;
    }
    EXPECT_EQ(copies, static_cast<int>(drives.size()) - 2) << out.str();
    std::istringstream lines(out.str());
    for (std::string line; std::getline(lines, line);) {
      const std::vector<std::string> fields = SplitFields(line, "\t");
      if (fields.at(0) != "Comp..") continue;
      EXPECT_EQ(test::ReadFileBytes(fields.at(2)), test::ReadFileBytes(fields.at(1))) << line;
    }
  }
}

}  // namespace
}  // namespace varst
