#pragma once
// Temporary files that must not outlive an interrupted process. A write registers its
// temporary for as long as the file may exist; when SIGINT or SIGTERM ends the process, the
// handler removes every registered temporary before the process dies of the signal as it
// would have without the handler.

#include <string>

namespace varst {

// Installs the handler for SIGINT and SIGTERM, except for a signal the process was started
// to ignore. Also ignores SIGXFSZ, so that a write beyond the file size limit fails like a
// full disk instead of killing the process. Call once, early in main.
void RemoveTemporariesOnSignals();

// Registers `path` for the handler while the object lives. A path too long to register is
// simply not removed on a signal.
class RegisteredTemporary {
 public:
  explicit RegisteredTemporary(const std::string& path);
  ~RegisteredTemporary();
  RegisteredTemporary(const RegisteredTemporary&) = delete;
  RegisteredTemporary& operator=(const RegisteredTemporary&) = delete;

 private:
  int slot_ = -1;
};

}  // namespace varst
