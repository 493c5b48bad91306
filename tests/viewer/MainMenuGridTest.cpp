// The main window's series grid and entry boxes, driven as a user would.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDragEnterEvent>
#include <QFocusEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QUrl>
#include <QLineEdit>
#include <QTest>

#include "platform/ChartView.h"
#include "platform/DisplayList.h"
#include "platform/QtGrid.h"
#include "support/SessionFixture.h"
#include "support/WindowFixture.h"

namespace varst {
namespace {

using test::DriveLine;
using test::RangeCondition;
using test::Records;
using test::Window;

TEST(MainMenuGrid, UntickingARowRemovesItsSeriesAndTickingRestoresIt) {
  test::TempDir dir;
  const auto file = [&](const std::string& name, const std::string& model) {
    return dir.Write(name, DriveLine(model, "S" + model) + "\r\n" + RangeCondition() + "\r\n" + Records("W", 4) +
                               "\r\n" + Records("R", 4) + "\r\n");
  };
  Window w({file("a.dat", "MA"), file("b.dat", "MB")});
  ASSERT_EQ(w.Grid().Rows(), 4);
  const std::vector<Colour> all = w.SeriesPens();
  ASSERT_EQ(all, (std::vector<Colour>{0x00FF00, 0x0000FF, 0xFF0000, 0xFF00FF})) << "four series, four colours";
  w.Tick(1, false);
  EXPECT_EQ(w.SeriesPens(), (std::vector<Colour>{all[0], all[2], all[3]}));
  w.Tick(1, true);
  EXPECT_EQ(w.SeriesPens(), all) << "every series back in its own colour";
  for (int row = 0; row < 4; ++row) EXPECT_EQ(w.Grid().CellForeColor(row, 1), all[static_cast<std::size_t>(row)]);
  EXPECT_TRUE(w.window->windowTitle().endsWith("Ver1.00")) << "the busy suffix is gone";
}

TEST(MainMenuGrid, OnlyTheTickBoxColumnEdits) {
  Window w;
  bool cancel = false;
  for (int col : {0, 2, 3, 4, 5}) {
    w.window->Grid1_StartEdit(0, col, cancel);
    EXPECT_TRUE(cancel) << col;
  }
  w.window->Grid1_StartEdit(0, 1, cancel);
  EXPECT_FALSE(cancel);
}

TEST(MainMenuGrid, CountBoxBounds) {
  Window w;
  w.prompter.ExpectMessage("設定値が範囲外です(0～1000)");
  w.Type(0, "1001");
  EXPECT_EQ(w.Box(0)->text(), "5") << "the last accepted value comes back";
  EXPECT_EQ(w.prompter.History().back().icon, MessageIcon::Critical);
  w.Type(0, "0");
  EXPECT_EQ(w.Box(0)->text(), "0");
  w.Type(0, "2.5");
  EXPECT_EQ(w.Box(0)->text(), "2.5") << "stays as typed";
  w.prompter.ExpectMessage("設定値が範囲外です(0～1000)");
  w.Type(0, "-1");
  EXPECT_EQ(w.Box(0)->text(), "2.5");
  w.Type(0, "abc");
  EXPECT_EQ(w.Box(0)->text(), "abc") << "a text that is not a number is left alone";
}

TEST(MainMenuGrid, OffsetBoxBoundsAndEnter) {
  Window w;
  w.Type(1, "-100");
  EXPECT_EQ(w.Box(1)->text(), "-100");
  w.prompter.ExpectMessage("設定値が範囲外です(-100～2000)");
  w.Box(1)->setText("-101");
  QTest::keyClick(w.Box(1), Qt::Key_Return);
  EXPECT_EQ(w.Box(1)->text(), "-100") << "Enter runs the same check";
  w.prompter.ExpectMessage("設定値が範囲外です(1～500)");
  w.Type(2, "501");
  EXPECT_EQ(w.Box(2)->text(), "");
}

// The range check runs when the focus moves to another control of the window, never when the
// window loses activation (another program, a question box) or a popup menu opens.
TEST(MainMenuGrid, RangeCheckOnlyWhenTheFocusMovesWithinTheWindow) {
  Window w;
  w.window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(w.window.get()));
  w.Box(0)->setFocus(Qt::MouseFocusReason);
  w.Box(0)->setText("1001");
  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
  QApplication::sendEvent(w.Box(0), &popup);
  EXPECT_EQ(w.prompter.Messages(), std::vector<std::string>{}) << "no check on deactivation or a popup";
  EXPECT_EQ(w.Box(0)->text(), "1001");

  w.window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(w.window.get()));
  ASSERT_TRUE(w.Box(0)->hasFocus());
  w.prompter.ExpectMessage("設定値が範囲外です(0～1000)");
  w.Box(1)->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(w.Box(0)->text(), "5") << "checked when the focus moved on";
}

// Files dragged over the window beside the grid show the copy pointer and load nothing.
TEST(MainMenuGrid, DropsBesideTheGridShowTheCopyPointer) {
  Window w;
  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(
      w.File("a.dat", {DriveLine("MA", "SA"), RangeCondition(), Records("R", 3)})))});
  // The widget that takes a drop over the chart, found as the platform finds it.
  QWidget* target = &w.window->ChartSurface();
  while (target != nullptr && !target->acceptDrops()) target = target->parentWidget();
  ASSERT_NE(target, nullptr) << "nothing takes the drop: the pointer says not allowed";
  const QPoint at(20, 20);
  const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
  QDragEnterEvent enter(at, offered, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  EXPECT_TRUE(enter.isAccepted());
  EXPECT_EQ(enter.dropAction(), Qt::CopyAction);
  QDragMoveEvent move(at, offered, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &move);
  EXPECT_TRUE(move.isAccepted());
  EXPECT_EQ(move.dropAction(), Qt::CopyAction);
  QDropEvent drop(at, offered, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &drop);
  EXPECT_EQ(w.dataSet.FileCount, 0) << "only a drop on the grid loads";
  EXPECT_EQ(w.Grid().Rows(), 0);
}

TEST(MainMenuGrid, DroppedPlainListLoadsItsFiles) {
  Window w;
  const std::string a = w.File("a.dat", {DriveLine("MA", "SA"), RangeCondition(), Records("R", 3)});
  const std::string b = w.File("b.dat", {DriveLine("MB", "SB"), RangeCondition(), Records("R", 3)});
  const std::string list = w.dir.Write("list.txt", "DATA FILE LIST\r\n" + a + "\r\n" + b + "\r\n");
  w.window->Grid1_OLEDragDrop({list});
  EXPECT_EQ(w.Grid().Rows(), 2);
  EXPECT_EQ(w.dataSet.FileList, (std::vector<std::string>{a, b}));
}

TEST(MainMenuGrid, SeveralDroppedFilesFromDifferentFoldersLoadFromTheirOwn) {
  Window w;
  const std::string a = w.File("one/a.dat", {DriveLine("MA", "SA"), RangeCondition(), Records("R", 3)});
  const std::string b = w.File("two/b.dat", {DriveLine("MB", "SB"), RangeCondition(), Records("R", 3)});
  const std::string c = w.File("two/c.dat", {DriveLine("MC", "SC"), RangeCondition(), Records("R", 3)});
  w.window->Grid1_OLEDragDrop({a, b, c});
  EXPECT_EQ(w.dataSet.FileCount, 3);
  EXPECT_EQ(w.Grid().Rows(), 3);
}

TEST(MainMenuGrid, ADroppedFileThatDoesNotExistLoadsNothing) {
  Window w;
  w.window->Grid1_OLEDragDrop({w.dir.File("missing.dat")});
  EXPECT_EQ(w.dataSet.FileCount, 0);
  EXPECT_TRUE(w.prompter.History().empty());
}

TEST(MainMenuGrid, ModelNameBoxRedrawsWithoutTheLegendText) {
  test::TempDir dir;
  const std::string a = dir.Write("a.dat", DriveLine() + "\r\n" + RangeCondition() + "\r\n" + Records("R", 3) + "\r\n");
  Window w({a});
  auto* model = w.window->findChild<QCheckBox*>("Check1");
  ASSERT_NE(model, nullptr);
  EXPECT_TRUE(model->isChecked()) << "ticked when the window opens";
  QTest::mouseClick(model, Qt::LeftButton);
  const std::string dump = DumpDisplayList(w.Drawing());
  EXPECT_EQ(dump.find("S/N:"), std::string::npos);
  EXPECT_EQ(w.SeriesPens().size(), 1U);
}

// The grid scrolled by its scroll bar, as the mouse wheel does. Catches an emptied
// Grid1_AfterScroll (the first row), ">" turned into ">=" (the half-way row) and a guard that
// forgets the old top row (the last row).
TEST(MainMenuGrid, ScrollGuardTakesALongJumpFromTheTopBack) {
  const struct {
    int from, to, expected;
  } rows[] = {{0, 21, 0}, {0, 20, 20}, {0, 5, 5}, {5, 30, 30}};
  for (const auto& row : rows) {
    Window w;
    w.Grid().SetRows(40);
    QApplication::processEvents();  // the scroll range follows the rows on the next layout
    QScrollBar* bar = w.Grid().verticalScrollBar();
    ASSERT_GE(bar->maximum(), 30) << "the grid must be able to scroll";
    bar->setValue(row.from);
    bar->setValue(row.to);
    EXPECT_EQ(w.Grid().TopRow(), row.expected) << row.from << " to " << row.to;
  }
}

// A surface of 400 by 300 pixels at the offscreen platform's 96 dots per inch is 6000 by 4500
// twips. Catches width and height swapped or taken in pixels.
TEST(MainMenuGrid, InitialPictureSizeInTwips) {
  Window w;
  w.window->ChartSurface().setFixedSize(400, 300);
  QApplication::processEvents();
  ASSERT_EQ(w.window->ChartSurface().size(), QSize(400, 300));
  ASSERT_EQ(w.window->ChartSurface().logicalDpiX(), 96);
  ASSERT_EQ(w.window->ChartSurface().logicalDpiY(), 96);
  w.window->Timer1_Timer();
  EXPECT_EQ(w.window->ImageWidth, 6000);
  EXPECT_EQ(w.window->ImageHeight, 4500);
}

}  // namespace
}  // namespace varst
