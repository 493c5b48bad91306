#include "convert/ConvertCommand.h"

#include <optional>
#include <unordered_set>

#include "convert/ConversionRun.h"
#include "convert/ConvertCommandOptions.h"
#include "convert/CopyTarget.h"
#include "convert/FileListRows.h"
#include "convert/RowOutcome.h"
#include "platform/MemoryGrid.h"

namespace varst {
namespace {

constexpr char kUsage[] =
    "Usage: varst --convert --dest DIR [--level1 none|model|date] [--level2 none|model|date]\n"
    "                       [--exists overwrite|rename|skip] [--check-date] [--dry-run] FILE...\n"
    "Copies each data FILE to DIR[/level1][/level2]/MODEL_SERIAL.EXT, named after the drive line.\n"
    "  --level1, --level2  folder levels below DIR: none (default), model name, or file date\n"
    "  --exists            when the destination exists: overwrite, rename (name(1).ext ...),\n"
    "                      or skip (default)\n"
    "  --check-date        skip files whose name (yymmddnn) disagrees with their time stamp\n"
    "  --dry-run           copy nothing; print what would happen\n"
    "Prints one line per file: status (Comp.., NG, SKIP) TAB source TAB destination TAB message.\n"
    "Exit status: 0 every file copied, 1 otherwise, 2 usage error.\n";

// Lists the files exactly as given (a blank is part of a name here); a file named twice is
// listed once. The set keeps the listing linear in the number of files.
void ListFiles(const std::vector<std::string>& files, Grid& grid, int& listedCount, std::ostream& err) {
  std::unordered_set<std::string> listed;
  listed.reserve(files.size());
  grid.SetRows(static_cast<int>(files.size()));
  for (const std::string& file : files) {
    if (!listed.insert(file).second) {
      err << kAlreadyListedNotice << '\t' << file << '\n';
      continue;
    }
    AppendListedRow(grid, listedCount, file);
  }
  ShrinkToListed(grid, listedCount);
}

// The message column of a row: the outcome, the reason of a failed copy, or why the row was
// passed over.
std::string RowMessage(const Grid& grid, int row, bool dryRun) {
  const std::string status = grid.TextMatrix(row, kColStatus);
  if (status.empty()) return "file not found or not readable";
  if (dryRun && status == kStatusCopied) return "would be copied (dry run)";
  std::string message = grid.TextMatrix(row, kColMessage);
  const std::string reason = grid.RowData(row);
  if (!reason.empty()) message += " (" + reason + ")";
  return message;
}

// Prints every row; true when every file was copied.
bool Report(const Grid& grid, int listedCount, bool dryRun, std::ostream& out) {
  bool allCopied = true;
  for (int row = 0; row < listedCount; ++row) {
    std::string status = grid.TextMatrix(row, kColStatus);
    if (status.empty()) status = kStatusFailed;
    allCopied = allCopied && status == kStatusCopied;
    out << status << '\t' << grid.TextMatrix(row, kColPath) << '\t' << grid.TextMatrix(row, kColConverted) << '\t'
        << RowMessage(grid, row, dryRun) << '\n';
  }
  return allCopied;
}

}  // namespace

const char* ConvertCommandUsage() { return kUsage; }

int RunConvertCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string error;
  const std::optional<ConvertCommandOptions> options = ParseConvertCommandOptions(args, error);
  if (!options) {
    err << "varst --convert: " << error << '\n' << kUsage;
    return kConvertUsageError;
  }
  if (options->help) {
    out << kUsage;
    return kConvertAllCopied;
  }
  MemoryGrid grid;
  grid.SetCols(kFileListCols);
  ConversionState state;
  ListFiles(options->files, grid, state.ListedCount, err);
  ConversionChoices choices = options->choices;
  choices.exactPaths = true;
  FixedForm form(choices);
  // No one to ask: a disagreeing time stamp skips the file; an existing destination is only
  // ever asked about with the window's "ダイアログを開く", which the command does not offer.
  FixedAnswers answers({kAnswerSkip, false}, {kAnswerSkip, false});
  FileSystemTarget fileSystem;
  DryRunTarget dryRun;
  CopyTarget& target = options->dryRun ? static_cast<CopyTarget&>(dryRun) : fileSystem;
  ConversionContext run{grid, state, form, answers, target};
  RunConversion(run);
  const bool allCopied = Report(grid, state.ListedCount, options->dryRun, out);
  return allCopied ? kConvertAllCopied : kConvertNotAllCopied;
}

}  // namespace varst
