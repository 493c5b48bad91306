// Pictures of the chart as files and on the clipboard: the SVG and the PDF, turned back into
// pixels by independent renderers, must show what the PNG shows.

#include "platform/PictureFile.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <QProcess>
#include <QSvgRenderer>
#include <algorithm>
#include <cstdlib>
#include <optional>
#include <memory>

#include "FramedSurface.h"
#include "app/HeadlessSession.h"
#include "platform/DisplayListPainter.h"
#include "platform/RecordingSurface.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

namespace varst {
namespace {

constexpr int kWidth = 600;
constexpr int kHeight = 400;

DisplayList GoldenDrawing(const std::string& name) {
  test::ScriptedPrompter prompter;
  HeadlessOptions options;
  options.files = {std::string(VARST_SOURCE_DIR) + "/tests/golden/" + name + ".dat"};
  HeadlessSession session(options, prompter);
  session.LoadFiles();
  return session.Drawing();
}

QImage FromSvg(const QByteArray& svg) {
  QSvgRenderer renderer(svg);
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  image.fill(Qt::magenta);
  QPainter painter(&image);
  renderer.render(&painter);
  return image;
}

// The PDF rendered at 72 dots an inch, where one point of the page is one pixel.
QImage FromPdf(const QByteArray& pdf, const test::TempDir& dir) {
  const std::string input = dir.Write("chart.pdf", std::string(pdf.constData(), static_cast<std::size_t>(pdf.size())));
  const QString output = QString::fromStdString(dir.File("chart"));
  const int status = QProcess::execute(
      "pdftoppm", {"-r", "72", "-png", "-singlefile", QString::fromStdString(input), output});
  EXPECT_EQ(status, 0) << "pdftoppm (poppler-utils, installed by scripts/deps test) could not render the PDF";
  return QImage(output + ".png").convertToFormat(QImage::Format_RGB32);
}

// The share of blocks of 4 x 4 pixels whose mean colour differs between the two pictures by more
// than a small margin in some channel. Renderers differ in smoothing, in the phase of dotted
// lines and in where a glyph edge falls; averaged over a block, the same drawing agrees.
double DifferingShare(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return 1.0;
  const QSize blocks(a.width() / 4, a.height() / 4);
  const QImage x = a.scaled(blocks, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  const QImage y = b.scaled(blocks, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  long differing = 0;
  for (int v = 0; v < blocks.height(); ++v) {
    for (int u = 0; u < blocks.width(); ++u) {
      const QRgb p = x.pixel(u, v);
      const QRgb q = y.pixel(u, v);
      const int difference = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                       std::abs(qBlue(p) - qBlue(q))});
      differing += difference > 40 ? 1 : 0;
    }
  }
  return static_cast<double>(differing) / (static_cast<double>(blocks.width()) * blocks.height());
}

TEST(PictureFile, FormatFromTheExtensionInAnyCase) {
  const struct {
    const char* path;
    std::optional<PictureFormat> format;
  } cases[] = {
      {"a.png", PictureFormat::Png}, {"/x/a.SVG", PictureFormat::Svg}, {"a.b.Pdf", PictureFormat::Pdf},
      {"a.gif", std::nullopt},       {"png", std::nullopt},            {"dir.svg/a", std::nullopt},
      {"a.", std::nullopt},          {"", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(PictureFormatOfPath(c.path), c.format) << c.path;
}

TEST(PictureFile, SvgAndPdfLookLikeThePngOfEveryChartKind) {
  test::TempDir dir;
  for (const char* name : {"lba_small", "count_small", "time_small", "threshold_small"}) {
    const DisplayList list = GoldenDrawing(name);
    const QImage png = QImage::fromData(EncodePicture(list, kWidth, kHeight, PictureFormat::Png));
    ASSERT_EQ(png.size(), QSize(kWidth, kHeight)) << name;
    const QImage reference = png.convertToFormat(QImage::Format_RGB32);
    const QByteArray svg = EncodePicture(list, kWidth, kHeight, PictureFormat::Svg);
    const QByteArray pdf = EncodePicture(list, kWidth, kHeight, PictureFormat::Pdf);
    EXPECT_TRUE(svg.contains("<text")) << name << ": texts stay text";
    EXPECT_TRUE(pdf.startsWith("%PDF") && pdf.contains("/Font")) << name << ": texts stay text";
    for (const auto& [format, image] : {std::pair{"svg", FromSvg(svg)}, std::pair{"pdf", FromPdf(pdf, dir)}}) {
      EXPECT_LT(DifferingShare(reference, image), 0.01) << name << " " << format;
    }
  }
}

TEST(PictureFile, ADifferentDrawingDoesNotPassTheComparison) {
  const DisplayList lba = GoldenDrawing("lba_small");
  const DisplayList time = GoldenDrawing("time_small");
  const QImage a = QImage::fromData(EncodePicture(lba, kWidth, kHeight, PictureFormat::Png)).convertToFormat(QImage::Format_RGB32);
  const QImage b = FromSvg(EncodePicture(time, kWidth, kHeight, PictureFormat::Svg));
  EXPECT_GT(DifferingShare(a, b), 0.02);
}

TEST(PictureFile, DenseSeriesAreReducedPerPixelInTheVectorPictures) {
  RecordingSurface surface;
  test::Frame(surface);
  surface.SetPenColor(Rgb(255, 255, 255));
  for (int i = 0; i < 200000; ++i) surface.Line(i / 2000.0, i % 7 * 10, (i + 1) / 2000.0, (i + 1) % 7 * 10);
  for (PictureFormat format : {PictureFormat::Svg, PictureFormat::Pdf}) {
    // 100 pixel columns keep at most four points each, whatever the record count.
    EXPECT_LT(EncodePicture(surface.List(), 100, 100, format).size(), 40000) << static_cast<int>(format);
  }
}

TEST(PictureFile, ClipboardEntryCarriesTheImageAndTheSvg) {
  const std::unique_ptr<QMimeData> data(PictureMimeData(GoldenDrawing("lba_small"), 320, 200));
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(qvariant_cast<QImage>(data->imageData()).size(), QSize(320, 200));
  ASSERT_TRUE(data->hasFormat("image/svg+xml"));
  const QSvgRenderer svg(data->data("image/svg+xml"));
  EXPECT_EQ(svg.viewBox(), QRect(0, 0, 320, 200));
  EXPECT_EQ(svg.defaultSize(), QSize(320, 200)) << "opens at the size of the image";
}

TEST(PictureFile, SaveReplacesAFileWholeAndRefusesAnEmptySize) {
  test::TempDir dir;
  const std::string path = dir.Write("chart.svg", "old");
  const DisplayList list = GoldenDrawing("lba_small");
  EXPECT_TRUE(SavePicture(list, 200, 100, PictureFormat::Svg, path));
  EXPECT_TRUE(QSvgRenderer(QString::fromStdString(path)).isValid());
  EXPECT_FALSE(SavePicture(list, 0, 100, PictureFormat::Png, path));
  EXPECT_TRUE(QSvgRenderer(QString::fromStdString(path)).isValid()) << "a failed save leaves the file";
}

// The PNG writer keeps every pixel: flat charts, noise that does not compress (its data comes
// out in several chunks), a row of one pixel, and a picture of other formats' pixels.
TEST(PictureFile, PngsReadBackPixelForPixel) {
  std::uint32_t random = 99;
  const auto noise = [&random](QImage image) {
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        random = random * 1664525U + 1013904223U;
        image.setPixel(x, y, qRgb(static_cast<int>(random >> 24), static_cast<int>(random >> 16) & 255, x % 256));
      }
    }
    return image;
  };
  const QImage cases[] = {
      RenderDisplayList(GoldenDrawing("lba_small"), 1200, 800),
      noise(QImage(701, 600, QImage::Format_RGB32)),
      noise(QImage(1, 1, QImage::Format_RGB32)),
      noise(QImage(3, 17, QImage::Format_ARGB32)).convertToFormat(QImage::Format_RGB888),
  };
  for (const QImage& image : cases) {
    const QByteArray png = EncodePngImage(image);
    QImage back;
    ASSERT_TRUE(back.loadFromData(png, "PNG")) << image.width();
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), image.convertToFormat(QImage::Format_RGB32)) << image.width();
  }
  EXPECT_TRUE(EncodePngImage(QImage()).isEmpty());
}

}  // namespace
}  // namespace varst
