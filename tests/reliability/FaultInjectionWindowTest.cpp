// Write faults where a window writes the file: saving a row's file, the reference file of a
// smoothing, and the copies of the conversion window. The user is told, the old file stays
// byte for byte, and nothing half-written or temporary is left in the folder.

#include <gtest/gtest.h>

#include <QPushButton>
#include <filesystem>
#include <set>

#include "common/FileWrite.h"
#include "convert/ConvertTestFiles.h"
#include "convert/FileListRows.h"
#include "convert/FilenameConv.h"
#include "platform/QtGrid.h"
#include "support/SessionFixture.h"
#include "support/WindowFixture.h"

namespace varst {
namespace {

using test::DriveLine;
using test::RangeCondition;
using test::ReadFileBytes;
using test::Records;
using test::Window;

struct Fault {
  const char* name;
  WriteStep step;
};
constexpr Fault kFaults[] = {{"disk full halfway", WriteStep::Write}, {"rename refused", WriteStep::Rename}};

std::set<std::string> NamesIn(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

ScopedWriteFault FailAt(WriteStep failing) {
  return ScopedWriteFault([failing](WriteStep step, const std::string&) { return step == failing; });
}

TEST(FaultInjectionWindow, SavingARowsFileKeepsTheOldCopy) {
  for (const Fault& fault : kFaults) {
    Window w;
    const std::string data = w.File("a.dat", {DriveLine(), RangeCondition(1000), Records("R", 50, 1000)});
    const std::string copy = w.dir.Write("saved/copy.dat", "the copy saved last week");
    w.window->Grid1_OLEDragDrop({data});
    ASSERT_EQ(w.Grid().Rows(), 1);
    w.Grid().SetRow(0);
    w.prompter.ExpectSaveFile(copy)
        .ExpectMessage("ファイルが存在します。上書きしますか?", Answer::Yes)
        .ExpectMessage(copy)
        .ExpectMessage("保存終了");
    {
      const ScopedWriteFault scoped = FailAt(fault.step);
      w.window->Command1_Click(1);
    }
    EXPECT_TRUE(w.prompter.Finished()) << fault.name;
    const auto& shown = w.prompter.History();
    ASSERT_GE(shown.size(), 3U);
    EXPECT_EQ(shown[shown.size() - 2].icon, MessageIcon::Critical) << "the failure is told first: " << fault.name;
    EXPECT_EQ(ReadFileBytes(copy), "the copy saved last week") << fault.name;
    EXPECT_EQ(NamesIn(w.dir.File("saved")), std::set<std::string>{"copy.dat"}) << fault.name;
  }
}

TEST(FaultInjectionWindow, SmoothingKeepsTheOldReferenceFile) {
  for (const Fault& fault : kFaults) {
    Window w;
    const std::string data = w.File("a.dat", {DriveLine(), RangeCondition(1000), Records("R", 50, 1000)});
    const std::string old = w.dir.Write("work/~REF0", "a reference file of an earlier run\r\n");
    w.window->Grid1_OLEDragDrop({data});
    ASSERT_EQ(w.Grid().Rows(), 1);
    w.prompter.ExpectMessage("~REF0");
    {
      const ScopedWriteFault scoped = FailAt(fault.step);
      w.window->Command1_Click(2);
    }
    EXPECT_TRUE(w.prompter.Finished()) << fault.name;
    EXPECT_EQ(w.prompter.History().back().icon, MessageIcon::Critical) << fault.name;
    EXPECT_EQ(ReadFileBytes(old), "a reference file of an earlier run\r\n") << fault.name;
    EXPECT_EQ(NamesIn(w.settings.WorkFolder), (std::set<std::string>{".keep", "~REF0"})) << fault.name;
  }
}

TEST(FaultInjectionWindow, ConversionCopiesKeepTheOldCopyAndTheRunSaysSo) {
  for (const Fault& fault : kFaults) {
    test::TempDir dir;
    Settings settings;
    settings.ConvertPath = dir.File("out");
    settings.ConvertPrm[2] = kExistingOverwrite;
    test::ScriptedPrompter prompter;
    test::RecordingShell shell;
    test::SettableClock clock;
    FilenameConv window(settings, Services{prompter, shell, clock}, [] {});
    window.show();
    dir.Write("src/05040101.csv", test::DataFileText("MODEL-X100", "SN0001"));
    const std::string old = dir.Write("out/MODEL-X100_SN0001.csv", "old copy");
    prompter.ExpectOpenFile(dir.File("src/05040101.csv"));
    window.findChild<QPushButton*>("Command1_4")->click();
    ASSERT_EQ(window.FileList().TextMatrix(0, kColPath), dir.File("src/05040101.csv"));
    prompter.ExpectMessage("全てのファイル名が正常に変換されていません。確認してください");
    {
      const ScopedWriteFault scoped = FailAt(fault.step);
      window.findChild<QPushButton*>("Command1_0")->click();
    }
    EXPECT_TRUE(prompter.Finished()) << fault.name;
    EXPECT_EQ(window.FileList().TextMatrix(0, kColStatus), "NG") << fault.name;
    EXPECT_EQ(ReadFileBytes(old), "old copy") << fault.name;
    EXPECT_EQ(NamesIn(dir.File("out")), std::set<std::string>{"MODEL-X100_SN0001.csv"}) << fault.name;
  }
}

}  // namespace
}  // namespace varst
