// Shows one chart option dialog with example content, for looking at it in a real window:
//   chart_dialog_screens setting | colorselect | size | size-range | position
// "size-range" also types 0 into the width box, so the out of range message shows.

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <cstdio>
#include <cstring>

#include "chart/ColorSelectDialog.h"
#include "chart/PositionDialog.h"
#include "chart/SettingDialog.h"
#include "chart/SizeDialog.h"
#include "platform/MemoryGrid.h"
#include "platform/QtPrompter.h"

namespace {

using namespace varst;

std::vector<LineColourRow> ExampleColourRows() {
  return {{"HDD_WD5000AAKS_0001.dat", 0x00FF00}, {"HDD_ST3500418AS_0002.dat", 0x0000FF},
          {"~REF0", 0xFF0000},                 {"SSD_MZ7TD256_0003.dat", 0xFF00FF}};
}

int ShowSetting(QtPrompter& prompter) {
  Settings settings;
  DialogResults results;
  MemoryGrid grid;
  DataSet data;
  grid.SetCols(6);
  const std::vector<LineColourRow> rows = ExampleColourRows();
  grid.SetRows(static_cast<int>(rows.size()));
  for (std::size_t r = 0; r < rows.size(); ++r) {
    grid.SetTextMatrix(static_cast<int>(r), 1, rows[r].text);
    data.SeriesColor[r] = rows[r].colour;
  }
  Setting dialog(settings, results, prompter, [&] { RunColorSelect(grid, data, results, prompter); });
  return prompter.ExecDialog(dialog);
}

int ShowColorSelect(QtPrompter& prompter) {
  std::vector<LineColourRow> rows = ExampleColourRows();
  DialogResults results;
  ColorSelect dialog(rows, results, prompter);
  return prompter.ExecDialog(dialog);
}

int ShowSize(QtPrompter& prompter, bool outOfRange) {
  std::int32_t width = 1200 * 15;
  std::int32_t height = 800 * 15;
  DialogResults results;
  SizeDialog dialog(width, height, 15, 15, results, prompter);
  if (outOfRange) {
    QTimer::singleShot(500, &dialog, [&dialog] {
      auto* box = dialog.findChild<QLineEdit*>("Text1_0");
      box->setFocus();
      box->setText("0");
      QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
      QApplication::sendEvent(box, &enter);
    });
  }
  return prompter.ExecDialog(dialog);
}

int ShowPosition(QtPrompter& prompter) {
  std::vector<PositionRow> rows = {
      {"/data/HDD_WD5000AAKS_0001.dat", "HDD_WD5000AAKS_0001.dat", "WDC WD5000AAKS-00V1A0", "WD-WCAWF1234567",
       0x00A000},
      {"/data/HDD_ST3500418AS_0002.dat", "HDD_ST3500418AS_0002.dat", "ST3500418AS", "9VM12345", 0x0000FF},
      {"/tmp/Varst/~REF0", "~REF0", "WDC WD5000AAKS-00V1A0", "WD-WCAWF1234567", 0xFF0000}};
  std::string OrderList;
  DialogResults results;
  Position dialog(rows, OrderList, results);
  return prompter.ExecDialog(dialog);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  const char* which = argc > 1 ? argv[1] : "";
  QtPrompter prompter;
  if (std::strcmp(which, "setting") == 0) return ShowSetting(prompter);
  if (std::strcmp(which, "colorselect") == 0) return ShowColorSelect(prompter);
  if (std::strcmp(which, "size") == 0) return ShowSize(prompter, false);
  if (std::strcmp(which, "size-range") == 0) return ShowSize(prompter, true);
  if (std::strcmp(which, "position") == 0) return ShowPosition(prompter);
  std::fprintf(stderr, "usage: chart_dialog_screens setting|colorselect|size|size-range|position\n");
  return 2;
}
