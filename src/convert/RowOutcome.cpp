#include "convert/RowOutcome.h"

#include "convert/FileListRows.h"

namespace varst {
namespace {

struct OutcomeCells {
  const char* status;
  Colour colour;
  const char* message;
};

OutcomeCells CellsOf(RowOutcome outcome) {
  switch (outcome) {
    case RowOutcome::Copied:
      return {kStatusCopied, kColourCopied, "正常に終了しました"};
    case RowOutcome::ExistsSkip:
      return {kStatusSkipped, kColourSkipped, "同じファイル名が存在するので処理をスキップしました"};
    case RowOutcome::UserSkip:
      return {kStatusSkipped, kColourSkipped, "ユーザーによって処理をスキップしました"};
    case RowOutcome::InvalidFile:
      return {kStatusFailed, kColourFailed, "データファイルが不正です"};
    case RowOutcome::CopyFailure:
      break;
  }
  return {kStatusFailed, kColourFailed, "コピー中にエラーが発生しました"};
}

}  // namespace

void SetRowOutcome(Grid& grid, int row, RowOutcome outcome, const std::string& dest) {
  const OutcomeCells cells = CellsOf(outcome);
  grid.SetTextMatrix(row, kColStatus, cells.status);
  grid.SetCellBackColor(row, kColStatus, row, kColStatus, cells.colour);
  grid.SetTextMatrix(row, kColMessage, cells.message);
  if (outcome == RowOutcome::Copied || outcome == RowOutcome::ExistsSkip) {
    grid.SetTextMatrix(row, kColConverted, dest);
  } else if (outcome == RowOutcome::UserSkip) {
    grid.SetTextMatrix(row, kColConverted, std::string());
  }
}

void ClearRowOutcomes(Grid& grid) {
  if (grid.Rows() == 0) return;
  // Column 0 is never coloured, so its cells show the grid's own background.
  const Colour background = grid.CellBackColor(0, kColUnused0);
  grid.SetCellBackColor(0, kColStatus, grid.Rows() - 1, kColStatus, background);
  for (int row = 0; row < grid.Rows(); ++row) {
    grid.SetTextMatrix(row, kColStatus, std::string());
    grid.SetTextMatrix(row, kColMessage, std::string());
    grid.SetRowData(row, std::string());
  }
}

}  // namespace varst
