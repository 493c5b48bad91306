#include "convert/ConversionRun.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "ConvertTestFiles.h"
#include "common/FileWrite.h"
#include "convert/FileListRows.h"
#include "convert/RowOutcome.h"
#include "platform/MemoryGrid.h"
#include "support/TempDir.h"

namespace varst {
namespace {

using test::ReadFileBytes;

constexpr char kStamp[] = "2005/04/01 12:34:56";
constexpr char kCopied[] = "正常に終了しました";
constexpr char kExists[] = "同じファイル名が存在するので処理をスキップしました";
constexpr char kUserSkip[] = "ユーザーによって処理をスキップしました";
constexpr char kInvalid[] = "データファイルが不正です";
constexpr char kCopyError[] = "コピー中にエラーが発生しました";

class ConversionRun : public ::testing::Test {
 protected:
  void SetUp() override {
    grid.SetCols(kFileListCols);
    choices.baseFolder = Out();
  }

  [[nodiscard]] std::string Out(const std::string& name = {}) const { return dir.File("out") + (name.empty() ? "" : "/" + name); }

  // Writes a data file under src/ and lists it with the given stamp.
  std::string List(const std::string& name, const std::string& serial = "SN0001", const char* stamp = kStamp,
                   const std::string& model = "MODEL-X100") {
    const std::string path = dir.Write("src/" + name, test::DataFileText(model, serial));
    AddListedFile(grid, state.ListedCount, path);
    grid.SetTextMatrix(state.ListedCount - 1, kColStamp, stamp);
    return path;
  }

  int RunOnce() {
    FixedForm form(choices, afterEachFile);
    ConversionContext run{grid, state, form, questions, target};
    return RunConversion(run);
  }

  // Status, converted name and message of a row, joined by "|".
  [[nodiscard]] std::string Row(int row) const {
    return grid.TextMatrix(row, kColStatus) + "|" + grid.TextMatrix(row, kColConverted) + "|" +
           grid.TextMatrix(row, kColMessage);
  }

  test::TempDir dir;
  MemoryGrid grid;
  ConversionState state;
  ConversionChoices choices;
  test::ScriptedQuestions questions;
  FileSystemTarget target;
  std::function<void()> afterEachFile;
};

TEST_F(ConversionRun, CopiesEveryCheckedExistingFileAndMarksEachRow) {
  choices.existing = kExistingOverwrite;
  const std::string good = List("05040101.csv");
  const std::string bad = dir.Write("src/notes.csv", "just,text\r\n");
  AddListedFile(grid, state.ListedCount, bad);
  List("unchecked.csv", "SN0003");
  grid.SetCellChecked(2, kColPath, kUnchecked);
  AddListedFile(grid, state.ListedCount, dir.File("src/missing.csv"));
  grid.SetTextMatrix(1, kColConverted, "earlier");

  EXPECT_EQ(RunOnce(), kRunFinished);
  const std::string dest = Out("MODEL-X100_SN0001.csv");
  EXPECT_EQ(Row(0), std::string("Comp..|") + dest + "|" + kCopied);
  EXPECT_EQ(grid.CellBackColor(0, kColStatus), 0x00FF00);
  EXPECT_EQ(Row(1), std::string("NG|earlier|") + kInvalid);
  EXPECT_EQ(grid.CellBackColor(1, kColStatus), 0x0000FF);
  EXPECT_EQ(Row(2), "||") << "an unchecked row is passed over";
  EXPECT_EQ(Row(3), "||") << "a missing file is passed over";
  EXPECT_EQ(ReadFileBytes(dest), ReadFileBytes(good));

  // The next run starts from clean statuses and replaces the copy with the new source bytes.
  dir.Write("src/05040101.csv", test::DataFileText("MODEL-X100", "SN0001") + "R,1,0,2.5,1\r\n");
  grid.SetCellChecked(2, kColPath, kChecked);
  EXPECT_EQ(RunOnce(), kRunFinished);
  EXPECT_EQ(ReadFileBytes(dest), ReadFileBytes(good));
  EXPECT_EQ(grid.TextMatrix(2, kColStatus), "Comp..");
  EXPECT_EQ(grid.TextMatrix(3, kColStatus), "");
  EXPECT_EQ(grid.CellBackColor(3, kColStatus), MemoryGrid::kDefaultBack);
}

TEST_F(ConversionRun, RenameWritesNumberedNamesRunAfterRunAndNeverOverwrites) {
  choices.existing = kExistingRename;
  List("05040101.csv");
  for (const char* name : {"MODEL-X100_SN0001.csv", "MODEL-X100_SN0001(1).csv", "MODEL-X100_SN0001(2).csv"}) {
    EXPECT_EQ(RunOnce(), kRunFinished);
    EXPECT_EQ(Row(0), "Comp..|" + Out(name) + "|" + kCopied);
  }
  for (int n = 1; n <= 999; ++n) dir.Write("out/MODEL-X100_SN0001(" + std::to_string(n) + ").csv", "old");
  EXPECT_EQ(RunOnce(), kRunFinished);
  EXPECT_EQ(Row(0), "NG|" + Out("MODEL-X100_SN0001(2).csv") + "|" + kCopyError) << "every numbered name taken";
  EXPECT_EQ(ReadFileBytes(Out("MODEL-X100_SN0001(999).csv")), "old");
}

TEST_F(ConversionRun, SkipKeepsAnExistingDestination) {
  choices.existing = kExistingSkip;
  List("05040101.csv");
  dir.Write("out/MODEL-X100_SN0001.csv", "mine");
  EXPECT_EQ(RunOnce(), kRunFinished);
  EXPECT_EQ(Row(0), "SKIP|" + Out("MODEL-X100_SN0001.csv") + "|" + kExists);
  EXPECT_EQ(grid.CellBackColor(0, kColStatus), 0xFFFF00);
  EXPECT_EQ(ReadFileBytes(Out("MODEL-X100_SN0001.csv")), "mine");
}

TEST_F(ConversionRun, AskLetsTheUserSkipRenameOrReplace) {
  choices.existing = kExistingAsk;
  const std::string source = List("a.csv", "SN1");
  List("b.csv", "SN2");
  List("c.csv", "SN3");
  List("d.csv", "SN4");
  for (const char* serial : {"SN1", "SN2", "SN3"}) dir.Write("out/MODEL-X100_" + std::string(serial) + ".csv", "old");
  questions.Dup(kAnswerSkip).Dup(kAnswerGoOn, false, Out("edited.csv")).Dup(kAnswerGoOn);
  EXPECT_EQ(RunOnce(), kRunFinished);
  EXPECT_EQ(Row(0), "SKIP|" + Out("MODEL-X100_SN1.csv") + "|" + kExists);
  EXPECT_EQ(Row(1), "Comp..|" + Out("edited.csv") + "|" + kCopied);
  EXPECT_EQ(ReadFileBytes(Out("MODEL-X100_SN2.csv")), "old");
  EXPECT_EQ(Row(2), "Comp..|" + Out("MODEL-X100_SN3.csv") + "|" + kCopied);
  EXPECT_NE(ReadFileBytes(Out("MODEL-X100_SN3.csv")), "old");
  EXPECT_EQ(grid.TextMatrix(3, kColStatus), "Comp..") << "a free destination is not asked about";
  EXPECT_EQ(questions.asked.front(), "dup: " + Out("MODEL-X100_SN1.csv"));
  EXPECT_EQ(ReadFileBytes(source), test::DataFileText("MODEL-X100", "SN1")) << "sources are only read";
}

TEST_F(ConversionRun, RememberedSkipHoldsForTheRestOfTheRunOnly) {
  choices.existing = kExistingAsk;
  List("a.csv", "SN1");
  List("b.csv", "SN2");
  dir.Write("out/MODEL-X100_SN1.csv", "old");
  dir.Write("out/MODEL-X100_SN2.csv", "old");
  questions.Dup(kAnswerSkip, true);
  EXPECT_EQ(RunOnce(), kRunFinished);
  EXPECT_EQ(questions.asked.size(), 1U);
  EXPECT_EQ(state.DupRemembered, kRememberedBase + kAnswerSkip);
  EXPECT_EQ(grid.TextMatrix(1, kColStatus), "SKIP");
  questions.Dup(kAnswerSkip).Dup(kAnswerSkip);
  EXPECT_EQ(RunOnce(), kRunFinished);
  EXPECT_EQ(questions.asked.size(), 3U) << "the next run asks again";
}

TEST_F(ConversionRun, AbortInEitherQuestionEndsTheRunAtOnce) {
  for (const bool inDateQuestion : {true, false}) {
    SCOPED_TRACE(inDateQuestion ? "time stamp question" : "existing-file question");
    grid.SetRows(0);
    state = ConversionState();
    choices.checkTimeStamp = inDateQuestion;
    choices.existing = kExistingAsk;
    List("result.csv", "SN1");
    List("later.csv", "SN2");
    dir.Write("out/MODEL-X100_SN1.csv", "old");
    if (inDateQuestion) questions.Date(kAnswerAbort);
    if (!inDateQuestion) questions.Dup(kAnswerAbort);
    EXPECT_EQ(RunOnce(), kRunAborted);
    EXPECT_EQ(Row(0), "||");
    EXPECT_EQ(Row(1), "||");
    EXPECT_EQ(ReadFileBytes(Out("MODEL-X100_SN1.csv")), "old");
  }
}

TEST_F(ConversionRun, TimeStampCheckAsksAboutEveryFileItCannotConfirm) {
  choices.checkTimeStamp = true;
  List("05040101.csv", "SN1");
  const std::string unnamed = List("result.csv", "SN2");
  List("05040201.csv", "SN3");
  grid.SetTextMatrix(2, kColConverted, "earlier");
  questions.Date(kAnswerGoOn).Date(kAnswerSkip);
  EXPECT_EQ(RunOnce(), kRunFinished);
  EXPECT_EQ(grid.TextMatrix(0, kColStatus), "Comp..") << "name and stamp agree";
  EXPECT_EQ(grid.TextMatrix(1, kColStatus), "Comp..");
  EXPECT_EQ(Row(2), std::string("SKIP||") + kUserSkip);
  EXPECT_EQ(questions.asked[0], "date: " + DateMismatchText(unnamed, kStamp));
  EXPECT_EQ(DateMismatchText("/d/x.csv", kStamp), "ファイル名とタイムスタンプが一致しません\n/d/x.csv\n2005/04/01 12:34:56");

  questions.Date(kAnswerGoOn, true);
  EXPECT_EQ(RunOnce(), kRunFinished);
  EXPECT_EQ(questions.asked.size(), 3U) << "the remembered answer serves the third file";
  EXPECT_EQ(grid.TextMatrix(2, kColStatus), "Comp..");
}

TEST_F(ConversionRun, AbortRequestedStopsAfterTheCurrentFile) {
  List("a.csv", "SN1");
  List("b.csv", "SN2");
  afterEachFile = [this] { state.AbortRequested = true; };
  EXPECT_EQ(RunOnce(), kRunAborted);
  EXPECT_FALSE(state.AbortRequested);
  EXPECT_EQ(grid.TextMatrix(0, kColStatus), "Comp..");
  EXPECT_EQ(Row(1), "||");
}

TEST_F(ConversionRun, FoldersFollowTheLevelsAndStayInsideTheBase) {
  choices.level1 = kLevelDate;
  choices.level2 = kLevelModel;
  List("a.csv");
  List("b.csv", "..", kStamp, "..");
  List("c.csv", "SN3", "2005/04/01", "a/b");
  EXPECT_EQ(RunOnce(), kRunFinished);
  EXPECT_EQ(grid.TextMatrix(0, kColConverted), Out("20050401/MODEL-X100/MODEL-X100_SN0001.csv"));
  EXPECT_EQ(grid.TextMatrix(1, kColConverted), Out("20050401/_/___.csv"));
  EXPECT_EQ(grid.TextMatrix(2, kColConverted), Out("2005/04/01/a_b/a_b_SN3.csv"));
  int entries = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) entries += entry.is_directory() ? 1 : 100;
  EXPECT_EQ(entries, 2) << "only src/ and out/ beside each other";
}

TEST_F(ConversionRun, CopyFailuresLeaveEveryOldFileIntact) {
  choices.existing = kExistingOverwrite;
  List("a.csv");
  dir.Write("out/MODEL-X100_SN0001.csv", "old copy");
  {
    ScopedWriteFault diskFull([](WriteStep step, const std::string&) { return step == WriteStep::Write; });
    EXPECT_EQ(RunOnce(), kRunFinished);
  }
  EXPECT_EQ(Row(0), std::string("NG||") + kCopyError);
  EXPECT_EQ(ReadFileBytes(Out("MODEL-X100_SN0001.csv")), "old copy");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Out()), {}), 1) << "no partial file behind";

  choices.baseFolder = Out("MODEL-X100_SN0001.csv") + "/deeper";
  EXPECT_EQ(RunOnce(), kRunFinished);
  EXPECT_EQ(Row(0), std::string("NG||") + kCopyError) << "a folder that cannot be made";

  choices.baseFolder = "  ";
  EXPECT_EQ(RunOnce(), kRunFinished);
  EXPECT_EQ(Row(0), std::string("NG||") + kCopyError) << "no base folder";
}

TEST_F(ConversionRun, NeverWritesOverTheSourceItself) {
  choices.existing = kExistingOverwrite;
  choices.baseFolder = dir.File("src");
  const std::string source = List("MODEL-X100_SN0001.csv");
  const auto before = std::filesystem::last_write_time(source);
  EXPECT_EQ(RunOnce(), kRunFinished);
  EXPECT_EQ(grid.TextMatrix(0, kColStatus), "NG");
  EXPECT_EQ(std::filesystem::last_write_time(source), before);
  EXPECT_EQ(ReadFileBytes(source), test::DataFileText("MODEL-X100", "SN0001"));
}

TEST_F(ConversionRun, AnEmptyListHasNothingToDo) {
  EXPECT_EQ(RunOnce(), kRunNothingListed);
  grid.SetRows(3);
  EXPECT_EQ(RunOnce(), kRunNothingListed) << "rows, but no file listed";
}

}  // namespace
}  // namespace varst
