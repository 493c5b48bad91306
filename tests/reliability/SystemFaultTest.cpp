// Write faults that the operating system raises, not the test hook: a file size limit (the
// write fails with EFBIG), a full device, a folder that refuses writes to an ordinary user,
// and a destination whose folder vanishes between the checks and the rename. For the settings
// file, a saved row file and a reference file: the old file stays byte for byte, nothing
// half-written is left beside it, and the result carries the message the window shows.
//
// Limits and users are changed in a child process, so the test process keeps its own.

#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <grp.h>
#include <pwd.h>
#include <set>
#include <string>

#include "app/SettingsFile.h"
#include "common/FileWrite.h"
#include "data/ReferenceFiles.h"
#include "support/TempDir.h"

namespace varst {
namespace {

namespace fs = std::filesystem;
using test::ReadFileBytes;
using test::TempDir;

constexpr char kOld[] = "the file as it stood before\r\n";

// One of the files the program writes, placed in a folder: `write` replaces `path` there.
struct Target {
  const char* name;
  std::string path;
  std::function<WriteResult()> write;
};

Target SettingsFile(const std::string& folder) {
  const std::string path = folder + "/Varst.ini";
  return {"settings file", path, [path] {
            Settings settings;
            settings.EditorPath = std::string(4096, 'e');  // more bytes than any limit below
            return SaveSettings(settings, path);
          }};
}

Target SavedRowFile(const std::string& folder, const std::string& source) {
  const std::string path = folder + "/copy.dat";
  return {"saved row file", path, [path, source] { return CopyFileAtomically(source, path, LinkPolicy::FollowLinks); }};
}

Target ReferenceFile(const std::string& folder) {
  return {"reference file", folder + "/~REF0", [folder] {
            Settings settings;
            settings.WorkFolder = folder;
            DataSet dataSet;
            dataSet.RefLines.assign(200, "R,0,0,5.00,1");
            dataSet.RefLineCount = 200;
            return WriteRefFile(settings, dataSet);
          }};
}

// The three targets in `folder`, each with its old file in place.
std::vector<Target> Targets(const std::string& folder, const std::string& source) {
  std::vector<Target> targets{SettingsFile(folder), SavedRowFile(folder, source), ReferenceFile(folder)};
  for (const Target& target : targets) {
    std::FILE* file = std::fopen(target.path.c_str(), "wb");
    EXPECT_NE(file, nullptr) << target.path;
    if (file == nullptr) continue;
    std::fputs(kOld, file);
    std::fclose(file);
  }
  return targets;
}

std::set<std::string> NamesIn(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

// A source of 64 KiB for the row copy, outside the folder under test.
std::string Source(const TempDir& dir) {
  std::string bytes;
  while (bytes.size() < 65536) bytes += "R,0,0,5.00,1\r\n";
  return dir.Write("source/a.dat", bytes);
}

constexpr int kCouldNotDrop = 99;

// Runs `write` in a child process after `prepare` (which answers false when it could not do
// its part) and hands back the child's result.
WriteResult InChild(const std::function<bool()>& prepare, const std::function<WriteResult()>& write, int& status) {
  int channel[2];
  if (::pipe(channel) != 0) return {false, "no pipe"};
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(channel[0]);
    if (!prepare()) ::_exit(kCouldNotDrop);
    const WriteResult result = write();
    const std::string report = (result.ok ? "1" : "0") + result.error;
    [[maybe_unused]] const ssize_t written = ::write(channel[1], report.data(), report.size());
    ::_exit(0);
  }
  ::close(channel[1]);
  std::string report;
  char buffer[512];
  for (ssize_t got; (got = ::read(channel[0], buffer, sizeof buffer)) > 0;) report.append(buffer, static_cast<std::size_t>(got));
  ::close(channel[0]);
  ::waitpid(child, &status, 0);
  if (report.empty()) return {false, ""};
  return {report[0] == '1', report.substr(1)};
}

void ExpectNothingLost(const Target& target, const WriteResult& result, const std::string& reason, const char* fault) {
  EXPECT_FALSE(result.ok) << target.name << ", " << fault;
  EXPECT_NE(result.error.find(target.path), std::string::npos) << "the message names the file: " << result.error;
  EXPECT_NE(result.error.find(reason), std::string::npos) << "the message gives the reason: " << result.error;
  EXPECT_EQ(ReadFileBytes(target.path), kOld) << target.name << ", " << fault;
}

TEST(SystemFaults, AFileSizeLimitKeepsTheOldFiles) {
  TempDir dir;
  const std::string folder = dir.File("out");
  fs::create_directories(folder);
  for (const Target& target : Targets(folder, Source(dir))) {
    int status = 0;
    const WriteResult result = InChild(
        [] {
          std::signal(SIGXFSZ, SIG_IGN);  // the write then fails with EFBIG instead of ending the process
          const rlimit limit{1024, 1024};
          return ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
        },
        target.write, status);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << target.name;
    ExpectNothingLost(target, result, std::strerror(EFBIG), "file size limit");
  }
  EXPECT_EQ(NamesIn(folder), (std::set<std::string>{"Varst.ini", "copy.dat", "~REF0"})) << "no partial file left";
}

// A tmpfs of 64 KiB filled up: the device itself says it is full. Mounting needs root; an
// ordinary user's run says so and skips.
TEST(SystemFaults, AFullDeviceKeepsTheOldFiles) {
  TempDir dir;
  const std::string folder = dir.File("small");
  fs::create_directories(folder);
  if (::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64k") != 0) {
    GTEST_SKIP() << "cannot mount a small tmpfs here (" << std::strerror(errno) << "); run as root to try a full device";
  }
  struct Unmount {
    std::string folder;
    ~Unmount() { ::umount2(folder.c_str(), MNT_DETACH); }
  } unmount{folder};
  const std::vector<Target> targets = Targets(folder, Source(dir));
  {
    std::FILE* filler = std::fopen((folder + "/filler").c_str(), "wb");
    ASSERT_NE(filler, nullptr);
    const std::string block(4096, 'f');
    while (std::fwrite(block.data(), 1, block.size(), filler) == block.size() && std::fflush(filler) == 0) {
    }
    std::fclose(filler);
  }
  for (const Target& target : targets) ExpectNothingLost(target, target.write(), std::strerror(ENOSPC), "full device");
  EXPECT_EQ(NamesIn(folder), (std::set<std::string>{"Varst.ini", "copy.dat", "~REF0", "filler"}));
}

// The folder belongs to an ordinary user and refuses writes (mode 555): the child runs as that
// user, since root passes every permission check. A run that cannot become that user fails.
TEST(SystemFaults, AFolderThatRefusesWritesKeepsTheOldFiles) {
  TempDir dir;
  const std::string folder = dir.File("locked");
  fs::create_directories(folder);
  const std::vector<Target> targets = Targets(folder, Source(dir));
  const passwd* nobody = ::getpwnam("nobody");
  ASSERT_NE(nobody, nullptr) << "no ordinary user to run as";
  const uid_t uid = ::geteuid() == 0 ? nobody->pw_uid : ::geteuid();
  const gid_t gid = ::geteuid() == 0 ? nobody->pw_gid : ::getegid();
  ASSERT_EQ(::chmod(dir.Path().c_str(), 0755), 0);
  ASSERT_EQ(::chmod(dir.File("source").c_str(), 0755), 0);
  for (const Target& target : targets) ASSERT_EQ(::chown(target.path.c_str(), uid, gid), 0);
  ASSERT_EQ(::chown(folder.c_str(), uid, gid), 0);
  ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
  for (const Target& target : targets) {
    int status = 0;
    const WriteResult result = InChild(
        [uid, gid] {
          if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0)) return false;
          return ::geteuid() != 0;
        },
        target.write, status);
    ASSERT_TRUE(WIFEXITED(status)) << target.name;
    ASSERT_NE(WEXITSTATUS(status), kCouldNotDrop) << "could not run as an ordinary user: the test proves nothing";
    ExpectNothingLost(target, result, std::strerror(EACCES), "folder refuses writes");
  }
  ::chmod(folder.c_str(), 0755);
  EXPECT_EQ(NamesIn(folder), (std::set<std::string>{"Varst.ini", "copy.dat", "~REF0"}));
}

// Another program removes the file or its whole folder after the bytes are written and before
// the rename. The hook only picks the moment; the rename's failure is the system's own.
TEST(SystemFaults, ADestinationThatVanishesBeforeTheRename) {
  TempDir dir;
  const std::string source = Source(dir);
  for (const bool wholeFolder : {false, true}) {
    const std::string folder = dir.File(wholeFolder ? "gone" : "kept");
    fs::create_directories(folder);
    for (const Target& target : Targets(folder, source)) {
      fs::create_directories(folder);
      const ScopedWriteFault moment([&](WriteStep step, const std::string&) {
        if (step == WriteStep::Rename) {
          std::error_code ignored;
          wholeFolder ? fs::remove_all(folder, ignored) : fs::remove(target.path, ignored);
        }
        return false;
      });
      const WriteResult result = target.write();
      if (wholeFolder) {
        EXPECT_FALSE(result.ok) << target.name;
        EXPECT_NE(result.error.find(target.path), std::string::npos) << result.error;
        EXPECT_FALSE(fs::exists(folder)) << "nothing is made again where the folder was";
      } else {
        EXPECT_TRUE(result.ok) << target.name << ": " << result.error;
        EXPECT_GT(ReadFileBytes(target.path).size(), std::strlen(kOld)) << "the whole new file stands";
      }
    }
  }
  EXPECT_EQ(NamesIn(dir.File("kept")), (std::set<std::string>{"Varst.ini", "copy.dat", "~REF0"}));
}

}  // namespace
}  // namespace varst
