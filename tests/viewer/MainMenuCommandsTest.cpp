// The main window's command buttons, popup menu and batch lists, driven as a user would, with
// the dialogs answered by script.

#include <gtest/gtest.h>

#include <functional>

#include <QApplication>
#include <functional>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSvgRenderer>
#include <QTableWidget>
#include <QTest>

#include "app/HeadlessSession.h"
#include "common/Paths.h"
#include "convert/FilenameConv.h"
#include "common/ProfileFile.h"
#include "platform/ChartView.h"
#include "platform/DisplayList.h"
#include "platform/QtGrid.h"
#include "support/SessionFixture.h"
#include "support/WindowFixture.h"

namespace varst {
namespace {

using test::DriveLine;
using test::RangeCondition;
using test::ReadFileBytes;
using test::Records;
using test::Window;

// The open dialog's answer for several files: the folder and each name, each followed by NUL,
// and a final NUL.
std::string Chosen(const std::string& folder, const std::vector<std::string>& names) {
  std::string result = folder + '\0';
  for (const std::string& name : names) result += name + '\0';
  return result + '\0';
}

// Clicks a dialog's button by name and returns the dialog's result.
int Click(QDialog& dialog, const char* name) {
  auto* button = dialog.findChild<QPushButton*>(name);
  EXPECT_NE(button, nullptr) << name;
  if (button != nullptr) button->click();
  return dialog.result();
}

// Answers the picture size dialog with the typed width and height and OK.
std::function<int(QDialog&)> TypeSize(const char* width, const char* height) {
  return [width, height](QDialog& dialog) {
    for (const auto& [name, text] : {std::pair{"Text1_0", width}, std::pair{"Text1_1", height}}) {
      auto* box = dialog.findChild<QLineEdit*>(name);
      box->clear();
      QTest::keyClicks(box, text);
      QTest::keyClick(box, Qt::Key_Return);  // Enter takes the value as leaving the box does
    }
    return Click(dialog, "Command1_0");
  };
}

std::string ValueFile(const Window& w, const std::string& name, const std::string& model, double value,
                      long long end = 1000) {
  return w.File(name, {DriveLine(model, "S" + model), RangeCondition(end), "R,0,0," + std::to_string(value) + ",1",
                       "R," + std::to_string(end) + ",1," + std::to_string(value) + ",1"});
}

// Opens a.dat, b.dat and c.dat of drives MA, MB and MC, holding the given values, through the dialog.
void OpenThreeFiles(Window& w, double a, double b, double c) {
  ValueFile(w, "a.dat", "MA", a);
  ValueFile(w, "b.dat", "MB", b);
  ValueFile(w, "c.dat", "MC", c);
  w.prompter.ExpectOpenFile(Chosen(w.dir.Path(), {"a.dat", "b.dat", "c.dat"}));
  w.window->Command1_Click(0);
}

TEST(Commands, OpenTwoFilesThroughTheDialogAndShowTheElapsedTime) {
  Window w;
  ValueFile(w, "a.dat", "MA", 1);
  ValueFile(w, "b.dat", "MB", 2);
  w.prompter.ExpectOpenFile(Chosen(w.dir.Path(), {"a.dat", "b.dat"}));
  w.clock.now = 5000;
  w.window->Command1_Click(0);
  EXPECT_EQ(w.Grid().Rows(), 2);
  // The clock moves while the question is open. Catches a status that shows the clock itself
  // or measures from a tick taken after the command ran.
  ValueFile(w, "c.dat", "MC", 3);
  w.prompter.onMessage = [&](const test::ScriptedPrompter::Shown&) { w.clock.now += 250; };
  w.prompter.ExpectOpenFile(w.dir.File("c.dat")).ExpectMessage("データを追加しますか?", Answer::Yes);
  w.window->Command1_Click(0);
  EXPECT_EQ(w.Grid().Rows(), 3);
  EXPECT_EQ(w.Status(), "250[ms]");
  EXPECT_NE(w.prompter.History().at(0).text.find("*.dat;*.r*;*.w*;*.s*"), std::string::npos);
  EXPECT_FALSE(w.window->windowTitle().contains("処理中"));
}

// Choosing nothing must not offer to throw the loaded series away: no question, nothing changes.
TEST(Commands, NothingChosenKeepsTheLoadedSeriesWithoutAsking) {
  const auto listOfMissing = [](Window& w) { return w.dir.Write("list.txt", "DATA FILE LIST\r\n/missing.dat\r\n"); };
  const struct {
    const char* name;
    std::function<void(Window&)> choose;
  } rows[] = {
      {"cancelled open dialog",
       [](Window& w) {
         w.prompter.ExpectOpenFile("");
         w.window->Command1_Click(0);
       }},
      {"opened list of missing files",
       [&](Window& w) {
         w.prompter.ExpectOpenFile(listOfMissing(w));
         w.window->Command1_Click(0);
       }},
      {"dropped list of missing files", [&](Window& w) { w.window->Grid1_OLEDragDrop({listOfMissing(w)}); }},
  };
  for (const auto& row : rows) {
    Window w;
    w.prompter.ExpectOpenFile(ValueFile(w, "a.dat", "MA", 1));
    w.window->Command1_Click(0);
    const std::string before = DumpDisplayList(w.Drawing());
    w.prompter.Forget();
    row.choose(w);
    EXPECT_EQ(w.prompter.Messages(), std::vector<std::string>{}) << row.name;
    EXPECT_EQ(w.Grid().Rows(), 1) << row.name;
    EXPECT_EQ(w.dataSet.FileCount, 1) << row.name;
    EXPECT_EQ(DumpDisplayList(w.Drawing()), before) << row.name;
  }
}

// The busy pointer belongs to the main window: a question asked in the middle of a command
// shows the ordinary pointer.
TEST(Commands, BusyPointerOnTheWindowOnly) {
  Window w;
  w.prompter.ExpectOpenFile(ValueFile(w, "a.dat", "MA", 1));
  w.window->Command1_Click(0);
  int asked = 0;
  w.prompter.onMessage = [&](const test::ScriptedPrompter::Shown&) {
    ++asked;
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the whole application carries the hourglass";
    EXPECT_EQ(w.window->cursor().shape(), Qt::WaitCursor);
  };
  w.prompter.ExpectOpenFile(ValueFile(w, "b.dat", "MB", 2)).ExpectMessage("データを追加しますか?", Answer::Yes);
  w.window->Command1_Click(0);
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(w.Grid().Rows(), 2);
  EXPECT_EQ(w.window->cursor().shape(), Qt::ArrowCursor) << "the pointer is back";
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  // The conversion window's notice while dropped files are added, likewise.
  FilenameConv tool(w.settings, Services{w.prompter, w.shell, w.clock}, [] {});
  tool.show();
  const std::string file = ValueFile(w, "c.dat", "MC", 3);
  w.prompter.onMessage = [&](const test::ScriptedPrompter::Shown&) {
    ++asked;
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the whole application carries the hourglass";
    EXPECT_EQ(tool.cursor().shape(), Qt::WaitCursor);
  };
  w.prompter.ExpectMessage("既にファイルが存在します");
  tool.DragDrop({file, file});
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(tool.cursor().shape(), Qt::ArrowCursor);
}

TEST(Commands, SaveRowFileAppendsDatAndAsksBeforeReplacing) {
  Window w;
  const std::string a = ValueFile(w, "a.dat", "MA", 1);
  w.prompter.ExpectOpenFile(a);
  w.window->Command1_Click(0);
  w.Grid().SetRow(0);
  w.prompter.ExpectSaveFile(w.dir.File("copy")).ExpectMessage("保存終了");
  w.window->Command1_Click(1);
  EXPECT_EQ(ReadFileBytes(w.dir.File("copy.dat")), ReadFileBytes(a));
  EXPECT_EQ(w.prompter.History().back().icon, MessageIcon::Information);

  w.window->findChild<QLabel*>("Label2")->setText("unchanged");
  w.prompter.ExpectSaveFile(w.dir.File("copy.dat")).ExpectMessage("ファイルが存在します。上書きしますか?", Answer::No);
  w.window->Command1_Click(1);
  EXPECT_EQ(w.Status(), "unchanged") << "No stops the command";
  w.prompter.ExpectSaveFile("");
  w.window->Command1_Click(1);
  EXPECT_EQ(w.Status(), "unchanged") << "a cancelled dialog stops too";
}

TEST(Commands, SmoothingTwoTickedRowsAddsTwoThresholdSeriesAndTheirReferenceFiles) {
  Window w;
  w.prompter.ExpectOpenFile(Chosen(w.dir.Path(), {"a.dat", "b.dat"}));
  w.File("a.dat", {DriveLine("MA", "SA"), RangeCondition(), Records("R", 20)});
  w.File("b.dat", {DriveLine("MB", "SB"), RangeCondition(), Records("R", 20)});
  w.window->Command1_Click(0);
  w.window->Command1_Click(2);
  ASSERT_EQ(w.Grid().Rows(), 4);
  for (int row : {2, 3}) {
    EXPECT_EQ(w.Grid().TextMatrix(row, 2), "Threshold");
    EXPECT_EQ(w.Grid().CellChecked(row, 1), kChecked);
  }
  EXPECT_EQ(w.Grid().TextMatrix(2, 1), "~REF0");
  EXPECT_EQ(w.Grid().TextMatrix(3, 1), "~REF1");
  EXPECT_EQ(w.SeriesPens().size(), 4U) << "both originals and both copies drawn";
  for (const char* name : {"~REF0", "~REF1"}) {
    const std::string ref = w.settings.WorkFolder + "/" + name;
    ASSERT_TRUE(FileExists(std::string_view(ref))) << name;
    test::Session again;
    again.Load({ref});
    EXPECT_EQ(again.Data().Grf_Hist_Ptr, 1) << "loads as a data file";
    EXPECT_NE(again.Data().SeriesInfo[0].find(",Threshold,|"), std::string::npos);
  }
}

TEST(Commands, SmoothingRefusesACountOfZero) {
  Window w;
  const std::string a = ValueFile(w, "a.dat", "MA", 1);
  w.prompter.ExpectOpenFile(a);
  w.window->Command1_Click(0);
  w.Type(0, "0");
  w.prompter.ExpectMessage("設定範囲が不正です");
  w.window->Command1_Click(2);
  EXPECT_EQ(w.Grid().Rows(), 1);
}

TEST(Commands, MergingThreeFilesAveragesEachLinePosition) {
  Window w;
  OpenThreeFiles(w, 1, 2, 4);
  w.window->Command1_Click(4);
  ASSERT_EQ(w.Grid().Rows(), 4);
  const std::string merged = ReadFileBytes(w.settings.WorkFolder + "/~REF0");
  EXPECT_NE(merged.find("R,0,0,2.33,1\r\n"), std::string::npos) << merged;
  EXPECT_NE(merged.find("0,0,1000,0,0,256,100,100,0,0,0,0,-1,0_0\r\n"), std::string::npos);
  EXPECT_EQ(w.Grid().TextMatrix(3, 2), "Threshold");
  EXPECT_EQ(w.Grid().CellChecked(3, 1), kChecked);
}

TEST(Commands, MergeRefusesDifferentRangesAndNothingTicked) {
  Window w;
  ValueFile(w, "a.dat", "MA", 1, 1000);
  ValueFile(w, "b.dat", "MB", 2, 2000);
  w.prompter.ExpectOpenFile(Chosen(w.dir.Path(), {"a.dat", "b.dat"}));
  w.window->Command1_Click(0);
  w.prompter.ExpectMessage("試験範囲が異なります。試験範囲が同じでなければなりません");
  w.window->Command1_Click(4);
  EXPECT_EQ(w.Grid().Rows(), 2);
  w.Tick(0, false);
  w.Tick(1, false);
  const std::string before = DumpDisplayList(w.Drawing());
  w.prompter.ExpectMessage("データがありません");
  w.window->Command1_Click(4);
  EXPECT_EQ(DumpDisplayList(w.Drawing()), before) << "stopped before the chart was cleared";
}

TEST(Commands, DeletingTheSecondOfThreeRowsKeepsTheThirdRowsColour) {
  Window w;
  OpenThreeFiles(w, 1, 2, 3);
  const Colour first = w.Grid().CellForeColor(0, 1);
  const Colour third = w.Grid().CellForeColor(2, 1);
  w.Grid().SetRow(1);
  w.window->POPUP_SUB_Click(0);
  ASSERT_EQ(w.Grid().Rows(), 2);
  EXPECT_EQ(w.Grid().TextMatrix(1, 1), "c.dat");
  EXPECT_EQ(w.Grid().CellForeColor(1, 1), third);
  EXPECT_EQ(w.Grid().CellForeColor(0, 1), first);
  EXPECT_EQ(w.SeriesPens(), (std::vector<Colour>{first, third}));
}

TEST(Commands, DeletingTheLastRowEmptiesEverything) {
  Window w;
  w.prompter.ExpectOpenFile(ValueFile(w, "a.dat", "MA", 1));
  w.window->Command1_Click(0);
  w.Grid().SetRow(0);
  w.window->POPUP_SUB_Click(0);
  EXPECT_EQ(w.Grid().Rows(), 0);
  EXPECT_EQ(w.dataSet.Grf_Hist_Ptr, 0);
  EXPECT_TRUE(w.SeriesPens().empty());
}

TEST(Commands, EditStartsTheEditorOncePerTickedFileWithAnArgumentList) {
  Window w;
  const std::string odd = ValueFile(w, "it's a \"test\"; $(rm -rf x).dat", "MA", 1);
  ValueFile(w, "b.dat", "MB", 2);
  ValueFile(w, "c.dat", "MC", 3);
  w.prompter.ExpectOpenFile(Chosen(w.dir.Path(), {"it's a \"test\"; $(rm -rf x).dat", "b.dat", "c.dat"}));
  w.window->Command1_Click(0);
  ASSERT_EQ(w.Grid().Rows(), 3);
  w.Tick(2, false);
  w.settings.EditorPath = "my-editor";
  w.window->POPUP_SUB_Click(1);
  ASSERT_EQ(w.shell.started.size(), 2U);
  EXPECT_EQ(w.shell.started[0].program, "my-editor");
  EXPECT_EQ(w.shell.started[0].arguments, std::vector<std::string>{odd}) << "the name is one plain argument";
  w.shell.programsStart = false;
  w.window->POPUP_SUB_Click(1);
  EXPECT_EQ(w.shell.opened.size(), 2U) << "the desktop opens the files when the editor cannot start";
}

TEST(Commands, DrawingOrderDialogReloadsInTheNewOrder) {
  Window w;
  OpenThreeFiles(w, 1, 2, 3);
  const Colour cColour = w.Grid().CellForeColor(2, 1);
  w.prompter.ExpectDialog([](QDialog& dialog) {
    auto* grid = dialog.findChild<QTableWidget*>("Grid1");
    grid->setCurrentCell(2, 1);
    Click(dialog, "Command1_3");
    Click(dialog, "Command1_3");
    return Click(dialog, "Command1_0");
  });
  w.window->POPUP_SUB_Click(2);
  ASSERT_EQ(w.Grid().Rows(), 3);
  EXPECT_EQ(w.Grid().TextMatrix(0, 1), "c.dat");
  EXPECT_EQ(w.Grid().TextMatrix(1, 1), "a.dat");
  EXPECT_EQ(w.Grid().TextMatrix(2, 1), "b.dat");
  EXPECT_EQ(w.Grid().CellForeColor(0, 1), cColour) << "the colour follows its row";

  w.prompter.ExpectDialog([](QDialog& dialog) { return Click(dialog, "Command1_1"); });
  w.window->POPUP_SUB_Click(2);
  EXPECT_EQ(w.Grid().TextMatrix(0, 1), "c.dat") << "cancel reloads nothing";
}

TEST(Commands, ClipboardCopyAtTheChosenSize) {
  Window w;
  w.prompter.ExpectOpenFile(ValueFile(w, "a.dat", "MA", 50));
  w.window->Command1_Click(0);
  w.prompter.ExpectDialog(TypeSize("320", "200"));
  QApplication::clipboard()->clear();
  w.window->Command1_Click(3);
  const QImage image = QApplication::clipboard()->image();
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.size(), QSize(320, 200));
  int green = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) green += image.pixelColor(x, y) == QColor(0, 255, 0) ? 1 : 0;
  }
  EXPECT_GT(green, 50) << "the series and its legend are in the picture";
  EXPECT_EQ(w.window->ChartSurface().Surface().ExportWidth(), 0) << "the export size is restored";
  const QMimeData* entry = QApplication::clipboard()->mimeData();
  ASSERT_TRUE(entry->hasFormat("image/svg+xml")) << "the vector picture in the same entry";
  EXPECT_EQ(QSvgRenderer(entry->data("image/svg+xml")).viewBox(), QRect(0, 0, 320, 200));
}

TEST(Commands, SavePictureByTheNamesExtensionAtTheDialogSize) {
  Window w;
  w.prompter.ExpectOpenFile(ValueFile(w, "a.dat", "MA", 50));
  w.window->Command1_Click(0);
  const std::string kept = w.dir.Write("kept.svg", "old");
  const struct {
    const char* answer;  // the save dialog's answer
    const char* saved;   // the file then written, "" for none
    const char* asked;   // a message shown before the size dialog, answered No; "" for none
    bool sizeDialog;
    const char* told;  // a message shown after it; "" for none
  } cases[] = {
      {"chart", "chart.png", "", true, ""},
      {"chart.SVG", "chart.SVG", "", true, ""},
      {"chart.pdf", "chart.pdf", "", true, ""},
      {"chart.gif", "", ".png, .svg, .pdf", false, ""},
      {"kept.svg", "", "上書きしますか", false, ""},
      {"no-such-folder/chart.png", "", "", true, "画像を保存できません"},
      {"", "", "", false, ""},
  };
  for (const auto& c : cases) {
    w.prompter.ExpectSaveFile(*c.answer != 0 ? w.dir.File(c.answer) : "");
    if (*c.asked != 0) w.prompter.ExpectMessage(c.asked, Answer::No);
    if (c.sizeDialog) w.prompter.ExpectDialog(TypeSize("300", "200"));
    if (*c.told != 0) w.prompter.ExpectMessage(c.told);
    w.window->POPUP_SUB_Click(3);
    EXPECT_TRUE(w.prompter.Finished()) << c.answer;
    if (*c.saved == 0) continue;
    const std::string path = w.dir.File(c.saved);
    const QString name(c.saved);
    if (name.endsWith(".pdf")) {
      EXPECT_NE(ReadFileBytes(path).find("/MediaBox [0 0 300.000000 200.000000]"), std::string::npos);
    } else {
      const QString file = QString::fromStdString(path);
      EXPECT_EQ(name.endsWith(".SVG") ? QSvgRenderer(file).viewBox().size() : QImage(file).size(), QSize(300, 200))
          << c.saved;
    }
  }
  EXPECT_EQ(ReadFileBytes(kept), "old") << "No to the overwrite question keeps the file";
  EXPECT_FALSE(w.window->windowTitle().contains("処理中"));
}

TEST(Commands, BatchListCopiesEachChartOrEndsOnCancel) {
  Window w;
  const std::string a = ValueFile(w, "a.dat", "MA", 1);
  const std::string b = ValueFile(w, "b.dat", "MB", 2);
  const std::string batch = w.dir.Write("batch.txt", "[file list]\r\n" + a + "\r\n/missing\r\n" + b + "\r\n");
  w.window->ImageWidth = 150 * 15;
  w.window->ImageHeight = 100 * 15;
  QApplication::clipboard()->clear();
  w.prompter.ExpectMessage("クリップボードにコピーしますか", Answer::Yes).ExpectMessage("クリップボードにコピーしますか", Answer::Cancel);
  w.window->Grid1_OLEDragDrop({batch});
  EXPECT_EQ(QApplication::clipboard()->image().size(), QSize(150, 100)) << "copied without the size dialog";
  EXPECT_EQ(w.settings.BatchMode, 0);
  EXPECT_EQ(w.dataSet.FileList, std::vector<std::string>{b}) << "each listed file replaces the last";
  EXPECT_EQ(w.prompter.History().at(0).buttons, MessageButtons::YesNoCancel);
  EXPECT_TRUE(w.prompter.History().at(0).placed);
}

// The settings dialog answered OK with a new background colour and the legend size "小".
void ChooseBackgroundAndSmallLegend(Window& w, Colour background) {
  w.prompter
      .ExpectDialog([](QDialog& dialog) {
        Click(dialog, "Command1_0");
        dialog.findChild<QComboBox*>("Combo1")->setCurrentIndex(0);
        return Click(dialog, "Command2_0");
      })
      .ExpectColour(background);
  w.window->Command1_Click(5);
}

// The size of the first text drawn that holds `part`; 0 when there is none.
double TextSize(const DisplayList& list, const std::string& part) {
  for (const TextOp& text : list.texts) {
    if (text.text.find(part) != std::string::npos) return text.size;
  }
  return 0;
}

// Catches Form_Unload no longer calling the settings writer: the file never appears.
TEST(Commands, ClosingTheWindowWritesTheSettings) {
  Window w;
  const std::string file = w.dir.File("appdata/Varst.ini");
  ChooseBackgroundAndSmallLegend(w, 0x336699);
  EXPECT_FALSE(FileExists(std::string_view(file))) << "written at close, not before";
  w.window->close();
  EXPECT_EQ(ReadProfileText(file, "Graf", "Grf_ColorInfo0"), std::to_string(0x336699));
  EXPECT_EQ(ReadProfileText(file, "Graf", "Grf_FontSize"), "0");
}

// Catches EditChartSettings without its closing redraw Grid1_AfterEdit(0, 1) (the legend keeps
// its old size) and an OK that does not store the chosen colours (the background stays).
TEST(Commands, SettingsDialogCancelledLeavesTheChartAndOkRedraws) {
  Window w;
  w.prompter.ExpectOpenFile(ValueFile(w, "a.dat", "MA", 1));
  w.window->Command1_Click(0);
  const std::string before = DumpDisplayList(w.Drawing());
  const double legendBefore = TextSize(w.Drawing(), "MA");
  ASSERT_GT(legendBefore, 0);
  w.prompter.ExpectDialog([](QDialog& dialog) { return Click(dialog, "Command2_1"); });
  w.window->Command1_Click(5);
  EXPECT_EQ(DumpDisplayList(w.Drawing()), before);
  ChooseBackgroundAndSmallLegend(w, 0x336699);
  EXPECT_EQ(w.Drawing().background, 0x336699);
  EXPECT_LT(TextSize(w.Drawing(), "MA"), legendBefore) << "the legend is drawn again at its new size";
  EXPECT_EQ(w.SeriesPens().size(), 1U);
}

}  // namespace
}  // namespace varst
