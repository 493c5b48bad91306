#pragma once
// Starting other programs and showing folders. Arguments are handed over as a list, never
// through a shell, so no text in a file name is ever interpreted.

#include <string>
#include <vector>

namespace varst {

class Shell {
 public:
  virtual ~Shell() = default;
  // Starts program with the arguments without waiting; false when it could not be started.
  virtual bool StartProgram(const std::string& program, const std::vector<std::string>& arguments) = 0;
  // Opens a file with the desktop's default application for its type.
  virtual bool OpenWithDefaultApplication(const std::string& path) = 0;
  // Shows a folder in the desktop's file manager.
  virtual bool OpenFolder(const std::string& folder) = 0;
};

}  // namespace varst
