#pragma once
// "グラフ表示位置変更": the order in which the loaded series are drawn. "上げる" and "下げる"
// move the selected row; OK hands the new order back as the loader's file list, and the
// rows, with their colours, in that order.

#include <QDialog>
#include <array>
#include <string>
#include <vector>

#include "chart/DialogResults.h"
#include "chart/DialogRows.h"

class QPushButton;

namespace varst {

class QtGrid;

class Position : public QDialog {
  Q_OBJECT

 public:
  // OK: rows := the rows in their new order, OrderList := BuildOrderList of them,
  // DialogResult := 1. Cancel: DialogResult := -1, rows and OrderList untouched.
  Position(std::vector<PositionRow>& rows, std::string& OrderList, DialogResults& results,
           QWidget* parent = nullptr);

 private:
  void Form_Load();
  void ShowRow(int row);
  // Swaps the current row with its neighbour `step` rows away and keeps it current.
  void MoveCurrentRow(int step);
  void Command1_Click(int index);

  std::vector<PositionRow>& rows_;
  std::string& orderList_;
  DialogResults& results_;
  std::vector<PositionRow> order_;  // the rows as the grid shows them
  QtGrid* Grid1 = nullptr;
  std::array<QPushButton*, 4> Command1{};
};

}  // namespace varst
