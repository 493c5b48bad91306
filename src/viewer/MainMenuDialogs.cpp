// The modal dialogs the main window opens, each run through the Prompter so that every
// dialog of the program can be answered by a script.

#include <QApplication>

#include "chart/ColorSelectDialog.h"
#include "chart/DialogRows.h"
#include "chart/PositionDialog.h"
#include "chart/SettingDialog.h"
#include "chart/SizeDialog.h"
#include "data/LoadFiles.h"
#include "platform/ChartView.h"
#include "platform/QtGrid.h"
#include "viewer/MainMenu.h"

namespace varst {
namespace {

QWidget* DialogParent(QWidget* window) {
  QWidget* modal = QApplication::activeModalWidget();
  return modal != nullptr ? modal : window;
}

}  // namespace

void MainMenu::RunSizeDialog() {
  // A dialog closed by its close box reports nothing: the answer of an older dialog must not
  // count for it.
  results_.DialogResult = kDialogCancel;
  SizeDialog dialog(ImageWidth, ImageHeight, TwipsPerPixelX(), TwipsPerPixelY(), results_, services_.prompter,
                    DialogParent(this));
  services_.prompter.ExecDialog(dialog);
}

void MainMenu::RunSettingDialog() {
  const auto lineColours = [this] {
    RunColorSelect(*Grid1, dataSet_, results_, services_.prompter, DialogParent(this));
  };
  Setting dialog(settings_, results_, services_.prompter, lineColours, DialogParent(this));
  services_.prompter.ExecDialog(dialog);
}

void MainMenu::ChangeDrawingOrder() {
  std::vector<PositionRow> rows = PositionRowsFromGrid(*Grid1, dataSet_);
  results_.DialogResult = kDialogCancel;
  Position dialog(rows, OrderList, results_, DialogParent(this));
  services_.prompter.ExecDialog(dialog);
  if (results_.DialogResult != kDialogOk) return;
  ApplyPositionColours(rows, dataSet_);
  LoadContext context = Context();
  LoadFiles(context, OrderList, 1);
  VSDraw1->update();
}

}  // namespace varst
