#include "platform/QtGrid.h"

#include <gtest/gtest.h>

#include <QMimeData>
#include <QTest>
#include <QUrl>

namespace varst {
namespace {

struct RecordingEvents : GridEvents {
  std::vector<std::pair<int, int>> edits;
  bool refuse = false;
  std::vector<std::string> dropped;
  void StartEdit(int, int col, bool& cancel) override { cancel = refuse || col != 1; }
  void AfterEdit(int row, int col) override { edits.emplace_back(row, col); }
  void DragDrop(const std::vector<std::string>& paths) override { dropped = paths; }
};

TEST(QtGrid, KeepsTheBytesOfItsTexts) {
  QtGrid grid;
  grid.SetCols(3);
  grid.SetRows(2);
  const std::string latin1("/data/M\xE9", 8);
  grid.SetTextMatrix(1, 2, latin1);
  EXPECT_EQ(grid.TextMatrix(1, 2), latin1);
  EXPECT_EQ(grid.item(1, 2)->text(), QString::fromUtf8("/data/Mé"));
  EXPECT_EQ(grid.TextMatrix(5, 5), "") << "outside reads as empty";
  grid.SetTextMatrix(5, 5, "ignored");
  grid.SetRowData(1, "key");
  EXPECT_EQ(grid.RowData(1), "key");
}

TEST(QtGrid, RowsAddRemoveAndColours) {
  QtGrid grid;
  grid.SetCols(3);
  grid.AddItem("a\tb\tc");
  grid.AddItem("x\ty");
  grid.AddItem("m\tn\to", 1);
  EXPECT_EQ(grid.Rows(), 3);
  EXPECT_EQ(grid.TextMatrix(1, 0), "m");
  EXPECT_EQ(grid.TextMatrix(2, 1), "y");
  grid.SetRowData(2, "second");
  grid.RemoveItem(0);
  EXPECT_EQ(grid.TextMatrix(0, 0), "m");
  EXPECT_EQ(grid.RowData(1), "second") << "row data moves with its row";
  grid.SetCellForeColor(0, 0, 1, 2, Rgb(1, 2, 3));
  EXPECT_EQ(grid.CellForeColor(1, 2), Rgb(1, 2, 3));
  grid.SetCellBackColor(0, 1, 0, 1, Rgb(0, 255, 0));
  EXPECT_EQ(grid.CellBackColor(0, 1), Rgb(0, 255, 0));
  grid.ClearCells();
  EXPECT_EQ(grid.TextMatrix(0, 0), "");
  EXPECT_EQ(grid.RowData(1), "");
  EXPECT_EQ(grid.Rows(), 2) << "clearing keeps the rows";
}

TEST(QtGrid, CheckBoxTogglesGoThroughStartEdit) {
  QtGrid grid;
  RecordingEvents events;
  grid.SetEvents(&events);
  grid.SetCols(2);
  grid.SetRows(2);
  grid.SetCellChecked(0, 1, kChecked);
  grid.SetCellChecked(1, 1, kUnchecked);
  EXPECT_TRUE(events.edits.empty()) << "the program's own changes raise no event";
  grid.item(1, 1)->setCheckState(Qt::Checked);  // what a click on the box does
  EXPECT_EQ(events.edits, (std::vector<std::pair<int, int>>{{1, 1}}));
  events.refuse = true;
  grid.item(0, 1)->setCheckState(Qt::Unchecked);
  EXPECT_EQ(grid.CellChecked(0, 1), kChecked) << "a refused edit is undone";
  EXPECT_EQ(grid.CellChecked(0, 0), kCheckNone);
}

TEST(QtGrid, DroppedFilesArriveAsPaths) {
  QtGrid grid;
  RecordingEvents events;
  grid.SetEvents(&events);
  grid.show();
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile("/tmp/a b.dat"), QUrl::fromLocalFile("/tmp/c.dat")});
  // Qt hands a drop to the widget that accepted the drag's entry.
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(grid.viewport(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(grid.viewport(), &drop);
  EXPECT_EQ(events.dropped, (std::vector<std::string>{"/tmp/a b.dat", "/tmp/c.dat"}));
}

TEST(QtGrid, SelectionOfSeveralRows) {
  QtGrid grid;
  grid.SetCols(2);
  grid.SetRows(4);
  grid.SetRow(1);
  EXPECT_EQ(grid.Row(), 1);
  EXPECT_TRUE(grid.IsSelected(1));
  grid.selectionModel()->select(grid.model()->index(3, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
  EXPECT_TRUE(grid.IsSelected(3));
  EXPECT_FALSE(grid.IsSelected(2));
}

}  // namespace
}  // namespace varst
