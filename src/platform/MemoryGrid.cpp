#include "platform/MemoryGrid.h"

#include <algorithm>

namespace varst {

MemoryGrid::RowCells MemoryGrid::EmptyRow() const {
  RowCells row;
  row.cells.resize(static_cast<std::size_t>(cols_));
  return row;
}

void MemoryGrid::SetRows(int rows) {
  soleSelected_ = -1;
  rows_.resize(static_cast<std::size_t>(std::max(0, rows)), EmptyRow());
  if (row_ >= Rows()) row_ = Rows() - 1;
  if (topRow_ >= Rows()) topRow_ = std::max(0, Rows() - 1);
}

void MemoryGrid::SetCols(int cols) {
  cols_ = std::max(0, cols);
  for (RowCells& row : rows_) row.cells.resize(static_cast<std::size_t>(cols_));
  headers_.resize(static_cast<std::size_t>(cols_));
  hidden_.resize(static_cast<std::size_t>(cols_), false);
}

void MemoryGrid::SetRow(int row) {
  if (row < 0 || row >= Rows()) return;
  row_ = row;
  // A run makes each row current in turn: when the last current row is known to be the only
  // selected one, only it needs clearing, so that a walk over all rows stays linear.
  if (soleSelected_ >= 0 && soleSelected_ < Rows()) {
    rows_[static_cast<std::size_t>(soleSelected_)].selected = false;
  } else {
    for (RowCells& each : rows_) each.selected = false;
  }
  rows_[static_cast<std::size_t>(row)].selected = true;
  soleSelected_ = row;
}

void MemoryGrid::SetTopRow(int row) {
  if (row >= 0 && row < Rows()) topRow_ = row;
}

const MemoryGrid::Cell* MemoryGrid::At(int row, int col) const {
  if (row < 0 || row >= Rows() || col < 0 || col >= cols_) return nullptr;
  return &rows_[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(col)];
}

MemoryGrid::Cell* MemoryGrid::At(int row, int col) {
  return const_cast<Cell*>(static_cast<const MemoryGrid*>(this)->At(row, col));
}

std::string MemoryGrid::TextMatrix(int row, int col) const {
  const Cell* cell = At(row, col);
  return cell == nullptr ? std::string() : cell->text;
}

void MemoryGrid::SetTextMatrix(int row, int col, const std::string& text) {
  if (Cell* cell = At(row, col)) cell->text = text;
}

std::string MemoryGrid::RowData(int row) const {
  return row >= 0 && row < Rows() ? rows_[static_cast<std::size_t>(row)].data : std::string();
}

void MemoryGrid::SetRowData(int row, const std::string& data) {
  if (row >= 0 && row < Rows()) rows_[static_cast<std::size_t>(row)].data = data;
}

int MemoryGrid::CellChecked(int row, int col) const {
  const Cell* cell = At(row, col);
  return cell == nullptr ? kCheckNone : cell->check;
}

void MemoryGrid::SetCellChecked(int row, int col, int state) {
  if (Cell* cell = At(row, col)) cell->check = state;
}

void MemoryGrid::SetCellForeColor(int row1, int col1, int row2, int col2, Colour colour) {
  for (int r = std::min(row1, row2); r <= std::max(row1, row2); ++r) {
    for (int c = std::min(col1, col2); c <= std::max(col1, col2); ++c) {
      if (Cell* cell = At(r, c)) cell->fore = colour;
    }
  }
}

void MemoryGrid::SetCellBackColor(int row1, int col1, int row2, int col2, Colour colour) {
  for (int r = std::min(row1, row2); r <= std::max(row1, row2); ++r) {
    for (int c = std::min(col1, col2); c <= std::max(col1, col2); ++c) {
      if (Cell* cell = At(r, c)) cell->back = colour;
    }
  }
}

Colour MemoryGrid::CellForeColor(int row, int col) const {
  const Cell* cell = At(row, col);
  return cell == nullptr ? kDefaultFore : cell->fore;
}

Colour MemoryGrid::CellBackColor(int row, int col) const {
  const Cell* cell = At(row, col);
  return cell == nullptr ? kDefaultBack : cell->back;
}

void MemoryGrid::AddItem(const std::string& cells, int index) {
  const int row = (index < 0 || index > Rows()) ? Rows() : index;
  rows_.insert(rows_.begin() + row, EmptyRow());
  soleSelected_ = -1;
  if (row_ >= row) ++row_;
  std::size_t start = 0;
  for (int col = 0; col < cols_; ++col) {
    const auto tab = cells.find('\t', start);
    SetTextMatrix(row, col, cells.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos) break;
    start = tab + 1;
  }
}

void MemoryGrid::RemoveItem(int row) {
  if (row < 0 || row >= Rows()) return;
  rows_.erase(rows_.begin() + row);
  soleSelected_ = -1;
  if (row_ >= Rows()) row_ = Rows() - 1;
}

void MemoryGrid::ClearCells() {
  for (RowCells& row : rows_) {
    for (Cell& cell : row.cells) {
      cell.text.clear();
      cell.fore = kDefaultFore;
      cell.back = kDefaultBack;
      if (cell.check != kCheckNone) cell.check = kUnchecked;
    }
    row.data.clear();
  }
}

void MemoryGrid::SetHeaderText(int col, const std::string& text) {
  if (col >= 0 && col < cols_) headers_[static_cast<std::size_t>(col)] = text;
}

std::string MemoryGrid::HeaderText(int col) const {
  return col >= 0 && col < cols_ ? headers_[static_cast<std::size_t>(col)] : std::string();
}

void MemoryGrid::SetColHidden(int col, bool hidden) {
  if (col >= 0 && col < cols_) hidden_[static_cast<std::size_t>(col)] = hidden;
}

bool MemoryGrid::ColHidden(int col) const { return col >= 0 && col < cols_ && hidden_[static_cast<std::size_t>(col)]; }

bool MemoryGrid::IsSelected(int row) const {
  return row >= 0 && row < Rows() && rows_[static_cast<std::size_t>(row)].selected;
}

void MemoryGrid::SetSelected(int row, bool selected) {
  if (row < 0 || row >= Rows()) return;
  rows_[static_cast<std::size_t>(row)].selected = selected;
  soleSelected_ = -1;
}

}  // namespace varst
