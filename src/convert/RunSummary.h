#pragma once
// The message that closes a conversion run.

#include "platform/Grid.h"
#include "platform/Prompter.h"

namespace varst {

// ShowRunSummary modes.
inline constexpr int kSummaryAborted = 0;
inline constexpr int kSummaryFinished = 1;
inline constexpr int kSummaryNothingListed = 2;

// The summary mode of a RunConversion result.
[[nodiscard]] int SummaryModeOf(int runResult);

// One message box with an OK button: after a finished run, information when every listed
// file was copied and critical otherwise; critical after an abort; information when
// nothing was listed.
void ShowRunSummary(int mode, const Grid& grid, int ListedCount, Prompter& prompter);

}  // namespace varst
