// The series grid and the entry boxes of the main window.

#include <QCheckBox>
#include <QLineEdit>
#include <QTimer>

#include "common/Numbers.h"
#include "common/Paths.h"
#include "data/DataFileList.h"
#include "data/LoadFiles.h"
#include "platform/ChartView.h"
#include "platform/QtGrid.h"
#include "platform/QtText.h"
#include "viewer/MainMenu.h"
#include "viewer/RedrawTickedRows.h"
#include "analysis/BandDrawing.h"
#include "chart/ChartDrawing.h"
#include "chart/ViewRanges.h"
#include "platform/InterfaceLanguage.h"

namespace varst {

void MainMenu::Grid1_StartEdit(int /*Row*/, int Col, bool& Cancel) { Cancel = Col != 1; }

void MainMenu::Grid1_AfterEdit(int /*Row*/, int Col) {
  SetTitle("", 0);
  SetTitle(kBusySuffix, 2);
  SetHourglass(true);
  if (Col == 1) {
    GuardCommand([this] {
      LoadContext context = Context();
      RedrawTickedRows(context);
    });
    VSDraw1->update();
  }
  SetTitle("", 1);
  SetHourglass(false);
}

void MainMenu::Check1_Click() { Grid1_AfterEdit(0, 1); }

void MainMenu::Grid1_AfterScroll(int OldTopRow, int NewTopRow) {
  if (OldTopRow == 0 && NewTopRow > Grid1->Rows() / 2.0) Grid1->SetTopRow(0);
}

void MainMenu::MouseUp(int button) {
  if (button == 2) ShowPopupMenu();
}

void MainMenu::Grid1_OLEDragDrop(const std::vector<std::string>& paths) {
  if (paths.empty()) return;
  SetHourglass(true);
  SetTitle("", 0);
  SetTitle(kBusySuffix, 2);
  GuardCommand([this, &paths] {
    LoadContext context = Context();
    if (paths.size() == 1) {
      std::string path = paths.front();
      if (FileExists(path) && CheckFileListBatch(path) == 0) {
        if (const std::optional<std::string> list = DataFileListText(path)) {
          LoadFiles(context, *list + ",,", 0);
        } else {
          LoadPaths(context, {path}, 0);
        }
      }
    } else {
      // Each dropped file is loaded from its own folder.
      LoadPaths(context, paths, 0);
    }
  });
  VSDraw1->update();
  SetHourglass(false);
  SetTitle("", 1);
}

void MainMenu::Text1_LostFocus(int Index) {
  if (Index < 0 || Index >= static_cast<int>(Text1.size()) || checkingEntry_) return;
  QLineEdit* box = Text1[static_cast<std::size_t>(Index)];
  const std::string text = ToBytes(box->text());
  if (!IsNumeric(text)) return;
  const std::int32_t value = ParseInteger(text);
  const std::int32_t low = EntryMin[static_cast<std::size_t>(Index)];
  const std::int32_t high = EntryMax[static_cast<std::size_t>(Index)];
  if (value < low || value > high) {
    // The message box takes the focus; the box must not check again meanwhile.
    checkingEntry_ = true;
    services_.prompter.Message("設定値が範囲外です(" + std::to_string(low) + "～" + std::to_string(high) + ")",
                               MessageIcon::Critical);
    box->setText(box->property("tag").toString());
    checkingEntry_ = false;
  } else {
    const bool changed = box->property("tag").toString() != box->text();
    box->setProperty("tag", box->text());
    if (Index >= 3 && changed && bandCheck_->isChecked()) RefreshBand();
  }
}

void MainMenu::Timer1_Timer() {
  Timer1->stop();
  ImageWidth = static_cast<std::int32_t>(RoundHalfEven(VSDraw1->width() * TwipsPerPixelX()));
  ImageHeight = static_cast<std::int32_t>(RoundHalfEven(VSDraw1->height() * TwipsPerPixelY()));
}

void MainMenu::RefreshBand() {
  const bool on = bandCheck_->isChecked();
  if (on) {
    const auto accepted = [this](int box) { return ParseInteger(ToBytes(Text1[box]->property("tag").toString())); };
    BandSettings settings;
    settings.k = accepted(3);
    settings.tolerance = accepted(4) / 100.0;
    bands_ = ComputeWindowBands(
        dataSet_, points_, chart_, dataSet_.RangeEnd,
        [this](int row) { return row < Grid1->Rows() && Grid1->CellChecked(row, 1) == kChecked; }, settings);
    drawing_->SetUnderlay([this](DrawingSurface& surface, const ChartState& chart, double rangeEnd) {
      const ViewRange shown = ShownRange(chart, rangeEnd);
      for (const ReferenceBand& band : bands_.bands) {
        DrawBand(surface, band,
                 BandFrame{shown.start, shown.end, static_cast<double>(chart.YZoom),
                           static_cast<double>(chart.YFullScale), surface.BackColor()});
      }
    });
  } else {
    bands_ = WindowBands{};
    drawing_->SetUnderlay({});
  }
  chart_.OutlierRows = bands_.outlierRows;
  // The grid's label cells carry the same mark as the legend lines.
  const std::string mark = ToBytes(Ui(kOutlierMark));
  for (int row = 0; row < Grid1->Rows(); ++row) {
    std::string label = Grid1->TextMatrix(row, 2);
    if (label.size() >= mark.size() && label.compare(label.size() - mark.size(), mark.size(), mark) == 0) {
      label.resize(label.size() - mark.size());
    }
    const auto index = static_cast<std::size_t>(row);
    if (index < bands_.outlierRows.size() && bands_.outlierRows[index]) label += mark;
    Grid1->SetTextMatrix(row, 2, label);
  }
  if (Grid1->Rows() > 0) Grid1->AutoSize(2, 2);
  GuardCommand([this] {
    LoadContext context = Context();
    RedrawTickedRows(context);
  });
  VSDraw1->update();
  bandRevision_ = points_.Revision();
}

}  // namespace varst
