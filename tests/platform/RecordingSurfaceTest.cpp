#include "platform/RecordingSurface.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "platform/MarkTable.h"

namespace varst {
namespace {

TEST(RecordingSurface, JoinsSegmentsOfOnePenIntoPolylines) {
  RecordingSurface surface;
  surface.Clear();
  surface.SetPenColor(0xFF);
  surface.Line(0, 0, 0, 0);  // a first point draws as a dot
  surface.Line(0, 0, 10, 5);
  surface.Line(10, 5, 20, 5);
  surface.SetPenColor(0xFF00);
  surface.Line(20, 5, 30, 0);  // another pen starts another polyline
  surface.Line(40, 0, 50, 0);  // not joined: starts elsewhere
  const DisplayList& list = surface.List();
  ASSERT_EQ(list.polylines.size(), 3U);
  EXPECT_EQ(list.polylines[0].count, 4U);
  EXPECT_EQ(list.points.size(), 8U);
}

TEST(RecordingSurface, DumpsOneOperationALine) {
  RecordingSurface surface;
  surface.SetBackColor(0x102030);
  surface.Clear();
  surface.SetScaleLeft(-1000);
  surface.SetScaleWidth(12000);
  surface.SetScaleTop(6000);
  surface.SetScaleHeight(-6500);
  surface.SetFillColor(0xFF);
  surface.SetPenColor(0xFF0000);
  surface.Rectangle(-1000, 6000, 11000, -500);
  surface.SetPenStyle(kPenDot);
  surface.Line(0, 0, 10000, 0.1);
  surface.Ellipse(-60, -0.0, 60, 10.5);
  surface.SetCurrentX(-600);
  surface.SetCurrentY(75);
  surface.SetFontSize(150);
  surface.SetTextColor(0xFFFFFF);
  surface.Text("RATE[MB/SEC] ﾃｽﾄ");
  EXPECT_EQ(DumpDisplayList(surface.List()),
            "clear\n"
            "scale -1000 6000 12000 -6500\n"
            "rect -1000 6000 11000 -500 FF0000 0000FF\n"
            "line 0 0 10000 0.10000000149011612 FF0000 2\n"
            "ellipse -60 0 60 10.5 FF0000 0000FF\n"
            "text -600 75 150 FFFFFF RATE[MB/SEC] ﾃｽﾄ\n");
}

TEST(RecordingSurface, ClearDropsTheDrawingAndRepeatsTheScale) {
  RecordingSurface surface;
  surface.SetScaleWidth(500);
  surface.Line(0, 0, 1, 1);
  surface.Clear();
  surface.Line(0, 0, 1, 1);
  EXPECT_EQ(DumpDisplayList(surface.List()), "clear\nscale 0 0 500 1000\nline 0 0 1 1 000000 0\n");
  EXPECT_EQ(surface.CurrentX(), 0);
}

TEST(RecordingSurface, LatinOneTextDumpsAsUtf8AndCopyNeedsACopier) {
  RecordingSurface surface;
  surface.Text(std::string("M\xE9", 2));
  EXPECT_NE(DumpDisplayList(surface.List()).find("Mé"), std::string::npos);
  EXPECT_FALSE(surface.CopyPicture());
  int copies = 0;
  surface.SetPictureCopier([&](const DisplayList&, std::int32_t w, std::int32_t h) {
    ++copies;
    return w == 30 && h == 15;
  });
  surface.SetExportWidth(30);
  surface.SetExportHeight(15);
  EXPECT_TRUE(surface.CopyPicture());
  EXPECT_EQ(copies, 1);
}

// A surface reduced to 100 x 100 pixels, one a unit, filling marks blue.
RecordingSurface ReducedSurface() {
  RecordingSurface surface;
  surface.ReduceToPixels(100, 100);
  surface.Clear();
  surface.SetScaleWidth(100);
  surface.SetScaleHeight(100);
  surface.SetFillColor(0xFF);
  return surface;
}

// The kinds of the operations left, in order.
std::vector<OpKind> KindsLeft(const DisplayList& list) {
  std::vector<OpKind> kinds;
  for (const DisplayOp& op : list.ops) {
    if (op.kind != OpKind::Removed) kinds.push_back(op.kind);
  }
  return kinds;
}

TEST(RecordingSurface, AReducedListKeepsTheLastOfRepeatedMarksOnly) {
  RecordingSurface surface = ReducedSurface();
  surface.Text("title");
  // 300000 marks and dots on ten places, a text in the middle of them, a line after them.
  for (int i = 0; i < 300000; ++i) {
    const double x = 10 + (i % 10) * 5;
    if (i == 150000) surface.Text("middle");
    surface.Line(x, 50, x, 50);
    surface.Ellipse(x - 1, 49, x + 1, 51);
  }
  surface.Line(0, 0, 100, 100);
  const DisplayList& list = surface.List();
  const std::vector<OpKind> kinds = KindsLeft(list);
  ASSERT_LT(kinds.size(), 100U);
  ASSERT_EQ(list.texts.size(), 2U);
  EXPECT_EQ(list.texts[1].text, "middle");
  // The last ten places, each a dot and a mark, then the line.
  ASSERT_GE(kinds.size(), 21U);
  for (std::size_t i = kinds.size() - 21; i + 1 < kinds.size(); i += 2) {
    EXPECT_EQ(kinds[i], OpKind::Polyline);
    EXPECT_EQ(kinds[i + 1], OpKind::Ellipse);
  }
  EXPECT_EQ(kinds.back(), OpKind::Polyline);
  EXPECT_EQ(list.shapes.back().x1, 10 + 9 * 5 - 1);
}

TEST(RecordingSurface, AMarkOnTheLastMarksPixelsTakesItsPlaceAndADotUnderAMarkGoes) {
  RecordingSurface surface = ReducedSurface();
  // Marks a tenth of a pixel apart: one pixel box, the last of them left in the list.
  for (int i = 0; i < 5; ++i) surface.Ellipse(20 + i * 0.01, 20, 30 + i * 0.01, 30);
  ASSERT_EQ(KindsLeft(surface.List()), (std::vector<OpKind>{OpKind::Clear, OpKind::Scale, OpKind::Ellipse}));
  const DisplayList& list = surface.List();
  EXPECT_FLOAT_EQ(static_cast<float>(list.shapes[list.ops.back().index].x1), 20.04F);
  // A dot that stays (the next mark is elsewhere), then its twin under a mark: the twin goes.
  surface.Line(60, 60, 60, 60);
  surface.Rectangle(80, 80, 90, 90);
  surface.Line(60, 60, 60, 60);
  surface.Ellipse(55, 55, 65, 65);
  EXPECT_EQ(KindsLeft(surface.List()), (std::vector<OpKind>{OpKind::Clear, OpKind::Scale, OpKind::Ellipse,
                                                            OpKind::Polyline, OpKind::Rectangle, OpKind::Ellipse}));
}

TEST(WholePixel, RoundsAsTheLibraryRoundsHalvesAwayFromZero) {
  std::vector<double> values = {0.0, -0.0, 0.5, -0.5, 1.5, -1.5, 2.5, -2.5, 0.49999999999999994, -0.49999999999999994,
                                0.5000000000000001, 999999999.5, -999999999.5, 999999999.4999999, 123456.5};
  for (double v = 0.173; std::fabs(v) < 1e9; v = v * -1.37 + 0.173) values.push_back(v);
  for (int i = -2000; i <= 2000; ++i) values.push_back(i / 4.0 + (i % 3) * 1e-9);
  for (const double v : values) EXPECT_EQ(WholePixel(v), static_cast<std::int32_t>(std::lround(v))) << v;
  // Off the picture or not a number: one far value each way.
  EXPECT_EQ(WholePixel(1e9), 1000000000);
  EXPECT_EQ(WholePixel(-1e12), -1000000000);
  EXPECT_EQ(WholePixel(std::numeric_limits<double>::quiet_NaN()), -1000000000);
}

}  // namespace
}  // namespace varst
