#include "platform/DisplayListPainter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPainter>
#include <QPolygonF>
#include <QtAlgorithms>
#include <algorithm>
#include <cmath>
#include <exception>
#include <limits>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/DrawingSurface.h"
#include "platform/MarkTable.h"
#include "platform/QtText.h"

namespace varst {
namespace {

// Logical units to pixels for one scale.
struct Mapping {
  double left = 0, top = 0, sx = 1, sy = 1;

  Mapping(const ScaleOp& scale, QSizeF size)
      : left(scale.left),
        top(scale.top),
        sx(scale.width != 0 ? size.width() / scale.width : 0),
        sy(scale.height != 0 ? size.height() / scale.height : 0) {}

  [[nodiscard]] QPointF Map(double x, double y) const { return {MapX(x), MapY(y)}; }
  [[nodiscard]] double MapX(double x) const { return (x - left) * sx; }
  [[nodiscard]] double MapY(double y) const { return (y - top) * sy; }
  [[nodiscard]] QRectF Box(double x1, double y1, double x2, double y2) const {
    return QRectF(Map(x1, y1), Map(x2, y2)).normalized();
  }
};

// The mapping of the operations that come before the list's scale number `scale` (the picture's
// own pixels before the first): scales enter the list in the order of their operations, so
// the one in force before scale k is scale k - 1. A pass from the last operation back starts
// with the list's scale count and takes the scale operation's number at each one it meets.
Mapping MappingBefore(const DisplayList& list, std::size_t scale, QSizeF size) {
  return scale == 0 ? Mapping(ScaleOp{0, 0, size.width(), size.height()}, size) : Mapping(list.scales[scale - 1], size);
}

Qt::PenStyle ToQtPenStyle(std::int32_t style) {
  switch (style) {
    case kPenDash:
      return Qt::DashLine;
    case kPenDot:
      return Qt::DotLine;
    case kPenDashDot:
      return Qt::DashDotLine;
    default:
      return Qt::SolidLine;
  }
}

// Maps a polyline to pixels. Where its points run left to right and crowd more than two to
// a pixel column, only the first, lowest, highest and last point of each column are kept, in
// the order they came: the line drawn through them covers the same pixels as every segment
// would, at a cost bound by the width in pixels.
// `drawn`: the points drawn into it, when the list merged some of them.
void MapPolyline(const PointF* points, std::uint32_t count, std::uint32_t drawn, const Mapping& mapping,
                 std::vector<QPointF>& out) {
  out.clear();
  const bool crowded = std::max(count, drawn) > kPaintedPointByPoint;
  if (!crowded) {
    for (std::uint32_t i = 0; i < count; ++i) out.push_back(mapping.Map(points[i].x, points[i].y));
    return;
  }
  struct Column {
    long index = 0;
    QPointF first, low, high, last;
    std::uint32_t lowAt = 0, highAt = 0;
  };
  Column column;
  bool open = false;
  double previousX = -HUGE_VAL;
  auto flush = [&]() {
    out.push_back(column.first);
    const QPointF& a = column.lowAt <= column.highAt ? column.low : column.high;
    const QPointF& b = column.lowAt <= column.highAt ? column.high : column.low;
    if (a != out.back()) out.push_back(a);
    if (b != out.back()) out.push_back(b);
    if (column.last != out.back()) out.push_back(column.last);
  };
  for (std::uint32_t i = 0; i < count; ++i) {
    const QPointF p = mapping.Map(points[i].x, points[i].y);
    if (p.x() < previousX) {
      // Not left to right: draw every point.
      out.clear();
      for (std::uint32_t k = 0; k < count; ++k) out.push_back(mapping.Map(points[k].x, points[k].y));
      return;
    }
    previousX = p.x();
    const long index = static_cast<long>(std::floor(p.x()));
    if (!open || index != column.index) {
      if (open) flush();
      column = Column{index, p, p, p, p, i, i};
      open = true;
      continue;
    }
    column.last = p;
    if (p.y() < column.low.y()) column.low = p, column.lowAt = i;
    if (p.y() > column.high.y()) column.high = p, column.highAt = i;
  }
  if (open) flush();
}

void DrawText(QPainter& painter, const TextOp& text, const Mapping& mapping) {
  const double pixels = std::fabs(text.size * mapping.sy) * kGlyphShareOfLine;
  if (!(pixels >= 1.0) || pixels > 2000) return;
  QFont font = painter.font();
  font.setPixelSize(static_cast<int>(std::lround(pixels)));
  painter.setFont(font);
  painter.setPen(ToQColor(text.colour));
  const QPointF topLeft = mapping.Map(text.x, text.y);
  painter.drawText(QPointF(topLeft.x(), topLeft.y() + QFontMetricsF(font).ascent()), ToQString(text.text));
}

QPen MakePen(Colour colour, std::int32_t style) {
  QPen pen(ToQColor(colour));
  pen.setWidth(0);
  pen.setStyle(ToQtPenStyle(style));
  return pen;
}

// The pixels of an image painted in place, beside its painter.
struct RasterTarget {
  QRgb* bits = nullptr;
  qsizetype wordsPerLine = 0;
  int width = 0;
  int height = 0;
  int left = 0, right = width;  // the columns that may be painted, [left, right)
};

// An ellipse on whole pixels as the painter paints it, kept as the runs of pixels it paints on
// each row relative to its box's corner, made once for each size and pair of colours: tens of
// thousands of error marks of one size cost a few stores each instead of a trip through the
// painter. The painter paints such a box the same wherever it lies, but for what falls off the
// picture.
class EllipseStamps {
 public:
  // Paints the ellipse in the box of w x h pixels at (left, top); false when it has no stamp
  // for it (the painter paints it then).
  bool Paint(const RasterTarget& target, int left, int top, int w, int h, Colour pen, Colour fill) {
    const Stamp* stamp = Find(w, h, pen, fill);
    if (stamp == nullptr) return false;
    if (left + w + kMargin < target.left || top + h + kMargin < 0 || left - kMargin >= target.right ||
        top - kMargin >= target.height) {
      return true;
    }
    for (const Span& span : stamp->spans) {
      const int y = top + span.dy;
      if (y < 0 || y >= target.height) continue;
      const int start = left + span.dx;
      const int from = std::max(target.left, start);
      const int to = std::min(target.right, start + span.length);
      QRgb* line = target.bits + static_cast<qsizetype>(y) * target.wordsPerLine;
      const QRgb* pixels = stamp->pixels.data() + span.first - start;
      for (int x = from; x < to; ++x) line[x] = pixels[x];
    }
    return true;
  }

  static constexpr int kLargest = 256;  // pixels across; larger ones go to the painter

  // A run of painted pixels on one row, whatever their colours.
  struct Span {
    int dy = 0, dx = 0, length = 0;
    std::ptrdiff_t first = 0;  // its first pixel in the stamp's pixels
  };
  // A run of painted pixels down one column.
  struct Run {
    int dx = 0, dy = 0, length = 0;
  };
  struct Stamp {
    int w = 0, h = 0;
    Colour pen = 0, fill = 0;
    bool usable = false;
    std::vector<Span> spans;
    std::vector<QRgb> pixels;
    std::vector<Run> columns;  // the same pixels, column by column
  };

  // The stamp of an ellipse of w x h pixels in these colours; none where the painter paints it.
  const Stamp* Find(int w, int h, Colour pen, Colour fill) {
    for (const Stamp& stamp : stamps_) {
      if (stamp.w == w && stamp.h == h && stamp.pen == pen && stamp.fill == fill) {
        return stamp.usable ? &stamp : nullptr;
      }
    }
    if (w < 1 || h < 1 || w > kLargest || h > kLargest || stamps_.size() >= kMostStamps) return nullptr;
    stamps_.push_back(Make(w, h, pen, fill));
    return stamps_.back().usable ? &stamps_.back() : nullptr;
  }

 private:
  static constexpr int kMargin = 2;  // pixels around the box in which the outline may fall
  static constexpr std::size_t kMostStamps = 64;

  // Paints the ellipse on a black and on a white ground: the pixels that come out the same
  // are the ones it paints.
  static Stamp Make(int w, int h, Colour pen, Colour fill) {
    Stamp stamp{w, h, pen, fill, false, {}, {}, {}};
    const QSize size(w + 2 * kMargin + 1, h + 2 * kMargin + 1);
    QImage grounds[2] = {QImage(size, QImage::Format_RGB32), QImage(size, QImage::Format_RGB32)};
    grounds[0].fill(QColor(0, 0, 0));
    grounds[1].fill(QColor(255, 255, 255));
    for (QImage& ground : grounds) {
      QPainter painter(&ground);
      painter.setPen(MakePen(pen, kPenSolid));
      painter.setBrush(ToQColor(fill));
      painter.drawEllipse(QRectF(kMargin, kMargin, w, h));
    }
    for (int y = 0; y < size.height(); ++y) {
      const auto* a = reinterpret_cast<const QRgb*>(grounds[0].constScanLine(y));
      const auto* b = reinterpret_cast<const QRgb*>(grounds[1].constScanLine(y));
      for (int x = 0; x < size.width();) {
        if (a[x] != b[x]) {
          ++x;
          continue;
        }
        // Painted up to the picture's edge: the margin was too small, the painter paints it.
        if (x == 0 || y == 0 || y == size.height() - 1) return stamp;
        int end = x + 1;
        while (end < size.width() && a[end] == b[end]) ++end;
        if (end == size.width()) return stamp;
        stamp.spans.push_back({y - kMargin, x - kMargin, end - x, static_cast<std::ptrdiff_t>(stamp.pixels.size())});
        stamp.pixels.insert(stamp.pixels.end(), a + x, a + end);
        x = end;
      }
    }
    // The columns' runs, from a map of the painted pixels.
    const int across = w + 2 * kMargin + 1, down = h + 2 * kMargin + 1;
    std::vector<char> painted(static_cast<std::size_t>(across) * static_cast<std::size_t>(down), 0);
    for (const Span& span : stamp.spans) {
      for (int k = 0; k < span.length; ++k) {
        painted[static_cast<std::size_t>(span.dx + kMargin + k) * static_cast<std::size_t>(down) +
                static_cast<std::size_t>(span.dy + kMargin)] = 1;
      }
    }
    for (int x = 0; x < across; ++x) {
      const char* column = painted.data() + static_cast<std::size_t>(x) * static_cast<std::size_t>(down);
      for (int y = 0; y < down;) {
        if (column[y] == 0) {
          ++y;
          continue;
        }
        int end = y + 1;
        while (end < down && column[end] != 0) ++end;
        stamp.columns.push_back({x - kMargin, y - kMargin, end - y});
        y = end;
      }
    }
    stamp.usable = true;
    return stamp;
  }

  std::vector<Stamp> stamps_;
};

// Whether a box lies near enough to the picture to be taken to whole pixels.
bool OnPicture(const QRectF& box) {
  constexpr double kFar = 1e6;
  return box.left() > -kFar && box.top() > -kFar && box.right() < kFar && box.bottom() < kFar;
}

// The whole numbers at or below and at or above a value near the picture (within a million of
// it), without a library call for each line.
int FloorNear(double value) {
  const auto whole = static_cast<int>(value);  // towards zero
  return value < whole ? whole - 1 : whole;
}
int CeilNear(double value) {
  const auto whole = static_cast<int>(value);
  return value > whole ? whole + 1 : whole;
}

// A box on the whole pixels of its edges (halves away from zero), as marks are told apart and
// painted on pixels; an empty one for a box far off the picture.
QRect WholePixels(const QRectF& box) {
  if (!OnPicture(box)) return {};
  const int left = WholePixel(box.left()), top = WholePixel(box.top());
  return {left, top, WholePixel(box.right()) - left, WholePixel(box.bottom()) - top};
}

// The whole pixels from a to b, two mapped coordinates of a box, as WholePixels takes them:
// turned to a size of no sign in the same steps. False for a box far off the picture.
bool WholeSpan(double a, double b, int& start, int& length) {
  double size = b - a;
  if (size < 0) {
    a += size;
    size = -size;
  }
  const double end = a + size;
  constexpr double kFar = 1e6;
  if (!(a > -kFar && end < kFar)) return false;
  start = WholePixel(a);
  length = WholePixel(end) - start;
  return true;
}

// Whether the painter paints a line of one pixel that runs straight down at x on column
// floor(x) alone, on every row strictly between the rows of its ends and on none beyond the
// rows next to them: tried once, on lines at every 64th of a pixel across and at ends that
// fall anywhere on their pixels.
bool VerticalLinesKnown() {
  static const bool known = [] {
    QImage image(4, 24, QImage::Format_RGB32);
    const std::pair<double, double> ends[] = {{3.0, 17.0}, {2.49, 9.51}, {12.97, 4.02}, {5.5, 8.9}, {20.999, 6.001}};
    for (int step = 0; step <= 64; ++step) {
      const double x = 1 + (step == 64 ? 1 - 1e-9 : step / 64.0);
      for (const auto& [from, to] : ends) {
        image.fill(QColor(0, 0, 0));
        QPainter painter(&image);
        painter.setPen(MakePen(0xFFFFFF, kPenSolid));
        const QPointF points[2] = {{x, from}, {x, to}};
        painter.drawPolyline(points, 2);
        painter.end();
        const double top = std::min(from, to), bottom = std::max(from, to);
        for (int y = 0; y < image.height(); ++y) {
          for (int column = 0; column < image.width(); ++column) {
            const bool painted = image.pixel(column, y) != qRgb(0, 0, 0);
            const bool mayBe = column == static_cast<int>(std::floor(x)) && y >= std::floor(top) - 1 && y <= std::ceil(bottom) + 1;
            const bool mustBe = column == static_cast<int>(std::floor(x)) && y > std::ceil(top) && y < std::floor(bottom);
            if ((painted && !mayBe) || (!painted && mustBe)) return false;
          }
        }
      }
    }
    return true;
  }();
  return known;
}

// Numbers spread evenly over [0, 1), the same ones on every run: the tries of what the painter
// paints below.
class Evenly {
 public:
  explicit Evenly(std::uint32_t seed) : state_(seed) {}
  double operator()() {
    state_ = state_ * 1664525U + 1013904223U;
    return (state_ >> 8) / 16777216.0;
  }

 private:
  std::uint32_t state_;
};

// A solid line of two points that runs down the picture by more than a quarter of a pixel,
// straight down or steep and far from the edges of its column: the painter paints column
// floor(x) alone, from the row of its top end to the row of its bottom end (whole rows, no
// more and no fewer). A steep one near an edge of its column may lean into the column beside
// at an end, always within those rows and an eighth of a pixel of the line. A line that goes
// on from a dot (its first point twice) or ends on one paints those rows too, but for the
// dot's row, which it may leave out.
struct SteepLine {
  int left = 0, right = 0;  // the columns it may paint
  int top = 0, bottom = 0;  // the rows it may paint, both ends included
  bool exact = false;       // one column, and every row of it, but
  int unsure = -1;          // this row (none when negative)
};

constexpr double kSteepLeast = 0.25, kSteepMostAcross = 1.0 / 128, kSteepEdge = 1.0 / 8;

std::optional<SteepLine> SteepLineOf(const QPointF* points, std::uint32_t count, int width, int height) {
  const QPointF* dot = nullptr;
  if (count == 3 && points[0] == points[1]) {
    dot = &points[0];
    ++points;
  } else if (count == 3 && points[1] == points[2]) {
    dot = &points[1];
  } else if (count != 2) {
    return std::nullopt;
  }
  const QPointF &a = points[0], &b = points[1];
  const double top = std::min(a.y(), b.y()), bottom = std::max(a.y(), b.y());
  const double left = std::min(a.x(), b.x()), right = std::max(a.x(), b.x());
  if (!(bottom - top >= kSteepLeast && right - left <= kSteepMostAcross && top >= 0 && bottom < height &&
        left >= kSteepEdge && right < width - kSteepEdge)) {
    return std::nullopt;
  }
  SteepLine line;
  // Straight down, it keeps to its column wherever it lies on it.
  const double lean = left == right ? 0 : kSteepEdge;
  line.left = FloorNear(left - lean);
  line.right = FloorNear(right + lean);
  line.top = FloorNear(top);
  line.bottom = FloorNear(bottom);
  line.exact = line.left == line.right;
  if (dot != nullptr) line.unsure = FloorNear(dot->y());
  return line;
}

// Whether the painter paints steep lines as SteepLineOf has it: tried once, on lines of every
// length, lean and place on their pixels, near and far from the origin.
bool SteepLinesKnown() {
  static const bool known = [] {
    constexpr int kColumns = 256, kRows = 1040;
    QImage image(kColumns, kRows, QImage::Format_RGB32);
    Evenly next(12345);
    for (int round = 0; round < 4; ++round) {
      image.fill(QColor(0, 0, 0));
      std::vector<SteepLine> lines;
      {
        QPainter painter(&image);
        painter.setPen(MakePen(0xFFFFFF, kPenSolid));
        // One line in every third column, so that what leans stays apart.
        for (int column = 1; column + 1 < kColumns; column += 3) {
          const int kind = column % 8;
          double x = column + next();
          if (kind == 0 || kind == 7) x = column + next() / 64;  // at the left edge
          if (kind == 1 || kind == 5) x = column + 1 - next() / 64;  // at the right edge
          if (kind == 2) x = column + std::floor(next() * 64) / 64;
          const double length = kind < 5 ? kSteepLeast + next() * 3 : kSteepLeast + next() * (kRows - 20);
          const double y1 = 2 + next() * (kRows - 6 - length);
          double y2 = y1 + length;
          double to = x + (next() * 2 - 1) * kSteepMostAcross;
          if (kind == 7) x = column;
          if (kind >= 2 && kind != 3) to = x;  // straight down
          double from = y1;
          if (kind == 4) from = std::ceil(y1), y2 = std::floor(y2);  // ends on whole rows
          if (kind == 6) from = std::round(y1 * 64) / 64;
          if (round % 2 == 1) std::swap(from, y2);  // upwards
          // A line, one that goes on from a dot, one that ends on a dot.
          const int form = (column / 3 + round) % 3;
          const QPointF a(x, from), b(to, y2);
          const QPointF points[3] = {a, form == 2 ? b : a, b};
          const QPointF* first = form == 0 ? points + 1 : points;
          const std::uint32_t count = form == 0 ? 2 : 3;
          const std::optional<SteepLine> line = SteepLineOf(first, count, kColumns, kRows);
          if (!line) continue;
          painter.drawPolyline(first, static_cast<int>(count));
          lines.push_back(*line);
        }
      }
      std::vector<bool> mayPaint(static_cast<std::size_t>(kColumns) * kRows, false);
      for (const SteepLine& line : lines) {
        for (int column = line.left; column <= line.right; ++column) {
          for (int y = line.top; y <= line.bottom; ++y) {
            mayPaint[static_cast<std::size_t>(y) * kColumns + static_cast<std::size_t>(column)] = true;
          }
        }
      }
      for (int y = 0; y < kRows; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int column = 0; column < kColumns; ++column) {
          const bool painted = row[column] != qRgb(0, 0, 0);
          if (painted && !mayPaint[static_cast<std::size_t>(y) * kColumns + static_cast<std::size_t>(column)]) {
            return false;
          }
        }
      }
      for (const SteepLine& line : lines) {
        if (!line.exact) continue;
        for (int y = line.top; y <= line.bottom; ++y) {
          if (y != line.unsure && reinterpret_cast<const QRgb*>(image.constScanLine(y))[line.left] == qRgb(0, 0, 0)) {
            return false;
          }
        }
      }
    }
    return true;
  }();
  return known;
}

// A solid line of any number of points all at one X on the picture, a row away from its top
// and bottom edges: the painter paints column floor(x) alone, no row above that of its highest
// point nor below the one after the row of its lowest, and every row between those of its
// highest and lowest points that holds none of its points.
struct StraightDownPolyline {
  int x = 0;
  int top = 0, bottom = 0;  // the rows it may paint, both ends included
};

std::optional<StraightDownPolyline> StraightDownPolylineOf(const QPointF* points, std::uint32_t count, int width,
                                                           int height) {
  if (count < 2) return std::nullopt;
  double top = points[0].y(), bottom = top;
  for (std::uint32_t k = 1; k < count; ++k) {
    if (points[k].x() != points[0].x()) return std::nullopt;
    top = std::min(top, points[k].y());
    bottom = std::max(bottom, points[k].y());
  }
  if (!(top >= 1 && bottom < height - 1 && points[0].x() >= 0 && points[0].x() < width)) return std::nullopt;
  return StraightDownPolyline{FloorNear(points[0].x()), FloorNear(top), FloorNear(bottom) + 1};
}

// The rows of a polyline's points, sorted (a polyline straight down surely paints the rows
// between them).
void RowsOfPoints(const QPointF* points, std::uint32_t count, std::vector<int>& rows) {
  rows.clear();
  for (std::uint32_t k = 0; k < count; ++k) rows.push_back(FloorNear(points[k].y()));
  std::sort(rows.begin(), rows.end());
}

// Whether the painter paints lines straight down as StraightDownPolylineOf has it: tried once,
// on lines of two to eight points, near and far apart, some of them twice, anywhere on their
// pixels.
bool StraightDownPolylinesKnown() {
  static const bool known = [] {
    constexpr int kColumns = 256, kRows = 520;
    QImage image(kColumns, kRows, QImage::Format_RGB32);
    Evenly next(54321);
    std::vector<int> rows;
    for (int round = 0; round < 4; ++round) {
      image.fill(QColor(0, 0, 0));
      std::vector<std::vector<QPointF>> lines;
      {
        QPainter painter(&image);
        painter.setPen(MakePen(0xFFFFFF, kPenSolid));
        for (int column = 1; column + 1 < kColumns; column += 2) {
          const int kind = (column / 2 + round) % 6;
          const double x = kind == 0 ? column : column + (kind == 1 ? std::floor(next() * 64) / 64 : next());
          const double span = kind % 2 == 0 ? 3 : 60, base = 2 + next() * (kRows - 8 - span);
          std::vector<QPointF> points;
          for (int k = 2 + (column / 2) % 7; k > 0; --k) {
            double y = base + next() * span;
            if (kind == 2) y = std::round(y * 64) / 64;
            if (kind == 3) y = std::round(y * 4) / 4;
            points.emplace_back(x, y);
            if (next() < 0.15) points.emplace_back(x, y);  // a point twice
          }
          const auto count = static_cast<std::uint32_t>(points.size());
          if (!StraightDownPolylineOf(points.data(), count, kColumns, kRows)) continue;
          painter.drawPolyline(points.data(), static_cast<int>(count));
          lines.push_back(std::move(points));
        }
      }
      for (const std::vector<QPointF>& points : lines) {
        const auto count = static_cast<std::uint32_t>(points.size());
        const StraightDownPolyline line = *StraightDownPolylineOf(points.data(), count, kColumns, kRows);
        for (int y = 0; y < kRows; ++y) {
          const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
          for (int column = line.x - 1; column <= line.x + 1; ++column) {
            const bool painted = row[column] != qRgb(0, 0, 0);
            if (painted && (column != line.x || y < line.top || y > line.bottom)) return false;
          }
        }
        RowsOfPoints(points.data(), count, rows);
        for (std::size_t k = 1; k < rows.size(); ++k) {
          for (int y = rows[k - 1] + 1; y < rows[k]; ++y) {
            if (reinterpret_cast<const QRgb*>(image.constScanLine(y))[line.x] == qRgb(0, 0, 0)) return false;
          }
        }
      }
    }
    return true;
  }();
  return known;
}

// The pixel nearest a point, (floor(x + 1/2), floor(y + 1/2)).
QPoint NearestPixel(const QPointF& point) { return {FloorNear(point.x() + 0.5), FloorNear(point.y() + 0.5)}; }

// Whether the painter paints a dot (a point of one pixel, in a solid pen) on the pixel nearest
// it and on no other: tried once, anywhere on its pixels.
bool DotsKnown() {
  static const bool known = [] {
    QImage image(64, 64, QImage::Format_RGB32);
    Evenly next(777);
    for (int round = 0; round < 8; ++round) {
      image.fill(QColor(0, 0, 0));
      std::vector<QPoint> pixels;
      {
        QPainter painter(&image);
        painter.setPen(MakePen(0xFFFFFF, kPenSolid));
        for (int cell = 0; cell < 256; ++cell) {  // one dot in the middle of each 4 by 4 cell
          double x = (cell % 16) * 4 + 1 + next(), y = (cell / 16) * 4 + 1 + next();
          if (cell % 3 == 0) x = std::round(x * 64) / 64;
          if (cell % 5 == 0) y = std::floor(y) + 0.5;
          painter.drawPoint(QPointF(x, y));
          pixels.push_back(NearestPixel(QPointF(x, y)));
        }
      }
      int painted = 0;
      for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) painted += row[x] != qRgb(0, 0, 0) ? 1 : 0;
      }
      if (painted != static_cast<int>(pixels.size())) return false;
      for (const QPoint& pixel : pixels) {
        if (image.pixel(pixel) == qRgb(0, 0, 0)) return false;
      }
    }
    return true;
  }();
  return known;
}

// The pixels that marks and lines painted later paint over, for a picture of pixels looked at
// from its last operation back: a line or a mark all of whose pixels later ones paint is not
// painted. Round marks cover with the pixels their stamps hold (the very pixels painted), dots
// with their pixel (see DotsKnown), solid lines of two points straight down or steep with the
// pixels they paint (see SteepLinesKnown), other solid lines straight down with the rows they
// surely paint (see StraightDownPolylinesKnown and VerticalLinesKnown); a line is taken as the
// box of its points and two pixels around it, which holds every pixel the painter's line of
// one pixel paints (one straight down as its column, a row beyond its ends), and as many as
// SteepLineOf and StraightDownPolylineOf have for those they know. The pixel of a picture is
// then the last one painted on it by what is painted, as by everything: lines and marks paint
// without blending, and what blends (texts, translucent areas) is never left out.
// The bits go down the columns: a line of a dense series is a few columns wide and many rows
// high.
class Coverage {
 public:
  Coverage(int width, int height, EllipseStamps& stamps)
      : width_(width), height_(height), words_((static_cast<std::size_t>(height) + 63) / 64),
        bits_(words_ * static_cast<std::size_t>(width), 0), stamps_(stamps) {}

  // Nothing covered, as before the first operation looked at.
  void Clear() {
    if (touchedLeft_ <= touchedRight_) {
      std::fill(bits_.begin() + static_cast<std::ptrdiff_t>(static_cast<std::size_t>(touchedLeft_) * words_),
                bits_.begin() + static_cast<std::ptrdiff_t>(static_cast<std::size_t>(touchedRight_ + 1) * words_), 0);
    }
    touchedLeft_ = width_;
    touchedRight_ = -1;
    cleared_ = false;
    ++generation_;
  }

  // Whether later operations paint every pixel of a round mark; one that shows is taken into
  // the cover.
  bool MarkHidden(const ShapeOp& shape, const Mapping& mapping) {
    if (cleared_) return true;
    // WholePixels(mapping.Box(...)), without building boxes; the columns of the mark looked at
    // before serve again for one at the same chart X (most of a dense series share theirs).
    Across& across = across_;
    if (!(across.known && shape.x1 == across.x1 && shape.x2 == across.x2 && mapping.left == across.left &&
          mapping.sx == across.sx)) {
      across = {shape.x1, shape.x2, mapping.left, mapping.sx, true, false, 0, 0};
      across.near = WholeSpan(mapping.MapX(shape.x1), mapping.MapX(shape.x2), across.start, across.length);
    }
    int top = 0, height = 0;
    if (!across.near || !WholeSpan(mapping.MapY(shape.y1), mapping.MapY(shape.y2), top, height) ||
        across.length <= 0 || height <= 0) {
      return false;
    }
    const QRect whole(across.start, top, across.length, height);
    // A mark painted again later on the same pixels in the same colours is covered by them.
    const auto pair = [](int a, int b) { return static_cast<std::uint32_t>(a) | std::uint64_t{static_cast<std::uint32_t>(b)} << 32; };
    const std::uint64_t place = pair(whole.x(), whole.y()), size = pair(whole.width(), whole.height());
    const std::uint64_t colours = pair(static_cast<int>(shape.pen), static_cast<int>(shape.fill));
    SeenMark& seen = seen_[(place * 0x9E3779B97F4A7C15U) >> 52];
    if (seen.place == place && seen.size == size && seen.colours == colours && seen.generation == generation_) return true;
    const EllipseStamps::Stamp* stamp = stamps_.Find(whole.width(), whole.height(), shape.pen, shape.fill);
    if (stamp == nullptr) return false;
    seen = {place, size, colours, generation_};
    bool covered = true;
    for (const EllipseStamps::Run& run : stamp->columns) {
      const int y = whole.y() + run.dy;
      if (!Covered(whole.x() + run.dx, y, y + run.length)) {
        covered = false;
        break;
      }
    }
    if (covered) return true;
    for (const EllipseStamps::Run& run : stamp->columns) {
      const int y = whole.y() + run.dy;
      Cover(whole.x() + run.dx, y, y + run.length);
    }
    return false;
  }

  // Whether later operations paint every pixel of op; a round mark or a line straight down that
  // shows is taken into the cover. uncovered: for a line that shows, the box of its pixels that
  // nothing later paints (left as it was for a line off the picture or one none of whose box is
  // covered).
  bool Hidden(const DisplayList& list, const DisplayOp& op, const Mapping& mapping, QRect* uncovered = nullptr) {
    switch (op.kind) {
      case OpKind::Clear:
        cleared_ = true;  // what comes before is painted over
        return false;
      case OpKind::Ellipse:
        return MarkHidden(list.shapes[op.index], mapping);
      case OpKind::Polyline: {
        if (cleared_) return true;
        const PolylineOp& polyline = list.polylines[op.index];
        if (IsDot(list, op) && polyline.drawn <= polyline.count && polyline.style == kPenSolid && DotsKnown()) {
          const PointF& point = list.points[polyline.first];
          const QPointF p = mapping.Map(point.x, point.y);
          if (!OnPicture(QRectF(p, p))) return false;
          const QPoint pixel = NearestPixel(p);
          // One off the picture is kept as drawn (the dots tried lie on it).
          if (pixel.x() < 0 || pixel.x() >= width_ || pixel.y() < 0 || pixel.y() >= height_) return false;
          if (Covered(pixel.x(), pixel.y(), pixel.y() + 1)) return true;
          Cover(pixel.x(), pixel.y(), pixel.y() + 1);
          return false;
        }
        double left = HUGE_VAL, top = HUGE_VAL, right = -HUGE_VAL, bottom = -HUGE_VAL;
        mapped_.resize(polyline.count);
        for (std::uint32_t k = 0; k < polyline.count; ++k) {
          const PointF& point = list.points[polyline.first + k];
          const QPointF p = mapping.Map(point.x, point.y);
          mapped_[k] = p;
          left = std::min(left, p.x());
          right = std::max(right, p.x());
          top = std::min(top, p.y());
          bottom = std::max(bottom, p.y());
        }
        if (polyline.style == kPenSolid) {
          const std::optional<bool> hidden = SteepHidden(mapped_.data(), polyline.count, uncovered);
          if (hidden) return *hidden;
        }
        constexpr double kAround = 2;
        if (!OnPicture(QRectF(QPointF(left, top), QPointF(right, bottom)))) return false;
        if (left == right && top < bottom && polyline.style == kPenSolid && polyline.count <= kPaintedPointByPoint) {
          // Straight down (the records of a dense series that share a chart position).
          const std::optional<StraightDownPolyline> line =
              StraightDownPolylineOf(mapped_.data(), polyline.count, width_, height_);
          if (line && StraightDownPolylinesKnown()) {
            if (Covered(line->x, line->top, line->bottom + 1)) return true;
            if (uncovered != nullptr) *uncovered = Uncovered(line->x, line->x, line->top, line->bottom + 1);
            RowsOfPoints(mapped_.data(), polyline.count, rows_);
            for (std::size_t k = 1; k < rows_.size(); ++k) Cover(line->x, rows_[k - 1] + 1, rows_[k]);
            return false;
          }
        }
        if (left == right && top < bottom && polyline.style == kPenSolid && VerticalLinesKnown()) {
          // Straight down (the records of a dense series that share a chart position): the
          // painter paints column floor(x) alone, from the row before the top one to the row
          // after the bottom one, and every row strictly between surely. Those cover what
          // came before, as marks do.
          const int x = FloorNear(left);
          if (StraightDownCovered(x, top, bottom, uncovered)) return true;
          // Each segment surely paints its inner rows (a crowded line is painted through its
          // lowest and highest points, whose segment holds them all).
          for (std::uint32_t k = 1; k < polyline.count; ++k) {
            const double a = mapped_[k - 1].y(), b = mapped_[k].y();
            CoverInnerRows(x, std::min(a, b), std::max(a, b));
          }
          return false;
        }
        // The box's columns and rows on the picture (the rest counts as covered); every column
        // is tested with the same masks.
        const int x0 = std::max(static_cast<int>(std::floor(left - kAround)), 0);
        const int x1 = std::min(static_cast<int>(std::ceil(right + kAround)), width_ - 1);
        const int y0 = std::max(static_cast<int>(std::floor(top - kAround)), 0);
        const int y1 = std::min(static_cast<int>(std::ceil(bottom + kAround)), height_ - 1) + 1;
        if (x0 > x1 || y0 >= y1) return true;
        if (BoxCovered(x0, x1, y0, y1)) return true;
        if (uncovered != nullptr) *uncovered = Uncovered(x0, x1, y0, y1);
        return false;
      }
      default:
        return false;
    }
  }

  // Whether SegmentStraightDownHidden would find every solid line straight down at x, with
  // both ends between the Ys low and high, covered now; false where that is not sure. The
  // mapping keeps the order of Ys (or turns it round for all), so their rows lie within those
  // of low and high.
  bool StraightDownAllCovered(float x, float low, float high, const Mapping& mapping) {
    if (cleared_ || !VerticalLinesKnown()) return false;
    const std::optional<StraightDown> line = StraightDownOnPicture(x, low, high, mapping);
    return line && StraightDownCovered(line->x, line->top, line->bottom, nullptr);
  }

  // For a solid line from `from` to `to` straight down on the picture (see Hidden), whether
  // later operations paint over it (one that shows covers what came before); nothing for other
  // lines, which Hidden looks at.
  std::optional<bool> SegmentStraightDownHidden(const PointF& from, const PointF& to, const Mapping& mapping) {
    if (cleared_) return std::nullopt;
    const QPointF points[2] = {mapping.Map(from.x, from.y), mapping.Map(to.x, to.y)};
    const std::optional<bool> steep = SteepHidden(points, 2, nullptr);
    if (steep) return steep;
    if (!(from.x == to.x && from.y != to.y && VerticalLinesKnown())) return std::nullopt;
    const std::optional<StraightDown> line = StraightDownOnPicture(from.x, from.y, to.y, mapping);
    if (!line) return std::nullopt;
    if (StraightDownCovered(line->x, line->top, line->bottom, nullptr)) return true;
    CoverInnerRows(line->x, line->top, line->bottom);
    return false;
  }

 private:
  // For a line with these points on the picture that SteepLineOf knows, whether later operations
  // paint every pixel it may paint; one that shows covers what it surely paints, and
  // uncovered (when asked for) gets the box of its pixels that nothing later paints. Nothing
  // for other lines.
  std::optional<bool> SteepHidden(const QPointF* points, std::uint32_t count, QRect* uncovered) {
    const std::optional<SteepLine> line = SteepLineOf(points, count, width_, height_);
    if (!line || !SteepLinesKnown()) return std::nullopt;
    bool covered = true;
    for (int x = line->left; x <= line->right && covered; ++x) covered = Covered(x, line->top, line->bottom + 1);
    if (covered) return true;
    if (uncovered != nullptr) *uncovered = Uncovered(line->left, line->right, line->top, line->bottom + 1);
    if (line->exact) {
      if (line->unsure < line->top || line->unsure > line->bottom) {
        Cover(line->left, line->top, line->bottom + 1);
      } else {
        Cover(line->left, line->top, line->unsure);
        Cover(line->left, line->unsure + 1, line->bottom + 1);
      }
    }
    return false;
  }

  // A line straight down at x from y1 to y2 on the picture: its column, and its top and bottom
  // in pixels; nothing for one far off it.
  struct StraightDown {
    int x = 0;
    double top = 0, bottom = 0;
  };
  static std::optional<StraightDown> StraightDownOnPicture(float x, float y1, float y2, const Mapping& mapping) {
    const QPointF a = mapping.Map(x, y1), b = mapping.Map(x, y2);
    const double top = std::min(a.y(), b.y()), bottom = std::max(a.y(), b.y());
    if (!OnPicture(QRectF(QPointF(a.x(), top), QPointF(a.x(), bottom)))) return std::nullopt;
    return StraightDown{FloorNear(a.x()), top, bottom};
  }

  // The bits of the pixels from y to y1 (or the end of its word) within y's word.
  static std::uint64_t WordMask(int y, int y1) {
    const int bit = y & 63;
    const int n = std::min(64 - bit, y1 - y);
    return (n == 64 ? ~std::uint64_t{0} : ((std::uint64_t{1} << n) - 1)) << bit;
  }

  // Whether the pixels a line straight down on column x from top to bottom may paint are all
  // covered; if not, uncovered gets the box of those that are not.
  bool StraightDownCovered(int x, double top, double bottom, QRect* uncovered) {
    const int y0 = std::max(FloorNear(top) - 1, 0);
    const int y1 = std::min(CeilNear(bottom) + 1, height_ - 1) + 1;
    if (x < 0 || x >= width_ || y0 >= y1 || Covered(x, y0, y1)) return true;
    if (uncovered != nullptr) *uncovered = Uncovered(x, x, y0, y1);
    return false;
  }

  // The rows strictly between a segment's ends, which a line straight down surely paints.
  void CoverInnerRows(int x, double top, double bottom) {
    Cover(x, CeilNear(top) + 1, FloorNear(bottom));
  }

  // Whether the pixels of columns [x0, x1] and rows [y0, y1), all on the picture, are covered;
  // every column is tested with the same masks.
  [[nodiscard]] bool BoxCovered(int x0, int x1, int y0, int y1) const {
    const int first = y0 >> 6, last = (y1 - 1) >> 6;
    const std::uint64_t* column = bits_.data() + static_cast<std::size_t>(x0) * words_;
    if (first == last) {
      const std::uint64_t mask = WordMask(y0, y1);
      for (int x = x0; x <= x1; ++x, column += words_) {
        if ((column[first] & mask) != mask) return false;
      }
      return true;
    }
    const std::uint64_t head = WordMask(y0, y1), tail = WordMask(last << 6, y1);
    for (int x = x0; x <= x1; ++x, column += words_) {
      if ((column[first] & head) != head || (column[last] & tail) != tail) return false;
      for (int w = first + 1; w < last; ++w) {
        if (column[w] != ~std::uint64_t{0}) return false;
      }
    }
    return true;
  }

  // The box of the pixels of columns [x0, x1] and rows [y0, y1), all on the picture, that are
  // not covered; none when that is the whole box (a long line clipped to it costs more than one
  // painted whole) or the box is small (clipping costs more than the pixels it saves; what
  // later operations paint, they paint over).
  [[nodiscard]] QRect Uncovered(int x0, int x1, int y0, int y1) const {
    constexpr int kLeastClipped = 1024;  // pixels of the box
    if ((x1 - x0 + 1) * (y1 - y0) < kLeastClipped) return {};
    int left = width_, right = -1, top = height_, bottom = -1;
    const int first = y0 >> 6, last = (y1 - 1) >> 6;
    for (int x = x0; x <= x1; ++x) {
      const std::uint64_t* column = bits_.data() + static_cast<std::size_t>(x) * words_;
      for (int w = first; w <= last; ++w) {
        const std::uint64_t open = ~column[w] & WordMask(std::max(y0, w << 6), y1);
        if (open == 0) continue;
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, (w << 6) + LowestBit(open));
        bottom = std::max(bottom, (w << 6) + HighestBit(open));
      }
    }
    if (right < left || (left == x0 && right == x1 && top == y0 && bottom == y1 - 1)) return {};
    return {left, top, right - left + 1, bottom - top + 1};
  }

  // Of a word that is not 0.
  static int LowestBit(std::uint64_t word) { return static_cast<int>(qCountTrailingZeroBits(word)); }
  static int HighestBit(std::uint64_t word) { return 63 - static_cast<int>(qCountLeadingZeroBits(word)); }

  // Whether the pixels [y0, y1) of column x are all covered; those off the picture are.
  [[nodiscard]] bool Covered(int x, int y0, int y1) const {
    if (x < 0 || x >= width_) return true;
    y0 = std::max(y0, 0);
    y1 = std::min(y1, height_);
    const std::uint64_t* column = bits_.data() + static_cast<std::size_t>(x) * words_;
    for (int y = y0; y < y1;) {
      const std::uint64_t mask = WordMask(y, y1);
      if ((column[y >> 6] & mask) != mask) return false;
      y = (y | 63) + 1;
    }
    return true;
  }

  void Cover(int x, int y0, int y1) {
    if (x < 0 || x >= width_) return;
    touchedLeft_ = std::min(touchedLeft_, x);
    touchedRight_ = std::max(touchedRight_, x);
    y0 = std::max(y0, 0);
    y1 = std::min(y1, height_);
    std::uint64_t* column = bits_.data() + static_cast<std::size_t>(x) * words_;
    for (int y = y0; y < y1; y = (y | 63) + 1) column[y >> 6] |= WordMask(y, y1);
  }

  // The round marks looked at since the last Clear, by the place of their pixels.
  struct SeenMark {
    std::uint64_t place = 0, size = 0, colours = 0;  // pairs of left and top, width and height, pen and fill
    std::uint64_t generation = 0;
  };
  std::vector<SeenMark> seen_ = std::vector<SeenMark>(std::size_t{1} << 12);
  // The whole columns of the mark looked at last, by its X and the mapping's.
  struct Across {
    double x1 = 0, x2 = 0, left = 0, sx = 0;
    bool known = false, near = false;
    int start = 0, length = 0;
  };
  Across across_;
  std::vector<QPointF> mapped_;  // a line's points on the picture
  std::vector<int> rows_;        // and their rows
  std::uint64_t generation_ = 1;
  int width_, height_;
  std::size_t words_;  // a column's
  std::vector<std::uint64_t> bits_;
  EllipseStamps& stamps_;
  bool cleared_ = false;
  int touchedLeft_ = width_, touchedRight_ = -1;  // the columns covered since the last Clear
};

// Error dots, threshold boxes and single-point dots come one per record: millions of them
// pile up on the same few pixels. A mark drawn again later at the same pixels covers what the
// earlier one drew, so only the last of each is painted; the cost is then bound by the
// pixels, not the records. Marks are told apart by their key at the current mapping.
class LastMarks {
 public:
  // cover: on a picture of pixels, also leaves out what later operations paint over (see Coverage).
  LastMarks(const DisplayList& list, QSizeF size, Coverage* cover = nullptr) : repeated_(list.ops.size(), false) {
    // From the last operation back: a key seen already belongs to a later mark. Each operation
    // is mapped by the last scale before it.
    std::size_t marks = 0;
    for (const DisplayOp& op : list.ops) {
      // With a cover, round marks are not kept as keys.
      marks += (op.kind == OpKind::Ellipse && cover == nullptr) || op.kind == OpKind::Rectangle ||
                       op.kind == OpKind::Polyline
                   ? 1
                   : 0;
    }
    Mapping mapping = MappingBefore(list, list.scales.size(), size);
    MarkKeySet seen;
    // Most marks of a list reduced to pixels differ; a list of every record's mark repeats a few.
    constexpr std::size_t kMostReserved = std::size_t{1} << 18;
    seen.Reserve(std::min(marks, kMostReserved));
    for (std::uint32_t i = static_cast<std::uint32_t>(list.ops.size()); i-- > 0;) {
      const DisplayOp& op = list.ops[i];
      if (op.kind == OpKind::Scale) {
        mapping = MappingBefore(list, op.index, size);
        continue;
      }
      MarkKey key;
      // With a cover, a round mark painted again later is covered by its own pixels.
      if (!(cover != nullptr && op.kind == OpKind::Ellipse) && KeyOf(list, op, mapping, key) && !seen.Insert(key)) {
        repeated_[i] = true;
      } else if (cover != nullptr) {
        QRect uncovered;
        if (cover->Hidden(list, op, mapping, &uncovered)) {
          repeated_[i] = true;
        } else if (!uncovered.isNull()) {
          clips_.push_back({i, uncovered});
        }
      }
    }
  }

  // Whether op i is a mark that a later one paints over exactly (or, with a cover, an
  // operation later ones paint over).
  [[nodiscard]] bool Repeated(std::uint32_t i) const { return repeated_[i]; }

  // With a cover, the lines that show in part, each with the box of its pixels that later
  // marks do not paint, from the last operation back: a line painted only within its box
  // paints there what it paints whole (the painter clips a line without moving its pixels),
  // and the rest of it is painted over.
  [[nodiscard]] const std::vector<std::pair<std::uint32_t, QRect>>& Clips() const { return clips_; }

 private:
  static bool KeyOf(const DisplayList& list, const DisplayOp& op, const Mapping& mapping, MarkKey& key) {
    if (op.kind == OpKind::Rectangle || op.kind == OpKind::Ellipse) {
      const ShapeOp& shape = list.shapes[op.index];
      const QRectF box = mapping.Box(shape.x1, shape.y1, shape.x2, shape.y2);
      key = {WholePixel(box.left()), WholePixel(box.top()), WholePixel(box.right()), WholePixel(box.bottom()),
             shape.pen, shape.fill, static_cast<std::uint32_t>(op.kind)};
      return true;
    }
    if (op.kind == OpKind::Polyline) {
      const PolylineOp& polyline = list.polylines[op.index];
      // A polyline merged at one X is drawn as the line of all its points, not as a dot.
      if (polyline.count != 2 || polyline.drawn > polyline.count) return false;
      const PointF& a = list.points[polyline.first];
      const PointF& b = list.points[polyline.first + 1];
      if (a.x != b.x || a.y != b.y) return false;
      const QPointF p = mapping.Map(a.x, a.y);
      key = {WholePixel(p.x()), WholePixel(p.y()), 0, 0, polyline.pen, static_cast<Colour>(polyline.style),
             static_cast<std::uint32_t>(op.kind)};
      return true;
    }
    return false;
  }

  std::vector<bool> repeated_;
  std::vector<std::pair<std::uint32_t, QRect>> clips_;
};

// What one painting of a list keeps between operations: the pen and the brush it set last,
// which the next operation of the same colours keeps (an error record draws a line and a mark,
// in the same pen; a change of the painter's pen or brush costs more than either). Lines,
// points and texts do not use the brush, so on pixels it stays set between marks.
struct PaintState {
  std::vector<QPointF> mapped;
  bool penKnown = false;  // the painter's pen is penColour in penStyle, width 0
  Colour penColour = 0;
  std::int32_t penStyle = 0;
  bool brushSet = false;  // the painter's brush is brushColour
  Colour brushColour = 0;
  // A picture of pixels: error marks go on whole pixels (below).
  bool raster = false;
  const RasterTarget* target = nullptr;  // its pixels, when they can be written directly
  EllipseStamps stamps;
  // The columns painted, when the painter paints a band of the picture alone (it clips to it).
  const QRect* band = nullptr;

  void UsePen(QPainter& painter, Colour colour, std::int32_t style) {
    if (penKnown && penColour == colour && penStyle == style) return;
    painter.setPen(MakePen(colour, style));
    penKnown = true;
    penColour = colour;
    penStyle = style;
  }
  void UseBrush(QPainter& painter, Colour colour) {
    if (brushSet && brushColour == colour) return;
    painter.setBrush(ToQColor(colour));
    brushSet = true;
    brushColour = colour;
  }
  // Leaves the painter without a brush, as it was handed over.
  void End(QPainter& painter) {
    if (brushSet) painter.setBrush(Qt::NoBrush);
    brushSet = false;
  }
};

// Whether a line of one pixel through these points paints nothing in the band's columns: all
// of them lie two pixels or more to its left, or all to its right.
bool Beside(const std::vector<QPointF>& points, const QRect& band) {
  const auto left = [&band](const QPointF& p) { return p.x() < band.left() - 2; };
  const auto right = [&band](const QPointF& p) { return p.x() > band.right() + 2; };
  return std::all_of(points.begin(), points.end(), left) || std::all_of(points.begin(), points.end(), right);
}

// Paints one operation; a polyline from its point `firstPoint` on.
void PaintOp(QPainter& painter, const DisplayList& list, const DisplayOp& op, Mapping& mapping, QSizeF size,
             PaintState& state, std::uint32_t firstPoint = 0) {
  std::vector<QPointF>& mapped = state.mapped;
  // A vector picture writes the brush into what follows: it is taken off after the marks.
  if (!state.raster && state.brushSet && op.kind != OpKind::Rectangle && op.kind != OpKind::Ellipse &&
      op.kind != OpKind::Scale && op.kind != OpKind::Removed) {
    state.End(painter);
  }
  switch (op.kind) {
    case OpKind::Clear:
      painter.fillRect(QRectF(QPointF(0, 0), size), ToQColor(list.background));
      break;
    case OpKind::Scale:
      mapping = Mapping(list.scales[op.index], size);
      break;
    case OpKind::Polyline: {
      const PolylineOp& polyline = list.polylines[op.index];
      MapPolyline(&list.points[polyline.first + firstPoint], polyline.count - firstPoint,
                  polyline.drawn > firstPoint ? polyline.drawn - firstPoint : 0, mapping, mapped);
      if (state.band != nullptr && Beside(mapped, *state.band)) break;
      state.UsePen(painter, polyline.pen, polyline.style);
      if (mapped.size() == 2 && mapped[0] == mapped[1]) {
        painter.drawPoint(mapped[0]);
      } else {
        painter.drawPolyline(mapped.data(), static_cast<int>(mapped.size()));
      }
      break;
    }
    case OpKind::Rectangle:
    case OpKind::Ellipse: {
      const ShapeOp& shape = list.shapes[op.index];
      state.UsePen(painter, shape.pen, kPenSolid);
      state.UseBrush(painter, shape.fill);
      const QRectF box = mapping.Box(shape.x1, shape.y1, shape.x2, shape.y2);
      if (op.kind == OpKind::Rectangle) {
        painter.drawRect(box);
      } else if (state.raster && OnPicture(box)) {
        // On the whole pixels of the mark's key, so that marks told apart by it paint the same
        // pixels when their keys are the same.
        const QRect whole = WholePixels(box);
        if (state.target == nullptr || !state.stamps.Paint(*state.target, whole.x(), whole.y(), whole.width(),
                                                           whole.height(), shape.pen, shape.fill)) {
          painter.drawEllipse(QRectF(whole.x(), whole.y(), whole.width(), whole.height()));
        }
      } else {
        painter.drawEllipse(box);
      }
      break;
    }
    case OpKind::Text:
      DrawText(painter, list.texts[op.index], mapping);
      state.penKnown = false;  // the text's colour
      break;
    case OpKind::Polygon: {
      const PolygonOp& polygon = list.polygons[op.index];
      mapped.clear();
      for (std::uint32_t i = 0; i < polygon.count; ++i) {
        const PointF& point = list.points[polygon.first + i];
        mapped.push_back(mapping.Map(point.x, point.y));
      }
      QColor fill = ToQColor(polygon.fill);
      fill.setAlpha(polygon.alpha);
      painter.setPen(Qt::NoPen);
      painter.setBrush(fill);
      painter.drawPolygon(mapped.data(), static_cast<int>(mapped.size()));
      painter.setBrush(Qt::NoBrush);
      state.penKnown = false;
      state.brushSet = false;
      break;
    }
    case OpKind::Removed:
      break;
  }
}

bool PaintsPixels(const QPainter& painter) {
  const QPaintEngine* engine = painter.paintEngine();
  return engine != nullptr && engine->type() == QPaintEngine::Raster;
}

// The pixels of the image a painter paints on, where marks may be written to them directly.
std::optional<RasterTarget> TargetOf(const QPainter& painter, QImage* image) {
  if (image == nullptr || image->format() != QImage::Format_RGB32 || image->devicePixelRatio() != 1 ||
      painter.device() != image || !painter.transform().isIdentity() || painter.hasClipping()) {
    return std::nullopt;
  }
  // The painter made the image's data its own when it began: this does not copy it.
  return RasterTarget{reinterpret_cast<QRgb*>(image->bits()), image->bytesPerLine() / 4, image->width(),
                      image->height()};
}

// Paints the operations that lastMarks keeps, into the band of state (the painter's clip) or
// all of the picture.
void PaintKept(QPainter& painter, const DisplayList& list, QSizeF size, PaintState& state, const LastMarks& lastMarks) {
  Mapping mapping(ScaleOp{0, 0, size.width(), size.height()}, size);
  const auto& clips = lastMarks.Clips();
  // A painter that clips already (to a part of a window) keeps its clip: lines are painted whole.
  // The next line to clip is clips[clip - 1].
  std::size_t clip = painter.hasClipping() && state.band == nullptr ? 0 : clips.size();
  for (std::uint32_t i = 0; i < list.ops.size(); ++i) {
    if (lastMarks.Repeated(i)) continue;
    if (clip > 0 && clips[clip - 1].first == i) {
      const QRect box = state.band != nullptr ? clips[--clip].second & *state.band : clips[--clip].second;
      if (box.isEmpty()) continue;
      painter.setClipRect(box);
      PaintOp(painter, list, list.ops[i], mapping, size, state);
      if (state.band != nullptr) {
        painter.setClipRect(*state.band);
      } else {
        painter.setClipping(false);
      }
      continue;
    }
    PaintOp(painter, list, list.ops[i], mapping, size, state);
  }
  state.End(painter);
}

void PaintList(QPainter& painter, const DisplayList& list, QSizeF size, const RasterTarget* target) {
  painter.fillRect(QRectF(QPointF(0, 0), size), ToQColor(list.background));
  PaintState state;
  state.raster = PaintsPixels(painter);
  state.target = target;
  // What later operations paint over is left out where the painter's pixels are the picture's.
  std::optional<Coverage> cover;
  const QPaintDevice* device = painter.device();
  if (state.raster && device != nullptr && painter.transform().isIdentity() && device->width() == size.width() &&
      device->height() == size.height()) {
    cover.emplace(device->width(), device->height(), state.stamps);
  }
  const LastMarks lastMarks(list, size, cover ? &*cover : nullptr);
  PaintKept(painter, list, size, state, lastMarks);
}

// The list painted into an image of its size as PaintList paints it, the left and the right
// half of its columns side by side on two threads: a painter clipped to a band paints there
// what it paints unclipped (as the lines clipped to what shows rely on), and each half is
// painted by one painter in the list's order. Both look at one set of what is left out.
void PaintListInHalves(QImage& image, const DisplayList& list, const RasterTarget& target) {
  const QSizeF size(image.width(), image.height());
  image.fill(ToQColor(list.background));
  EllipseStamps stamps;
  Coverage cover(image.width(), image.height(), stamps);
  const LastMarks lastMarks(list, size, &cover);
  uchar* const pixels = image.bits();  // once: bits() may count a detach
  const auto paintBand = [&](int left, int right) {
    // Another image on the same pixels, for a painter of its own.
    QImage view(pixels, image.width(), image.height(), image.bytesPerLine(), image.format());
    RasterTarget columns = target;
    columns.left = left;
    columns.right = right;
    const QRect band(left, 0, right - left, image.height());
    PaintState state;
    state.raster = true;
    state.target = &columns;
    state.band = &band;
    QPainter painter(&view);
    painter.setClipRect(band);
    PaintKept(painter, list, size, state, lastMarks);
  };
  const int middle = image.width() / 2;
  std::exception_ptr failure;
  std::thread right;
  try {
    right = std::thread([&] {
      try {
        paintBand(middle, image.width());
      } catch (...) {
        failure = std::current_exception();
      }
    });
  } catch (const std::system_error&) {
    paintBand(middle, image.width());  // no thread to be had
  }
  try {
    paintBand(0, middle);
  } catch (...) {
    if (right.joinable()) right.join();
    throw;
  }
  if (right.joinable()) right.join();
  if (failure) std::rethrow_exception(failure);
}

}  // namespace

struct CoveredLines::Parts {
  Parts(int width, int height) : size(width, height), cover(width, height, stamps) {}
  QSizeF size;
  EllipseStamps stamps;
  Coverage cover;
};

CoveredLines::CoveredLines(int width, int height) : parts_(std::make_unique<Parts>(width, height)) {}

CoveredLines::~CoveredLines() = default;

CoveredLines::FinderMaker CoveredLines::Finders(int width, int height) {
  return [width, height] {
    auto lines = std::make_shared<CoveredLines>(width, height);
    return Finder([lines](DisplayList& list, std::size_t from, std::size_t to) { return lines->LeaveOut(list, from, to); });
  };
}

namespace {

// The solid lines straight down at one X among the operations that end with operation `last`
// and begin no earlier than `from`, with the round marks between them: a series with an
// error mark on nearly every record draws such a line and a mark by turns, dozens of times
// at one chart position.
struct LinesStraightDown {
  std::size_t first = 0;  // the first of the operations
  float x = 0, low = 0, high = 0;  // where the lines run, and the lowest and highest Y of their ends
  bool any = false;
};

LinesStraightDown LinesStraightDownTo(const DisplayList& list, std::size_t from, std::size_t last) {
  constexpr std::size_t kMostOps = 32;
  LinesStraightDown lines;
  std::size_t i = last + 1;
  for (; i > from && last + 1 - i < kMostOps; --i) {
    const DisplayOp& op = list.ops[i - 1];
    if (op.kind == OpKind::Ellipse) continue;
    if (op.kind != OpKind::Polyline) break;
    const PolylineOp& line = list.polylines[op.index];
    if (line.count != 2 || line.style != kPenSolid) break;
    const PointF& a = list.points[line.first];
    const PointF& b = list.points[line.first + 1];
    // A Y that is not a number would slip past the lowest and highest.
    if (!(a.x == b.x && a.y != b.y) || std::isnan(a.y) || std::isnan(b.y) || (lines.any && a.x != lines.x)) break;
    if (!lines.any) lines = {0, a.x, a.y, a.y, true};
    lines.low = std::min({lines.low, a.y, b.y});
    lines.high = std::max({lines.high, a.y, b.y});
  }
  lines.first = i;
  return lines;
}

}  // namespace

std::size_t CoveredLines::LeaveOut(DisplayList& list, std::size_t from, std::size_t to) {
  Coverage& cover = parts_->cover;
  cover.Clear();
  Mapping mapping = MappingBefore(list, list.scales.size(), parts_->size);
  std::size_t removed = 0;
  // The lines from linesHiddenFrom on are covered (a run of lines straight down found so);
  // none is sought again above lookedDownTo.
  std::size_t linesHiddenFrom = std::numeric_limits<std::size_t>::max(), lookedDownTo = linesHiddenFrom;
  for (std::size_t i = list.ops.size(); i-- > from;) {
    DisplayOp& op = list.ops[i];
    switch (op.kind) {
      case OpKind::Clear:
        return removed;  // what comes before is painted over as it is
      case OpKind::Scale:
        mapping = MappingBefore(list, op.index, parts_->size);
        break;
      case OpKind::Ellipse:
        if (cover.MarkHidden(list.shapes[op.index], mapping) && i < to) {
          op.kind = OpKind::Removed;
          ++removed;
        }
        break;
      case OpKind::Polyline: {
        if (i >= to) break;
        if (i < lookedDownTo) {
          // Where the rows of all the lines of a run are covered, so is each line, whatever the
          // marks between them add (they are looked at one by one all the same), and a covered
          // line adds nothing.
          const LinesStraightDown lines = LinesStraightDownTo(list, from, i);
          lookedDownTo = lines.first;
          if (lines.any && cover.StraightDownAllCovered(lines.x, lines.low, lines.high, mapping)) {
            linesHiddenFrom = lines.first;
          }
        }
        if (i >= linesHiddenFrom) {
          op.kind = OpKind::Removed;
          ++removed;
          break;
        }
        // Most lines of a series cut at every record are one segment straight down.
        const PolylineOp& line = list.polylines[op.index];
        std::optional<bool> hidden;
        if (line.count == 2 && line.style == kPenSolid) {
          hidden = cover.SegmentStraightDownHidden(list.points[line.first], list.points[line.first + 1], mapping);
        }
        if (!hidden) hidden = cover.Hidden(list, op, mapping);
        if (*hidden) {
          op.kind = OpKind::Removed;
          ++removed;
        }
        break;
      }
      default:
        break;
    }
  }
  return removed;
}

void PaintDisplayList(QPainter& painter, const DisplayList& list, QSizeF size, QImage* image) {
  const std::optional<RasterTarget> target = TargetOf(painter, image);
  PaintList(painter, list, size, target ? &*target : nullptr);
}

PaintedEnd EndOf(const DisplayList& list) {
  PaintedEnd end;
  end.ops = list.ops.size();
  if (!list.ops.empty() && list.ops.back().kind == OpKind::Polyline) {
    end.lastCount = list.polylines[list.ops.back().index].count;
  }
  return end;
}

PaintedEnd PaintDisplayListAdded(QPainter& painter, const DisplayList& list, QSizeF size, PaintedEnd from,
                                 QImage* image) {
  if (from.ops > list.ops.size()) return from;
  // The mapping in force where the painted part ended.
  Mapping mapping(ScaleOp{0, 0, size.width(), size.height()}, size);
  for (std::size_t i = from.ops; i > 0; --i) {
    if (list.ops[i - 1].kind == OpKind::Scale) {
      mapping = Mapping(list.scales[list.ops[i - 1].index], size);
      break;
    }
  }
  PaintState state;
  state.raster = PaintsPixels(painter);
  const std::optional<RasterTarget> target = TargetOf(painter, image);
  state.target = target ? &*target : nullptr;
  std::size_t i = from.ops;
  // The polyline painted last may have grown: its new part goes on from its last painted point.
  if (from.ops > 0 && list.ops[from.ops - 1].kind == OpKind::Polyline && from.lastCount > 0) {
    const std::uint32_t count = list.polylines[list.ops[from.ops - 1].index].count;
    if (count > from.lastCount) PaintOp(painter, list, list.ops[from.ops - 1], mapping, size, state, from.lastCount - 1);
  }
  for (; i < list.ops.size(); ++i) PaintOp(painter, list, list.ops[i], mapping, size, state);
  state.End(painter);
  return EndOf(list);
}

QImage RenderDisplayList(const DisplayList& list, int width, int height) {
  QImage image(std::max(1, width), std::max(1, height), QImage::Format_RGB32);
  // Taken before the painter begins: the image is not shared, and its pixels stay where they are.
  const RasterTarget target{reinterpret_cast<QRgb*>(image.bits()), image.bytesPerLine() / 4, image.width(),
                            image.height()};
  // A long list (thousands of a dense series' lines that show in part) is painted in halves.
  constexpr std::size_t kOpsForHalves = 4096;
  if (list.ops.size() >= kOpsForHalves && image.width() >= 64) {
    PaintListInHalves(image, list, target);
    return image;
  }
  QPainter painter(&image);
  PaintList(painter, list, QSizeF(image.width(), image.height()), &target);
  painter.end();
  return image;
}

}  // namespace varst
