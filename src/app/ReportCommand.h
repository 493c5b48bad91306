#pragma once
// --report: statistics, charts and the reference band of many result files, written as one
// folder (summary.csv, charts/, overlay pictures, index.html) for scripts and test labs.

#include <string>
#include <vector>

namespace varst {

[[nodiscard]] bool IsReportCommand(const std::vector<std::string>& items);

// Runs the command; the exit status: 0 done, 1 an outlier was found and --fail-on-outlier
// was given, 2 a usage error, 3 a failure.
int RunReportCommand(int& argc, char** argv, const std::vector<std::string>& items);

}  // namespace varst
