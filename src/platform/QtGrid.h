#pragma once
// The grid over QTableWidget. Cell texts keep their bytes (a Latin-1 path reads back as it
// was written) and show decoded; only check boxes change through the mouse or the space key,
// and only after StartEdit let them.

#include <QTableWidget>
#include <vector>

#include "platform/Grid.h"

namespace varst {

class QtGrid : public QTableWidget, public Grid {
  Q_OBJECT

 public:
  explicit QtGrid(QWidget* parent = nullptr);

  void SetEvents(GridEvents* events) override { events_ = events; }

  [[nodiscard]] int Rows() const override { return rowCount(); }
  void SetRows(int rows) override;
  [[nodiscard]] int Cols() const override { return columnCount(); }
  void SetCols(int cols) override;

  [[nodiscard]] int Row() const override { return currentRow(); }
  void SetRow(int row) override;
  [[nodiscard]] int TopRow() const override;
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

  void SetHeaderVisible(bool visible) override;
  void SetHeaderText(int col, const std::string& text) override;
  void AutoSize(int col1, int col2) override;
  void SetColHidden(int col, bool hidden) override;
  void Repaint() override;

  // The colour behind cells that have none of their own.
  void SetBaseColour(Colour colour);

  [[nodiscard]] bool IsSelected(int row) const override;
  [[nodiscard]] int MouseRow() const override;
  [[nodiscard]] int MouseCol() const override;

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  [[nodiscard]] bool Inside(int row, int col) const;
  // The item of a cell, made on first use; nullptr outside the grid.
  QTableWidgetItem* Cell(int row, int col);
  [[nodiscard]] const QTableWidgetItem* CellIfAny(int row, int col) const;
  void OnItemChanged(QTableWidgetItem* item);
  void OnScrolled(int value);

  GridEvents* events_ = nullptr;
  std::vector<std::string> rowData_;
  int updating_ = 0;  // > 0 while the program itself changes cells
  int lastTopRow_ = 0;
};

}  // namespace varst
