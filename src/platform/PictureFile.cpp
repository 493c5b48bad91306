#include "platform/PictureFile.h"

#include <QBuffer>
#include <QImage>
#include <QMimeData>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSvgGenerator>
#include <algorithm>
#include <cctype>

#include "platform/DisplayListPainter.h"

namespace varst {
namespace {

constexpr char kPictureTitle[] = "Varst chart";

QByteArray EncodePng(const DisplayList& list, int width, int height) {
  const QImage image = RenderDisplayList(list, width, height);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  if (image.isNull() || !buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG", kPngQuality)) return {};
  return bytes;
}

// One SVG user unit is one pixel of the PNG of the same size.
QByteArray EncodeSvg(const DisplayList& list, int width, int height) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  if (!buffer.open(QIODevice::WriteOnly)) return {};
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setSize(QSize(width, height));
  generator.setViewBox(QRect(0, 0, width, height));
  generator.setTitle(kPictureTitle);
  QPainter painter;
  if (!painter.begin(&generator)) return {};
  PaintDisplayList(painter, list, QSizeF(width, height));
  if (!painter.end()) return {};
  // The generator states the size in millimetres, which viewers round up to a pixel more than
  // the PNG has; the size in user units (pixels) opens at exactly the PNG's size.
  static const QRegularExpression millimetres(R"(<svg width="[0-9.]+mm" height="[0-9.]+mm")");
  const QRegularExpressionMatch match = millimetres.match(QString::fromLatin1(bytes.left(256)));
  if (match.hasMatch()) {
    bytes.replace(match.capturedStart(), match.capturedLength(),
                  QStringLiteral("<svg width=\"%1\" height=\"%2\"").arg(width).arg(height).toLatin1());
  }
  return bytes;
}

// One page of width x height points at 72 points an inch: one point is one pixel of the PNG.
QByteArray EncodePdf(const DisplayList& list, int width, int height) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  if (!buffer.open(QIODevice::WriteOnly)) return {};
  QPdfWriter writer(&buffer);
  writer.setTitle(kPictureTitle);
  writer.setCreator("varst");
  writer.setResolution(72);
  const QPageSize page(QSizeF(width, height), QPageSize::Point, QString(), QPageSize::ExactMatch);
  if (!writer.setPageLayout(QPageLayout(page, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)))) return {};
  QPainter painter;
  if (!painter.begin(&writer)) return {};
  PaintDisplayList(painter, list, QSizeF(width, height));
  if (!painter.end()) return {};
  return bytes;
}

}  // namespace

std::optional<PictureFormat> PictureFormatOfPath(const std::string& path) {
  const auto dot = path.find_last_of("./");
  if (dot == std::string::npos || path[dot] != '.') return std::nullopt;
  std::string extension = path.substr(dot + 1);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == "png") return PictureFormat::Png;
  if (extension == "svg") return PictureFormat::Svg;
  if (extension == "pdf") return PictureFormat::Pdf;
  return std::nullopt;
}

QByteArray EncodePicture(const DisplayList& list, int width, int height, PictureFormat format) {
  if (width < 1 || height < 1) return {};
  switch (format) {
    case PictureFormat::Png:
      return EncodePng(list, width, height);
    case PictureFormat::Svg:
      return EncodeSvg(list, width, height);
    case PictureFormat::Pdf:
      return EncodePdf(list, width, height);
  }
  return {};
}

WriteResult SavePicture(const DisplayList& list, int width, int height, PictureFormat format,
                        const std::string& path) {
  const QByteArray bytes = EncodePicture(list, width, height, format);
  if (bytes.isEmpty()) return WriteResult{false, "Cannot draw the picture"};
  return WriteFileAtomically(path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

QMimeData* PictureMimeData(const DisplayList& list, int width, int height) {
  const QImage image = RenderDisplayList(list, width, height);
  if (image.isNull()) return nullptr;
  auto* data = new QMimeData;
  data->setImageData(image);
  const QByteArray svg = EncodeSvg(list, width, height);
  if (!svg.isEmpty()) data->setData("image/svg+xml", svg);
  return data;
}

}  // namespace varst
