#include "platform/DisplayListPainter.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include "platform/RecordingSurface.h"

namespace varst {
namespace {

// A surface with the chart's logical frame: X 0..100 over the width, Y 0..100 upward.
RecordingSurface FramedSurface() {
  RecordingSurface surface;
  surface.SetBackColor(0);
  surface.Clear();
  surface.SetScaleLeft(0);
  surface.SetScaleWidth(100);
  surface.SetScaleTop(100);
  surface.SetScaleHeight(-100);
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

}  // namespace
}  // namespace varst
