#include "platform/RecordingSurface.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace varst {
namespace {

// Points are kept as floats. A value beyond their range (a huge measured value) is held at
// the largest float instead of overflowing, which the language leaves undefined; it lies far
// outside any chart either way.
float ToFloat(double value) {
  constexpr double kLargest = std::numeric_limits<float>::max();
  if (std::isnan(value)) return std::numeric_limits<float>::quiet_NaN();
  return static_cast<float>(std::clamp(value, -kLargest, kLargest));
}

}  // namespace

RecordingSurface::RecordingSurface() { list_.Reset(0); }

void RecordingSurface::SetControlSize(double widthTwips, double heightTwips) {
  controlWidth_ = widthTwips;
  controlHeight_ = heightTwips;
}

void RecordingSurface::SetBackColor(Colour colour) {
  list_.background = colour;
  ++revision_;
}

void RecordingSurface::SetScale(double& field, double value) {
  if (field == value) return;
  field = value;
  scaleChanged_ = true;
}

void RecordingSurface::FlushScale() {
  if (!scaleChanged_) return;
  scaleChanged_ = false;
  list_.ops.push_back({OpKind::Scale, static_cast<std::uint32_t>(list_.scales.size())});
  list_.scales.push_back(scale_);
}

void RecordingSurface::Text(const std::string& text) {
  FlushScale();
  list_.ops.push_back({OpKind::Text, static_cast<std::uint32_t>(list_.texts.size())});
  list_.texts.push_back({currentX_, currentY_, fontSize_, textColor_, text});
  ++revision_;
}

void RecordingSurface::Line(double x1, double y1, double x2, double y2) {
  FlushScale();
  const PointF start{ToFloat(x1), ToFloat(y1)};
  const PointF end{ToFloat(x2), ToFloat(y2)};
  ++revision_;
  if (!list_.ops.empty() && list_.ops.back().kind == OpKind::Polyline) {
    PolylineOp& last = list_.polylines[list_.ops.back().index];
    const PointF& tail = list_.points.back();
    if (last.pen == penColor_ && last.style == penStyle_ && tail.x == start.x && tail.y == start.y) {
      list_.points.push_back(end);
      ++last.count;
      return;
    }
  }
  list_.ops.push_back({OpKind::Polyline, static_cast<std::uint32_t>(list_.polylines.size())});
  list_.polylines.push_back({penColor_, penStyle_, static_cast<std::uint32_t>(list_.points.size()), 2});
  list_.points.push_back(start);
  list_.points.push_back(end);
}

void RecordingSurface::AddShape(OpKind kind, double x1, double y1, double x2, double y2) {
  FlushScale();
  list_.ops.push_back({kind, static_cast<std::uint32_t>(list_.shapes.size())});
  list_.shapes.push_back({x1, y1, x2, y2, penColor_, fillColor_});
  ++revision_;
}

void RecordingSurface::Rectangle(double x1, double y1, double x2, double y2) {
  AddShape(OpKind::Rectangle, x1, y1, x2, y2);
}

void RecordingSurface::Ellipse(double x1, double y1, double x2, double y2) {
  AddShape(OpKind::Ellipse, x1, y1, x2, y2);
}

void RecordingSurface::FilledPolygon(const std::vector<double>& xy, Colour fill, int alpha) {
  if (xy.size() < 6) return;
  FlushScale();
  list_.ops.push_back({OpKind::Polygon, static_cast<std::uint32_t>(list_.polygons.size())});
  list_.polygons.push_back({fill, static_cast<std::uint8_t>(std::clamp(alpha, 0, 255)),
                            static_cast<std::uint32_t>(list_.points.size()), static_cast<std::uint32_t>(xy.size() / 2)});
  for (std::size_t i = 0; i + 1 < xy.size(); i += 2) list_.points.push_back({ToFloat(xy[i]), ToFloat(xy[i + 1])});
  ++revision_;
}

void RecordingSurface::Clear() {
  list_.Reset(list_.background);
  scaleChanged_ = true;
  ++revision_;
}

bool RecordingSurface::CopyPicture() {
  return copier_ && copier_(list_, exportWidth_, exportHeight_);
}

}  // namespace varst
