#include "convert/FileListRows.h"

#include <algorithm>

#include "common/Paths.h"
#include "common/Text.h"
#include "convert/TimeStampText.h"

namespace varst {
namespace {

constexpr int kRowsAddedAtOnce = 100;

bool IsListed(const Grid& grid, int ListedCount, std::string_view trimmed) {
  for (int row = 0; row < ListedCount; ++row) {
    if (Trim(grid.TextMatrix(row, kColPath)) == trimmed) return true;
  }
  return false;
}

}  // namespace

int AddListedFile(Grid& grid, int& ListedCount, std::string_view path) {
  const std::string trimmed(Trim(path));
  if (IsListed(grid, ListedCount, trimmed)) return 0;
  AppendListedRow(grid, ListedCount, trimmed);
  return 1;
}

void AppendListedRow(Grid& grid, int& ListedCount, const std::string& path) {
  if (grid.Rows() < ListedCount + 1) grid.SetRows(grid.Rows() + kRowsAddedAtOnce);
  const int row = ListedCount;
  for (int col = 0; col < kFileListCols; ++col) grid.SetTextMatrix(row, col, std::string());
  grid.SetTextMatrix(row, kColPath, path);
  grid.SetCellChecked(row, kColPath, kChecked);
  grid.SetTextMatrix(row, kColStamp, FileTimeStampText(path));
  ++ListedCount;
}

void DeleteSelectedRows(Grid& grid, int& ListedCount) {
  // From the last row up, so that the rows still to be looked at keep their indexes.
  for (int row = ListedCount - 1; row >= 0; --row) {
    if (!grid.IsSelected(row) || grid.TextMatrix(row, kColPath).empty()) continue;
    grid.RemoveItem(row);
    --ListedCount;
  }
  ShrinkToListed(grid, ListedCount);
}

void ClearListedFiles(Grid& grid, int& ListedCount) {
  grid.SetRows(0);
  ListedCount = 0;
}

void ShrinkToListed(Grid& grid, int ListedCount) { grid.SetRows(ListedCount); }

std::vector<std::string> PathsFromOpenDialog(std::string_view answer) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  while (start < answer.size()) {
    const std::size_t end = std::min(answer.find('\0', start), answer.size());
    if (end == start) break;
    pieces.emplace_back(answer.substr(start, end - start));
    start = end + 1;
  }
  if (pieces.size() <= 1) return pieces;
  std::vector<std::string> paths;
  paths.reserve(pieces.size() - 1);
  for (std::size_t i = 1; i < pieces.size(); ++i) paths.push_back(JoinPath(pieces[0], pieces[i]));
  return paths;
}

}  // namespace varst
