#pragma once
// The conversion tool without a window, for scripts:
//
//   varst --convert --dest DIR [--level1 none|model|date] [--level2 none|model|date]
//         [--exists overwrite|rename|skip] [--check-date] [--dry-run] FILE...
//
// The same rules and copy policies as the window. Prints one line per listed file to `out`:
// status ("Comp..", "NG" or "SKIP"), TAB, source, TAB, destination, TAB, message. A file
// whose name and time stamp disagree is skipped. --dry-run writes nothing and prints what
// would happen.

#include <ostream>
#include <string>
#include <vector>

namespace varst {

// Exit statuses of RunConvertCommand.
inline constexpr int kConvertAllCopied = 0;
inline constexpr int kConvertNotAllCopied = 1;
inline constexpr int kConvertUsageError = 2;

// `args` are the command-line items after "--convert". Returns 0 when every file was copied
// (or would be, with --dry-run), 1 otherwise, 2 on a usage error (the usage text goes to
// `err`). "--help" prints the usage to `out` and returns 0.
int RunConvertCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The usage text.
[[nodiscard]] const char* ConvertCommandUsage();

}  // namespace varst
