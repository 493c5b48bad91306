#include "convert/ConversionRun.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>

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

// Whatever stands at the destination name exists: a folder, or a link that points nowhere, is
// never replaced under "コピーしない" and "名前を変えて保存する"; "上書きする" replaces the link
// itself (nothing is written where it points) and refuses to replace a folder. Catches the
// existence test opening the name as a readable file together with a plain rename at the end
// (the folder gives "NG", the link is replaced). Either alone is not caught here: the atomic
// claim keeps these entries even after a wrong existence test, and the reverse.
TEST_F(ConversionRun, AnythingAtTheDestinationNameExists) {
  enum Entry { kFile, kFolder, kLinkToNothing };
  const struct {
    const char* name;
    Entry entry;
    int existing;
    const char* status;
    const char* written;  // the name the copy took, "" for none
  } rows[] = {
      {"file, skip", kFile, kExistingSkip, "SKIP", ""},
      {"folder, skip", kFolder, kExistingSkip, "SKIP", ""},
      {"link, skip", kLinkToNothing, kExistingSkip, "SKIP", ""},
      {"file, rename", kFile, kExistingRename, "Comp..", "MODEL-X100_SN0001(1).csv"},
      {"folder, rename", kFolder, kExistingRename, "Comp..", "MODEL-X100_SN0001(1).csv"},
      {"link, rename", kLinkToNothing, kExistingRename, "Comp..", "MODEL-X100_SN0001(1).csv"},
      {"file, overwrite", kFile, kExistingOverwrite, "Comp..", "MODEL-X100_SN0001.csv"},
      {"folder, overwrite", kFolder, kExistingOverwrite, "NG", ""},
      {"link, overwrite", kLinkToNothing, kExistingOverwrite, "Comp..", "MODEL-X100_SN0001.csv"},
  };
  const std::string source = List("05040101.csv");
  const std::string dest = Out("MODEL-X100_SN0001.csv");
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    std::filesystem::remove_all(Out());
    std::filesystem::create_directories(Out());
    if (row.entry == kFile) dir.Write("out/MODEL-X100_SN0001.csv", "old");
    if (row.entry == kFolder) std::filesystem::create_directory(dest);
    if (row.entry == kLinkToNothing) std::filesystem::create_symlink(dir.File("nowhere"), dest);
    choices.existing = row.existing;
    EXPECT_EQ(RunOnce(), kRunFinished);
    EXPECT_EQ(grid.TextMatrix(0, kColStatus), row.status) << grid.RowData(0);
    if (*row.written != '\0') {
      EXPECT_EQ(ReadFileBytes(Out(row.written)), ReadFileBytes(source));
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("nowhere"))) << "nothing is written through a link";
    if (row.entry == kFolder) {
      EXPECT_TRUE(std::filesystem::is_directory(dest));
    }
    if (row.entry == kFile && row.existing != kExistingOverwrite) {
      EXPECT_EQ(ReadFileBytes(dest), "old");
    }
  }
}

// Catches: the temporary created with fixed bits (0666 less the umask gives 0644 for every
// copy) or given the bits of the file it replaces.
TEST_F(ConversionRun, CopiesKeepTheSourcesPermissionBitsLessTheUmask) {
  choices.existing = kExistingOverwrite;
  const std::string source = List("05040101.csv");
  dir.Write("out/MODEL-X100_SN0001.csv", "old");
  std::filesystem::permissions(Out("MODEL-X100_SN0001.csv"), std::filesystem::perms(0666));
  const struct {
    unsigned source, umask, copy;
  } rows[] = {{0600, 022, 0600}, {0755, 022, 0755}, {0644, 077, 0600}, {0640, 027, 0640}};
  for (const auto& row : rows) {
    std::filesystem::permissions(source, std::filesystem::perms(row.source));
    const mode_t previous = ::umask(row.umask);
    EXPECT_EQ(RunOnce(), kRunFinished);
    ::umask(previous);
    struct stat copy {};
    ASSERT_EQ(::stat(Out("MODEL-X100_SN0001.csv").c_str(), &copy), 0);
    EXPECT_EQ(copy.st_mode & 0777, row.copy) << std::oct << row.source << " under umask " << row.umask;
  }
}

// Destination names up to the 255 bytes a folder entry holds are copied: the temporary's name
// does not grow with them. Catches: a temporary named after its destination ("." + name +
// ".tmp" + a number), which no longer fits from about 245 bytes on.
TEST_F(ConversionRun, DestinationNamesUpToTheSystemsLimitAreCopied) {
  for (const std::size_t length : {245U, 250U, 255U, 256U}) {
    grid.SetRows(0);
    state = ConversionState();
    const std::string model(length - std::string("_S.csv").size(), 'M');
    List("long.csv", "S", kStamp, model);
    EXPECT_EQ(RunOnce(), kRunFinished);
    EXPECT_EQ(grid.TextMatrix(0, kColStatus), length <= 255 ? "Comp.." : "NG") << length << ": " << grid.RowData(0);
  }
}

// A name another writer takes between the test and the copy is not replaced: the copy moves on
// to the next number, or counts as existing. The other writer is a real file made at the
// moment of the rename. Catches: a plain rename at the end (it replaces the other copy).
TEST_F(ConversionRun, ANameTakenDuringTheCopyIsNeverReplaced) {
  const struct {
    int existing;
    const char* status;
    const char* copy;
  } rows[] = {{kExistingRename, "Comp..", "MODEL-X100_SN0001(1).csv"}, {kExistingSkip, "SKIP", ""}, {kExistingAsk, "SKIP", ""}};
  const std::string source = List("05040101.csv");
  const std::string dest = Out("MODEL-X100_SN0001.csv");
  for (const auto& row : rows) {
    std::filesystem::remove_all(Out());
    choices.existing = row.existing;
    if (row.existing == kExistingAsk) questions.Dup(kAnswerSkip);
    {
      ScopedWriteFault otherWriter([&](WriteStep step, const std::string& target) {
        if (step == WriteStep::Rename && target == dest) dir.Write("out/MODEL-X100_SN0001.csv", "theirs");
        return false;
      });
      EXPECT_EQ(RunOnce(), kRunFinished);
    }
    EXPECT_EQ(grid.TextMatrix(0, kColStatus), row.status) << row.existing;
    EXPECT_EQ(ReadFileBytes(dest), "theirs") << row.existing;
    if (*row.copy != '\0') {
      EXPECT_EQ(ReadFileBytes(Out(row.copy)), ReadFileBytes(source));
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Out()), {}), *row.copy != '\0' ? 2 : 1)
        << "no temporary left behind";
  }
}

// A source that a later row names as its destination stays as it is: the run refuses to
// replace any of its own sources. Catches: only the row's own source protected.
TEST_F(ConversionRun, NeverReplacesAnyOfItsOwnSources) {
  choices.existing = kExistingOverwrite;
  List("x.csv");
  const std::string later = dir.Write("out/MODEL-X100_SN0001.csv", test::DataFileText("MODEL-X100", "SN0001") + "more\r\n");
  AddListedFile(grid, state.ListedCount, later);
  EXPECT_EQ(RunOnce(), kRunFinished);
  EXPECT_EQ(grid.TextMatrix(0, kColStatus), "NG");
  EXPECT_NE(grid.RowData(0).find("source"), std::string::npos) << grid.RowData(0);
  EXPECT_EQ(ReadFileBytes(later), test::DataFileText("MODEL-X100", "SN0001") + "more\r\n");
}

// Catches: a missing date dropping the "DATE" level (the copy lands one level up, in out/),
// and the empty folder box told for every row or not at all.
TEST_F(ConversionRun, MissingFolderPartsFailTheFileAndAnEmptyFolderBoxIsToldOnce) {
  choices.level1 = kLevelDate;
  List("a.csv", "SN1", "");
  List("b.csv", "SN2", "// 12:00:00");
  EXPECT_EQ(RunOnce(), kRunFinished);
  EXPECT_EQ(Row(0), std::string("NG||") + kCopyError);
  EXPECT_EQ(Row(1), std::string("NG||") + kCopyError);
  EXPECT_FALSE(std::filesystem::exists(Out())) << "nothing written without its date folder";
  EXPECT_TRUE(questions.asked.empty());

  choices.baseFolder = "";
  EXPECT_EQ(RunOnce(), kRunFinished);
  EXPECT_EQ(questions.asked, std::vector<std::string>{std::string("tell: ") + kNoBaseFolderText});
  EXPECT_EQ(grid.RowData(1), kNoBaseFolderText);
}

TEST_F(ConversionRun, AnEmptyListHasNothingToDo) {
  EXPECT_EQ(RunOnce(), kRunNothingListed);
  grid.SetRows(3);
  EXPECT_EQ(RunOnce(), kRunNothingListed) << "rows, but no file listed";
}

}  // namespace
}  // namespace varst
