#pragma once
// The recorded drawing: every operation since the last clear, in drawing order. Consecutive
// line segments of one pen and style that join end to start are kept as one polyline of float
// points, so a series of millions of records costs eight bytes a point. A widget paints the
// list at any size; the same list renders into an image for the clipboard and for export.

#include <cstdint>
#include <string>
#include <vector>

#include "common/Colour.h"

namespace varst {

struct PointF {
  float x = 0;
  float y = 0;
};

// Removed: a mark that a later one paints over exactly, dropped by a list reduced to pixels.
enum class OpKind : std::uint8_t { Clear, Scale, Polyline, Rectangle, Ellipse, Text, Polygon, Removed };

struct ScaleOp {
  double left = 0;
  double top = 0;
  double width = 1;
  double height = 1;
};

// A polyline of up to this many points is painted point by point; of a longer one, whose
// points run left to right, only the first, lowest, highest and last of each pixel column.
inline constexpr std::uint32_t kPaintedPointByPoint = 64;

struct PolylineOp {
  Colour pen = 0;
  std::int32_t style = 0;
  std::uint32_t first = 0;  // index of the first point in DisplayList::points
  std::uint32_t count = 0;  // at least 2
  // The points drawn into it where more than count were drawn and points at one X were merged
  // (see RecordingSurface::MergePointsAtOneX); 0 otherwise. The painter takes a polyline for
  // as long as it was drawn.
  std::uint32_t drawn = 0;
};

// A filled area without outline, painted with `alpha` (0..255) over what lies below it.
struct PolygonOp {
  Colour fill = 0;
  std::uint8_t alpha = 255;
  std::uint32_t first = 0;  // index of the first point in DisplayList::points
  std::uint32_t count = 0;
};

struct ShapeOp {
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  Colour pen = 0;
  Colour fill = 0;
};

struct TextOp {
  double x = 0, y = 0;
  double size = 0;
  Colour colour = 0;
  std::string text;  // bytes as drawn
};

struct DisplayOp {
  OpKind kind = OpKind::Clear;
  std::uint32_t index = 0;  // into the vector of its kind
};

struct DisplayList {
  Colour background = 0;
  std::vector<DisplayOp> ops;
  std::vector<ScaleOp> scales;
  std::vector<PolylineOp> polylines;
  std::vector<PointF> points;
  std::vector<ShapeOp> shapes;  // rectangles and ellipses
  std::vector<TextOp> texts;
  std::vector<PolygonOp> polygons;

  void Reset(Colour back);
};

// Whether op is a polyline of one point drawn twice (a dot: a series' first point, a point
// after a break), which is a mark like the shapes.
inline bool IsDot(const DisplayList& list, const DisplayOp& op) {
  if (op.kind != OpKind::Polyline) return false;
  const PolylineOp& polyline = list.polylines[op.index];
  if (polyline.count != 2) return false;
  const PointF& a = list.points[polyline.first];
  const PointF& b = list.points[polyline.first + 1];
  return a.x == b.x && a.y == b.y;
}

// The list as text, one operation a line, polylines expanded into their segments:
//   clear
//   scale LEFT TOP WIDTH HEIGHT
//   line X1 Y1 X2 Y2 PEN STYLE
//   rect X1 Y1 X2 Y2 PEN FILL
//   ellipse X1 Y1 X2 Y2 PEN FILL
//   text X Y SIZE COLOUR STRING
//   polygon FILL ALPHA X1 Y1 X2 Y2 ...
// Numbers are the shortest texts that read back to the same double (-0 prints as 0); colours
// are six upper-case hexadecimal digits of the &HBBGGRR value; STRING is UTF-8.
[[nodiscard]] std::string DumpDisplayList(const DisplayList& list);

// Six upper-case hexadecimal digits of a colour's &HBBGGRR value.
[[nodiscard]] std::string ColourHex(Colour colour);

}  // namespace varst
