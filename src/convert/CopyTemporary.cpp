#include "convert/CopyTemporary.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace varst {
namespace {

// The temporary being written, for the signal handler: a fixed buffer, because a handler may
// not allocate. A path that does not fit could not be created either.
constexpr std::size_t kPendingSize = 4097;
char g_pendingPath[kPendingSize];
volatile std::sig_atomic_t g_pending = 0;

constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr std::size_t kEndingCount = sizeof kEndingSignals / sizeof kEndingSignals[0];
struct sigaction g_previous[kEndingCount];
bool g_installed[kEndingCount] = {};
struct sigaction g_previousSizeLimit;
int g_guards = 0;

void SetPending(const std::string& path) {
  g_pending = 0;
  std::atomic_signal_fence(std::memory_order_seq_cst);
  if (path.size() >= kPendingSize) return;
  std::memcpy(g_pendingPath, path.c_str(), path.size() + 1);
  std::atomic_signal_fence(std::memory_order_seq_cst);
  g_pending = 1;
}

void ClearPending() {
  g_pending = 0;
  std::atomic_signal_fence(std::memory_order_seq_cst);
}

// Removes the temporary, gives the signal back to whoever had it before and raises it again:
// the program then ends (or goes on) exactly as it would have without the copy.
extern "C" void OnEndingSignal(int signal) {
  const int saved = errno;
  if (g_pending != 0) ::unlink(g_pendingPath);
  for (std::size_t i = 0; i < kEndingCount; ++i) {
    if (kEndingSignals[i] == signal && g_installed[i]) {
      ::sigaction(signal, &g_previous[i], nullptr);
      g_installed[i] = false;
    }
  }
  ::raise(signal);
  errno = saved;
}

bool AllDigits(std::string_view text) {
  if (text.empty()) return false;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// The process id in a temporary's name; 0 when it does not parse.
pid_t ProcessOf(std::string_view name) {
  name.remove_prefix(kCopyTemporaryPrefix.size());
  const std::string_view digits = name.substr(0, name.find('-'));
  if (digits.size() > 9) return 0;
  pid_t pid = 0;
  for (const char c : digits) pid = pid * 10 + (c - '0');
  return pid;
}

bool ProcessIsGone(pid_t pid) { return pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH; }

}  // namespace

bool IsCopyTemporaryName(std::string_view name) {
  if (name.substr(0, kCopyTemporaryPrefix.size()) != kCopyTemporaryPrefix) return false;
  name.remove_prefix(kCopyTemporaryPrefix.size());
  const auto dash = name.find('-');
  return dash != std::string_view::npos && AllDigits(name.substr(0, dash)) && AllDigits(name.substr(dash + 1));
}

void RemoveStaleCopyTemporaries(const std::string& folder) {
  DIR* entries = ::opendir(folder.empty() ? "." : folder.c_str());
  if (entries == nullptr) return;
  const int folderDescriptor = ::dirfd(entries);
  const pid_t self = ::getpid();
  while (const dirent* entry = ::readdir(entries)) {
    const std::string_view name(entry->d_name);
    if (!IsCopyTemporaryName(name)) continue;
    const pid_t owner = ProcessOf(name);
    if (owner == self || !ProcessIsGone(owner)) continue;
    struct stat status {};
    if (::fstatat(folderDescriptor, entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(status.st_mode)) {
      ::unlinkat(folderDescriptor, entry->d_name, 0);
    }
  }
  ::closedir(entries);
}

CopySignalGuard::CopySignalGuard() {
  if (g_guards++ != 0) return;
  struct sigaction action {};
  action.sa_handler = OnEndingSignal;
  sigemptyset(&action.sa_mask);
  for (std::size_t i = 0; i < kEndingCount; ++i) {
    struct sigaction current {};
    ::sigaction(kEndingSignals[i], nullptr, &current);
    if (current.sa_handler == SIG_IGN) continue;  // a run started with nohup stays so
    g_installed[i] = ::sigaction(kEndingSignals[i], &action, &g_previous[i]) == 0;
  }
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  ::sigaction(SIGXFSZ, &ignore, &g_previousSizeLimit);
}

CopySignalGuard::~CopySignalGuard() {
  if (--g_guards != 0) return;
  for (std::size_t i = 0; i < kEndingCount; ++i) {
    if (g_installed[i]) ::sigaction(kEndingSignals[i], &g_previous[i], nullptr);
    g_installed[i] = false;
  }
  ::sigaction(SIGXFSZ, &g_previousSizeLimit, nullptr);
}

CopyTemporary::~CopyTemporary() {
  if (descriptor_ >= 0) ::close(descriptor_);
  if (owned_) {
    ::unlink(path_.c_str());
    ClearPending();
  }
}

bool CopyTemporary::Create(const std::string& folder, unsigned mode) {
  static unsigned long counter = 0;
  const std::string stem = (folder.empty() ? std::string() : folder + "/") + std::string(kCopyTemporaryPrefix) +
                           std::to_string(::getpid()) + "-";
  // A name in use (another copy of this process, or a file someone made) is passed over.
  for (int attempt = 0; attempt < 1000; ++attempt) {
    path_ = stem + std::to_string(counter++);
    // Known to the handler before it exists: no moment where the file is there unknown.
    SetPending(path_);
    descriptor_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, static_cast<mode_t>(mode & 0777));
    if (descriptor_ >= 0) {
      owned_ = true;
      return true;
    }
    const int error = errno;
    ClearPending();
    errno = error;
    if (error != EEXIST) return false;
  }
  return false;
}

bool CopyTemporary::Close() {
  const int descriptor = descriptor_;
  descriptor_ = -1;
  return ::close(descriptor) == 0;
}

void CopyTemporary::Release() {
  owned_ = false;
  ClearPending();
}

}  // namespace varst
