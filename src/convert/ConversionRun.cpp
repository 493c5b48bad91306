#include "convert/ConversionRun.h"

#include <algorithm>
#include <vector>

#include "common/Paths.h"
#include "common/Text.h"
#include "convert/CopyFile.h"
#include "convert/FileListRows.h"
#include "convert/NameRules.h"
#include "convert/NewFileName.h"
#include "convert/RowOutcome.h"

namespace varst {
namespace {

enum class RowStep { Next, Abort };

// The time stamp question, or the answer remembered for the rest of the run.
int DateCheckAnswer(ConversionContext& run, const std::string& path, const std::string& stamp) {
  ConversionState& state = run.state;
  state.DateChkAnswer = kAnswerSkip;
  if (state.DateChkRemembered != 0) {
    state.DateChkAnswer = RememberedAnswer(state.DateChkRemembered);
    return state.DateChkAnswer;
  }
  const QuestionReply reply = run.questions.AskDateMismatch(DateMismatchText(path, stamp));
  const int answer = reply.answer == kAnswerAbort || reply.answer == kAnswerGoOn ? reply.answer : kAnswerSkip;
  if (reply.doNotAskAgain) state.DateChkRemembered = kRememberedBase + answer;
  state.DateChkAnswer = answer;
  return answer;
}

void MarkCopyFailure(Grid& grid, int row, const std::string& reason) {
  SetRowOutcome(grid, row, RowOutcome::CopyFailure);
  grid.SetRowData(row, reason);
}

// Why the row's destination folder cannot be built; "" when it can.
std::string FolderProblem(const std::string& base, const std::string& levels, const std::string& stamp) {
  // Without a base folder the copy would land wherever the program happens to run.
  if (Trim(base).empty()) return kNoBaseFolderText;
  // Without a date the "DATE" level would vanish from the path and put the copy one level up.
  bool dated = false;
  for (const std::string& code : SplitFields(ToUpperAscii(levels), ",")) {
    if (code == "NON") break;
    dated = dated || code == "DATE";
  }
  if (dated && CalDate(stamp).empty()) return "The file has no time stamp to name its date folder";
  return {};
}

// Names the file after its drive and copies it; Abort when the user chose "中断".
RowStep CopyRow(ConversionContext& run, int row, const std::string& path, const std::string& stamp,
                const std::string& levels) {
  std::string convert;
  DriveInfo drive;
  std::string unreadable;
  if (!MkFileName(path, convert, drive, &unreadable)) {
    if (!unreadable.empty()) {
      MarkCopyFailure(run.grid, row, unreadable);
    } else {
      SetRowOutcome(run.grid, row, RowOutcome::InvalidFile);
    }
    return RowStep::Next;
  }
  // "\" in the folder box is a separator: "out\" is the folder out, never a name beside it.
  const std::string base = UserGivenPath(run.form.BaseFolder());
  const std::string problem = FolderProblem(base, levels, stamp);
  if (!problem.empty()) {
    MarkCopyFailure(run.grid, row, problem);
    if (problem == kNoBaseFolderText && !run.state.NoBaseFolderTold) {
      // Every row fails for the same reason: said once per run.
      run.state.NoBaseFolderTold = true;
      run.questions.Tell(kNoBaseFolderText);
    }
    return RowStep::Next;
  }
  const std::string folder = GetSaveFolder(base, levels, FolderInfo{drive.modelName, stamp});
  run.target.MakeFolders(folder);
  std::string dest = WithSeparator(folder) + convert;
  std::string failure;
  switch (CopyFile(path, dest, run.form.ExistingFileChoice(), run.state, run.questions, run.target, &failure)) {
    case kCopyDone:
      SetRowOutcome(run.grid, row, RowOutcome::Copied, dest);
      return RowStep::Next;
    case kCopyExists:
      SetRowOutcome(run.grid, row, RowOutcome::ExistsSkip, dest);
      return RowStep::Next;
    case kCopyAborted:
      return RowStep::Abort;
    default:
      MarkCopyFailure(run.grid, row, failure);
      return RowStep::Next;
  }
}

RowStep ConvertRow(ConversionContext& run, int row, const std::string& levels) {
  Grid& grid = run.grid;
  const std::string text = grid.TextMatrix(row, kColPath);
  const std::string path = run.form.ExactPaths() ? text : std::string(Trim(text));
  if (path.empty() || grid.CellChecked(row, kColPath) != kChecked || !FileExists(std::string_view(path))) {
    return RowStep::Next;
  }
  const std::string stamp(Trim(grid.TextMatrix(row, kColStamp)));
  if (run.form.TimeStampCheck() && CheckFileDate(path, stamp) != kDateAgrees) {
    const int answer = DateCheckAnswer(run, path, stamp);
    if (answer == kAnswerAbort) return RowStep::Abort;
    if (answer == kAnswerSkip) {
      SetRowOutcome(grid, row, RowOutcome::UserSkip);
      return RowStep::Next;
    }
  }
  return CopyRow(run, row, path, stamp, levels);
}

// After each row: show it, let the window breathe, and see whether the user asked to stop.
bool AbortAfterRow(ConversionContext& run, int row) {
  run.grid.SetRow(row);
  run.grid.SetTopRow(row);
  run.grid.Repaint();
  run.form.ProcessEvents();
  if (!run.state.AbortRequested) return false;
  run.state.AbortRequested = false;
  return true;
}

// The run never replaces one of its own sources, whichever row comes first.
void ProtectListedSources(ConversionContext& run) {
  std::vector<std::string> sources;
  sources.reserve(static_cast<std::size_t>(std::max(0, run.state.ListedCount)));
  for (int row = 0; row < run.state.ListedCount; ++row) {
    const std::string text = run.grid.TextMatrix(row, kColPath);
    sources.push_back(run.form.ExactPaths() ? text : std::string(Trim(text)));
  }
  run.target.ProtectSources(sources);
}

}  // namespace

std::string DateMismatchText(const std::string& path, const std::string& stamp) {
  return "ファイル名とタイムスタンプが一致しません\n" + path + "\n" + stamp;
}

int RunConversion(ConversionContext& run) {
  if (run.grid.Rows() == 0) return kRunNothingListed;
  run.state.DupRemembered = 0;
  run.state.DateChkRemembered = 0;
  run.state.NoBaseFolderTold = false;
  ProtectListedSources(run);
  const std::string levels = LevelCode(run.form.LevelChoice(0)) + "," + LevelCode(run.form.LevelChoice(1));
  ClearRowOutcomes(run.grid);
  for (int row = 0; row < run.state.ListedCount; ++row) {
    if (ConvertRow(run, row, levels) == RowStep::Abort) return kRunAborted;
    if (AbortAfterRow(run, row)) return kRunAborted;
  }
  return run.state.ListedCount != 0 ? kRunFinished : kRunNothingListed;
}

}  // namespace varst
