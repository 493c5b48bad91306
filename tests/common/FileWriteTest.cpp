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

// What a name that is a link, a folder or a device turns into. Replacing never writes through
// a link (a copy must not land outside its folder); following writes the linked file; and no
// write puts a file where a folder or a device stands.
TEST(FileWrite, LinksFoldersAndDevices) {
  namespace fs = std::filesystem;
  TempDir dir;
  const std::string elsewhere = dir.Write("elsewhere/file", "outside");
  fs::create_directories(dir.File("in"));
  fs::create_symlink(elsewhere, dir.File("in/replaced"));
  fs::create_symlink(elsewhere, dir.File("in/followed"));
  fs::create_symlink("/dev/null", dir.File("in/device"));
  fs::create_symlink("loop", dir.File("in/loop"));
  EXPECT_TRUE(WriteFileAtomically(dir.File("in/replaced"), "new"));
  EXPECT_FALSE(fs::is_symlink(dir.File("in/replaced")));
  EXPECT_EQ(ReadFileBytes(dir.File("in/replaced")), "new");
  EXPECT_EQ(ReadFileBytes(elsewhere), "outside");
  EXPECT_TRUE(WriteFileAtomically(dir.File("in/followed"), "through", LinkPolicy::FollowLinks));
  EXPECT_TRUE(fs::is_symlink(dir.File("in/followed")));
  EXPECT_EQ(ReadFileBytes(elsewhere), "through");
  for (const char* name : {"in/device", "in/loop"}) {
    const WriteResult result = WriteFileAtomically(dir.File(name), "x", LinkPolicy::FollowLinks);
    EXPECT_FALSE(result) << name;
    EXPECT_NE(result.error.find(name), std::string::npos) << result.error;
  }
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
  EXPECT_FALSE(WriteFileAtomically(dir.File("elsewhere"), "x")) << "a folder is not replaced";
  EXPECT_EQ(ReadFileBytes(elsewhere), "through");
}

}  // namespace
}  // namespace varst
