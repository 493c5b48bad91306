#include "support/VarstProgram.h"

#include <sys/wait.h>

#include <cstdio>

namespace varst::test {

std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

CommandRun Varst(const TempDir& dir, const std::vector<std::string>& arguments, const Shell& shell) {
  std::string command = shell.wrapper + " " + Quoted(VARST_BINARY);
  for (const std::string& argument : arguments) command += " " + Quoted(argument);
  command += " 2>" + Quoted(dir.File("stderr.txt"));
  if (!shell.stdoutTo.empty()) command += " >" + Quoted(shell.stdoutTo);
  command = (shell.before.empty() ? "" : shell.before + "; ") + "exec " + command;
  CommandRun run;
  std::FILE* pipe = ::popen(command.c_str(), "r");
  char buffer[4096];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.out.append(buffer, got);
  const int status = ::pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.err = ReadFileBytes(dir.File("stderr.txt"));
  return run;
}

}  // namespace varst::test
