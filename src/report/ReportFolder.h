#pragma once
// The report's folder is written whole or not at all: everything goes into a staging folder
// beside it, which takes the folder's place at the end. A folder that holds anything but an
// earlier report is never replaced.

#include <string>

namespace varst {

// Why `dir` cannot take a report ("" when it can): it is missing, empty, or holds an earlier
// report (its summary.csv and index.html).
[[nodiscard]] std::string ReportFolderProblem(const std::string& dir);

// A new, empty folder beside `dir`; "" (and `why`) when it cannot be made.
[[nodiscard]] std::string MakeStagingFolder(const std::string& dir, std::string& why);

// Moves `staging` into the place of `dir`; an earlier report there is removed only once the
// new one is in place. False (and `why`) when it failed; `dir` is then as it was.
[[nodiscard]] bool CommitReportFolder(const std::string& staging, const std::string& dir, std::string& why);

}  // namespace varst
