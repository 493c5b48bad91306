// Permission checks all pass for root, and the suite runs as root in CI: these tests run the
// conversion as an ordinary user ("nobody" under root) on folders that user owns, and fail if
// they could not leave root.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include <sys/stat.h>

#include "ConvertTestFiles.h"
#include "common/Text.h"
#include "convert/ConversionRun.h"
#include "convert/FileListRows.h"
#include "platform/MemoryGrid.h"
#include "support/SystemFaults.h"
#include "support/TempDir.h"

namespace varst {
namespace {

using test::ReadFileBytes;

constexpr char kName[] = "MODEL-X100_SN0001.csv";
constexpr char kNumbered[] = "MODEL-X100_SN0001(1).csv";

// The destinations an earlier copy may have left: one the user may write, one made read-only
// and one the user can neither read nor write.
const struct Destination {
  const char* kind;
  unsigned mode;
} kDestinations[] = {{"normal", 0644}, {"read-only", 0444}, {"unreadable", 0000}};

bool Writable(const Destination& destination) { return (destination.mode & 0200) != 0; }

// Every policy against every destination, run in-process as the ordinary user. Only
// "上書きする" and "OK" in the question replace, and only the file the user could write;
// "名前を変えて保存する" and "コピーしない" see the unreadable file as existing. Catches: an
// existence test that opens the file (the unreadable one is replaced under "rename" and
// "skip"), and a replacement by rename alone (the read-only and unreadable ones are replaced
// under "overwrite" and "OK").
TEST(ConversionPermissions, NoPolicyReplacesADestinationTheUserCouldNotWrite) {
  const struct {
    const char* name;
    int existing;
  } policies[] = {{"overwrite", kExistingOverwrite}, {"rename", kExistingRename}, {"skip", kExistingSkip}, {"ask, OK", kExistingAsk}};
  test::TempDir dir;
  const std::string source = dir.Write("src/05040101.csv", test::DataFileText("MODEL-X100", "SN0001"));
  for (std::size_t p = 0; p < std::size(policies); ++p) {
    for (const Destination& destination : kDestinations) {
      const std::string dest = dir.Write("out" + std::to_string(p) + destination.kind + "/" + kName, "old");
      std::filesystem::permissions(dest, std::filesystem::perms(destination.mode));
    }
  }
  test::GiveToOrdinaryUser(dir.Path());

  const std::string statuses = test::RunAsOrdinaryUser([&] {
    std::string lines;
    for (std::size_t p = 0; p < std::size(policies); ++p) {
      for (const Destination& destination : kDestinations) {
        MemoryGrid grid;
        grid.SetCols(kFileListCols);
        ConversionState state;
        AddListedFile(grid, state.ListedCount, source);
        ConversionChoices choices;
        choices.baseFolder = dir.File("out" + std::to_string(p) + destination.kind);
        choices.existing = policies[p].existing;
        FixedForm form(choices);
        FixedAnswers answers({kAnswerSkip, false}, {kAnswerGoOn, false});
        FileSystemTarget target;
        ConversionContext run{grid, state, form, answers, target};
        RunConversion(run);
        lines += grid.TextMatrix(0, kColStatus) + "\n";
      }
    }
    return lines;
  });

  const std::vector<std::string> status = SplitLines(statuses);
  ASSERT_EQ(status.size(), std::size(policies) * std::size(kDestinations)) << statuses;
  std::size_t i = 0;
  for (std::size_t p = 0; p < std::size(policies); ++p) {
    for (const Destination& destination : kDestinations) {
      SCOPED_TRACE(std::string(policies[p].name) + ", " + destination.kind);
      const std::string out = dir.File("out" + std::to_string(p) + destination.kind);
      const bool replaces = policies[p].existing == kExistingOverwrite || policies[p].existing == kExistingAsk;
      const bool replaced = replaces && Writable(destination);
      const char* expected = policies[p].existing == kExistingSkip ? "SKIP" : (replaces && !replaced ? "NG" : "Comp..");
      EXPECT_EQ(status[i++], expected);
      EXPECT_EQ(ReadFileBytes(out + "/" + kName), replaced ? ReadFileBytes(source) : "old");
      struct stat kept {};
      ASSERT_EQ(::stat((out + "/" + kName).c_str(), &kept), 0);
      if (!replaced) {
        EXPECT_EQ(kept.st_mode & 0777, destination.mode) << "its permission bits stay too";
      }
      const bool numbered = policies[p].existing == kExistingRename;
      EXPECT_EQ(ReadFileBytes(out + "/" + kNumbered), numbered ? ReadFileBytes(source) : "");
      EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out), {}), numbered ? 2 : 1) << "no temporary left";
    }
  }
}

// `varst --convert` itself, run by the ordinary user: it never changes a destination the user
// could not have written, says so per file, and never writes outside --dest however the folder
// is spelt. Catches the same faults as above in the program as shipped, and a "\" in --dest
// taken as part of a name (the copies land beside the folder).
TEST(ConversionPermissions, TheCommandChangesOnlyWhatTheUserCouldWriteAndStaysInsideDest) {
  for (const char* policy : {"overwrite", "rename", "skip"}) {
    for (const Destination& destination : kDestinations) {
      SCOPED_TRACE(std::string(policy) + ", " + destination.kind);
      test::TempDir dir;
      const std::string source = dir.Write("src/05040101.csv", test::DataFileText("MODEL-X100", "SN0001"));
      const std::string dest = dir.Write(std::string("out/") + kName, "old");
      std::filesystem::permissions(dest, std::filesystem::perms(destination.mode));
      test::GiveToOrdinaryUser(dir.Path());
      test::ProgramOptions asUser;
      asUser.asOrdinaryUser = true;
      const test::ProgramRun run =
          test::RunProgram({VARST_BINARY, "--convert", "--dest", dir.File("out\\"), "--exists", policy, source}, asUser);
      const bool replaced = std::string(policy) == "overwrite" && Writable(destination);
      const bool refused = std::string(policy) == "overwrite" && !Writable(destination);
      EXPECT_EQ(run.status, std::string(policy) == "rename" || replaced ? 0 : 1) << run.out << run.err;
      EXPECT_TRUE(StartsWith(run.out, refused ? "NG\t" : std::string(policy) == "skip" ? "SKIP\t" : "Comp..\t")) << run.out;
      if (refused) {
        EXPECT_NE(run.out.find("コピー中にエラーが発生しました"), std::string::npos) << run.out;
      }
      EXPECT_EQ(ReadFileBytes(dest), replaced ? ReadFileBytes(source) : "old");
      std::size_t files = 0;
      for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.Path())) {
        if (entry.is_directory()) continue;
        ++files;
        const std::string name = std::filesystem::relative(entry.path(), dir.Path()).string();
        EXPECT_TRUE(StartsWith(name, "out/") || StartsWith(name, "src/")) << name;
      }
      EXPECT_EQ(files, std::string(policy) == "rename" ? 3U : 2U);
    }
  }
}

}  // namespace
}  // namespace varst
