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
#include <cstdint>
#include <vector>

#include <zlib.h>

#include "platform/DisplayListPainter.h"

namespace varst {
namespace {

constexpr char kPictureTitle[] = "Varst chart";

void AppendBigEndian(QByteArray& out, std::uint32_t value) {
  for (const int shift : {24, 16, 8, 0}) out.append(static_cast<char>((value >> shift) & 0xFF));
}

// One chunk: its length, type, data and the CRC of type and data.
void AppendChunk(QByteArray& out, const char (&type)[5], const unsigned char* data, std::size_t size) {
  AppendBigEndian(out, static_cast<std::uint32_t>(size));
  const auto start = out.size();
  out.append(type, 4);
  if (size > 0) out.append(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const auto crc = crc32(0, reinterpret_cast<const Bytef*>(out.constData() + start), static_cast<uInt>(size + 4));
  AppendBigEndian(out, static_cast<std::uint32_t>(crc));
}

// One row of a PNG picture: its RGB bytes into pixels, then the filter byte and the filtered
// bytes into row; above holds the row before and takes this one's bytes.
void FilterRow(const QRgb* source, std::size_t width, std::vector<unsigned char>& pixels,
               std::vector<unsigned char>& above, std::vector<unsigned char>& row) {
  for (std::size_t x = 0; x < width; ++x) {
    pixels[3 * x] = static_cast<unsigned char>(qRed(source[x]));
    pixels[3 * x + 1] = static_cast<unsigned char>(qGreen(source[x]));
    pixels[3 * x + 2] = static_cast<unsigned char>(qBlue(source[x]));
  }
  const std::size_t n = pixels.size();
  const auto left = [&](std::size_t i) { return i >= 3 ? pixels[i - 3] : 0; };
  // Each filter's differences read as signed bytes; the smallest sum of their sizes wins.
  const auto size = [](unsigned char difference) {
    const int value = static_cast<signed char>(difference);
    return static_cast<unsigned>(value < 0 ? -value : value);
  };
  unsigned long none = 0, sub = 0, up = 0;
  for (std::size_t i = 0; i < n; ++i) {
    none += size(pixels[i]);
    sub += size(static_cast<unsigned char>(pixels[i] - left(i)));
    up += size(static_cast<unsigned char>(pixels[i] - above[i]));
  }
  const int filter = none <= sub && none <= up ? 0 : sub <= up ? 1 : 2;
  row[0] = static_cast<unsigned char>(filter);
  for (std::size_t i = 0; i < n; ++i) {
    const unsigned char before = filter == 0 ? 0 : filter == 1 ? left(i) : above[i];
    row[1 + i] = static_cast<unsigned char>(pixels[i] - before);
  }
  above.swap(pixels);
}

QByteArray EncodePng(const DisplayList& list, int width, int height) {
  return EncodePngImage(RenderDisplayList(list, width, height));
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

QByteArray EncodePngImage(const QImage& source) {
  if (source.isNull()) return {};
  const QImage image = source.format() == QImage::Format_RGB32 ? source : source.convertToFormat(QImage::Format_RGB32);
  const auto width = static_cast<std::size_t>(image.width());
  const auto height = static_cast<std::size_t>(image.height());
  z_stream stream{};
  // Level 3: about as fast as the fastest on a chart, and smaller.
  if (deflateInit(&stream, 3) != Z_OK) return {};
  struct End {
    z_stream& stream;
    ~End() { deflateEnd(&stream); }
  } end{stream};

  QByteArray out("\x89PNG\r\n\x1a\n", 8);
  QByteArray header;
  AppendBigEndian(header, static_cast<std::uint32_t>(width));
  AppendBigEndian(header, static_cast<std::uint32_t>(height));
  header.append("\x08\x02\x00\x00\x00", 5);  // 8 bits a sample, RGB, deflate, no filter, no interlace
  AppendChunk(out, "IHDR", reinterpret_cast<const unsigned char*>(header.constData()), 5 + 8);

  // Row by row, each row filtered as none, "sub" (less the pixel to the left) or "up" (less the
  // pixel above), whichever leaves the smallest differences, as PNG writers commonly choose; the
  // compressed bytes go out in data chunks of up to 256 KB, so a large picture needs no second
  // copy of itself.
  const std::size_t bytesPerRow = 3 * width;
  std::vector<unsigned char> pixels(bytesPerRow), above(bytesPerRow, 0);
  std::vector<unsigned char> row(1 + bytesPerRow);
  std::vector<unsigned char> compressed(std::size_t{256} << 10);
  stream.next_out = compressed.data();
  stream.avail_out = static_cast<uInt>(compressed.size());
  const auto emitData = [&] {
    AppendChunk(out, "IDAT", compressed.data(), compressed.size() - stream.avail_out);
    stream.next_out = compressed.data();
    stream.avail_out = static_cast<uInt>(compressed.size());
  };
  for (std::size_t y = 0; y <= height; ++y) {
    const bool last = y == height;
    if (!last) {
      FilterRow(reinterpret_cast<const QRgb*>(image.constScanLine(static_cast<int>(y))), width, pixels, above, row);
      stream.next_in = row.data();
      stream.avail_in = static_cast<uInt>(row.size());
    }
    while (true) {
      const int result = deflate(&stream, last ? Z_FINISH : Z_NO_FLUSH);
      if (result == Z_STREAM_ERROR || (last && result == Z_BUF_ERROR && stream.avail_out != 0)) return {};
      if (stream.avail_out == 0) {
        emitData();
        continue;
      }
      if (last ? result == Z_STREAM_END : stream.avail_in == 0) break;
    }
  }
  if (stream.avail_out != compressed.size()) emitData();
  AppendChunk(out, "IEND", nullptr, 0);
  return out;
}

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
