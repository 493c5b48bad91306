#include "common/FileWrite.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "common/TemporaryFiles.h"

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

TEST(FileWrite, AnInterruptWhileWritingRemovesTheTemporary) {
  for (int signal : {SIGTERM, SIGINT}) {
    TempDir dir;
    const std::string file = dir.Write("keep.png", "old picture");
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
      RemoveTemporariesOnSignals();
      // Half the picture is on the disk when the signal comes.
      (void)WriteFileAtomicallyFrom(file, [signal](const ChunkWriter& write) {
        write("new picture, first half", 23);
        std::raise(signal);
        return write("second half", 11);
      });
      ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the process still ends by the signal";
    EXPECT_EQ(WTERMSIG(status), signal);
    EXPECT_EQ(ReadFileBytes(file), "old picture");
    EXPECT_EQ(EntriesIn(dir.Path()), 1) << "the temporary is gone";
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
