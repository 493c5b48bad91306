// Bad input at the window: names holding commas from a drop and from the open dialog, model
// names that are not UTF-8 in the grid, and values so large that painting them is the test.

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <QImage>
#include <QTableWidgetItem>
#include <filesystem>

#include "platform/ChartView.h"
#include "platform/DisplayListPainter.h"
#include "platform/QtGrid.h"
#include "reliability/TimeBound.h"
#include "support/SessionFixture.h"
#include "support/WindowFixture.h"

namespace varst {
namespace {

using test::DriveLine;
using test::RangeCondition;
using test::ReadFileBytes;
using test::Records;
using test::Window;
using test::WithinSeconds;

constexpr char kAddQuestion[] = "データを追加しますか?";

std::string DataFile(const Window& w, const std::string& name, const std::string& model = "MODEL-T1") {
  return w.File(name, {DriveLine(model, "SN1"), RangeCondition(1000), Records("R", 3, 1000)});
}

TEST(BadInputWindow, DroppedNamesHoldingCommasLoadWhole) {
  Window w;
  const std::string one = DataFile(w, "a,b.dat", "M1");
  const std::string two = DataFile(w, ",c,,.dat", "M2");
  const std::string three = DataFile(w, "d,.dat", "M3");
  w.window->Grid1_OLEDragDrop({one});
  ASSERT_EQ(w.Grid().Rows(), 1);
  EXPECT_EQ(w.Grid().TextMatrix(0, 0), one);
  EXPECT_EQ(w.Grid().TextMatrix(0, 1), "a,b.dat");

  w.prompter.ExpectMessage(kAddQuestion, Answer::Yes);
  w.window->Grid1_OLEDragDrop({two, three});
  ASSERT_EQ(w.Grid().Rows(), 3);
  EXPECT_EQ(w.Grid().TextMatrix(1, 0), two);
  EXPECT_EQ(w.Grid().TextMatrix(2, 1), "d,.dat");
  EXPECT_EQ(w.SeriesPens().size(), 3U);

  w.Tick(1, false);
  EXPECT_EQ(w.SeriesPens().size(), 2U) << "the redraw from the ticked rows finds every file";
  w.Tick(1, true);
  EXPECT_EQ(w.SeriesPens().size(), 3U);
  EXPECT_TRUE(w.prompter.Finished());
}

// Files that hold no data record pass every check and draw nothing; the window says so, as the
// command line does, instead of leaving an empty chart without a word.
TEST(BadInputWindow, FilesWithoutDataEndInTheNoDataMessage) {
  const struct {
    const char* name;
    std::string bytes;
  } rows[] = {
      {"only line ends", "\r\n\r\n\n\r"},
      {"NUL bytes only", std::string(1000, '\0')},
      {"cut inside the condition line", DriveLine() + "\r\n0,0,1000,0,0,25"},
  };
  for (const auto& row : rows) {
    Window w;
    w.prompter.ExpectMessage("データがありません");
    w.window->Grid1_OLEDragDrop({w.dir.Write("bad.dat", row.bytes)});
    EXPECT_TRUE(w.prompter.Finished()) << row.name;
    EXPECT_EQ(w.prompter.History().at(0).icon, MessageIcon::Critical) << row.name;
    EXPECT_EQ(w.Grid().Rows(), 0) << row.name;
  }
}

TEST(BadInputWindow, OpenDialogNamesHoldingCommasLoadWhole) {
  Window w;
  DataFile(w, "x,1.dat", "M1");
  DataFile(w, "y,,2.dat", "M2");
  w.prompter.ExpectOpenFile(w.dir.Path() + '\0' + "x,1.dat" + '\0' + "y,,2.dat" + '\0' + '\0');
  w.window->Command1_Click(0);
  ASSERT_EQ(w.Grid().Rows(), 2);
  EXPECT_EQ(w.Grid().TextMatrix(1, 1), "y,,2.dat");
}

TEST(BadInputWindow, LatinOneModelNamesShowAsText) {
  Window w;
  w.window->Grid1_OLEDragDrop({DataFile(w, "a.dat", "MOD\xC8L-\xC4")});
  ASSERT_EQ(w.Grid().Rows(), 1);
  EXPECT_EQ(w.Grid().item(0, 3)->text(), QString::fromUtf8("MODÈL-Ä"));
}

// Opening a named pipe for reading waits for a writer: the window must never try.
TEST(BadInputWindow, DroppedNamedPipesAreIgnored) {
  Window w;
  const std::string pipe = w.dir.File("pipe.dat");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const std::string batch = w.dir.Write("batch.txt", "[FILE LIST]\r\n" + pipe + "\r\n");
  WithinSeconds(10, "a dropped named pipe", [&] {
    w.window->Grid1_OLEDragDrop({pipe});
    w.window->Grid1_OLEDragDrop({batch});
  });
  EXPECT_EQ(w.Grid().Rows(), 0);
  EXPECT_TRUE(w.prompter.Finished());
}

TEST(BadInputWindow, ExtremeValuesPaintWithoutHanging) {
  Window w;
  const std::string path =
      w.File("huge.dat", {DriveLine(), RangeCondition(1000), "R,0,0,1e300,1", "R,500,1,-1e300,1",
                          "R,1000,2,1234567890123456789012345678901234567890,1", "RE,1000,3,3e38,1",
                          "R,0,4,1e-300,1"});
  w.window->Grid1_OLEDragDrop({path});
  ASSERT_EQ(w.Grid().Rows(), 1);
  WithinSeconds(10, "painting extreme values", [&] {
    w.window->ChartSurface().repaint();
    for (const auto& size : {std::pair{1200, 800}, std::pair{1, 1}, std::pair{4000, 3000}}) {
      const QImage image = RenderDisplayList(w.Drawing(), size.first, size.second);
      EXPECT_FALSE(image.isNull());
    }
  });
}

#if !defined(__SANITIZE_ADDRESS__)
TEST(BadInputWindow, RunningOutOfMemoryEmptiesTheChartAndSaysSo) {
  // The file is read whole; eight TiB cannot be had where the system refuses to promise more
  // memory than it has (the default), and would be read for ever where it promises anything.
  if (ReadFileBytes("/proc/sys/vm/overcommit_memory").rfind('1', 0) == 0) GTEST_SKIP() << "memory is overcommitted";
  Window w;
  w.window->Grid1_OLEDragDrop({DataFile(w, "a.dat")});
  ASSERT_EQ(w.Grid().Rows(), 1);
  const std::string huge = w.File("huge.dat", {});
  std::filesystem::resize_file(huge, std::uintmax_t{1} << 43);
  w.prompter.ExpectMessage(kAddQuestion, Answer::Yes);
  w.prompter.ExpectMessage("メモリが不足しています");
  w.window->Grid1_OLEDragDrop({huge});
  EXPECT_TRUE(w.prompter.Finished());
  EXPECT_EQ(w.Grid().Rows(), 0);
  EXPECT_EQ(w.dataSet.FileCount, 0);
  EXPECT_TRUE(w.SeriesPens().empty());
  EXPECT_FALSE(w.window->windowTitle().contains("処理中"));
  w.window->Grid1_OLEDragDrop({DataFile(w, "b.dat")});
  EXPECT_EQ(w.Grid().Rows(), 1) << "the window goes on working";
}
#endif

}  // namespace
}  // namespace varst
