#pragma once
// The program: its state for the run, the platform services, and the windows.

#include <string>
#include <vector>

namespace varst {

// Starts the viewer with the command-line items (argv without the program path and without
// the end of options "--") and runs it until the main window closes; returns the exit
// status. Only the first `optionItems` items may be options. argc and argv are Qt's.
// language is the "--lang" choice ("en", "ja", or "" to follow the settings file).
int RunViewer(int& argc, char** argv, const std::vector<std::string>& items, std::size_t optionItems,
              const std::string& language = {});

}  // namespace varst
