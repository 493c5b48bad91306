// The grid's popup menu, batch list files, and closing the main window.

#include <QCursor>
#include <QMenu>

#include "chart/DialogResults.h"
#include "common/FileWrite.h"
#include "common/Numbers.h"
#include "common/Paths.h"
#include "common/Text.h"
#include "data/LoadFiles.h"
#include "data/SeriesRows.h"
#include "platform/ChartView.h"
#include "platform/PictureFile.h"
#include "platform/QtGrid.h"
#include "viewer/ChartViews.h"
#include "viewer/FileListBatch.h"
#include "viewer/ViewTexts.h"
#include "viewer/MainMenu.h"

namespace varst {

void MainMenu::ShowPopupMenu() {
  if (POPUP == nullptr) {
    POPUP = new QMenu("POPUPMenu", this);
    POPUP->setObjectName("POPUP");
    const char* captions[] = {"削除", "編集", "位置変更", "画像を保存", kStatisticsCaption};
    for (int i = 0; i < 5; ++i) {
      QAction* item = POPUP->addAction(QString::fromUtf8(captions[i]));
      item->setObjectName(QString("POPUP_SUB_%1").arg(i));
      connect(item, &QAction::triggered, this, [this, i] { POPUP_SUB_Click(i); });
    }
  }
  POPUP->popup(QCursor::pos());
}

void MainMenu::POPUP_SUB_Click(int Index) {
  GuardCommand([this, Index] {
    SetTitle("", 0);
    SetTitle(kBusySuffix, 2);
    switch (Index) {
      case 0:
        DeleteCurrentRow();
        break;
      case 1:
        EditTickedFiles();
        break;
      case 2:
        ChangeDrawingOrder();
        break;
      case 3:
        SaveChartPicture();
        break;
      case 4:
        views_->ShowStatistics();
        break;
      default:
        break;
    }
    SetTitle("", 1);
  });
}

void MainMenu::Command2_Click() {
  GuardCommand([this] { ChangeDrawingOrder(); });
}

void MainMenu::DeleteCurrentRow() {
  const int current = Grid1->Row();
  if (current < 0 || current >= Grid1->Rows()) return;
  // Every remaining row keeps the colour it has: the rows below move up with theirs.
  auto& colours = dataSet_.SeriesColor;
  auto& chosen = dataSet_.SeriesColorSel;
  chosen.fill(kNoColour);
  for (int i = 0; i < current && i < kTableSize; ++i) chosen[static_cast<std::size_t>(i)] = 0;
  for (int i = current; i + 1 < Grid1->Rows() && i + 1 < kTableSize; ++i) {
    if (Trim(Grid1->TextMatrix(i + 1, 0)).empty()) break;
    colours[static_cast<std::size_t>(i)] = colours[static_cast<std::size_t>(i + 1)];
    colours[static_cast<std::size_t>(i + 1)] = 0;
    chosen[static_cast<std::size_t>(i)] = 0;
  }
  if (dataSet_.Grf_Hist_Ptr < kTableSize) chosen[static_cast<std::size_t>(dataSet_.Grf_Hist_Ptr)] = kNoColour;
  Grid1->RemoveItem(current);

  std::string list;
  for (int row = 0; row < Grid1->Rows(); ++row) {
    const std::string path = Grid1->TextMatrix(row, 0);
    if (Trim(path).empty()) break;
    list += path;
    list += '\0';
  }
  LoadContext context = Context();
  if (list.empty()) {
    // The last row is gone: nothing remains to show.
    ResetDataSet(dataSet_);
    ClearSeriesRows(*Grid1);
    context.drawer.ClearChart();
  } else {
    list.pop_back();
    LoadFiles(context, list + ",,", 1);
  }
  VSDraw1->update();
}

void MainMenu::EditTickedFiles() {
  for (int row = 0; row < Grid1->Rows(); ++row) {
    std::string path = Grid1->TextMatrix(row, 0);
    if (Grid1->CellChecked(row, 1) != kChecked || !FileExists(path)) continue;
    if (!services_.shell.StartProgram(settings_.EditorPath, {path})) {
      services_.shell.OpenWithDefaultApplication(path);
    }
  }
}

void MainMenu::SaveChartPicture() {
  std::string path(Trim(services_.prompter.SaveFileDialog("画像ファイル", "*.png;*.svg;*.pdf", "", "")));
  if (path.empty()) return;
  if (GetExtension(path).empty()) path += ".png";
  const std::optional<PictureFormat> format = PictureFormatOfPath(path);
  if (!format) {
    services_.prompter.Message("画像の形式は .png, .svg, .pdf のいずれかです", MessageIcon::Critical);
    return;
  }
  if (FileExists(std::string_view(path)) &&
      services_.prompter.Message("ファイルが存在します。上書きしますか?", MessageIcon::Question, MessageButtons::YesNo) !=
          Answer::Yes) {
    return;
  }
  RunSizeDialog();
  if (results_.DialogResult != kDialogOk) return;
  const int width = static_cast<int>(RoundHalfEven(ImageWidth / TwipsPerPixelX()));
  const int height = static_cast<int>(RoundHalfEven(ImageHeight / TwipsPerPixelY()));
  SetHourglass(true);
  const WriteResult written = SavePicture(VSDraw1->Surface().List(), width, height, *format, path);
  SetHourglass(false);
  if (!written) services_.prompter.Message("画像を保存できません\r" + written.error, MessageIcon::Critical);
}

std::int32_t MainMenu::CheckFileListBatch(const std::string& path) {
  if (!IsFileListBatch(path)) return 0;
  RunFileListBatch(path);
  return 1;
}

void MainMenu::RunFileListBatch(const std::string& path) {
  settings_.BatchMode = kBatchReplaceWithoutAsking | kBatchSkipSizeDialog;
  for (const std::string& line : ReadFileListBatchLines(path)) {
    const std::string file = ExistingBatchFile(line);
    if (file.empty()) continue;
    LoadContext context = Context();
    LoadPaths(context, {file}, 0);
    VSDraw1->update();
    if ((settings_.BatchMode & kBatchSkipSizeDialog) != 0) {
      const ScreenPoint at = MessageBoxPoint();
      services_.prompter.PlaceNextMessageBox(at.x, at.y);
    }
    const Answer answer =
        services_.prompter.Message("クリップボードにコピーしますか", MessageIcon::None, MessageButtons::YesNoCancel);
    if (answer == Answer::Cancel) break;
    if (answer == Answer::Yes) Command1_Click(3);
  }
  settings_.BatchMode = 0;
}

}  // namespace varst
