#pragma once
// A grid without a widget: the same cells, row data, check boxes and colours, kept in memory.
// Headless runs and logic tests use it where the windows use QtGrid. It has no mouse, so the
// row and column under the mouse are -1; selection is set by the caller.

#include <vector>

#include "platform/Grid.h"

namespace varst {

class MemoryGrid final : public Grid {
 public:
  void SetEvents(GridEvents* events) override { events_ = events; }
  [[nodiscard]] GridEvents* Events() const { return events_; }

  [[nodiscard]] int Rows() const override { return static_cast<int>(rows_.size()); }
  void SetRows(int rows) override;
  [[nodiscard]] int Cols() const override { return cols_; }
  void SetCols(int cols) override;

  [[nodiscard]] int Row() const override { return row_; }
  void SetRow(int row) override;
  [[nodiscard]] int TopRow() const override { return topRow_; }
  void SetTopRow(int row) override;

  [[nodiscard]] std::string TextMatrix(int row, int col) const override;
  void SetTextMatrix(int row, int col, const std::string& text) override;
  [[nodiscard]] std::string RowData(int row) const override;
  void SetRowData(int row, const std::string& data) override;

  [[nodiscard]] int CellChecked(int row, int col) const override;
  void SetCellChecked(int row, int col, int state) override;

  void SetCellForeColor(int row1, int col1, int row2, int col2, Colour colour) override;
  void SetCellBackColor(int row1, int col1, int row2, int col2, Colour colour) override;
  [[nodiscard]] Colour CellForeColor(int row, int col) const override;
  [[nodiscard]] Colour CellBackColor(int row, int col) const override;

  void AddItem(const std::string& cells, int index = -1) override;
  void RemoveItem(int row) override;
  void ClearCells() override;

  void SetHeaderVisible(bool visible) override { headerVisible_ = visible; }
  void SetHeaderText(int col, const std::string& text) override;
  [[nodiscard]] std::string HeaderText(int col) const;
  void AutoSize(int /*col1*/, int /*col2*/) override {}
  void SetColHidden(int col, bool hidden) override;
  [[nodiscard]] bool ColHidden(int col) const;
  void Repaint() override {}

  [[nodiscard]] bool IsSelected(int row) const override;
  void SetSelected(int row, bool selected);
  [[nodiscard]] int MouseRow() const override { return -1; }
  [[nodiscard]] int MouseCol() const override { return -1; }

  // The colour a cell shows when none was set.
  static constexpr Colour kDefaultFore = 0x000000;
  static constexpr Colour kDefaultBack = 0xFFFFFF;

 private:
  struct Cell {
    std::string text;
    int check = kCheckNone;
    Colour fore = kDefaultFore;
    Colour back = kDefaultBack;
  };
  struct RowCells {
    std::vector<Cell> cells;
    std::string data;
    bool selected = false;
  };
  [[nodiscard]] const Cell* At(int row, int col) const;
  Cell* At(int row, int col);
  [[nodiscard]] RowCells EmptyRow() const;

  GridEvents* events_ = nullptr;
  std::vector<RowCells> rows_;
  int cols_ = 0;
  int row_ = -1;
  int topRow_ = 0;
  int soleSelected_ = -1;  // the row SetRow made the only selected one; -1 when unknown
  bool headerVisible_ = false;
  std::vector<std::string> headers_;
  std::vector<bool> hidden_;
};

}  // namespace varst
