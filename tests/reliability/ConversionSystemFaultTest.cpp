// Faults the system raises under a conversion copy, not the test hook: a file size limit, a
// full device, a folder that refuses writes, a destination that goes while the copy is made,
// the program killed by a signal halfway, a run killed earlier, and two runs at once. In every
// case the old copy and the source stay byte for byte, no temporary file is left, and the
// program says what happened.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

#include "common/FileWrite.h"
#include "common/Text.h"
#include "convert/ConversionRun.h"
#include "convert/ConvertTestFiles.h"
#include "convert/CopyTemporary.h"
#include "convert/FileListRows.h"
#include "platform/MemoryGrid.h"
#include "support/SystemFaults.h"
#include "support/TempDir.h"

namespace varst {
namespace {

using test::ReadFileBytes;
using test::TempDir;

// A data file of about `bytes` bytes: the drive and condition lines, then records.
std::string BigDataFile(std::size_t bytes) {
  std::string text = test::DataFileText("M", "S");
  while (text.size() < bytes) text += "R,1000,0,81.86,1\r\n";
  return text;
}

std::vector<std::string> NamesIn(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

// The program under a file size limit, on a full device and as a user the folder refuses:
// "NG" with the system's reason, the old copy kept, nothing else written. Catches: SIGXFSZ not
// ignored during the copy (the program is killed, no message, the temporary stays), and a
// temporary not removed after a failed write.
TEST(ConversionSystemFaults, TheProgramKeepsTheOldCopyWhenTheSystemRefusesTheWrite) {
  enum Fault { kSizeLimit, kFullDevice, kRefusingFolder };
  const struct {
    const char* name;
    Fault fault;
    const char* reason;
  } rows[] = {{"file size limit", kSizeLimit, "File too large"},
              {"full device", kFullDevice, "No space left on device"},
              {"folder refusing writes", kRefusingFolder, "Permission denied"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    TempDir dir;
    const std::string source = dir.Write("src/a.csv", BigDataFile(256 * 1024));
    const std::string out = dir.File("out");
    std::filesystem::create_directories(out);
    std::optional<test::SmallDevice> device;
    if (row.fault == kFullDevice) device.emplace(out, 64 * 1024);
    if (device && !device->Mounted()) {
      std::cout << "[  SKIPPED ] full device: " << device->Why() << '\n';
      continue;
    }
    const std::string old = dir.Write("out/M_S.csv", "old copy");
    test::ProgramOptions options;
    if (row.fault == kSizeLimit) options.fileSizeLimit = 16 * 1024;
    if (row.fault == kRefusingFolder) {
      test::GiveToOrdinaryUser(dir.Path());
      std::filesystem::permissions(out, std::filesystem::perms(0555));
      options.asOrdinaryUser = true;
    }
    const test::ProgramRun run =
        test::RunProgram({VARST_BINARY, "--convert", "--dest", out, "--exists", "overwrite", source}, options);
    EXPECT_EQ(run.status, 1) << run.err << " signal " << run.signal;
    EXPECT_TRUE(StartsWith(run.out, "NG\t" + source + "\t\tコピー中にエラーが発生しました")) << run.out;
    EXPECT_NE(run.out.find(row.reason), std::string::npos) << run.out;
    EXPECT_EQ(ReadFileBytes(old), "old copy");
    EXPECT_EQ(NamesIn(out), std::vector<std::string>{"M_S.csv"});
    EXPECT_EQ(ReadFileBytes(source), BigDataFile(256 * 1024));
  }
}

// The destination goes between the check and the rename: a replaced file that was removed is
// simply written; a folder removed with everything in it fails the copy with the system's
// reason. The removal is real, made at the moment of the rename.
TEST(ConversionSystemFaults, ADestinationThatGoesDuringTheCopyLosesNothing) {
  for (const bool wholeFolder : {false, true}) {
    SCOPED_TRACE(wholeFolder ? "folder removed" : "file removed");
    TempDir dir;
    const std::string source = dir.Write("src/a.csv", test::DataFileText("M", "S"));
    const std::string dest = dir.Write("out/M_S.csv", "old copy");
    MemoryGrid grid;
    grid.SetCols(kFileListCols);
    ConversionState state;
    AddListedFile(grid, state.ListedCount, source);
    ConversionChoices choices;
    choices.baseFolder = dir.File("out");
    choices.existing = kExistingOverwrite;
    FixedForm form(choices);
    test::ScriptedQuestions questions;
    FileSystemTarget target;
    ConversionContext run{grid, state, form, questions, target};
    {
      ScopedWriteFault vanish([&](WriteStep step, const std::string&) {
        if (step == WriteStep::Rename) std::filesystem::remove_all(wholeFolder ? dir.File("out") : dest);
        return false;
      });
      EXPECT_EQ(RunConversion(run), kRunFinished);
    }
    EXPECT_EQ(grid.TextMatrix(0, kColStatus), wholeFolder ? "NG" : "Comp..");
    if (wholeFolder) {
      EXPECT_NE(grid.RowData(0).find("No such file or directory"), std::string::npos) << grid.RowData(0);
      EXPECT_FALSE(std::filesystem::exists(dir.File("out")));
    } else {
      EXPECT_EQ(ReadFileBytes(dest), ReadFileBytes(source));
      EXPECT_EQ(NamesIn(dir.File("out")), std::vector<std::string>{"M_S.csv"});
    }
    EXPECT_EQ(ReadFileBytes(source), test::DataFileText("M", "S"));
  }
}

// SIGTERM or SIGINT while a large copy is being written: the program ends by the signal and
// its temporary file is gone. The source is a sparse file of 4 GB, so the copy is still
// running when the signal comes. Catches: no handler (the temporary stays, full of zeros).
TEST(ConversionSystemFaults, ASignalDuringACopyRemovesItsTemporary) {
  for (const int signal : {SIGTERM, SIGINT}) {
    SCOPED_TRACE(signal);
    TempDir dir;
    const std::string source = dir.Write("src/a.csv", test::DataFileText("M", "S"));
    std::filesystem::resize_file(source, 4ULL << 30);
    const std::string out = dir.File("out");
    test::ChildProgram program({VARST_BINARY, "--convert", "--dest", out, source});
    bool seen = false;
    for (int wait = 0; wait < 20000 && !seen; ++wait) {
      for (const std::string& name : NamesIn(out)) seen = seen || IsCopyTemporaryName(name);
      if (!seen) std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    ASSERT_TRUE(seen) << "the copy never began";
    ::kill(program.Pid(), signal);
    const test::ProgramRun run = program.Wait();
    EXPECT_EQ(run.signal, signal) << "status " << run.status << ": " << run.out << run.err;
    EXPECT_EQ(NamesIn(out), std::vector<std::string>{});
  }
}

// A temporary left by a run that was killed (its process is gone) is removed by the next run
// into that folder, one of a live process is left alone, and neither changes the names taken.
// Catches: stale temporaries never cleaned.
TEST(ConversionSystemFaults, TheNextRunRemovesTemporariesOfRunsThatWereKilled) {
  TempDir dir;
  const pid_t gone = ::fork();
  if (gone == 0) ::_exit(0);
  ::waitpid(gone, nullptr, 0);
  const std::string stale = std::string(kCopyTemporaryPrefix) + std::to_string(gone) + "-0";
  const std::string live = std::string(kCopyTemporaryPrefix) + "1-0";
  dir.Write("out/" + stale, "half a copy");
  dir.Write("out/" + live, "being written");
  const std::string source = dir.Write("src/a.csv", test::DataFileText("M", "S"));
  const test::ProgramRun run = test::RunProgram({VARST_BINARY, "--convert", "--dest", dir.File("out"), source});
  EXPECT_EQ(run.status, 0) << run.out << run.err;
  EXPECT_EQ(NamesIn(dir.File("out")), (std::vector<std::string>{live, "M_S.csv"}));
}

// Two runs at once into one folder, each with the same 200 file names: with "rename" every
// file gets its own copy, with "skip" each name is copied once and never replaced. Catches: a
// name taken by a plain rename after the existence test (copies of one run replace the other's).
TEST(ConversionSystemFaults, TwoRunsAtOnceNeverReplaceEachOthersCopies) {
  constexpr int kFiles = 200;
  for (const char* policy : {"rename", "skip"}) {
    SCOPED_TRACE(policy);
    TempDir dir;
    std::vector<std::vector<std::string>> commands(2);
    for (int run = 0; run < 2; ++run) {
      commands[run] = {VARST_BINARY, "--convert", "--dest", dir.File("out"), "--exists", policy};
      for (int i = 0; i < kFiles; ++i) {
        const std::string serial = std::string(policy) == "rename" ? "S" : "S" + std::to_string(i);
        commands[run].push_back(dir.Write("src" + std::to_string(run) + "/" + std::to_string(i) + ".csv",
                                          test::DataFileText("M", serial) + "R,1," + std::to_string(run) + "," +
                                              std::to_string(i) + ",1\r\n"));
      }
    }
    test::ChildProgram first(commands[0]);
    test::ChildProgram second(commands[1]);
    const test::ProgramRun runs[] = {first.Wait(), second.Wait()};
    std::map<std::string, int> statuses;
    std::map<std::string, std::string> copied;  // destination: the source it holds
    for (const test::ProgramRun& run : runs) {
      for (const std::string& line : SplitLines(run.out)) {
        const std::vector<std::string> fields = SplitFields(line, "\t");
        ++statuses[fields.at(0)];
        if (fields.at(0) == "Comp..") {
          EXPECT_TRUE(copied.emplace(fields.at(2), fields.at(1)).second) << line;
        }
      }
    }
    const bool rename = std::string(policy) == "rename";
    EXPECT_EQ(statuses["Comp.."], rename ? 2 * kFiles : kFiles);
    EXPECT_EQ(statuses["SKIP"], rename ? 0 : kFiles);
    EXPECT_EQ(NamesIn(dir.File("out")).size(), copied.size());
    for (const auto& [destination, source] : copied) EXPECT_EQ(ReadFileBytes(destination), ReadFileBytes(source));
  }
}

}  // namespace
}  // namespace varst
