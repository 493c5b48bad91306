#include "chart/PositionDialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "platform/ButtonArray.h"
#include "platform/QtGrid.h"

namespace varst {
namespace {

constexpr int kOk = 0;
constexpr int kCancel = 1;
constexpr int kDown = 2;
constexpr int kUp = 3;
constexpr int kColumns = 4;  // path (hidden), file name, model, serial number

}  // namespace

Position::Position(std::vector<PositionRow>& rows, std::string& OrderList, DialogResults& results, QWidget* parent)
    : QDialog(parent), rows_(rows), orderList_(OrderList), results_(results), order_(rows) {
  setWindowTitle(QStringLiteral("グラフ表示位置変更"));
  Grid1 = new QtGrid;
  Grid1->setObjectName(QStringLiteral("Grid1"));
  Grid1->SetCols(kColumns);
  Grid1->SetHeaderVisible(false);
  Grid1->SetColHidden(0, true);
  Grid1->setSelectionMode(QAbstractItemView::SingleSelection);
  Grid1->horizontalHeader()->setStretchLastSection(true);
  Grid1->setMinimumSize(fontMetrics().horizontalAdvance(QLatin1Char('x')) * 60, fontMetrics().height() * 14);

  const std::array<QString, 4> captions = {QStringLiteral("OK"), QStringLiteral("キャンセル"),
                                           QStringLiteral("下げる"), QStringLiteral("上げる")};
  Command1 = MakeButtonArray(QStringLiteral("Command1"), captions, this, [this](int i) { Command1_Click(i); });
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(Command1[kUp]);
  buttons->addWidget(Command1[kDown]);
  buttons->addStretch(1);
  buttons->addWidget(Command1[kOk]);
  buttons->addWidget(Command1[kCancel]);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(Grid1, 1);
  layout->addLayout(buttons);

  Form_Load();
}

void Position::Form_Load() {
  Grid1->SetRows(static_cast<int>(order_.size()));
  for (int row = 0; row < Grid1->Rows(); ++row) ShowRow(row);
  Grid1->AutoSize(0, kColumns - 1);
  // Wide enough for every visible column, so no name or serial number is cut off.
  int width = 2 * Grid1->frameWidth() + Grid1->verticalScrollBar()->sizeHint().width();
  for (int col = 1; col < kColumns; ++col) width += Grid1->columnWidth(col);
  Grid1->setMinimumWidth(std::max(Grid1->minimumWidth(), width));
  Grid1->SetRow(0);
}

void Position::ShowRow(int row) {
  const PositionRow& shown = order_[static_cast<std::size_t>(row)];
  Grid1->SetTextMatrix(row, 0, shown.path);
  Grid1->SetTextMatrix(row, 1, shown.name);
  Grid1->SetTextMatrix(row, 2, shown.model);
  Grid1->SetTextMatrix(row, 3, shown.serial);
  Grid1->SetCellForeColor(row, 0, row, kColumns - 1, shown.colour);
}

void Position::MoveCurrentRow(int step) {
  const int row = Grid1->Row();
  const int other = row + step;
  // The first row cannot go up nor the last down; without a current row nothing moves.
  if (row < 0 || row >= Grid1->Rows() || other < 0 || other >= Grid1->Rows()) return;
  // Texts are moved cell by cell, not as one TAB-joined line, so a name holding a TAB stays whole.
  std::swap(order_[static_cast<std::size_t>(row)], order_[static_cast<std::size_t>(other)]);
  ShowRow(row);
  ShowRow(other);
  Grid1->SetRow(other);
}

void Position::Command1_Click(int index) {
  switch (index) {
    case kUp:
      MoveCurrentRow(-1);
      break;
    case kDown:
      MoveCurrentRow(+1);
      break;
    case kOk:
      rows_ = order_;
      orderList_ = BuildOrderList(rows_);
      results_.DialogResult = kDialogOk;
      accept();
      break;
    case kCancel:
      results_.DialogResult = kDialogCancel;
      reject();
      break;
    default:
      break;
  }
}

}  // namespace varst
