#pragma once
// The Shell of the windows: programs started detached with an argument list, files and
// folders opened through the desktop.

#include "platform/Shell.h"

namespace varst {

class QtShell final : public Shell {
 public:
  bool StartProgram(const std::string& program, const std::vector<std::string>& arguments) override;
  bool OpenWithDefaultApplication(const std::string& path) override;
  bool OpenFolder(const std::string& folder) override;
};

}  // namespace varst
