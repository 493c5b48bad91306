#include "support/SystemFaults.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/TempDir.h"

namespace varst::test {
namespace {

// Leaves root for good: groups, then group, then user. True when no root id is left.
bool DropToOrdinaryUser() {
  if (::geteuid() != 0) return true;
  const OrdinaryUser user = TheOrdinaryUser();
  if (::setgroups(0, nullptr) != 0 || ::setresgid(user.gid, user.gid, user.gid) != 0 ||
      ::setresuid(user.uid, user.uid, user.uid) != 0) {
    return false;
  }
  uid_t real = 0;
  uid_t effective = 0;
  uid_t saved = 0;
  ::getresuid(&real, &effective, &saved);
  return real != 0 && effective != 0 && saved != 0;
}

void WriteAll(int descriptor, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t written = ::write(descriptor, text.data() + done, text.size() - done);
    if (written <= 0) return;
    done += static_cast<std::size_t>(written);
  }
}

std::string ReadAll(int descriptor) {
  std::string text;
  char buffer[4096];
  for (ssize_t got; (got = ::read(descriptor, buffer, sizeof buffer)) != 0;) {
    if (got < 0) {
      if (errno == EINTR) continue;
      break;
    }
    text.append(buffer, static_cast<std::size_t>(got));
  }
  return text;
}

std::string TemporaryOutput() {
  std::string pattern = (std::filesystem::temp_directory_path() / "varst-child-XXXXXX").string();
  const int descriptor = ::mkstemp(pattern.data());
  if (descriptor >= 0) ::close(descriptor);
  return pattern;
}

}  // namespace

OrdinaryUser TheOrdinaryUser() {
  if (::geteuid() != 0) return {::getuid(), ::getgid()};
  OrdinaryUser user{65534, 65534};
  if (const passwd* nobody = ::getpwnam("nobody")) {
    user.uid = nobody->pw_uid;
    user.gid = nobody->pw_gid;
  }
  if (const group* nogroup = ::getgrnam("nogroup")) user.gid = nogroup->gr_gid;
  return user;
}

void GiveToOrdinaryUser(const std::string& path) {
  if (::geteuid() != 0) return;
  const OrdinaryUser user = TheOrdinaryUser();
  ASSERT_EQ(::lchown(path.c_str(), user.uid, user.gid), 0) << path;
  std::error_code error;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(path, error)) {
    ASSERT_EQ(::lchown(entry.path().c_str(), user.uid, user.gid), 0) << entry.path();
  }
}

std::string RunAsOrdinaryUser(const std::function<std::string()>& body) {
  int channel[2];
  if (::pipe(channel) != 0) {
    ADD_FAILURE() << "pipe: " << std::strerror(errno);
    return {};
  }
  std::fflush(nullptr);
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(channel[0]);
    if (!DropToOrdinaryUser()) {
      WriteAll(channel[1], "could not leave root");
      ::_exit(3);
    }
    WriteAll(channel[1], body());
    ::_exit(0);
  }
  ::close(channel[1]);
  const std::string text = child > 0 ? ReadAll(channel[0]) : std::string();
  ::close(channel[0]);
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    ADD_FAILURE() << "the test did not run to its end as an ordinary user: " << text;
    return {};
  }
  return text;
}

ChildProgram::ChildProgram(const std::vector<std::string>& arguments, const ProgramOptions& options)
    : outPath_(TemporaryOutput()), errPath_(TemporaryOutput()) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  std::fflush(nullptr);
  pid_ = ::fork();
  if (pid_ != 0) return;
  const int in = ::open("/dev/null", O_RDONLY);
  const int out = ::open(outPath_.c_str(), O_WRONLY | O_TRUNC);
  const int err = ::open(errPath_.c_str(), O_WRONLY | O_TRUNC);
  if (in < 0 || out < 0 || err < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0) ::_exit(126);
  if (!options.workingFolder.empty() && ::chdir(options.workingFolder.c_str()) != 0) ::_exit(126);
  if (options.fileSizeLimit >= 0) {
    const rlimit limit{static_cast<rlim_t>(options.fileSizeLimit), static_cast<rlim_t>(options.fileSizeLimit)};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(126);
  }
  if (options.asOrdinaryUser && !DropToOrdinaryUser()) {
    WriteAll(2, "could not leave root\n");
    ::_exit(125);
  }
  ::execv(argv[0], argv.data());
  ::_exit(127);
}

ChildProgram::~ChildProgram() {
  if (pid_ > 0) Wait();
  ::unlink(outPath_.c_str());
  ::unlink(errPath_.c_str());
}

ProgramRun ChildProgram::Wait(int seconds) {
  ProgramRun run;
  if (pid_ <= 0) return run;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  int status = 0;
  while (::waitpid(pid_, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      ADD_FAILURE() << "the program did not end within " << seconds << " s";
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  pid_ = -1;
  if (WIFEXITED(status)) run.status = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) run.signal = WTERMSIG(status);
  run.out = ReadFileBytes(outPath_);
  run.err = ReadFileBytes(errPath_);
  EXPECT_NE(run.status, 125) << "the program could not leave root";
  return run;
}

ProgramRun RunProgram(const std::vector<std::string>& arguments, const ProgramOptions& options) {
  ChildProgram program(arguments, options);
  return program.Wait();
}

SmallDevice::SmallDevice(const std::string& folder, std::size_t bytes) : folder_(folder) {
  if (::geteuid() != 0) {
    why_ = "mounting a small device needs root";
    return;
  }
  std::filesystem::create_directories(folder);
  const std::string size = "size=" + std::to_string(bytes);
  mounted_ = ::mount("tmpfs", folder.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, size.c_str()) == 0;
  if (!mounted_) why_ = std::string("mount tmpfs: ") + std::strerror(errno);
}

SmallDevice::~SmallDevice() {
  if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
}

}  // namespace varst::test
