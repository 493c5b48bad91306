#pragma once
// Faults raised by the system itself, for tests: running as an ordinary user (permission
// checks all pass for root, and the suite runs as root in CI), a file size limit, a small
// full device, and the real program run as a child process.

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

namespace varst::test {

// The user permission tests run as: "nobody" when the tests run as root, else the user
// running them (who is ordinary already).
struct OrdinaryUser {
  uid_t uid = 0;
  gid_t gid = 0;
};
[[nodiscard]] OrdinaryUser TheOrdinaryUser();

// Gives the path and everything below it to the ordinary user (nothing to do when not root).
void GiveToOrdinaryUser(const std::string& path);

// Runs `body` in a child process as the ordinary user and returns the text it returned. The
// test fails, never skips, when the child could not leave root or did not end normally.
[[nodiscard]] std::string RunAsOrdinaryUser(const std::function<std::string()>& body);

struct ProgramOptions {
  bool asOrdinaryUser = false;
  long long fileSizeLimit = -1;   // bytes (RLIMIT_FSIZE); -1: none
  std::string workingFolder;      // "": the test's own
};

struct ProgramRun {
  int status = -1;  // exit status; -1 when ended by a signal
  int signal = 0;   // the signal that ended it
  std::string out;
  std::string err;
};

// A program started as a child process, its output kept in files.
class ChildProgram {
 public:
  ChildProgram(const std::vector<std::string>& arguments, const ProgramOptions& options = {});
  ~ChildProgram();
  ChildProgram(const ChildProgram&) = delete;
  ChildProgram& operator=(const ChildProgram&) = delete;

  [[nodiscard]] pid_t Pid() const { return pid_; }
  // Waits for the end (killing the child after `seconds`, which fails the test).
  ProgramRun Wait(int seconds = 120);

 private:
  pid_t pid_ = -1;
  std::string outPath_;
  std::string errPath_;
};

// Runs the program to its end.
[[nodiscard]] ProgramRun RunProgram(const std::vector<std::string>& arguments, const ProgramOptions& options = {});

// A tmpfs of a few bytes mounted on an empty folder for one scope, so that writes fail with
// ENOSPC. Only root may mount: elsewhere Mounted() is false and Why() says why.
class SmallDevice {
 public:
  SmallDevice(const std::string& folder, std::size_t bytes);
  ~SmallDevice();
  SmallDevice(const SmallDevice&) = delete;
  SmallDevice& operator=(const SmallDevice&) = delete;

  [[nodiscard]] bool Mounted() const { return mounted_; }
  [[nodiscard]] const std::string& Why() const { return why_; }

 private:
  std::string folder_;
  bool mounted_ = false;
  std::string why_;
};

}  // namespace varst::test
