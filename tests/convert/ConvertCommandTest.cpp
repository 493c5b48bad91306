#include "convert/ConvertCommand.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "ConvertTestFiles.h"
#include "common/Paths.h"
#include "common/Text.h"
#include "support/TempDir.h"

namespace varst {
namespace {

using Args = std::vector<std::string>;

struct Outcome {
  int status;
  std::vector<std::string> lines;
  std::string err;
};

Outcome Convert(const Args& args) {
  std::ostringstream out;
  std::ostringstream err;
  Outcome outcome{RunConvertCommand(args, out, err), {}, err.str()};
  std::istringstream lines(out.str());
  for (std::string line; std::getline(lines, line);) outcome.lines.push_back(line);
  return outcome;
}

TEST(ConvertCommand, RefusesBadUsageWithTheUsageText) {
  const struct {
    const char* name;
    Args args;
  } rows[] = {
      {"nothing", {}},
      {"no destination", {"a.csv"}},
      {"destination without value", {"a.csv", "--dest"}},
      {"blank destination", {"--dest", " ", "a.csv"}},
      {"no file", {"--dest", "/tmp/x"}},
      {"unknown level", {"--dest", "/tmp/x", "--level1", "drive", "a.csv"}},
      {"no dialog here", {"--dest", "/tmp/x", "--exists", "ask", "a.csv"}},
      {"unknown option", {"--dest", "/tmp/x", "--force", "a.csv"}},
  };
  for (const auto& row : rows) {
    const Outcome outcome = Convert(row.args);
    EXPECT_EQ(outcome.status, kConvertUsageError) << row.name;
    EXPECT_TRUE(outcome.lines.empty()) << row.name;
    EXPECT_NE(outcome.err.find("Usage: varst --convert"), std::string::npos) << row.name;
  }
  EXPECT_EQ(Convert({"--help"}).status, kConvertAllCopied);
}

TEST(ConvertCommand, CopiesAThousandFilesAndReportsEachOne) {
  test::TempDir dir;
  Args args = {"--dest=" + dir.File("out"), "--level1", "model", "--exists", "rename"};
  for (int i = 0; i < 1000; ++i) {
    args.push_back(dir.Write("src/" + std::to_string(i) + ".csv", test::DataFileText("M" + std::to_string(i % 7), "S" + std::to_string(i))));
  }
  const Outcome first = Convert(args);
  EXPECT_EQ(first.status, kConvertAllCopied) << first.err;
  ASSERT_EQ(first.lines.size(), 1000U);
  EXPECT_EQ(first.lines[42], "Comp..\t" + dir.File("src/42.csv") + "\t" + dir.File("out/M0/M0_S42.csv") + "\t正常に終了しました");
  for (int i = 0; i < 1000; ++i) {
    const std::vector<std::string> fields = SplitFields(first.lines[static_cast<std::size_t>(i)], "\t");
    ASSERT_EQ(fields.size(), 4U);
    EXPECT_TRUE(FileExists(std::string_view(fields[2]))) << fields[2];
  }
  const Outcome second = Convert({args[0], args[1], args[2], args[3], args[4], args[5 + 42]});
  EXPECT_EQ(second.status, kConvertAllCopied);
  EXPECT_EQ(SplitFields(second.lines.at(0), "\t")[2], dir.File("out/M0/M0_S42(1).csv"));
}

TEST(ConvertCommand, DryRunWritesNothingButForeseesNumberedNames) {
  test::TempDir dir;
  const std::string a = dir.Write("src/a.csv", test::DataFileText("M", "S"));
  const std::string b = dir.Write("src/b.csv", test::DataFileText("M", "S"));
  const Outcome outcome = Convert({"--dry-run", "--dest", dir.File("out"), "--exists", "rename", a, b});
  EXPECT_EQ(outcome.status, kConvertAllCopied);
  ASSERT_EQ(outcome.lines.size(), 2U);
  EXPECT_EQ(outcome.lines[0], "Comp..\t" + a + "\t" + dir.File("out/M_S.csv") + "\twould be copied (dry run)");
  EXPECT_EQ(SplitFields(outcome.lines[1], "\t")[2], dir.File("out/M_S(1).csv"));
  EXPECT_FALSE(std::filesystem::exists(dir.File("out")));
}

TEST(ConvertCommand, ReportsEveryFileThatWasNotCopied) {
  test::TempDir dir;
  const std::string unchecked = dir.Write("src/result.csv", test::DataFileText("M", "S2"));
  const std::string invalid = dir.Write("src/bad.csv", "no,drive\r\n");
  const std::string missing = dir.File("src/missing.csv");
  const Outcome outcome = Convert({"--check-date", "--dest", dir.File("out"), "--", unchecked, missing, missing});
  EXPECT_EQ(outcome.status, kConvertNotAllCopied);
  ASSERT_EQ(outcome.lines.size(), 2U);
  EXPECT_EQ(outcome.lines[0], "SKIP\t" + unchecked + "\t\tユーザーによって処理をスキップしました");
  EXPECT_EQ(outcome.lines[1], "NG\t" + missing + "\t\tfile not found or not readable");
  EXPECT_NE(outcome.err.find("既にファイルが存在しますので処理はスキップされます\t" + missing), std::string::npos);

  EXPECT_EQ(Convert({"--dest", dir.File("out"), invalid}).lines.at(0), "NG\t" + invalid + "\t\tデータファイルが不正です");
  const Outcome blocked = Convert({"--dest", invalid + "/out", unchecked});
  ASSERT_EQ(blocked.lines.size(), 1U);
  EXPECT_TRUE(StartsWith(blocked.lines[0], "NG\t" + unchecked + "\t\tコピー中にエラーが発生しました (")) << blocked.lines[0];
}

TEST(ConvertCommand, TakesEveryPathExactlyAsGiven) {
  test::TempDir dir;
  dir.Write("src/a.csv", test::DataFileText("M", "PLAIN"));
  const std::string leading = dir.Write("src/ a.csv", test::DataFileText("M", "LEADING"));
  const std::string trailing = dir.Write("src/b.csv ", test::DataFileText("M", "TRAILING"));
  const Outcome outcome = Convert({"--dest", dir.File("out"), leading, trailing});
  EXPECT_EQ(outcome.status, kConvertAllCopied) << outcome.err;
  ASSERT_EQ(outcome.lines.size(), 2U);
  EXPECT_EQ(SplitFields(outcome.lines[0], "\t")[1], leading);
  EXPECT_EQ(SplitFields(outcome.lines[1], "\t")[1], trailing);
  EXPECT_TRUE(FileExists(std::string_view(dir.File("out/M_LEADING.csv"))));
  EXPECT_TRUE(FileExists(std::string_view(dir.File("out/M_TRAILING.csv ")))) << "the extension keeps its blank";
  EXPECT_FALSE(FileExists(std::string_view(dir.File("out/M_PLAIN.csv")))) << "\" a.csv\" is not a.csv";
}

}  // namespace
}  // namespace varst
