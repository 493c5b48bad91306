// Writes that fail: the disk fills up halfway through the bytes, or the finished file cannot
// replace the old one (access denied). Whatever the program was writing, the file that stood
// there before stays byte for byte, and no partial or temporary file is left behind.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "convert/ConvertTestFiles.h"
#include "app/SettingsFile.h"
#include "common/FileWrite.h"
#include "convert/ConversionRun.h"
#include "convert/FileListRows.h"
#include "convert/RowOutcome.h"
#include "data/ReferenceFiles.h"
#include "platform/MemoryGrid.h"
#include "support/TempDir.h"

namespace varst {
namespace {

using test::ReadFileBytes;
using test::TempDir;

struct Fault {
  const char* name;
  WriteStep step;
};
constexpr Fault kFaults[] = {{"disk full halfway", WriteStep::Write}, {"rename refused", WriteStep::Rename}};

// Every file under the folder, as relative paths.
std::set<std::string> FilesUnder(const std::string& folder) {
  std::set<std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    if (!entry.is_directory()) files.insert(std::filesystem::relative(entry.path(), folder).string());
  }
  return files;
}

// A fault at one step of every write to the target (the settings, a copy ...).
ScopedWriteFault FailAt(WriteStep failing, int* faults) {
  return ScopedWriteFault([failing, faults](WriteStep step, const std::string&) {
    if (step != failing) return false;
    ++*faults;
    return true;
  });
}

TEST(FaultInjection, SettingsKeepTheOldFile) {
  for (const Fault& fault : kFaults) {
    TempDir dir;
    const std::string old = "[Graf]\r\nGrf_FontSize=2\r\n; kept\r\n";
    const std::string file = dir.Write("Varst.ini", old);
    Settings settings;
    settings.Grf_FontSize = 0;
    settings.EditorPath = "/usr/bin/other";
    int faults = 0;
    {
      const ScopedWriteFault scoped = FailAt(fault.step, &faults);
      EXPECT_FALSE(SaveSettings(settings, file).ok) << fault.name;
    }
    EXPECT_EQ(faults, 1) << fault.name;
    EXPECT_EQ(ReadFileBytes(file), old) << fault.name;
    EXPECT_EQ(FilesUnder(dir.Path()), std::set<std::string>{"Varst.ini"}) << fault.name;
    ASSERT_TRUE(SaveSettings(settings, file).ok) << "the next save works";
    Settings again;
    LoadSettings(again, file);
    EXPECT_EQ(again.EditorPath, "/usr/bin/other");
  }
}

TEST(FaultInjection, AReferenceFileKeepsTheOldFile) {
  for (const Fault& fault : kFaults) {
    TempDir dir;
    Settings settings;
    settings.WorkFolder = dir.Path();
    const std::string old = "old reference\r\n";
    dir.Write("~REF0", old);
    DataSet dataSet;
    dataSet.RefLines = {"M,S,1,2,3,4,5,6,7,8", "0,0,1000,0,0,256,100,100,0,0,0,0,-1,5_0", "R,0,0,5.00,1"};
    dataSet.RefLineCount = 3;
    int faults = 0;
    WriteResult result;
    {
      const ScopedWriteFault scoped = FailAt(fault.step, &faults);
      result = WriteRefFile(settings, dataSet);
    }
    EXPECT_FALSE(result.ok) << fault.name;
    EXPECT_NE(result.error.find("~REF0"), std::string::npos) << "the message names the file: " << result.error;
    EXPECT_EQ(ReadFileBytes(dir.File("~REF0")), old) << fault.name;
    EXPECT_EQ(FilesUnder(dir.Path()), std::set<std::string>{"~REF0"}) << fault.name;
    EXPECT_EQ(dataSet.RefFileSeq, 1) << "the next reference file takes the next number";
  }
}

TEST(FaultInjection, ConversionCopiesKeepTheOldCopyAndTheSource) {
  for (const Fault& fault : kFaults) {
    for (const int existing : {kExistingOverwrite, kExistingRename}) {
      TempDir dir;
      const std::string source = dir.Write("src/05040101.csv", test::DataFileText("MODEL-X100", "SN0001"));
      dir.Write("out/MODEL-X100/MODEL-X100_SN0001.csv", "old copy");
      MemoryGrid grid;
      grid.SetCols(kFileListCols);
      ConversionState state;
      AddListedFile(grid, state.ListedCount, source);
      grid.SetTextMatrix(0, kColStamp, "2005/04/01 12:34:56");
      ConversionChoices choices;
      choices.baseFolder = dir.File("out");
      choices.level1 = kLevelModel;
      choices.existing = existing;
      FixedForm form(choices);
      test::ScriptedQuestions questions;
      FileSystemTarget target;
      ConversionContext run{grid, state, form, questions, target};
      int faults = 0;
      {
        const ScopedWriteFault scoped = FailAt(fault.step, &faults);
        EXPECT_EQ(RunConversion(run), kRunFinished);
      }
      const std::string what = std::string(fault.name) + (existing == kExistingRename ? ", rename" : ", overwrite");
      EXPECT_EQ(faults, 1) << what;
      EXPECT_EQ(grid.TextMatrix(0, kColStatus), "NG") << what;
      EXPECT_EQ(grid.TextMatrix(0, kColMessage), "コピー中にエラーが発生しました") << what;
      EXPECT_EQ(grid.TextMatrix(0, kColConverted), "") << "no copy is claimed: " << what;
      EXPECT_EQ(ReadFileBytes(dir.File("out/MODEL-X100/MODEL-X100_SN0001.csv")), "old copy") << what;
      EXPECT_EQ(ReadFileBytes(source), test::DataFileText("MODEL-X100", "SN0001")) << what;
      EXPECT_EQ(FilesUnder(dir.Path()),
                (std::set<std::string>{"src/05040101.csv", "out/MODEL-X100/MODEL-X100_SN0001.csv"}))
          << what;
    }
  }
}

}  // namespace
}  // namespace varst
