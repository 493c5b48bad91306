#pragma once
// The command-line modes for scripts: --export, --dump-drawing and --list-series. They never
// write the settings file; messages go to standard error.

#include <string>
#include <vector>

namespace varst {

// True when the first item names a headless mode.
[[nodiscard]] bool IsHeadlessCommand(const std::vector<std::string>& items);

// Before a headless mode makes its QGuiApplication: the offscreen platform unless another
// is chosen, and none of Qt's notes about the desktop session on standard error.
void StartHeadlessQt();

// Runs the mode; returns the exit status: 0 done, 2 usage error, 3 failure.
int RunHeadlessCommand(int& argc, char** argv, const std::vector<std::string>& items);

}  // namespace varst
