#pragma once
// "ライン色設定": the colour of each series row. The grid lists the rows' texts with their
// colours as swatches; "色指定" or a double click picks a new colour for the current row. OK
// writes the colours back into the rows and sets DialogResult := 1; cancel sets it to -1.

#include <QDialog>
#include <array>
#include <vector>

#include "chart/DialogResults.h"
#include "chart/DialogRows.h"
#include "platform/Grid.h"
#include "platform/Prompter.h"

class QPushButton;

namespace varst {

class QtGrid;

class ColorSelect : public QDialog, private GridEvents {
  Q_OBJECT

 public:
  ColorSelect(std::vector<LineColourRow>& rows, DialogResults& results, Prompter& prompter,
              QWidget* parent = nullptr);
  ~ColorSelect() override;

  ColorSelect(const ColorSelect&) = delete;
  ColorSelect& operator=(const ColorSelect&) = delete;

 private:
  void Form_Load();
  void Command1_Click(int index);
  void PickColour();
  void DblClick() override;

  std::vector<LineColourRow>& rows_;
  DialogResults& results_;
  Prompter& prompter_;
  QtGrid* Grid1 = nullptr;
  std::array<QPushButton*, 3> Command1{};
};

// The line colour step as the main window runs it from Setting: rows from the series grid,
// ColorSelect through the prompter, then SeriesColor(r) := the colour of row r. Rows change
// only by OK, so a cancelled or closed dialog writes the colours back unchanged.
void RunColorSelect(const Grid& seriesGrid, DataSet& dataSet, DialogResults& results, Prompter& prompter,
                         QWidget* parent = nullptr);

}  // namespace varst
