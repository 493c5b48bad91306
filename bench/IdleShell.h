#pragma once
// A Shell for benchmarks: starts nothing and opens nothing, and says it did.

#include <string>
#include <vector>

#include "platform/Shell.h"

namespace varst::bench {

class IdleShell final : public Shell {
 public:
  bool StartProgram(const std::string& /*program*/, const std::vector<std::string>& /*arguments*/) override {
    return true;
  }
  bool OpenWithDefaultApplication(const std::string& /*path*/) override { return true; }
  bool OpenFolder(const std::string& /*folder*/) override { return true; }
};

}  // namespace varst::bench
