// The views over the main window's chart, driven with synthetic mouse and key events: the
// statistics window, the hover readout and zoom.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTableWidget>
#include <QTest>
#include <cstdio>

#include "chart/ViewRanges.h"
#include "common/Numbers.h"
#include "platform/ChartView.h"
#include "platform/DisplayList.h"
#include "platform/QtGrid.h"
#include "platform/QtText.h"
#include "support/SessionFixture.h"
#include "support/WindowFixture.h"
#include "viewer/ChartViews.h"
#include "viewer/StatisticsWindow.h"

namespace varst {
namespace {

using test::DriveLine;
using test::RangeCondition;
using test::Window;

// Records at X 0, 100 .. 1000 with the values first, first + step ...
std::vector<std::string> RampFile(const std::string& model, double first, double step) {
  std::vector<std::string> lines{DriveLine(model, "S" + model), RangeCondition(1000)};
  for (int i = 0; i <= 10; ++i) {
    lines.push_back("R," + std::to_string(i * 100) + ",0," + ShortestText(first + step * i) + ",1");
  }
  return lines;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

struct Opened {
  test::TempDir files;
  std::unique_ptr<Window> w;
  ChartView* view = nullptr;
};

std::unique_ptr<Opened> OpenRamps() {
  auto o = std::make_unique<Opened>();
  const std::string a = o->files.Write("a.dat", Joined(RampFile("MA", 10, 1)));
  const std::string b = o->files.Write("b.dat", Joined(RampFile("MB", 50, -2)));
  o->w = std::make_unique<Window>(std::vector<std::string>{a, b});
  o->view = &o->w->window->ChartSurface();
  return o;
}

// The pixel column where chart X (0..10000 across the frame) lies.
int PixelAt(const ChartView& view, double chartX) {
  const ScaleOp& scale = view.Surface().List().scales.back();
  return static_cast<int>((chartX - scale.left) / scale.width * view.width());
}

void Mouse(QWidget& widget, QEvent::Type type, int x, Qt::MouseButton button, Qt::MouseButtons buttons) {
  const QPointF at(x, widget.height() / 2.0);
  QMouseEvent event(type, at, widget.mapToGlobal(at), button, buttons, Qt::NoModifier);
  QApplication::sendEvent(&widget, &event);
}

TEST(ChartViews, StatisticsTableFollowsTicksAndDeletions) {
  auto opened = OpenRamps();
  Opened& o = *opened;
  ChartViews& views = o.w->window->Views();
  views.ShowStatistics();
  QTableWidget& table = views.Statistics()->Table();
  ASSERT_EQ(table.rowCount(), 2);
  // File, label, model, serial, records, errors, min, min_x, mean ...
  EXPECT_EQ(table.item(1, 2)->text(), "MB");
  EXPECT_EQ(table.item(1, 4)->text(), "11");
  EXPECT_EQ(table.item(1, 6)->text(), "30");
  EXPECT_EQ(table.item(1, 7)->text().toStdString(), "3E8h (512.00KB)");
  EXPECT_EQ(table.item(1, 8)->text(), "40");
  EXPECT_EQ(table.item(1, 4)->foreground().color(), ToQColor(o.w->dataSet.SeriesColor[1]));
  EXPECT_EQ(views.Statistics()->TabText().rfind("ファイル\tlabel\tmodel\tserial\t", 0), 0U);

  o.w->Tick(0, false);
  EXPECT_TRUE(QTest::qWaitFor([&] { return table.rowCount() == 1; }, 3000));
  EXPECT_EQ(table.item(0, 2)->text(), "MB");
  o.w->Tick(0, true);
  o.w->Grid().SetRow(1);
  o.w->window->POPUP_SUB_Click(0);
  EXPECT_TRUE(QTest::qWaitFor([&] { return table.rowCount() == 1 && table.item(0, 2)->text() == "MA"; }, 3000));
}

TEST(ChartViews, HoverShowsNearestValuesWithoutDrawing) {
  auto opened = OpenRamps();
  Opened& o = *opened;
  ChartView& view = *o.view;
  view.repaint();
  const std::string before = DumpDisplayList(view.Surface().List());
  const auto paints = view.ChartPaintCount();
  // X 500 of 0..1000 is chart X 5000; the records there hold 15 and 40.
  Mouse(view, QEvent::MouseMove, PixelAt(view, 5000), Qt::NoButton, Qt::NoButton);
  const auto lines = o.w->window->Views().ShownReadout();
  ASSERT_EQ(lines.size(), 3U);
  EXPECT_EQ(lines[0].text.substr(0, 2), "1F");  // 1F4h = 500, give or take a pixel
  EXPECT_EQ(lines[1].text, "a.dat Read: 15");
  EXPECT_EQ(lines[2].text, "b.dat Read: 40");
  EXPECT_EQ(lines[2].colour, o.w->dataSet.SeriesColor[1]);
  view.repaint();
  EXPECT_EQ(DumpDisplayList(view.Surface().List()), before);
  EXPECT_EQ(view.ChartPaintCount(), paints) << "the readout repainted the chart";
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(&view, &leave);
  EXPECT_TRUE(o.w->window->Views().ShownReadout().empty());
}

std::string DumpWithRange(const Window& w, const std::vector<std::string>& files, const ViewRange& view, int width,
                          int height) {
  std::string command = std::string(VARST_BINARY) + " --dump-drawing --size " + std::to_string(width) + "x" +
                        std::to_string(height) + " --range " + ShortestText(view.start) + ":" +
                        ShortestText(view.end);
  for (const std::string& file : files) command += " '" + file + "'";
  command += " 2>" + w.dir.File("err.txt");
  std::string out;
  std::FILE* pipe = ::popen(command.c_str(), "r");
  char buffer[4096];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, got);
  ::pclose(pipe);
  return out;
}

TEST(ChartViews, DragZoomsAndEscapeReturns) {
  auto opened = OpenRamps();
  Opened& o = *opened;
  ChartView& view = *o.view;
  const std::string whole = DumpDisplayList(view.Surface().List());
  const int from = PixelAt(view, 2000);
  const int to = PixelAt(view, 6000);
  Mouse(view, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
  Mouse(view, QEvent::MouseMove, (from + to) / 2, Qt::NoButton, Qt::LeftButton);
  Mouse(view, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
  Mouse(view, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
  const ViewRange zoom = o.w->window->Chart().View;
  ASSERT_TRUE(zoom.active);
  EXPECT_NEAR(zoom.start, 200, 2);
  EXPECT_NEAR(zoom.end, 600, 2);
  const std::vector<std::string> files{o.w->Grid().TextMatrix(0, 0), o.w->Grid().TextMatrix(1, 0)};
  EXPECT_EQ(DumpDisplayList(view.Surface().List()), DumpWithRange(*o.w, files, zoom, view.width(), view.height()));

  QTest::keyClick(&view, Qt::Key_Escape);
  EXPECT_FALSE(o.w->window->Chart().View.active);
  EXPECT_EQ(DumpDisplayList(view.Surface().List()), whole);
}

// A zoomed redraw passes over the runs of records beyond the view's edges; it draws what a
// drawing of every line draws, wherever the view lies: two tests a file, error marks, a break,
// count boxes.
TEST(ChartViews, ZoomedRedrawsDrawWhatEveryLineDraws) {
  test::TempDir dir;
  std::vector<std::string> files;
  for (const char* threshold : {"-1", "5"}) {
    std::string text = DriveLine("M" + std::string(threshold), "S1") + "\r\n";
    for (const char* code : {"R", "W"}) {
      text += "0,0,100000,0,0,256,100,100,0,0,0,0," + std::string(threshold) + "\r\n";
      for (int i = 0; i < 17000; ++i) {
        const std::string mark = i % 97 == 0 ? "E" : i == 9000 ? "S" : "";
        text += code + mark + "," + std::to_string(i * 100000LL / 17000) + ",0," + ShortestText(50 + (i * 7 % 13) * 0.5) +
                "," + std::to_string(i % 4) + "\r\n";
      }
    }
    files.push_back(dir.Write("drive" + std::to_string(files.size()) + ".dat", text));
  }
  // Jumps back and forth where runs of lines begin (the drive and condition lines first): the
  // segments to and from a run beyond an edge cross the view.
  std::string jumps = DriveLine("MJ", "SJ") + "\r\n" + RangeCondition(200000) + "\r\n";
  for (int line = 2; line < 3 * 4096; ++line) {
    const int x = line < 4096 ? line * 20 : line < 8192 ? (line - 4096) * 5 : 100000 + (line - 8192) * 10;
    jumps += "R," + std::to_string(x) + ",0," + std::to_string(40 + line % 7) + ",1\r\n";
  }
  files.push_back(dir.Write("jumps.dat", jumps));
  Window w(files);
  ChartView& view = w.window->ChartSurface();
  const std::uint64_t passedBefore = w.dataSet.DrawnRuns.PassedOver();
  for (const ViewRange zoom : {ViewRange{true, 0, 3000}, ViewRange{true, 40000, 45000}, ViewRange{true, 97000, 100000},
                               ViewRange{true, 20000, 80000}, ViewRange{true, 52000.5, 52001},
                               ViewRange{true, 81000, 110000}}) {
    w.window->Views().ZoomTo(zoom.start, zoom.end);
    EXPECT_EQ(DumpDisplayList(view.Surface().List()), DumpWithRange(w, files, zoom, view.width(), view.height()))
        << zoom.start << ":" << zoom.end;
  }
  EXPECT_GT(w.dataSet.DrawnRuns.PassedOver(), passedBefore + 20) << "the redraws read every line";
}

// A redraw of a long file shows how far it has come, and leaves no share behind.
TEST(ChartViews, ARedrawLeavesNoProgressBehind) {
  test::TempDir dir;
  const std::string big =
      dir.Write("big.dat", DriveLine() + "\r\n" + RangeCondition() + "\r\n" + test::Records("R", 270000) + "\r\n");
  Window w({big});
  QTest::qWait(150);  // progress shows again after a pause
  w.window->Views().ZoomTo(0, 1000000);
  EXPECT_EQ(w.Status(), "");
}

}  // namespace
}  // namespace varst
