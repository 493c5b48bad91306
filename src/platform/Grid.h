#pragma once
// The grid the windows list files and series in. Rows and columns are 0-based; rows are the
// data rows only: a header, where a grid shows one, is a separate line of texts above them.
// Texts are bytes, shown as UTF-8 when valid, else Latin-1. Callers keep within the row and
// column counts; a cell outside them reads as empty and ignores writes.

#include <string>
#include <vector>

#include "common/Colour.h"

namespace varst {

enum CheckState : int { kCheckNone = 0, kChecked = 1, kUnchecked = 2 };

// What a grid tells its window. Every handler has a default that does nothing.
class GridEvents {
 public:
  virtual ~GridEvents() = default;
  // Before the user edits a cell (toggles a check box); set cancel to refuse.
  virtual void StartEdit(int /*row*/, int /*col*/, bool& /*cancel*/) {}
  // After the user edited a cell.
  virtual void AfterEdit(int /*row*/, int /*col*/) {}
  virtual void AfterScroll(int /*oldTopRow*/, int /*newTopRow*/) {}
  // A mouse button was released over the grid (2 = right button).
  virtual void MouseUp(int /*button*/) {}
  virtual void MouseMove(int /*row*/, int /*col*/) {}
  virtual void DblClick() {}
  // Files were dropped on the grid: their full paths in drop order.
  virtual void DragDrop(const std::vector<std::string>& /*paths*/) {}
};

class Grid {
 public:
  virtual ~Grid() = default;

  virtual void SetEvents(GridEvents* events) = 0;

  [[nodiscard]] virtual int Rows() const = 0;
  virtual void SetRows(int rows) = 0;
  [[nodiscard]] virtual int Cols() const = 0;
  virtual void SetCols(int cols) = 0;

  [[nodiscard]] virtual int Row() const = 0;  // the current row, -1 when none
  virtual void SetRow(int row) = 0;
  [[nodiscard]] virtual int TopRow() const = 0;  // the first visible row
  virtual void SetTopRow(int row) = 0;

  [[nodiscard]] virtual std::string TextMatrix(int row, int col) const = 0;
  virtual void SetTextMatrix(int row, int col, const std::string& text) = 0;
  [[nodiscard]] virtual std::string RowData(int row) const = 0;
  virtual void SetRowData(int row, const std::string& data) = 0;

  [[nodiscard]] virtual int CellChecked(int row, int col) const = 0;
  virtual void SetCellChecked(int row, int col, int state) = 0;

  // Colours of the cells row1..row2 by col1..col2.
  virtual void SetCellForeColor(int row1, int col1, int row2, int col2, Colour colour) = 0;
  virtual void SetCellBackColor(int row1, int col1, int row2, int col2, Colour colour) = 0;
  [[nodiscard]] virtual Colour CellForeColor(int row, int col) const = 0;
  [[nodiscard]] virtual Colour CellBackColor(int row, int col) const = 0;

  // Adds a row whose cells are separated by TAB characters, at the end (index -1) or at index.
  virtual void AddItem(const std::string& cells, int index = -1) = 0;
  virtual void RemoveItem(int row) = 0;
  // Empties the texts, row data and colours of every cell and unticks every check box.
  virtual void ClearCells() = 0;

  virtual void SetHeaderVisible(bool visible) = 0;
  virtual void SetHeaderText(int col, const std::string& text) = 0;
  virtual void AutoSize(int col1, int col2) = 0;
  virtual void SetColHidden(int col, bool hidden) = 0;
  virtual void Repaint() = 0;

  [[nodiscard]] virtual bool IsSelected(int row) const = 0;
  [[nodiscard]] virtual int MouseRow() const = 0;  // -1 outside the cells
  [[nodiscard]] virtual int MouseCol() const = 0;
};

}  // namespace varst
