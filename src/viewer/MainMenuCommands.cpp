// The seven command buttons of the main window, each run inside the busy frame.

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QRadioButton>

#include "chart/AvrData.h"
#include "common/FileWrite.h"
#include "common/Numbers.h"
#include "common/Paths.h"
#include "common/Text.h"
#include "data/Compatibility.h"
#include "data/DataFileList.h"
#include "data/DrawFile.h"
#include "data/LoadFiles.h"
#include "data/ReferenceFiles.h"
#include "data/SeriesKey.h"
#include "data/SeriesRows.h"
#include "platform/ChartView.h"
#include "platform/PictureFile.h"
#include "platform/QtGrid.h"
#include "platform/QtText.h"
#include "viewer/MainMenu.h"
#include "viewer/RedrawTickedRows.h"

namespace varst {
namespace {

constexpr char kGraphFiles[] = "ｸﾞﾗﾌﾃﾞｰﾀﾌｧｲﾙ(*.DAT)";
constexpr char kNoData[] = "データがありません";
constexpr char kBadRange[] = "設定範囲が不正です";
constexpr char kRangesDiffer[] = "試験範囲が異なります。試験範囲が同じでなければなりません";

// The paths of a raw open dialog result: one full path, or a folder and names each ended
// by NUL. Taken apart at the NUL characters, so names with commas stay whole.
std::vector<std::string> OpenDialogPaths(const std::string& result) {
  if (result.find('\0') == std::string::npos) return result.empty() ? std::vector<std::string>{} : std::vector{result};
  const std::vector<std::string> items = SplitFields(result, std::string_view("\0", 1));
  std::vector<std::string> paths;
  for (std::size_t i = 1; i < items.size() && !items[i].empty(); ++i) paths.push_back(JoinPath(items[0], items[i]));
  return paths;
}

}  // namespace

void MainMenu::Command1_Click(int Index) {
  GuardCommand([this, Index] {
    const std::int64_t started = services_.clock.TickCount();
    SetTitle("", 0);
    SetTitle(kBusySuffix, 2);
    bool completed = true;
    switch (Index) {
      case 0:
        OpenDataFiles();
        break;
      case 1:
        completed = SaveRowFile();
        break;
      case 2:
        completed = SmoothCheckedSeries();
        break;
      case 3:
        CopyChartToClipboard();
        break;
      case 4:
        completed = MergeCheckedSeries();
        break;
      case 5:
        EditChartSettings();
        break;
      case 6:
        Grid1_AfterEdit(0, 1);
        break;
      default:
        break;
    }
    if (completed) Label2->setText(QString::number(services_.clock.TickCount() - started) + "[ms]");
    SetTitle("", 1);
  });
}

void MainMenu::OpenDataFiles() {
  const std::string result = services_.prompter.OpenFileDialog(kGraphFiles, "*.dat;*.r*;*.w*;*.s*", "", "");
  SetHourglass(true);
  const std::vector<std::string> paths = OpenDialogPaths(result);
  LoadContext context = Context();
  const std::optional<std::string> list = paths.size() == 1 ? DataFileListText(paths.front()) : std::nullopt;
  if (list) {
    LoadFiles(context, *list + ",,", 0);
  } else {
    LoadPaths(context, paths, 0);
  }
  VSDraw1->update();
  SetHourglass(false);
}

bool MainMenu::SaveRowFile() {
  const int row = Grid1->Row();
  std::string source = Grid1->TextMatrix(row, 0);
  if (!FileExists(source)) return true;
  std::string name(Trim(services_.prompter.SaveFileDialog(kGraphFiles, "*.dat", "", "")));
  if (name.empty()) return false;
  if (GetExtension(name).empty()) name += ".dat";
  if (FileExists(std::string_view(name)) &&
      services_.prompter.Message("ファイルが存在します。上書きしますか?", MessageIcon::Question, MessageButtons::YesNo) !=
          Answer::Yes) {
    return false;
  }
  CopyRowFile(name, Grid1->TextMatrix(row, 0));
  services_.prompter.Message("保存終了", MessageIcon::Information);
  return true;
}

void MainMenu::CopyRowFile(const std::string& destination, const std::string& source) {
  const WriteResult result = CopyFileAtomically(source, destination, LinkPolicy::FollowLinks);
  if (!result) services_.prompter.Message(result.error, MessageIcon::Critical);
}

std::vector<std::uint8_t>& MainMenu::StartRowsToCheck() {
  RowsToCheck.assign(static_cast<std::size_t>(kTableSize), 0);
  return RowsToCheck;
}

void MainMenu::TickRowsToCheck() {
  for (int row = 0; row < Grid1->Rows() && row < static_cast<int>(RowsToCheck.size()); ++row) {
    if (RowsToCheck[static_cast<std::size_t>(row)] == 1) Grid1->SetCellChecked(row, 1, kChecked);
  }
}

bool MainMenu::FillNewSeriesRow(std::int32_t seriesBefore) {
  if (dataSet_.Grf_Hist_Ptr <= seriesBefore) {
    if (dataSet_.SeriesLimitReached) services_.prompter.Message(kTooManySeriesMessage, MessageIcon::Critical);
    return false;
  }
  const int row = dataSet_.Grf_Hist_Ptr - 1;
  Grid1->SetRows(row + 1);
  FillSeriesRow(*Grid1, dataSet_, row, kUnchecked);
  RowsToCheck[static_cast<std::size_t>(row)] = 1;
  Grid1->SetRow(row);
  Grid1->AutoSize(0, Grid1->Cols() - 1);
  const WriteResult written = WriteRefFile(settings_, dataSet_);
  if (!written) services_.prompter.Message(written.error, MessageIcon::Critical);
  return true;
}

void MainMenu::DrawRowSelected(int row) {
  const SeriesKeyParts key = ParseSeriesKey(Grid1->RowData(row));
  LoadContext context = Context();
  std::int32_t co = 0;
  DrawFile(context, static_cast<std::int16_t>(row), Grid1->TextMatrix(row, 0), {}, 0,
           DrawRequest{"", key.driveLine, key.label, 1}, co);
}

bool MainMenu::SmoothCheckedSeries() {
  if (dataSet_.Grf_Hist_Ptr == 0) {
    services_.prompter.Message(kNoData, MessageIcon::Critical);
    return false;
  }
  const float count = ParseReal(ToBytes(Text1[0]->text()));
  const double offset = ParseReal(ToBytes(Text1[1]->text()));
  std::int32_t mode = 0;
  for (int i = 0; i < 3; ++i) mode = Option1[static_cast<std::size_t>(i)]->isChecked() ? i : mode;
  if (!(EntryMin[0] < count && count <= EntryMax[0])) {
    services_.prompter.Message(kBadRange, MessageIcon::Critical);
    Text1[0]->setFocus();
    return false;
  }
  Text1[0]->setText(ToQString(DecimalTextSingle(count)));
  if (!(EntryMin[1] <= offset && offset <= EntryMax[1])) {
    services_.prompter.Message(kBadRange, MessageIcon::Critical);
    Text1[1]->setFocus();
    return false;
  }
  SetHourglass(true);
  LoadContext context = Context();
  context.drawer.ClearChart();
  StartRowsToCheck();
  const int last = Grid1->Rows() - 1;
  for (int row = 0; row <= last; ++row) {
    std::string path = Grid1->TextMatrix(row, 0);
    if (Grid1->CellChecked(row, 1) != kChecked || !FileExists(path)) continue;
    DrawRowSelected(row);
    const std::int32_t before = dataSet_.Grf_Hist_Ptr;
    AvrData(context, dataSet_.AvrLines, dataSet_.AvrLineCount, static_cast<std::int32_t>(RoundHalfEven(count)),
            offset, 0, mode);
    if (!FillNewSeriesRow(before)) break;
  }
  TickRowsToCheck();
  VSDraw1->update();
  SetHourglass(false);
  return true;
}

bool MainMenu::MergeCheckedSeries() {
  if (dataSet_.Grf_Hist_Ptr == 0) {
    services_.prompter.Message(kNoData, MessageIcon::Critical);
    return false;
  }
  std::vector<double> LineSums;
  const std::vector<std::string> paths = TickedRowPaths(*Grid1);
  if (paths.empty()) {
    // Nothing to average: stop before the chart is cleared.
    services_.prompter.Message(kNoData, MessageIcon::Critical);
    return false;
  }
  if (CheckCompatibility(paths, settings_.MultiCondition != 0, dataSet_, services_.prompter).rangeDiffers) {
    services_.prompter.Message(kRangesDiffer, MessageIcon::Critical);
    return false;
  }
  SetHourglass(true);
  LoadContext context = Context();
  context.drawer.ClearChart();
  StartRowsToCheck();
  int merged = 0;
  LineFields fields;
  for (int row = 0; row < Grid1->Rows(); ++row) {
    std::string path = Grid1->TextMatrix(row, 0);
    if (Grid1->CellChecked(row, 1) != kChecked || !FileExists(path)) continue;
    DrawRowSelected(row);
    auto& lines = dataSet_.AvrLines;
    if (LineSums.size() < lines.size()) LineSums.resize(lines.size(), 0.0);
    for (std::size_t k = 0; k < lines.size(); ++k) {
      const int n = fields.Split(lines[k]);
      double value = 0;
      if (n == 5 && TryParseDouble(fields[3], value)) LineSums[k] += value;
      if (n == 13) lines[k] += ",0_0";
    }
    ++merged;
  }
  dataSet_.RefLines.clear();
  for (std::size_t k = 0; k < dataSet_.AvrLines.size(); ++k) {
    const std::string& line = dataSet_.AvrLines[k];
    if (fields.Split(line) == 5) {
      dataSet_.RefLines.push_back(std::string(fields[0]) + "," + std::string(fields[1]) + "," + std::string(fields[2]) +
                                  "," + FormatFixed(LineSums[k] / merged, 2) + "," + std::string(fields[4]));
    } else {
      dataSet_.RefLines.push_back(line);
    }
  }
  dataSet_.RefLineCount = static_cast<std::int32_t>(dataSet_.RefLines.size());
  const std::int32_t before = dataSet_.Grf_Hist_Ptr;
  std::int32_t co = 0;
  DrawFile(context, static_cast<std::int16_t>(dataSet_.Grf_Hist_Ptr - 1), "", dataSet_.RefLines,
           dataSet_.RefLineCount, DrawRequest{"", "", "", 1}, co);
  FillNewSeriesRow(before);
  TickRowsToCheck();
  VSDraw1->update();
  SetHourglass(false);
  return true;
}

void MainMenu::CopyChartToClipboard() {
  if ((settings_.BatchMode & kBatchSkipSizeDialog) != 0) {
    results_.DialogResult = 1;
  } else {
    RunSizeDialog();
  }
  if (results_.DialogResult != 1) return;
  RecordingSurface& surface = VSDraw1->Surface();
  const std::int32_t savedWidth = surface.ExportWidth();
  const std::int32_t savedHeight = surface.ExportHeight();
  surface.SetExportHeight(ImageHeight);
  surface.SetExportWidth(ImageWidth);
  surface.CopyPicture();
  surface.SetExportHeight(savedHeight);
  surface.SetExportWidth(savedWidth);
}

bool MainMenu::CopyPictureToClipboard(const DisplayList& list, std::int32_t widthTwips, std::int32_t heightTwips) {
  const int width = static_cast<int>(RoundHalfEven(widthTwips / TwipsPerPixelX()));
  const int height = static_cast<int>(RoundHalfEven(heightTwips / TwipsPerPixelY()));
  if (width < 1 || height < 1) return false;
  // One entry with the bitmap and the vector picture: programs that take vectors get them.
  QMimeData* picture = PictureMimeData(list, width, height);
  if (picture == nullptr) return false;
  QApplication::clipboard()->setMimeData(picture);
  return true;
}

void MainMenu::EditChartSettings() {
  RunSettingDialog();
  if (results_.SettingsChanged == 0) return;
  VSDraw1->Surface().SetBackColor(settings_.Grf_ColorInfo[0]);
  Grid1->SetBaseColour(settings_.Grf_ColorInfo[0]);
  Grid1_AfterEdit(0, 1);
}

}  // namespace varst
