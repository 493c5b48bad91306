#include "chart/ColorSelectDialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/ButtonArray.h"
#include "platform/QtGrid.h"
#include "platform/QtText.h"

namespace varst {
namespace {

constexpr int kOk = 0;
constexpr int kCancel = 1;
constexpr int kPick = 2;
constexpr int kTextColumn = 0;
constexpr int kSwatchColumn = 1;

}  // namespace

ColorSelect::ColorSelect(std::vector<LineColourRow>& rows, DialogResults& results, Prompter& prompter,
                         QWidget* parent)
    : QDialog(parent), rows_(rows), results_(results), prompter_(prompter) {
  setWindowTitle(QStringLiteral("ライン色設定"));
  Grid1 = new QtGrid;
  Grid1->setObjectName(QStringLiteral("Grid1"));
  Grid1->SetCols(2);
  Grid1->SetHeaderVisible(false);
  Grid1->setSelectionMode(QAbstractItemView::SingleSelection);
  Grid1->horizontalHeader()->setStretchLastSection(true);
  Grid1->setMinimumSize(fontMetrics().horizontalAdvance(QLatin1Char('x')) * 50, fontMetrics().height() * 14);
  Grid1->SetEvents(this);

  const std::array<QString, 3> captions = {QStringLiteral("OK"), QStringLiteral("キャンセル"),
                                           QStringLiteral("色指定")};
  Command1 = MakeButtonArray(QStringLiteral("Command1"), captions, this, [this](int i) { Command1_Click(i); });
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(Command1[kPick]);
  buttons->addStretch(1);
  buttons->addWidget(Command1[kOk]);
  buttons->addWidget(Command1[kCancel]);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Grid1);
  layout->addLayout(buttons);

  Form_Load();
}

ColorSelect::~ColorSelect() { Grid1->SetEvents(nullptr); }

void ColorSelect::Form_Load() {
  Grid1->SetRows(static_cast<int>(rows_.size()));
  for (std::size_t r = 0; r < rows_.size(); ++r) {
    const int row = static_cast<int>(r);
    Grid1->SetTextMatrix(row, kTextColumn, rows_[r].text);
    Grid1->SetCellBackColor(row, kSwatchColumn, row, kSwatchColumn, rows_[r].colour);
  }
  Grid1->AutoSize(kTextColumn, kTextColumn);
  // Room for the longest text and a swatch beside it.
  const int swatchWidth = fontMetrics().horizontalAdvance(QLatin1Char('x')) * 12;
  const int width = 2 * Grid1->frameWidth() + Grid1->verticalScrollBar()->sizeHint().width() +
                    Grid1->columnWidth(kTextColumn) + swatchWidth;
  Grid1->setMinimumWidth(std::max(Grid1->minimumWidth(), width));
  Grid1->SetRow(0);
}

void ColorSelect::Command1_Click(int index) {
  switch (index) {
    case kOk:
      for (std::size_t r = 0; r < rows_.size(); ++r) {
        rows_[r].colour = Grid1->CellBackColor(static_cast<int>(r), kSwatchColumn);
      }
      results_.DialogResult = kDialogOk;
      accept();
      break;
    case kCancel:
      results_.DialogResult = kDialogCancel;
      reject();
      break;
    case kPick:
      PickColour();
      break;
    default:
      break;
  }
}

void ColorSelect::PickColour() {
  const int row = Grid1->Row();
  // Without a current row there is no swatch to change, so no picker is shown.
  if (row < 0 || row >= Grid1->Rows()) return;
  const Colour chosen = prompter_.ChooseColorDialog(FromQColor(palette().color(QPalette::WindowText)));
  if (chosen == kNoColour) return;
  Grid1->SetCellBackColor(row, kSwatchColumn, row, kSwatchColumn, chosen);
}

void ColorSelect::DblClick() { PickColour(); }

void RunColorSelect(const Grid& seriesGrid, DataSet& dataSet, DialogResults& results, Prompter& prompter,
                         QWidget* parent) {
  std::vector<LineColourRow> rows = LineColourRowsFromGrid(seriesGrid, dataSet);
  ColorSelect dialog(rows, results, prompter, parent);
  prompter.ExecDialog(dialog);
  ApplyLineColours(rows, dataSet);
}

}  // namespace varst
