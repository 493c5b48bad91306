// The editor is started with the file name as one argument of a list, never through a shell:
// a name full of quotes, semicolons, "$(...)" and backticks reaches the program as it stands,
// and nothing in it runs. The test starts a real program, /usr/bin/touch, and looks at what
// appeared in a fresh folder.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <chrono>
#include <filesystem>
#include <set>
#include <string>
#include <thread>

#include "platform/QtShell.h"
#include "support/TempDir.h"

namespace varst {
namespace {

constexpr char kTouch[] = "/usr/bin/touch";

std::set<std::string> NamesIn(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

// Waits until the file exists (the program runs detached), then a little longer, so that
// anything else a shell would have run has had its time too.
bool AppearsSoon(const std::string& path) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!std::filesystem::exists(path)) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    QCoreApplication::processEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  return true;
}

TEST(ShellSecurity, HostileFileNamesReachTheProgramAsOneArgument) {
  if (!std::filesystem::exists(kTouch)) GTEST_SKIP() << kTouch << " is missing";
  const char* names[] = {
      "plain.dat",
      "with spaces and 'single' \"double\" quotes.dat",
      "semi;colon; touch injected-semicolon.dat",
      "$(touch injected-dollar).dat",
      "`touch injected-backtick`.dat",
      "pipe | touch injected-pipe && touch injected-and > redirected.dat",
      "back\\slash \\\" and %PATH% !history *glob?.dat",
      "line\nfeed.dat",
  };
  test::TempDir dir;
  const std::string folder = dir.File("files");
  std::filesystem::create_directory(folder);
  QtShell shell;
  std::set<std::string> expected;
  for (const char* name : names) {
    const std::string path = folder + "/" + name;
    ASSERT_TRUE(shell.StartProgram(kTouch, {path})) << name;
    ASSERT_TRUE(AppearsSoon(path)) << name;
    expected.insert(name);
    EXPECT_EQ(NamesIn(folder), expected) << "exactly the named file appeared: " << name;
  }
  EXPECT_EQ(NamesIn(dir.Path()), std::set<std::string>{"files"});
  for (const char* stray : {"injected-semicolon.dat", "injected-dollar", "injected-backtick", "injected-pipe"}) {
    EXPECT_FALSE(std::filesystem::exists(stray)) << stray << " in the working folder";
  }
}

TEST(ShellSecurity, TheProgramPathIsNotSplitAtBlanks) {
  if (!std::filesystem::exists(kTouch)) GTEST_SKIP() << kTouch << " is missing";
  test::TempDir dir;
  const std::string program = dir.File("my editor; touch injected");
  std::filesystem::create_symlink(kTouch, program);
  const std::string file = dir.File("opened.dat");
  QtShell shell;
  ASSERT_TRUE(shell.StartProgram(program, {file}));
  ASSERT_TRUE(AppearsSoon(file));
  EXPECT_EQ(NamesIn(dir.Path()), (std::set<std::string>{"my editor; touch injected", "opened.dat"}));
  EXPECT_FALSE(shell.StartProgram(dir.File("no such editor"), {file})) << "the caller falls back to the desktop";
}

}  // namespace
}  // namespace varst
