#pragma once
// A conversion run: every checked, existing file of the list is checked against its time
// stamp (when asked), named after its drive and copied under the existing-file choice; each
// row gets its outcome. The source files are only read.

#include <string>

#include "convert/ConversionForm.h"
#include "convert/ConversionQuestions.h"
#include "convert/ConversionState.h"
#include "convert/CopyTarget.h"
#include "platform/Grid.h"

namespace varst {

// Everything a run works with; the caller owns all of it for the run.
struct ConversionContext {
  Grid& grid;
  ConversionState& state;
  ConversionForm& form;
  ConversionQuestions& questions;
  CopyTarget& target;
};

// Said once per run when the folder box is empty: every checked file fails for this reason.
inline constexpr char kNoBaseFolderText[] = "保存先フォルダーが設定されていません";

// Results of RunConversion.
inline constexpr int kRunNothingListed = 0;
inline constexpr int kRunFinished = 1;  // every listed row was visited
inline constexpr int kRunAborted = 2;   // the abort button, or "中断" in a question

// Runs over rows 0 to ListedCount - 1. After each row it makes the row current and scrolls it
// to the top, repaints, lets the form process events and then stops when AbortRequested was
// set (clearing it). The level list is read once at the start, the other choices per file.
int RunConversion(ConversionContext& context);

// The text of the time stamp question for a file.
[[nodiscard]] std::string DateMismatchText(const std::string& path, const std::string& stamp);

}  // namespace varst
