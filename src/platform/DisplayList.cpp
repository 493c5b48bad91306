#include "platform/DisplayList.h"

#include <cstdio>

#include "common/Numbers.h"
#include "common/TextEncoding.h"

namespace varst {

void DisplayList::Reset(Colour back) {
  background = back;
  ops.clear();
  scales.clear();
  polylines.clear();
  points.clear();
  shapes.clear();
  texts.clear();
  polygons.clear();
  ops.push_back({OpKind::Clear, 0});
}

std::string ColourHex(Colour colour) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "%06X", static_cast<unsigned>(colour) & 0xFFFFFFU);
  return buffer;
}

namespace {

void AppendNumbers(std::string& out, std::initializer_list<double> values) {
  for (double value : values) {
    out += ' ';
    out += ShortestText(value);
  }
}

void AppendShape(std::string& out, const char* name, const ShapeOp& shape) {
  out += name;
  AppendNumbers(out, {shape.x1, shape.y1, shape.x2, shape.y2});
  out += ' ' + ColourHex(shape.pen) + ' ' + ColourHex(shape.fill) + '\n';
}

}  // namespace

std::string DumpDisplayList(const DisplayList& list) {
  std::string out;
  for (const DisplayOp& op : list.ops) {
    switch (op.kind) {
      case OpKind::Clear:
        out += "clear\n";
        break;
      case OpKind::Scale: {
        const ScaleOp& scale = list.scales[op.index];
        out += "scale";
        AppendNumbers(out, {scale.left, scale.top, scale.width, scale.height});
        out += '\n';
        break;
      }
      case OpKind::Polyline: {
        const PolylineOp& polyline = list.polylines[op.index];
        const std::string tail = ' ' + ColourHex(polyline.pen) + ' ' + std::to_string(polyline.style) + '\n';
        for (std::uint32_t i = 1; i < polyline.count; ++i) {
          const PointF& a = list.points[polyline.first + i - 1];
          const PointF& b = list.points[polyline.first + i];
          out += "line";
          AppendNumbers(out, {a.x, a.y, b.x, b.y});
          out += tail;
        }
        break;
      }
      case OpKind::Rectangle:
        AppendShape(out, "rect", list.shapes[op.index]);
        break;
      case OpKind::Ellipse:
        AppendShape(out, "ellipse", list.shapes[op.index]);
        break;
      case OpKind::Polygon: {
        const PolygonOp& polygon = list.polygons[op.index];
        out += "polygon " + ColourHex(polygon.fill) + ' ' + std::to_string(polygon.alpha);
        for (std::uint32_t i = 0; i < polygon.count; ++i) {
          const PointF& point = list.points[polygon.first + i];
          AppendNumbers(out, {point.x, point.y});
        }
        out += '\n';
        break;
      }
      case OpKind::Removed:
        break;
      case OpKind::Text: {
        const TextOp& text = list.texts[op.index];
        out += "text";
        AppendNumbers(out, {text.x, text.y, text.size});
        out += ' ' + ColourHex(text.colour) + ' ' + ToDisplayUtf8(text.text) + '\n';
        break;
      }
    }
  }
  return out;
}

}  // namespace varst
