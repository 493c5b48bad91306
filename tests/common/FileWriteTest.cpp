#include "common/FileWrite.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/TempDir.h"

namespace varst {
namespace {

using test::ReadFileBytes;
using test::TempDir;

int EntriesIn(const std::string& folder) {
  int count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
  return count;
}

TEST(FileWrite, WritesAndReplacesWholeFiles) {
  TempDir dir;
  const std::string file = dir.File("out.txt");
  ASSERT_TRUE(WriteFileAtomically(file, "first"));
  ASSERT_TRUE(WriteFileAtomically(file, "second"));
  EXPECT_EQ(ReadFileBytes(file), "second");
  EXPECT_EQ(EntriesIn(dir.Path()), 1) << "no temporary file stays behind";
}

TEST(FileWrite, AFailureAtAnyStepLeavesTheOldFile) {
  for (WriteStep failing : {WriteStep::Open, WriteStep::Write, WriteStep::Rename}) {
    TempDir dir;
    const std::string file = dir.Write("keep.txt", "precious");
    {
      ScopedWriteFault fault([failing](WriteStep step, const std::string&) { return step == failing; });
      const WriteResult result = WriteFileAtomically(file, "replacement text");
      EXPECT_FALSE(result.ok);
      EXPECT_FALSE(result.error.empty());
    }
    EXPECT_EQ(ReadFileBytes(file), "precious");
    EXPECT_EQ(EntriesIn(dir.Path()), 1);
  }
}

TEST(FileWrite, CopiesByteForByte) {
  TempDir dir;
  std::string bytes;
  for (int i = 0; i < 3 * 1024 * 1024 + 17; ++i) bytes += static_cast<char>(i * 7);
  const std::string source = dir.Write("src.bin", bytes);
  ASSERT_TRUE(CopyFileAtomically(source, dir.File("dst.bin")));
  EXPECT_EQ(ReadFileBytes(dir.File("dst.bin")), bytes);
  EXPECT_FALSE(CopyFileAtomically(dir.File("missing"), dir.File("x")));
  EXPECT_FALSE(CopyFileAtomically(source, dir.File("nofolder/x")));
}

TEST(FileWrite, AppendsLinesWithCrLf) {
  TempDir dir;
  const std::string file = dir.File("lines.txt");
  ASSERT_TRUE(AppendLine(file, "a"));
  ASSERT_TRUE(AppendLine(file, "b"));
  EXPECT_EQ(ReadFileBytes(file), "a\r\nb\r\n");
  EXPECT_TRUE(RemoveFile(file));
  EXPECT_TRUE(RemoveFile(file)) << "a missing file is not an error";
}

}  // namespace
}  // namespace varst
