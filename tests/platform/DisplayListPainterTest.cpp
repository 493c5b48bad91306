#include "platform/DisplayListPainter.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QTest>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <sstream>

#include "FramedSurface.h"
#include "app/HeadlessSession.h"
#include "platform/ChartView.h"
#include "platform/ConsolePrompter.h"
#include "platform/PictureFile.h"
#include "platform/RecordingSurface.h"

namespace varst {
namespace {

using test::Frame;

RecordingSurface FramedSurface() {
  RecordingSurface surface;
  Frame(surface);
  return surface;
}

TEST(DisplayListPainter, MapsLogicalUnitsWithYUpward) {
  RecordingSurface surface = FramedSurface();
  surface.SetPenColor(Rgb(255, 0, 0));
  surface.Line(0, 10, 100, 10);  // a horizontal line one tenth above the bottom
  const QImage image = RenderDisplayList(surface.List(), 200, 100);
  EXPECT_EQ(image.pixelColor(100, 90), QColor(255, 0, 0));
  EXPECT_EQ(image.pixelColor(100, 10), QColor(0, 0, 0));
}

TEST(DisplayListPainter, FillsShapesAndBackground) {
  RecordingSurface surface = FramedSurface();
  surface.SetBackColor(Rgb(0, 0, 255));
  surface.SetPenColor(Rgb(0, 255, 0));
  surface.SetFillColor(Rgb(0, 255, 0));
  surface.Rectangle(40, 60, 60, 40);
  const QImage image = RenderDisplayList(surface.List(), 100, 100);
  EXPECT_EQ(image.pixelColor(50, 50), QColor(0, 255, 0));
  EXPECT_EQ(image.pixelColor(5, 5), QColor(0, 0, 255));
}

TEST(DisplayListPainter, DensePolylinesKeepTheirOutliers) {
  RecordingSurface surface = FramedSurface();
  surface.SetPenColor(Rgb(255, 255, 255));
  // 100000 points over 100 pixels: a flat line at 20 with one spike up to 90.
  double previousX = 0;
  double previousY = 20;
  for (int i = 1; i <= 100000; ++i) {
    const double x = i / 1000.0;
    const double y = i == 50000 ? 90 : 20;
    surface.Line(previousX, previousY, x, y);
    previousX = x;
    previousY = y;
  }
  ASSERT_EQ(surface.List().polylines.size(), 1U);
  const QImage image = RenderDisplayList(surface.List(), 100, 100);
  EXPECT_EQ(image.pixelColor(50, 11), QColor(255, 255, 255)) << "the spike survives";
  EXPECT_EQ(image.pixelColor(10, 80), QColor(255, 255, 255)) << "the flat part";
  EXPECT_EQ(image.pixelColor(10, 50), QColor(0, 0, 0));
}

// A device that only counts what is drawn on it.
class CountingEngine : public QPaintEngine {
 public:
  bool begin(QPaintDevice*) override { return true; }
  bool end() override { return true; }
  void updateState(const QPaintEngineState&) override {}
  void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
  Type type() const override { return QPaintEngine::User; }
  void drawEllipse(const QRectF&) override { ++ellipses; }
  void drawPoints(const QPointF*, int count) override { points += count; }
  void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
  int ellipses = 0;
  int points = 0;
};

class CountingDevice : public QPaintDevice {
 public:
  QPaintEngine* paintEngine() const override { return &engine; }
  mutable CountingEngine engine;

 protected:
  int metric(PaintDeviceMetric metric) const override {
    switch (metric) {
      case PdmWidth:
      case PdmHeight:
        return 100;
      case PdmDpiX:
      case PdmDpiY:
      case PdmPhysicalDpiX:
      case PdmPhysicalDpiY:
        return 96;
      case PdmDevicePixelRatioScaled:
        return static_cast<int>(devicePixelRatioFScale());
      default:
        return 1;
    }
  }
};

TEST(DisplayListPainter, RepeatedMarksCostWhatTheirPixelsCost) {
  RecordingSurface surface = FramedSurface();
  surface.SetPenColor(Rgb(0, 255, 0));
  surface.SetFillColor(Rgb(255, 0, 0));
  // 100000 error records, each a dot and a round mark, on the 20 x 20 pixels around (50, 50).
  for (int i = 0; i < 100000; ++i) {
    const double x = 40 + (i % 1000) / 50.0;
    const double y = 40 + (i / 1000) / 5.0;
    surface.Line(x, y, x, y);
    surface.Ellipse(x - 3, y - 3, x + 3, y + 3);
  }
  CountingDevice device;
  QPainter painter(&device);
  PaintDisplayList(painter, surface.List(), QSizeF(100, 100));
  painter.end();
  EXPECT_LE(device.engine.ellipses, 21 * 21);
  EXPECT_LE(device.engine.points, 21 * 21);
}

TEST(DisplayListPainter, TheLastOfRepeatedMarksStaysOnTop) {
  RecordingSurface surface = FramedSurface();
  surface.SetFillColor(Rgb(255, 0, 0));
  surface.SetPenColor(Rgb(255, 0, 0));
  surface.Ellipse(40, 40, 60, 60);  // a red mark, covered by a white bar, then drawn again
  surface.SetFillColor(Rgb(255, 255, 255));
  surface.SetPenColor(Rgb(255, 255, 255));
  surface.Rectangle(0, 55, 100, 45);
  surface.SetFillColor(Rgb(255, 0, 0));
  surface.SetPenColor(Rgb(255, 0, 0));
  surface.Ellipse(40, 40, 60, 60);
  surface.SetFillColor(Rgb(0, 0, 255));  // a blue mark on the same pixels after it
  surface.SetPenColor(Rgb(0, 0, 255));
  surface.Ellipse(45, 45, 55, 55);
  const QImage image = RenderDisplayList(surface.List(), 100, 100);
  EXPECT_EQ(image.pixelColor(42, 50), QColor(255, 0, 0)) << "the red mark over the bar";
  EXPECT_EQ(image.pixelColor(10, 50), QColor(255, 255, 255)) << "the bar beside it";
  EXPECT_EQ(image.pixelColor(50, 50), QColor(0, 0, 255)) << "the blue mark over the red one";
}

// Numbers that look random, the same in every run.
class Random {
 public:
  explicit Random(std::uint32_t seed) : state_(seed) {}
  // A whole number from 0 up to `below`.
  int operator()(int below) {
    state_ = state_ * 1664525U + 1013904223U;
    return static_cast<int>((state_ >> 8) % static_cast<std::uint32_t>(below));
  }

 private:
  std::uint32_t state_;
};

// A series drawn point by point as the chart draws it: a line from the point before, or a dot
// where the series begins or goes on after a break.
class Series {
 public:
  void To(RecordingSurface& surface, double x, double y) {
    surface.Line(broken_ ? x : x_, broken_ ? y : y_, x, y);
    x_ = x;
    y_ = y;
    broken_ = false;
  }
  void Break() { broken_ = true; }
  [[nodiscard]] bool Broken() const { return broken_; }
  // The point before again (a record of the same value).
  void Again(RecordingSurface& surface) const { surface.Line(x_, y_, x_, y_); }

 private:
  double x_ = 0, y_ = 0;
  bool broken_ = true;
};

// The same drawing recorded whole, reduced to a picture's pixels, and reduced leaving out the
// lines that later operations paint over while it is recorded.
struct ThreeRecordings {
  RecordingSurface full, reduced, leftOut;

  ThreeRecordings(int width, int height) {
    reduced.ReduceToPixels(width, height);
    leftOut.ReduceToPixels(width, height);
    leftOut.LeaveOutCoveredLines(CoveredLines::Finders(width, height));
  }
  std::array<RecordingSurface*, 3> All() { return {&full, &reduced, &leftOut}; }
};

// The list's picture with every operation painted in turn, as progress pictures paint them.
QImage PaintedInTurn(const DisplayList& list, QSize size) {
  QImage every(size, QImage::Format_RGB32);
  every.fill(QColor(0, 0, 0));
  QPainter painter(&every);
  PaintDisplayListAdded(painter, list, QSizeF(size), PaintedEnd{});
  painter.end();
  return every;
}

std::ptrdiff_t Lines(const DisplayList& list) {
  return std::count_if(list.ops.begin(), list.ops.end(), [](const DisplayOp& op) { return op.kind == OpKind::Polyline; });
}

int DifferentPixels(const QImage& a, const QImage& b) {
  int count = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) count += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
  }
  return count;
}

// Round marks go on the whole pixels they are told apart by (halves away from zero), and a
// picture rendered to an image paints each as the painter paints that box: near and over the
// picture's edges, at every size up to the largest it keeps a stamp for and beyond, in pairs
// of colours; so does the same list painted through a painter on a screen.
TEST(DisplayListPainter, RoundMarksPaintTheirWholePixelBoxesAsThePainterDoes) {
  constexpr int kWidth = 180, kHeight = 120;
  Random next(99);
  const Colour colours[][2] = {{Rgb(255, 0, 0), Rgb(0, 255, 0)}, {Rgb(1, 2, 3), Rgb(1, 2, 3)}, {Rgb(255, 255, 255), 0}};
  for (const auto& [pen, fill] : colours) {
    RecordingSurface surface;
    surface.SetBackColor(Rgb(0, 0, 80));
    surface.Clear();
    surface.SetScaleWidth(kWidth);  // one unit a pixel, Y downward
    surface.SetScaleHeight(kHeight);
    surface.SetPenColor(pen);
    surface.SetFillColor(fill);
    QImage expected(kWidth, kHeight, QImage::Format_RGB32);
    expected.fill(QColor(0, 0, 80));
    QPainter painter(&expected);
    painter.setPen(QPen(QColor::fromRgb(pen & 0xFF, (pen >> 8) & 0xFF, (pen >> 16) & 0xFF), 0));
    painter.setBrush(QColor::fromRgb(fill & 0xFF, (fill >> 8) & 0xFF, (fill >> 16) & 0xFF));
    for (int i = 0; i < 400; ++i) {
      const int w = i == 0 ? 300 : i % 50 == 1 ? 1 + next(4) : 1 + next(40);
      const int h = i == 0 ? 200 : i % 7 == 0 ? w : 1 + next(40);
      const int left = next(kWidth + 2 * w) - w - 1, top = next(kHeight + 2 * h) - h - 1;
      const auto off = [&next] { return (next(99) - 49) / 100.0; };  // rounds away
      surface.Ellipse(left + off(), top + off(), left + w + off(), top + h + off());
      painter.drawEllipse(QRectF(left, top, w, h));
    }
    painter.end();
    EXPECT_EQ(DifferentPixels(RenderDisplayList(surface.List(), kWidth, kHeight), expected), 0) << pen;
    for (const bool direct : {false, true}) {  // through the painter (as on a screen); into the pixels
      QImage picture(kWidth, kHeight, QImage::Format_RGB32);
      QPainter on(&picture);
      PaintDisplayList(on, surface.List(), QSizeF(kWidth, kHeight), direct ? &picture : nullptr);
      on.end();
      EXPECT_EQ(DifferentPixels(picture, expected), 0) << pen << (direct ? " into the pixels" : "");
    }
  }
}

// Draws a dense noisy series left to right: breaks now and then, error marks on every point
// of a stretch and on every 500th point elsewhere.
void DrawDenseSeries(RecordingSurface& surface) {
  std::uint32_t random = 12345;
  Series series;
  for (int i = 0; i < 200000; ++i) {
    random = random * 1664525U + 1013904223U;
    const double x = 5 + i * 90.0 / 200000;
    const double y = 40 + (random >> 24) / 16.0 + (i == 123456 ? 40 : 0);
    surface.SetPenColor(Rgb(0, 255, 0));
    series.To(surface, x, y);
    if (i % 1000 == 999) series.Break();
    if (i % 500 == 0 || (i > 50000 && i < 60000)) {
      surface.SetFillColor(Rgb(255, 0, 0));
      surface.Ellipse(x - 1, y - 1, x + 1, y + 1);
    }
  }
}

TEST(DisplayListPainter, AListReducedToThePicturesPixelsPaintsTheSamePicture) {
  RecordingSurface full = FramedSurface();
  RecordingSurface reduced;
  reduced.ReduceToPixels(100, 80);
  reduced.SetBackColor(0);
  reduced.Clear();
  reduced.SetScaleLeft(0);
  reduced.SetScaleWidth(100);
  reduced.SetScaleTop(100);
  reduced.SetScaleHeight(-100);
  DrawDenseSeries(full);
  DrawDenseSeries(reduced);
  EXPECT_EQ(RenderDisplayList(reduced.List(), 100, 80), RenderDisplayList(full.List(), 100, 80));
  // Bound by the pixels where no mark comes between the points of a polyline.
  EXPECT_LT(reduced.List().points.size(), 40000U);
  EXPECT_LT(reduced.List().points.size() * 5, full.List().points.size());
}

// A reduced list keeps a new dot back until it sees what follows; whatever that is, the dot is
// painted where and as it was drawn.
TEST(DisplayListPainter, ADotIsPaintedWhateverFollowsIt) {
  const std::vector<std::pair<const char*, std::function<void(RecordingSurface&)>>> next = {
      {"nothing", [](RecordingSurface&) {}},
      {"a line on from it", [](RecordingSurface& s) { s.Line(50.3, 50.3, 70, 20); }},
      {"a line straight down from it", [](RecordingSurface& s) { s.Line(50.3, 50.3, 50.3, 20.6); }},
      {"a line straight up from it", [](RecordingSurface& s) { s.Line(50.3, 50.3, 50.3, 80.1); }},
      {"lines up and down in its column", [](RecordingSurface& s) {
         s.Line(50.3, 50.3, 50.5, 80.1);
         s.Line(50.5, 80.1, 50.6, 30.2);
       }},
      {"a line elsewhere", [](RecordingSurface& s) { s.Line(10, 10, 20, 10); }},
      {"a mark beside it", [](RecordingSurface& s) { s.Ellipse(53, 53, 60, 60); }},
      {"a text", [](RecordingSurface& s) { s.Text("x"); }},
      {"a polygon over it", [](RecordingSurface& s) { s.FilledPolygon({40, 40, 60, 40, 60, 60}, Rgb(0, 0, 255), 128); }},
      {"a new scale", [](RecordingSurface& s) {
         s.SetScaleWidth(50);
         s.Line(10, 10, 20, 10);
       }},
      {"a new scale and a mark", [](RecordingSurface& s) {
         s.SetScaleWidth(50);
         s.Ellipse(10, 10, 12, 12);
       }},
      {"another dot", [](RecordingSurface& s) { s.Line(20.2, 20.2, 20.2, 20.2); }},
  };
  for (const auto& [what, follow] : next) {
    RecordingSurface full = FramedSurface();
    RecordingSurface reduced;
    reduced.ReduceToPixels(100, 100);
    for (RecordingSurface* surface : {&full, &reduced}) {
      if (surface == &reduced) Frame(reduced);
      surface->SetPenColor(Rgb(0, 255, 0));
      surface->SetFillColor(Rgb(255, 0, 0));
      surface->Line(50.3, 50.3, 50.3, 50.3);
      follow(*surface);
    }
    const QImage picture = RenderDisplayList(reduced.List(), 100, 100);
    EXPECT_EQ(DifferentPixels(picture, RenderDisplayList(full.List(), 100, 100)), 0) << what;
    const QColor dot = picture.pixelColor(50, 50);
    if (std::string_view(what) == "a polygon over it") {
      EXPECT_TRUE(dot.green() > 0 && dot.blue() > 0) << "the dot shows through the polygon drawn after it";
    } else if (std::string_view(what) == "a line straight up from it") {
      // The whole record draws the dot and the line as one line from the point's row up.
      EXPECT_EQ(picture.pixelColor(50, 49), QColor(0, 255, 0)) << what;
    } else {
      EXPECT_EQ(dot, QColor(0, 255, 0)) << what;
    }
  }
}

// Overlapping marks of three colours and sizes drawn again and again, in bursts of a few
// hundred pixels' worth (more than a reduced list keeps waiting), between lines, dots and a
// text: the reduced list paints what the whole one paints.
TEST(DisplayListPainter, AReducedListKeepsMarksInTheOrderTheyWereLastDrawn) {
  RecordingSurface full = FramedSurface();
  RecordingSurface reduced;
  reduced.ReduceToPixels(200, 200);
  for (RecordingSurface* surface : {&full, &reduced}) {
    if (surface == &reduced) Frame(reduced);
    Random next(5);
    const Colour colours[] = {Rgb(255, 0, 0), Rgb(0, 0, 255), Rgb(255, 255, 0)};
    for (int i = 0; i < 30000; ++i) {
      const int burst = i / 3000;
      // 8 x 8 places two pixels apart, two sizes, three colours: 768 marks a burst.
      const double x = burst * 9 + next(8), y = 20 + next(8) * 1.01;
      const double r = 0.7 + next(2) * 1.5;
      const Colour colour = colours[next(3)];
      surface->SetPenColor(colour);
      surface->SetFillColor(colour);
      if (next(50) == 0) {
        surface->Line(x, y, x + 3, y + 20);
      } else if (next(40) == 0) {
        surface->Line(x + 1.5, y, x + 1.5, y);  // a dot beside the next mark, on earlier ones
      } else if (i == 15000) {
        surface->SetCurrentX(x);
        surface->SetCurrentY(y);
        surface->Text("mark");
      }
      if (next(4) == 0) {
        surface->Rectangle(x - r, y - r, x + r, y + r);
      } else {
        surface->Ellipse(x - r, y - r, x + r, y + r);
      }
    }
  }
  EXPECT_EQ(DifferentPixels(RenderDisplayList(reduced.List(), 200, 200), RenderDisplayList(full.List(), 200, 200)), 0);
  std::size_t kept = 0;
  for (const DisplayOp& op : reduced.List().ops) kept += op.kind != OpKind::Removed ? 1 : 0;
  EXPECT_LT(kept * 3, full.List().ops.size());
}

// A picture leaves out the lines and marks that later marks paint over: it is the picture of
// every operation painted in turn (as the window's progress pictures paint them), for dense
// series with error marks apart from breaks and after them, dashed lines, texts, translucent
// areas and a clear, at several sizes.
TEST(DisplayListPainter, WhatLaterMarksPaintOverIsLeftOutUnseen) {
  RecordingSurface surface = FramedSurface();
  Random next(77);
  for (int pass = 0; pass < 2; ++pass) {
    if (pass == 1) {
      surface.Clear();  // what the first pass drew is painted over
      Frame(surface);
    }
    Series series;
    for (int i = 0; i < 40000; ++i) {
      const double x = 5 + i * 90.0 / 40000, y = 40 + next(200) / 10.0;
      surface.SetPenColor(i % 7000 < 3500 ? Rgb(0, 255, 0) : Rgb(0, 128, 255));
      surface.SetPenStyle(i % 9000 < 1000 ? kPenDash : kPenSolid);
      series.To(surface, x, y);
      if (next(10) == 0) series.Break();  // a break now and then
      if (next(10) < 3) {
        surface.SetFillColor(next(2) == 0 ? Rgb(255, 0, 0) : Rgb(255, 255, 0));
        const double r = 0.4 + next(3);
        surface.Ellipse(x - r, y - r, x + r, y + r);
      }
      if (i % 4000 == 100) {  // long lines across, marks and lines over parts of them
        surface.SetPenColor(Rgb(255, 0, 255));
        surface.Line(x, 50, x + 20, 95);
        surface.Line(x + 0.5, 45, x + 0.5, 90);
      }
      if (i % 10000 == 5000) {
        surface.SetCurrentX(x);
        surface.SetCurrentY(y);
        surface.SetTextColor(Rgb(255, 255, 255));
        surface.Text("over the marks");
        surface.FilledPolygon({x, y, x + 10, y, x + 10, y + 10}, Rgb(0, 0, 255), 100);
      }
    }
  }
  for (const QSize size : {QSize(100, 80), QSize(400, 300), QSize(1200, 800)}) {
    EXPECT_EQ(DifferentPixels(RenderDisplayList(surface.List(), size.width(), size.height()),
                              PaintedInTurn(surface.List(), size)),
              0)
        << size.width() << "x" << size.height();
  }
}

// A list reduced to a picture's pixels leaves out, while it is recorded, the lines that later
// marks paint over: the picture is that of every operation, and the list stays a fraction of
// it. A dense series with an error mark at every other record, breaks, a second colour, a text,
// a change of scale and a clear, drawn far past the operations the recording looks back over.
TEST(DisplayListPainter, LinesThatLaterMarksPaintOverAreLeftOutWhileRecorded) {
  constexpr int kWidth = 300, kHeight = 200;
  ThreeRecordings lists(kWidth, kHeight);
  for (RecordingSurface* surface : lists.All()) {
    Random next(5);
    for (int pass = 0; pass < 2; ++pass) {
      Frame(*surface);
      Series series;
      const int kRecords = pass == 0 ? 60000 : 300000;
      for (int i = 0; i < kRecords; ++i) {
        if (pass == 1 && i == kRecords / 2) surface->SetScaleTop(90);  // the same marks, lower
        const double x = 2 + i * 96.0 / kRecords, y = 40 + next(300) / 10.0;
        surface->SetPenColor(i % 50000 < 40000 ? Rgb(0, 255, 0) : Rgb(0, 128, 255));
        series.To(*surface, x, y);
        if (next(50) == 0) series.Break();  // a break now and then
        if (next(2) == 0) {
          surface->SetFillColor(Rgb(255, 0, 0));
          surface->Ellipse(x - 1.5, y - 2.25, x + 1.5, y + 2.25);
        }
        if (i == 200000) {
          surface->SetCurrentX(x);
          surface->SetCurrentY(y);
          surface->SetTextColor(Rgb(255, 255, 255));
          surface->Text("over the marks");
        }
      }
    }
  }
  EXPECT_EQ(DifferentPixels(RenderDisplayList(lists.leftOut.List(), kWidth, kHeight),
                            RenderDisplayList(lists.full.List(), kWidth, kHeight)),
            0);
  EXPECT_LT(Lines(lists.leftOut.List()) * 3, Lines(lists.reduced.List()));
}

// Lines straight down (the records that share a chart position) paint over what came before
// them as marks do: a dense series cut by breaks every few records, some of it dashed, some of
// it with error marks, paints the picture of every operation painted in turn, at several sizes
// and recorded for a picture's pixels.
TEST(DisplayListPainter, LinesStraightDownPaintOverWhatCameBefore) {
  constexpr int kWidth = 300, kHeight = 200;
  ThreeRecordings lists(kWidth, kHeight);
  for (RecordingSurface* surface : lists.All()) {
    Random next(9);
    Frame(*surface);
    Series series;
    for (int i = 0; i < 400000; ++i) {
      const double x = 2 + (i / 80) * 0.0195, y = 30 + next(400) / 10.0 + (i % 7) * 0.013;  // 80 records at each X
      surface->SetPenColor(i % 120000 < 90000 ? Rgb(0, 255, 0) : Rgb(0, 128, 255));
      surface->SetPenStyle(i % 100000 < 10000 ? kPenDash : kPenSolid);
      series.To(*surface, x, y);
      if (next(8) == 0) series.Break();  // a break every eight records or so
      if (i > 300000 || (i > 200000 && next(10) == 0)) {  // then at every record
        surface->SetFillColor(Rgb(255, 0, 0));
        surface->Ellipse(x - 0.5, y - 0.75, x + 0.5, y + 0.75);
      }
    }
  }
  const DisplayList& full = lists.full.List();
  for (const QSize size : {QSize(kWidth, kHeight), QSize(97, 61), QSize(1200, 800)}) {
    EXPECT_EQ(DifferentPixels(RenderDisplayList(full, size.width(), size.height()), PaintedInTurn(full, size)), 0)
        << size.width() << "x" << size.height();
  }
  const DisplayList& leftOut = lists.leftOut.List();
  EXPECT_EQ(DifferentPixels(RenderDisplayList(leftOut, kWidth, kHeight),
                            PaintedInTurn(lists.reduced.List(), QSize(kWidth, kHeight))),
            0);
  EXPECT_LT(Lines(leftOut) * 2, Lines(lists.reduced.List())) << Lines(leftOut) << " of " << Lines(lists.reduced.List());
}

// Lines straight down looked at together, a run at a time: a run is covered only where every
// line of it is, each at its own X and with both its ends. On a picture's own pixels: lines
// and marks in list order, then a large mark at the end that covers column 10 from row 15 to
// row 31; which lines are left out.
TEST(DisplayListPainter, LinesStraightDownAreLeftOutOnlyWhereEachOneIsCovered) {
  struct Line {
    float x, from, to;
    float lean = 0;        // its end this far to the right
    bool fromDot = false;  // its first point twice, as a line that goes on from a dot
  };
  struct Case {
    const char* what;
    std::vector<Line> lines;  // a small mark far off follows the first
    std::vector<bool> leftOut;
  };
  const Case cases[] = {
      {"all within the mark", {{10.5F, 20, 24}, {10.5F, 24, 22}, {10.5F, 22, 27}}, {true, true, true}},
      {"the last one ends below it", {{10.5F, 20, 24}, {10.5F, 24, 40}}, {true, false}},
      {"the first one in another column", {{30.5F, 20, 24}, {10.5F, 20, 24}}, {false, true}},
      // Away from the mark: lines cover lines, row for row.
      {"under a later one, on its column's edge", {{40.0F, 20, 24}, {40.9F, 19.5F, 24.5F}}, {true, false}},
      {"a row of its end left", {{40.5F, 20, 24.5F}, {40.5F, 20, 23.9F}}, {false, false}},
      {"leaning at its column's edge", {{40.05F, 20, 24, 0.004F}, {40.5F, 19, 25}}, {false, false}},
      {"leaning, the column beside covered too", {{40.05F, 20, 24, 0.004F}, {40.5F, 19, 25}, {39.5F, 19, 25}},
       {true, false, false}},
      {"a dot's row is not surely painted", {{40.5F, 20, 22}, {40.5F, 20, 24, 0, true}}, {false, false}},
      {"the rest of a line from a dot is", {{40.5F, 21, 23}, {40.5F, 20, 24, 0, true}}, {true, false}},
      // A dot alone is painted on the pixel nearest it.
      {"a dot under a line", {{40.2F, 22.2F, 22.2F}, {40.5F, 20, 24}}, {true, false}},
      {"a dot nearer the next column", {{40.7F, 22.2F, 22.2F}, {40.5F, 20, 24}}, {false, false}},
  };
  for (const Case& c : cases) {
    DisplayList list;
    list.Reset(0);
    list.ops.push_back({OpKind::Scale, 0});
    list.scales.push_back({0, 0, 100, 60});
    const auto mark = [&list](double x1, double y1, double x2, double y2) {
      list.ops.push_back({OpKind::Ellipse, static_cast<std::uint32_t>(list.shapes.size())});
      list.shapes.push_back({x1, y1, x2, y2, Rgb(255, 0, 0), Rgb(255, 0, 0)});
    };
    for (std::size_t i = 0; i < c.lines.size(); ++i) {
      const Line& line = c.lines[i];
      list.ops.push_back({OpKind::Polyline, static_cast<std::uint32_t>(list.polylines.size())});
      list.polylines.push_back(
          {Rgb(0, 255, 0), kPenSolid, static_cast<std::uint32_t>(list.points.size()), line.fromDot ? 3U : 2U});
      list.points.push_back({line.x, line.from});
      if (line.fromDot) list.points.push_back({line.x, line.from});
      list.points.push_back({line.x + line.lean, line.to});
      if (i == 0) mark(80, 50, 82, 52);
    }
    mark(5, 15, 16, 31);
    DisplayList leftOut = list;
    CoveredLines(100, 60).LeaveOut(leftOut, 1, leftOut.ops.size());
    std::vector<bool> removed;
    for (std::size_t i = 0; i < list.ops.size(); ++i) {
      if (list.ops[i].kind == OpKind::Polyline) removed.push_back(leftOut.ops[i].kind == OpKind::Removed);
    }
    EXPECT_EQ(removed, c.leftOut) << c.what;
    EXPECT_EQ(DifferentPixels(RenderDisplayList(leftOut, 100, 60), RenderDisplayList(list, 100, 60)), 0) << c.what;
  }
}

// A series broken every two or five records (each line goes on from its dot), at chart
// positions a tenth of a pixel apart that a hundred records share: a line straight down whose
// rows later lines paint is left out, anywhere on its column. The picture is that of the
// whole drawing.
TEST(DisplayListPainter, LinesOfASeriesBrokenEveryFewRecordsAreLeftOutWhereLaterOnesPaintTheirRows) {
  constexpr int kWidth = 300, kHeight = 200;
  struct Case {
    int every;             // records between breaks
    double leastLeftOut;   // of the lines
  };
  for (const Case c : {Case{2, 0.9}, Case{5, 0.5}}) {
    ThreeRecordings lists(kWidth, kHeight);
    for (RecordingSurface* surface : lists.All()) {
      Random next(17);
      Frame(*surface);
      Series series;
      constexpr int kRecords = 300000;
      for (int i = 0; i < kRecords; ++i) {
        const double x = 1 + (i / 100) * (0.1 / 3);
        const double y = 40 + next(60) / 10.0;
        series.To(*surface, x, y);
        if (i % c.every == c.every - 1) series.Break();
      }
    }
    const QImage whole = PaintedInTurn(lists.full.List(), QSize(kWidth, kHeight));
    EXPECT_EQ(DifferentPixels(RenderDisplayList(lists.leftOut.List(), kWidth, kHeight), whole), 0) << c.every;
    // Looked at whole (while recording, the last lines wait for what comes after them).
    DisplayList leftOut = lists.reduced.List();
    const std::size_t lines = leftOut.polylines.size();
    const std::size_t removed = CoveredLines(kWidth, kHeight).LeaveOut(leftOut, 0, leftOut.ops.size());
    EXPECT_EQ(DifferentPixels(RenderDisplayList(leftOut, kWidth, kHeight), whole), 0) << c.every;
    EXPECT_GT(removed, static_cast<std::size_t>(lines * c.leastLeftOut)) << removed << " of " << lines << ", " << c.every;
  }
}

// Marks or breaks close together that begin the deferring, then a long series that goes on
// unbroken and unmarked: its points do not pile up in the deferral (they go into the list,
// reduced there), and the picture is that of the whole drawing.
TEST(DisplayListPainter, ASeriesThatGoesOnUnbrokenAfterItsMarksIsNotHeldBack) {
  constexpr int kWidth = 200, kHeight = 120;
  for (const bool marks : {true, false}) {
    ThreeRecordings lists(kWidth, kHeight);
    std::size_t mostWaiting = 0;
    for (RecordingSurface* surface : lists.All()) {
      Random next(41);
      Frame(*surface);
      Series series;
      for (int i = 0; i < 60000; ++i) {
        const double x = 3 + i * 0.0015, y = 50 + next(40) * 0.25;
        series.To(*surface, x, y);
        if (marks && i < 100) {
          surface->SetFillColor(Rgb(255, 0, 0));
          surface->Ellipse(x - 0.5, y - 0.75, x + 0.5, y + 0.75);
        }
        if (!marks && i < 100 && i % 3 == 2) series.Break();
        if (surface == &lists.leftOut) mostWaiting = std::max(mostWaiting, surface->DeferredPoints());
      }
    }
    EXPECT_LT(mostWaiting, 1000U) << marks;
    const QImage whole = PaintedInTurn(lists.full.List(), QSize(kWidth, kHeight));
    EXPECT_EQ(DifferentPixels(RenderDisplayList(lists.leftOut.List(), kWidth, kHeight), whole), 0) << marks;
  }
}

// A series broken every other record and marked at the rest, marks close enough together
// that what comes between them waits to be looked at on another thread, dots with it. Now and
// then a mark too small to cover its dot, a record without its mark, a dot alone, a line that
// goes on past a break. The pictures are that of the whole drawing.
TEST(DisplayListPainter, ASeriesBrokenAndMarkedByTurnsPaintsTheWholeDrawing) {
  constexpr int kWidth = 200, kHeight = 120;
  ThreeRecordings lists(kWidth, kHeight);
  for (RecordingSurface* surface : lists.All()) {
    Random next(31);
    Frame(*surface);
    Series series;
    for (int i = 0; i < 8000; ++i) {
      const double x = 3 + i * 0.0112, y = 50 + 30 * std::sin(i / 200.0) + next(8) * 0.25;
      surface->SetPenColor(i % 50000 < 40000 ? Rgb(0, 255, 0) : Rgb(0, 128, 255));
      series.To(*surface, x, y);
      if (i % 2 == 0 && next(50) != 0) {
        surface->SetFillColor(Rgb(255, 0, 0));
        const double r = next(20) == 0 ? 0.05 : 0.5;
        surface->Ellipse(x - r, y - r * 1.5, x + r, y + r * 1.5);
      }
      if ((i % 2 == 1 && next(30) != 0) || next(20) == 0) series.Break();
    }
  }
  const QImage whole = PaintedInTurn(lists.full.List(), QSize(kWidth, kHeight));
  EXPECT_EQ(DifferentPixels(RenderDisplayList(lists.reduced.List(), kWidth, kHeight), whole), 0);
  EXPECT_EQ(DifferentPixels(RenderDisplayList(lists.leftOut.List(), kWidth, kHeight), whole), 0);
}

// A series broken at nearly every record, with an error mark at about half of them: the dots
// wait with the marks, and one drawn again on its pixel enters once, as the last. A record
// now and then goes on from its dot, sometimes to the same point. The picture is that of the
// whole drawing, and the reduced list holds a fraction of its dots.
TEST(DisplayListPainter, DotsOfASeriesBrokenAtEveryRecordWaitWithTheMarks) {
  constexpr int kWidth = 120, kHeight = 90;
  ThreeRecordings lists(kWidth, kHeight);
  for (RecordingSurface* surface : lists.All()) {
    Random next(21);
    Frame(*surface);
    Series series;
    for (int i = 0; i < 60000; ++i) {
      const double x = 3 + (i / 40) * 0.06, y = 30 + next(40) * 0.5;  // forty records at each X
      surface->SetPenColor(i % 20000 < 15000 ? Rgb(0, 255, 0) : Rgb(0, 128, 255));
      // The line goes on from the dot before, now and then first to the same point.
      if (!series.Broken() && next(3) == 0) series.Again(*surface);
      series.To(*surface, x, y);
      if (next(2) == 0) {
        surface->SetFillColor(Rgb(255, 0, 0));
        surface->Ellipse(x - 0.4, y - 0.6, x + 0.4, y + 0.6);
      }
      if (next(8) != 0) series.Break();  // a break after most records
    }
  }
  const QImage whole = RenderDisplayList(lists.full.List(), kWidth, kHeight);
  EXPECT_EQ(DifferentPixels(RenderDisplayList(lists.reduced.List(), kWidth, kHeight), whole), 0);
  EXPECT_EQ(DifferentPixels(RenderDisplayList(lists.leftOut.List(), kWidth, kHeight), whole), 0);
  EXPECT_LT(Lines(lists.reduced.List()) * 5, Lines(lists.full.List()))
      << Lines(lists.reduced.List()) << " of " << Lines(lists.full.List());

  // A line to the same point goes on from the dot, as a line; it is not a second dot.
  RecordingSurface reduced;
  reduced.ReduceToPixels(kWidth, kHeight);
  Frame(reduced);
  reduced.Line(50, 50, 50, 50);
  reduced.Line(50, 50, 50, 50);
  reduced.Line(50, 50, 60, 40);
  const DisplayList& list = reduced.List();
  EXPECT_EQ(std::count_if(list.ops.begin(), list.ops.end(), [&list](const DisplayOp& op) { return IsDot(list, op); }), 0);
}

// Dots (points after a break) under marks of several sizes and places: a dot the mark paints
// over may be left out of a reduced list, a dot beside or at the edge of its mark may not.
TEST(DisplayListPainter, AReducedListLeavesOutOnlyTheDotsItsMarksPaintOver) {
  RecordingSurface full = FramedSurface();
  RecordingSurface reduced;
  reduced.ReduceToPixels(400, 400);
  for (RecordingSurface* surface : {&full, &reduced}) {
    Frame(*surface);
    for (int i = 0; i < 40; ++i) {
      const double x = 4 + i * 2.3, y = 15.1 + (i % 3) * 30;  // four pixels a unit
      const double r = 0.25 + (i % 5) * 0.5;                  // radius from one pixel to nine
      const double shift[] = {0, 0.5 * r, 0.8 * r, r + 1};  // centred; inside; box corner; beside
      const double dx = shift[i % 4], dy = i % 8 < 4 ? shift[i % 4] : 0;
      surface->SetPenColor(Rgb(0, 255, 0));
      surface->Line(x, y, x, y);
      surface->SetPenColor(Rgb(255, 0, 0));
      surface->SetFillColor(Rgb(0, 0, 255));
      if (i % 3 == 2) {
        surface->Rectangle(x + dx - r, y + dy - r, x + dx + r, y + dy + r);
      } else {
        surface->Ellipse(x + dx - r, y + dy - r, x + dx + r, y + dy + r);
      }
    }
  }
  EXPECT_EQ(RenderDisplayList(reduced.List(), 400, 400), RenderDisplayList(full.List(), 400, 400));
  std::size_t dots = 0;
  for (const DisplayOp& op : reduced.List().ops) dots += op.kind == OpKind::Polyline ? 1 : 0;
  EXPECT_LT(dots, 35U) << "the dots under their marks are left out";
}

// A chart's series at whole X positions, thousands of records on each, with breaks, a short
// series, a run of one repeated point and a series that turns back to the left before any of
// its points were merged; with turnBack, one more that turns back after.
void DrawSeriesAtPositions(RecordingSurface& surface, bool turnBack) {
  std::uint32_t random = 7;
  const auto next = [&random] { return (random = random * 1664525U + 1013904223U) >> 24; };
  Series series;
  const auto to = [&](double x, double y) { series.To(surface, x, y); };
  surface.SetPenColor(Rgb(0, 255, 0));
  for (int i = 0; i < 300000; ++i) {
    to(5 + i / 4000, 30 + next() / 8.0 + (i == 77777 ? 50 : 0));
    if (i % 90001 == 90000) series.Break();
  }
  series.Break();
  surface.SetPenColor(Rgb(255, 0, 0));
  for (int i = 0; i < 40; ++i) to(10 + i / 8, 80 + next() / 64.0);  // short: point by point
  for (int i = 0; i < 500; ++i) to(20, 85);                          // one point again and again
  for (int i = 0; i < 2000; ++i) to(30 + i / 100, 70 + next() / 32.0);
  series.Break();
  surface.SetPenColor(Rgb(0, 128, 255));
  to(50, 10);
  to(40, 12);
  for (int i = 0; i < 5000; ++i) to(41 + i / 500, 10 + next() / 32.0);
  if (!turnBack) return;
  for (int i = 0; i < 2000; ++i) to(25 + i / 100, 60 + next() / 32.0);
}

TEST(DisplayListPainter, AListMergedAtOneXPaintsTheSamePicturesAtEverySize) {
  for (const bool turnBack : {false, true}) {
    RecordingSurface full = FramedSurface();
    RecordingSurface merged;
    merged.MergePointsAtOneX();
    test::Frame(merged);
    DrawSeriesAtPositions(full, turnBack);
    DrawSeriesAtPositions(merged, turnBack);
    EXPECT_LT(merged.List().points.size() * 30, full.List().points.size());
    for (const QSize size : {QSize(100, 80), QSize(1172, 608), QSize(3000, 1500), QSize(37, 300)}) {
      const QImage picture = RenderDisplayList(merged.List(), size.width(), size.height());
      const QImage expected = RenderDisplayList(full.List(), size.width(), size.height());
      if (!turnBack) {
        EXPECT_EQ(picture, expected) << size.width() << "x" << size.height();
      } else {
        // A series that turns back after points were merged goes on as a new polyline: the
        // painter keeps the columns of the part before, where it drew every point of the
        // whole; a pixel of a line here and there may fall beside.
        EXPECT_LT(DifferentPixels(picture, expected), 8) << size.width() << "x" << size.height();
      }
    }
    if (!turnBack) {
      EXPECT_EQ(EncodePicture(merged.List(), 1172, 608, PictureFormat::Svg),
                EncodePicture(full.List(), 1172, 608, PictureFormat::Svg));
    }
  }
}

// The result files of the project drawn as the window draws them (alone and all together)
// paint the very pictures of the full list. VARST_MERGE_CHECK names more files, one a line.
TEST(DisplayListPainter, ResultFilesMergedAtOneXPaintTheSamePictures) {
  std::vector<std::vector<std::string>> runs;
  std::vector<std::string> all;
  for (const char* folder : {"/examples", "/tests/golden"}) {
    for (const auto& entry : std::filesystem::directory_iterator(std::string(VARST_SOURCE_DIR) + folder)) {
      if (entry.path().extension() == ".dat") all.push_back(entry.path().string());
    }
  }
  if (const char* more = std::getenv("VARST_MERGE_CHECK")) {
    std::istringstream lines(more);
    for (std::string line; std::getline(lines, line);) {
      if (!line.empty()) all.push_back(line);
    }
  }
  std::sort(all.begin(), all.end());
  for (const std::string& file : all) runs.push_back({file});
  runs.push_back(all);
  std::ostringstream discarded;
  for (const std::vector<std::string>& files : runs) {
    DisplayList lists[2];
    for (const bool merge : {false, true}) {
      ConsolePrompter prompter(discarded);
      HeadlessOptions options;
      options.files = files;
      options.mergePointsAtOneX = merge;
      HeadlessSession session(options, prompter);
      session.LoadFiles();
      lists[merge ? 1 : 0] = session.Drawing();
    }
    for (const QSize size : {QSize(1172, 608), QSize(333, 200)}) {
      EXPECT_EQ(RenderDisplayList(lists[1], size.width(), size.height()),
                RenderDisplayList(lists[0], size.width(), size.height()))
          << files.front() << " (" << files.size() << " files) at " << size.width() << "x" << size.height();
    }
  }
}

// While a file loads the chart adds what is new to its picture; once loading is over the next
// refresh paints it whole, exactly as the list renders.
TEST(DisplayListPainter, ProgressPicturesAddToThePictureAndTheLastPaintIsWhole) {
  ChartView view;
  view.resize(200, 100);
  view.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  RecordingSurface& surface = view.Surface();
  Frame(surface);
  surface.SetPenColor(Rgb(255, 0, 0));
  const auto paints = [&view] { return view.ChartPaintCount(); };
  view.RefreshIfChanged();
  view.repaint();
  std::uint64_t before = paints();
  for (int step = 0; step < 4; ++step) {
    surface.Line(step * 25, 10, step * 25 + 25, 10 + step * 20);  // one polyline, growing
    view.RefreshIfChanged(true);
    view.repaint();
    EXPECT_EQ(paints(), ++before) << step;
  }
  // The last segment is on the progress picture already.
  const auto redInColumn = [&view](int x) {
    const QImage image = view.grab().toImage();
    for (int y = 0; y < image.height(); ++y) {
      if (image.pixelColor(x, y) == QColor(255, 0, 0)) return true;
    }
    return false;
  };
  EXPECT_TRUE(redInColumn(190));
  view.RefreshIfChanged();
  view.repaint();
  EXPECT_EQ(paints(), before + 1);
  EXPECT_EQ(view.grab().toImage().convertToFormat(QImage::Format_RGB32), RenderDisplayList(surface.List(), 200, 100));
  // A clear is no addition: the next progress picture is painted whole.
  surface.Clear();
  view.RefreshIfChanged(true);
  view.repaint();
  EXPECT_FALSE(redInColumn(190));
}

}  // namespace
}  // namespace varst
