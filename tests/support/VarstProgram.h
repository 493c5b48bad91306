#pragma once
// The varst program run as a script runs it, through the shell, for the command-line tests.

#include <string>
#include <vector>

#include "support/TempDir.h"

namespace varst::test {

struct CommandRun {
  int status = -1;  // exit status; -1 when ended by a signal
  std::string out;
  std::string err;
};

// `text` in single quotes for the shell.
[[nodiscard]] std::string Quoted(const std::string& text);

// How the shell runs the program: `before` runs first in the same shell (a ulimit, a cd),
// `wrapper` runs the program (timeout), and standard output goes to `stdoutTo` instead of
// the test when it is given.
struct Shell {
  std::string before;
  std::string stdoutTo;
  std::string wrapper;
};

// Runs varst with the arguments; standard error goes through a file in `dir`.
CommandRun Varst(const TempDir& dir, const std::vector<std::string>& arguments, const Shell& shell = {});

}  // namespace varst::test
