#include "platform/RecordingSurface.h"

#include "common/LargeBlocks.h"

#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <utility>

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

// The pixel column of a pixel coordinate: the whole number at or below it, without a library
// call for each point. Coordinates far off the picture (or not numbers) share the farthest
// column.
std::int64_t ColumnOf(double px) {
  constexpr double kFar = 4611686018427387904.0;  // 2^62
  if (!(px > -kFar)) return -(std::int64_t{1} << 62);
  if (!(px < kFar)) return std::int64_t{1} << 62;
  const auto whole = static_cast<std::int64_t>(px);  // towards zero
  return static_cast<double>(whole) > px ? whole - 1 : whole;
}

// Removed marks are dropped from the list once they outnumber what is left by this much.
constexpr std::size_t kCompactAfter = 1 << 16;

}  // namespace

// Finds what a batch of deferred lines and marks paints over of itself, on a thread of its
// own, one batch at a time.
class RecordingSurface::BatchLooker {
 public:
  explicit BatchLooker(CoveredLineFinder find) : find_(std::move(find)) {}
  BatchLooker(const BatchLooker&) = delete;
  BatchLooker& operator=(const BatchLooker&) = delete;
  ~BatchLooker() {
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
    }
    wake_.notify_one();
    if (thread_.joinable()) thread_.join();
  }

  // Starts on the operations [from, to) of batch, which the looker has to itself until Wait.
  void Start(DisplayList& batch, std::size_t from, std::size_t to) {
    if (!thread_.joinable()) {
      try {
        thread_ = std::thread([this] { Run(); });
      } catch (const std::system_error&) {
        // No thread to be had: the batch is looked at here and now.
        removed_ = Look(batch, from, to);
        return;
      }
    }
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      batch_ = &batch;
      from_ = from;
      to_ = to;
      busy_ = true;
      busyFlag_.store(true, std::memory_order_relaxed);
    }
    wake_.notify_one();
  }

  // Waits for the batch started last; answers how many of its operations it left out.
  std::size_t Wait() {
    std::unique_lock<std::mutex> lock(mutex_);
    done_.wait(lock, [this] { return !busy_; });
    if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
    return removed_;
  }

  // Whether the batch started last is looked at (Wait does not wait).
  [[nodiscard]] bool Done() const { return !busyFlag_.load(std::memory_order_acquire); }

  // On the calling thread, with no batch started.
  std::size_t LookNow(DisplayList& batch, std::size_t from, std::size_t to) { return Look(batch, from, to); }

  // The operations of the batch looked at last that were not left out, in order.
  [[nodiscard]] const std::vector<std::uint32_t>& Kept() const { return kept_; }

 private:
  void Run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      wake_.wait(lock, [this] { return stop_ || batch_ != nullptr; });
      if (stop_) return;
      DisplayList& batch = *std::exchange(batch_, nullptr);
      const std::size_t from = from_, to = to_;
      lock.unlock();
      std::size_t removed = 0;
      std::exception_ptr failure;
      try {
        removed = Look(batch, from, to);
      } catch (...) {
        failure = std::current_exception();
      }
      lock.lock();
      removed_ = removed;
      failure_ = failure;
      busy_ = false;
      busyFlag_.store(false, std::memory_order_release);
      done_.notify_one();
    }
  }

  std::size_t Look(DisplayList& batch, std::size_t from, std::size_t to) {
    const std::size_t removed = find_(batch, from, to);
    kept_.clear();
    for (std::size_t i = from; i < to; ++i) {
      if (batch.ops[i].kind != OpKind::Removed) kept_.push_back(static_cast<std::uint32_t>(i));
    }
    return removed;
  }

  CoveredLineFinder find_;
  std::vector<std::uint32_t> kept_;
  std::mutex mutex_;
  std::condition_variable wake_, done_;
  DisplayList* batch_ = nullptr;
  std::size_t from_ = 0, to_ = 0, removed_ = 0;
  std::exception_ptr failure_;
  bool busy_ = false, stop_ = false;
  std::atomic<bool> busyFlag_{false};  // busy_, to be read without the lock
  std::thread thread_;  // last: it starts once the rest is there
};

// What is deferred, apart from the surface: the looker's thread works on it while the surface
// may move.
struct RecordingSurface::Deferral {
  explicit Deferral(CoveredLineFinder find) : looker(std::move(find)) {}
  DisplayList list;      // what is deferred, beginning with the scale
  DisplayList lookedAt;  // the batch before it, the looker's while looking_
  std::size_t lookingTo = 0;  // the operations of lookedAt before it are looked at
  BatchLooker looker;    // last: it stops before the lists go
};

RecordingSurface::RecordingSurface() { list_.Reset(0); }

void RecordingSurface::ReduceToPixels(int width, int height) {
  Settle();
  reduce_ = width > 0 && height > 0;
  pixelWidth_ = width;
  pixelHeight_ = height;
  UpdatePixelFactors();
}

void RecordingSurface::UpdatePixelFactors() {
  // As the painter maps: pixels a unit, worked out once for the scale.
  pixelsPerX_ = scale_.width != 0 ? pixelWidth_ / scale_.width : 0;
  pixelsPerY_ = scale_.height != 0 ? pixelHeight_ / scale_.height : 0;
}

double RecordingSurface::PixelX(double x) const { return (x - scale_.left) * pixelsPerX_; }

double RecordingSurface::PixelY(double y) const { return (y - scale_.top) * pixelsPerY_; }

void RecordingSurface::BeginColumn(std::int64_t column, std::uint32_t start, const PointF& point, double y) {
  // Field by field: a fresh run assigned whole goes through a copy that waits for its stores.
  run_.column = column;
  run_.start = start;
  run_.first = run_.low = run_.high = run_.last = point;
  run_.lowY = run_.highY = y;
  run_.lowAt = run_.highAt = run_.count = 0;
  run_.merging = true;
  run_.lastSeparate = false;
}

void RecordingSurface::ExtendReduced(PolylineOp& polyline, const PointF& end) {
  const double px = PixelX(end.x);
  const auto column = std::isfinite(px) ? ColumnOf(px) : run_.column + 1;
  if (column != run_.column) {
    list_.points.push_back(end);
    ++polyline.count;
    BeginColumn(column, static_cast<std::uint32_t>(list_.points.size() - 1), end, PixelY(end.y));
    return;
  }
  // The same column: keep its first, lowest, highest and last point, in the order they came,
  // as the painter keeps them from every point.
  UpdateRun(polyline, end, PixelY(end.y));
}

bool RecordingSurface::AddToRun(const PointF& end, double y) {
  const std::uint64_t at = ++run_.count;
  run_.last = end;
  bool extreme = false;
  if (y < run_.lowY) run_.low = end, run_.lowY = y, run_.lowAt = at, extreme = true;
  if (y > run_.highY) run_.high = end, run_.highY = y, run_.highAt = at, extreme = true;
  return extreme;
}

void RecordingSurface::UpdateRun(PolylineOp& polyline, const PointF& end, double y) {
  const bool extreme = AddToRun(end, y);
  // The second point of a run that holds only its first: both are kept (the first point of a
  // line cut at a mark, most often).
  if (run_.count == 1 && list_.points.size() == run_.start + 1 && !(end.x == run_.first.x && end.y == run_.first.y)) {
    list_.points.push_back(end);
    ++polyline.count;
    run_.lastSeparate = !extreme;
    return;
  }
  // Most points are neither the lowest nor the highest: only the last point changes, in place,
  // unless it now falls on the point before it.
  if (!extreme && run_.lastSeparate) {
    const PointF& before = list_.points[list_.points.size() - 2];
    if (before.x != end.x || before.y != end.y) {
      list_.points.back() = end;
      return;
    }
  }
  KeepRunPoints(polyline);
}

void RecordingSurface::KeepRunPoints(PolylineOp& polyline) {
  const auto same = [](const PointF& a, const PointF& b) { return a.x == b.x && a.y == b.y; };
  PointF keep[4];
  std::size_t n = 0;
  keep[n++] = run_.first;
  const PointF& a = run_.lowAt <= run_.highAt ? run_.low : run_.high;
  const PointF& b = run_.lowAt <= run_.highAt ? run_.high : run_.low;
  if (!same(a, keep[n - 1])) keep[n++] = a;
  if (!same(b, keep[n - 1])) keep[n++] = b;
  run_.lastSeparate = !same(run_.last, keep[n - 1]);
  if (run_.lastSeparate) keep[n++] = run_.last;
  // A polyline of one point would paint nothing; the full one paints a dot.
  if (run_.start + n - polyline.first < 2) keep[n++] = run_.last;
  // In place of the run's points, without first filling what grows.
  std::vector<PointF>& points = list_.points;
  if (points.size() > run_.start + n) points.resize(run_.start + n);
  const std::size_t there = points.size() - run_.start;
  for (std::size_t k = 0; k < n; ++k) {
    if (k < there) {
      points[run_.start + k] = keep[k];
    } else {
      points.push_back(keep[k]);
    }
  }
  polyline.count = static_cast<std::uint32_t>(points.size() - polyline.first);
}

MarkKey RecordingSurface::KeyOfShape(OpKind kind, const ShapeOp& shape) const {
  const double x1 = PixelX(shape.x1), x2 = PixelX(shape.x2);
  const double y1 = PixelY(shape.y1), y2 = PixelY(shape.y2);
  return {WholePixel(std::min(x1, x2)), WholePixel(std::min(y1, y2)), WholePixel(std::max(x1, x2)),
          WholePixel(std::max(y1, y2)), shape.pen, shape.fill, static_cast<std::uint32_t>(kind)};
}

MarkKey RecordingSurface::KeyOfDot(const PointF& p, Colour pen, std::int32_t style) const {
  return {WholePixel(PixelX(p.x)), WholePixel(PixelY(p.y)), 0, 0, pen, static_cast<Colour>(style),
          static_cast<std::uint32_t>(OpKind::Polyline)};
}

bool RecordingSurface::KeyOfMark(const DisplayOp& op, MarkKey& key) const {
  if (op.kind == OpKind::Rectangle || op.kind == OpKind::Ellipse) {
    key = KeyOfShape(op.kind, list_.shapes[op.index]);
    return true;
  }
  if (IsDot(list_, op)) {
    const PolylineOp& polyline = list_.polylines[op.index];
    key = KeyOfDot(list_.points[polyline.first], polyline.pen, polyline.style);
    return true;
  }
  return false;
}

void RecordingSurface::RemoveMark(std::uint32_t at) {
  // Left out already, as painted over by what came after it.
  if (list_.ops[at].kind == OpKind::Removed) return;
  list_.ops[at].kind = OpKind::Removed;
  ++generation_;
  ++removed_;
  CompactWhenMostlyRemoved();
}

void RecordingSurface::CompactWhenMostlyRemoved() {
  if (removed_ > kCompactAfter && removed_ > list_.ops.size() / 2) Compact();
}

void RecordingSurface::ForgetRepeatedMark() {
  const auto at = static_cast<std::uint32_t>(list_.ops.size() - 1);
  MarkKey key;
  if (!KeyOfMark(list_.ops[at], key)) return;
  if (list_.ops[at].kind == OpKind::Polyline) dotsMarked_ = true;
  const std::uint32_t before = marks_.Exchange(key, at);
  if (before != RecentMarks::kNone) RemoveMark(before);
}

bool RecordingSurface::Covers(OpKind kind, double x1, double y1, double x2, double y2, const PointF& p) const {
  // A pixel and a half inside the shape's edge, whichever way a coordinate falls on a pixel:
  // the shape's fill paints the dot's pixel whatever it held.
  constexpr double kMargin = 1.5;
  if (scale_.width == 0 || scale_.height == 0) return false;
  const double fx = pixelsPerX_, fy = pixelsPerY_;
  const double rx = std::fabs((x2 - x1) * fx) / 2, ry = std::fabs((y2 - y1) * fy) / 2;
  if (!(rx >= 2 * kMargin && ry >= 2 * kMargin)) return false;
  const double dx = std::fabs((p.x - (x1 + x2) / 2) * fx) + kMargin;
  const double dy = std::fabs((p.y - (y1 + y2) / 2) * fy) + kMargin;
  // (dx / rx)^2 + (dy / ry)^2 <= 1 for an ellipse, without dividing.
  return kind == OpKind::Ellipse ? dx * dx * ry * ry + dy * dy * rx * rx <= rx * rx * ry * ry : dx <= rx && dy <= ry;
}

void RecordingSurface::DropDotUnder(OpKind kind, double x1, double y1, double x2, double y2) {
  if (dotHeld_) {
    if (!Covers(kind, x1, y1, x2, y2, heldDot_)) {
      Settle();
      return;
    }
    // The dot goes as if it had been drawn and painted over. An earlier dot it repeats stays
    // where it is, painted as the whole drawing paints it: looking it up would cost a search
    // for every marked record of a series broken at every record.
    dotHeld_ = false;
    return;
  }
  // The list's last operation is the last drawn only while no mark waits.
  if (waitingMarks_ != 0 || list_.ops.empty() || !IsDot(list_, list_.ops.back())) return;
  const PolylineOp& polyline = list_.polylines[list_.ops.back().index];
  if (!Covers(kind, x1, y1, x2, y2, list_.points[polyline.first])) return;
  if (dotsMarked_) {
    MarkKey key;
    KeyOfMark(list_.ops.back(), key);
    const std::uint32_t before = marks_.Take(key);
    if (before != RecentMarks::kNone) RemoveMark(before);
  }
  list_.points.resize(list_.polylines.back().first);
  list_.polylines.pop_back();
  list_.ops.pop_back();
}

void RecordingSurface::HoldDot(const PointF& point) {
  dotHeld_ = true;
  // Field by field: a copy of the whole point would read back the two halves just written.
  heldDot_.x = point.x;
  heldDot_.y = point.y;
  heldPen_ = penColor_;
  heldStyle_ = penStyle_;
}

void RecordingSurface::AddHeldDot() {
  dotHeld_ = false;
  PushOp(OpKind::Polyline, list_.polylines.size());
  list_.polylines.push_back({heldPen_, heldStyle_, static_cast<std::uint32_t>(list_.points.size()), 2});
  list_.points.push_back(heldDot_);
  list_.points.push_back(heldDot_);
  // Its run begins at the second point: a line that goes on from the dot keeps the point twice,
  // as the whole record does (the painter paints such a line's first pixel otherwise).
  BeginColumn(ColumnOf(PixelX(heldDot_.x)), list_.polylines.back().first + 1, heldDot_, PixelY(heldDot_.y));
}

void RecordingSurface::LeaveOutCovered() {
  const std::size_t to = list_.ops.size() - kCoverReach;
  const std::size_t removed = leaveOut_(list_, coverChecked_, to);
  coverChecked_ = to;
  if (removed == 0) return;
  ++generation_;
  removed_ += removed;
  CompactWhenMostlyRemoved();
}

void RecordingSurface::Compact() {
  // In place: every kept item moves down its array, in order, so the arrays keep their memory
  // and the next marks fill it again without fresh pages.
  DisplayList& list = list_;
  std::uint32_t runOffset = 0;
  const bool lastIsPolyline = list.ops.back().kind == OpKind::Polyline;
  std::uint32_t ops = 0, scales = 0, polylines = 0, shapes = 0, texts = 0, polygons = 0, points = 0;
  // Moves a run of points down to the kept ones (points lie in the order of their operations);
  // answers where it starts now.
  const auto keepPoints = [&](std::uint32_t first, std::uint32_t count) {
    const std::uint32_t at = points;
    // Most runs are a few points: a call to copy each costs more than the copying.
    PointF* const data = list.points.data();
    if (first != at) {
      for (std::uint32_t k = 0; k < count; ++k) data[at + k] = data[first + k];
    }
    points += count;
    return at;
  };
  const std::size_t last = list.ops.size() - 1;
  // Where each kept operation goes, for the marks seen lately.
  std::vector<std::uint32_t> newIndex(list.ops.size(), RecentMarks::kNone);
  std::size_t checked = 0;  // where the operations looked at for covered lines end now
  for (std::size_t i = 0; i <= last; ++i) {
    if (i == coverChecked_) checked = ops;
    if (list.ops[i].kind != OpKind::Removed) newIndex[i] = ops;
    const DisplayOp op = list.ops[i];
    switch (op.kind) {
      case OpKind::Removed:
        continue;
      case OpKind::Clear:
        list.ops[ops++] = op;
        break;
      case OpKind::Scale:
        list.scales[scales] = list.scales[op.index];
        list.ops[ops++] = {op.kind, scales++};
        break;
      case OpKind::Polyline: {
        PolylineOp polyline = list.polylines[op.index];
        if (i == last) runOffset = run_.start - polyline.first;
        polyline.first = keepPoints(polyline.first, polyline.count);
        list.polylines[polylines] = polyline;
        list.ops[ops++] = {op.kind, polylines++};
        break;
      }
      case OpKind::Rectangle:
      case OpKind::Ellipse:
        list.shapes[shapes] = list.shapes[op.index];
        list.ops[ops++] = {op.kind, shapes++};
        break;
      case OpKind::Text:
        if (texts != op.index) list.texts[texts] = std::move(list.texts[op.index]);
        list.ops[ops++] = {op.kind, texts++};
        break;
      case OpKind::Polygon: {
        PolygonOp polygon = list.polygons[op.index];
        polygon.first = keepPoints(polygon.first, polygon.count);
        list.polygons[polygons] = polygon;
        list.ops[ops++] = {op.kind, polygons++};
        break;
      }
    }
  }
  coverChecked_ = coverChecked_ > last ? ops : checked;
  list.ops.resize(ops);
  list.scales.resize(scales);
  list.polylines.resize(polylines);
  list.shapes.resize(shapes);
  list.texts.resize(texts);
  list.polygons.resize(polygons);
  list.points.resize(points);
  if (lastIsPolyline) run_.start = list_.polylines.back().first + runOffset;
  marks_.Renumber(newIndex);
  removed_ = 0;
}

void RecordingSurface::ExpectFileBytes(std::uintmax_t bytes) {
  // A list reduced to pixels or merged at one X stays small whatever the files hold.
  if (reduce_ || mergeAtOneX_) return;
  // Records of result files take some 25 bytes a line; a guess on the low side costs one more
  // growth, one on the high side only address space (pages are taken as points are written).
  constexpr std::uintmax_t kBytesPerPoint = 20;
  const std::uintmax_t wanted = list_.points.size() + bytes / kBytesPerPoint;
  if (wanted <= list_.points.capacity() || wanted > list_.points.max_size()) return;
  try {
    list_.points.reserve(static_cast<std::size_t>(wanted));
  } catch (const std::bad_alloc&) {
    // Not that much room at once: the list grows as it always did.
    return;
  }
  // Hundreds of megabytes are written point by point.
  UseLargePages(list_.points.data(), list_.points.capacity() * sizeof(PointF));
}

void RecordingSurface::SetControlSize(double widthTwips, double heightTwips) {
  controlWidth_ = widthTwips;
  controlHeight_ = heightTwips;
}

void RecordingSurface::SetBackColor(Colour colour) {
  if (list_.background != colour) ++generation_;
  list_.background = colour;
  ++revision_;
}

void RecordingSurface::SetScale(double& field, double value) {
  if (field == value) return;
  // A dot held back belongs to the scale it was drawn at.
  Settle();
  field = value;
  scaleChanged_ = true;
  UpdatePixelFactors();
}

void RecordingSurface::FlushScale() {
  if (!scaleChanged_) return;
  Settle();
  scaleChanged_ = false;
  // Marks are told apart by their pixels, which a new scale moves.
  marks_.Clear();
  dotsMarked_ = false;
  list_.ops.push_back({OpKind::Scale, static_cast<std::uint32_t>(list_.scales.size())});
  list_.scales.push_back(scale_);
}

void RecordingSurface::Text(const std::string& text) {
  if (recordNothing_) return;
  Settle();
  mayDefer_ = false;
  FlushScale();
  if (reduce_) FinishDot();
  list_.ops.push_back({OpKind::Text, static_cast<std::uint32_t>(list_.texts.size())});
  list_.texts.push_back({currentX_, currentY_, fontSize_, textColor_, text});
  ++revision_;
}

void RecordingSurface::Line(double x1, double y1, double x2, double y2) {
  if (recordNothing_) return;
  const PointF start{ToFloat(x1), ToFloat(y1)};
  const PointF end{ToFloat(x2), ToFloat(y2)};
  bool breakDot = false;
  if (reduce_ && deferral_ != nullptr && !drawingBatch_) breakDot = NoteDenseDots(start, end);
  if (mayDefer_ || deferring_) {
    if (DeferLine(start, end, breakDot)) return;
    // What is deferred was drawn before it.
    if (deferring_) PassDeferred(false);
    mayDefer_ = false;
  }
  // A dot (the first point of a series, a point after a break) of a reduced list waits.
  const bool dot = reduce_ && start.x == end.x && start.y == end.y && std::isfinite(PixelX(start.x));
  // A dot on the held one, in its pen, is a line that goes on from it.
  const bool goesOn = dotHeld_ && !newPolyline_ && start.x == heldDot_.x && start.y == heldDot_.y &&
                      penColor_ == heldPen_ && penStyle_ == heldStyle_;
  if (dot && (waitingMarks_ != 0 || dotHeld_) && !goesOn && !scaleChanged_) {
    // A dot after waiting marks waits after them: the mark drawn next is most often its own.
    // A dot held before it, which nothing goes on from now, waits as a mark (a series broken
    // at every record, marked at some): repeated at its pixel, only the last one enters.
    if (dotHeld_) WaitHeldDot();
    ++revision_;
    HoldDot(start);
    return;
  }
  const bool dotWaits = dotHeld_;
  Settle();
  // A dot that waited begins the polyline this line goes on from (a series broken every few
  // records): as a polyline begun here, it is a time to look for covered lines.
  if (dotWaits) LeaveOutCoveredWhenDue();
  FlushScale();
  ++revision_;
  // Merging at one X keeps the painter's order of columns, which runs left to right only
  // while X grows to the right.
  const bool merging = mergeAtOneX_ && !reduce_ && scale_.width > 0;
  if (!newPolyline_ && !list_.ops.empty() && list_.ops.back().kind == OpKind::Polyline) {
    PolylineOp& last = list_.polylines[list_.ops.back().index];
    const PointF& tail = list_.points.back();
    if (last.pen == penColor_ && last.style == penStyle_ && tail.x == start.x && tail.y == start.y) {
      if (reduce_) {
        ExtendReduced(last, end);
        return;
      }
      if (!merging) {
        list_.points.push_back(end);
        ++last.count;
        return;
      }
      if (ExtendMerged(last, end)) return;
    }
  }
  if (reduce_) FinishDot();
  if (dot) {
    HoldDot(start);
    return;
  }
  PushOp(OpKind::Polyline, list_.polylines.size());
  const auto first = static_cast<std::uint32_t>(list_.points.size());
  if (reduce_) {
    PolylineOp& polyline = list_.polylines.emplace_back(PolylineOp{penColor_, penStyle_, first, 1});
    list_.points.push_back(start);
    BeginColumn(ColumnOf(PixelX(start.x)), first, start, PixelY(start.y));
    ExtendReduced(polyline, end);
    LeaveOutCoveredWhenDue();
    return;
  }
  list_.polylines.push_back({penColor_, penStyle_, first, 2});
  list_.points.push_back(start);
  list_.points.push_back(end);
  if (merging) {
    PolylineOp& polyline = list_.polylines.back();
    list_.points.pop_back();
    polyline.count = 1;
    polyline.drawn = 1;
    BeginColumn(0, polyline.first, start, start.y);
    ExtendMerged(polyline, end);
  }
}

bool RecordingSurface::NoteDenseDots(const PointF& start, const PointF& end) {
  ++linesDrawn_;
  // A dot that does not go on from where the line before ended: a point after a break.
  const bool breakDot = start.x == end.x && start.y == end.y && !(start.x == lastEnd_.x && start.y == lastEnd_.y);
  // Field by field: a copy of the whole point would read back the two halves just written.
  lastEnd_.x = end.x;
  lastEnd_.y = end.y;
  if (!breakDot) return false;
  const std::uint64_t since = linesDrawn_ - dotLine_;
  dotLine_ = linesDrawn_;
  const bool close = since >= 2 && since <= kMostLinesBetweenDots;
  denseDots_ = close ? std::min(denseDots_ + 1, kDenseMarks) : 0;
  if (denseDots_ >= kDenseMarks) mayDefer_ = true;
  return true;
}

bool RecordingSurface::DeferLine(const PointF& start, const PointF& end, bool breakDot) {
  if (scaleChanged_) return false;
  DisplayList& deferred = deferral_->list;
  if (!deferring_) {
    // A dot (a series' first point, a point after a break) begins nothing where marks close
    // together let lines be deferred: where every record breaks the series, its dots and marks
    // go on as they come. Where a series breaks every few records, a point after a break
    // begins the deferral.
    const bool dot = start.x == end.x && start.y == end.y;
    if (dot && !(breakDot && denseDots_ >= kDenseMarks)) return false;
    // Until a batch begun so was found mostly painted over, the batches are small.
    batchLimit_ = dot && !dotsConfirmed_ ? kDeferredBatch / 8 : kDeferredBatch;
    deferred.ops.push_back({OpKind::Scale, 0});
    deferred.scales.assign(1, scale_);
    deferring_ = true;
  } else if (deferred.ops.back().kind == OpKind::Polyline) {
    PolylineOp& line = deferred.polylines[deferred.ops.back().index];
    const PointF& tail = deferred.points.back();
    if (line.pen == penColor_ && line.style == penStyle_ && tail.x == start.x && tail.y == start.y) {
      // A series that goes on unbroken and unmarked waits no more: its points go into the list,
      // reduced there, instead of piling up here with every record that follows.
      if (line.count >= kMostDeferredPoints) return false;
      deferred.points.push_back(end);
      ++line.count;
      ++revision_;
      return true;
    }
    // A line that breaks off waits no more; a dot after a break (a series broken every other
    // record, marked at the rest) waits as an operation of its own, drawn as it came.
    if (start.x != end.x || start.y != end.y) return false;
  }
  // Field by field, in place: a whole one built first is read back before its stores end.
  DisplayOp& op = deferred.ops.emplace_back();
  op.kind = OpKind::Polyline;
  op.index = static_cast<std::uint32_t>(deferred.polylines.size());
  PolylineOp& line = deferred.polylines.emplace_back();
  line.pen = penColor_;
  line.style = penStyle_;
  line.count = 2;
  // Most begin where the line before the mark ended: the two share that point.
  const std::size_t points = deferred.points.size();
  if (points != 0 && deferred.points.back().x == start.x && deferred.points.back().y == start.y) {
    line.first = static_cast<std::uint32_t>(points - 1);
  } else {
    line.first = static_cast<std::uint32_t>(points);
    PointF& from = deferred.points.emplace_back();
    from.x = start.x;
    from.y = start.y;
  }
  PointF& to = deferred.points.emplace_back();
  to.x = end.x;
  to.y = end.y;
  ++revision_;
  PassDeferredWhenFull();
  return true;
}

std::size_t RecordingSurface::DeferredPoints() const { return deferring_ ? deferral_->list.points.size() : 0; }

void RecordingSurface::PassDeferredWhenFull() {
  // The batch before, if the looker is not done with it yet, is not waited for (but so long):
  // this one grows meanwhile.
  const std::size_t size = deferral_->list.ops.size();
  if (size >= batchLimit_ && (!looking_ || deferral_->looker.Done() || size >= 4 * kDeferredBatch)) {
    PassDeferred(true);
  }
}

RecordingSurface::~RecordingSurface() = default;
RecordingSurface::RecordingSurface(RecordingSurface&&) noexcept = default;
RecordingSurface& RecordingSurface::operator=(RecordingSurface&&) noexcept = default;

void RecordingSurface::LeaveOutCoveredLines(const CoveredLineFinders& make) {
  Settle();
  leaveOut_ = make ? make() : CoveredLineFinder();
  deferral_ = make ? std::make_unique<Deferral>(make()) : nullptr;
}

void RecordingSurface::NoteLookedAt(std::size_t removed, std::size_t to) {
  if (removed * 2 < to - 1) denseMarks_ = -kDenseMarks * 8;
  // Points after a break let lines be deferred only while later ones paint over most of them
  // (a series broken every few records with values on a few levels keeps many lines whose
  // ends lie on the outermost levels, and the look costs more than it leaves out).
  if (removed * 4 < (to - 1) * 3) {
    denseDots_ = kDotsStopped;
    dotsConfirmed_ = false;
  } else {
    dotsConfirmed_ = true;
    batchLimit_ = kDeferredBatch;
  }
}

void RecordingSurface::DrawBatch(const DisplayList& batch, const std::vector<std::uint32_t>& kept) {
  // Drawn as they came, but for those left out, none of them deferred again; what tells marks
  // close together stays as it was.
  const Colour pen = penColor_, fill = fillColor_;
  const std::int32_t style = penStyle_;
  const bool deferring = std::exchange(deferring_, false), mayDefer = std::exchange(mayDefer_, false);
  drawingBatch_ = true;
  const int denseMarks = denseMarks_;
  const std::uint64_t markRevision = markRevision_;
  for (const std::uint32_t i : kept) {
    const DisplayOp op = batch.ops[i];
    if (op.kind == OpKind::Polyline) {
      const PolylineOp& line = batch.polylines[op.index];
      penColor_ = line.pen;
      penStyle_ = line.style;
      // A line that waited begins a polyline of its own, as it did after its mark.
      for (std::uint32_t k = 1; k < line.count; ++k) {
        newPolyline_ = k == 1;
        const PointF& from = batch.points[line.first + k - 1];
        const PointF& to = batch.points[line.first + k];
        Line(from.x, from.y, to.x, to.y);
      }
      newPolyline_ = false;
    } else if (op.kind == OpKind::Ellipse) {
      const ShapeOp& shape = batch.shapes[op.index];
      penColor_ = shape.pen;
      fillColor_ = shape.fill;
      AddShape(OpKind::Ellipse, shape.x1, shape.y1, shape.x2, shape.y2);
    }
  }
  penColor_ = pen;
  fillColor_ = fill;
  penStyle_ = style;
  drawingBatch_ = false;
  deferring_ = deferring;
  mayDefer_ = mayDefer;
  denseMarks_ = denseMarks;
  markRevision_ = markRevision;
}

void RecordingSurface::TakeLookedAt() {
  if (!looking_) return;
  looking_ = false;
  NoteLookedAt(deferral_->looker.Wait(), deferral_->lookingTo);
  DrawBatch(deferral_->lookedAt, deferral_->looker.Kept());
}

void RecordingSurface::PassDeferred(bool keepNewest) {
  TakeLookedAt();
  Deferral& deferral = *deferral_;
  DisplayList& list = deferral.list;
  if (!keepNewest) {
    const std::size_t end = list.ops.size();
    NoteLookedAt(deferral.looker.LookNow(list, 1, end), end);
    DrawBatch(list, deferral.looker.Kept());
    ClearDeferred();
    deferring_ = false;
    return;
  }
  // The batch is looked at on the looker's thread while the next one fills; its newest
  // operations cover it, and copies of them begin the next.
  DisplayList& batch = deferral.lookedAt;
  std::swap(batch, list);
  const std::size_t end = batch.ops.size();
  deferral.lookingTo = end - kDeferredReach;
  ClearDeferred();
  list.ops.push_back({OpKind::Scale, 0});
  list.scales.push_back(batch.scales[0]);
  for (std::size_t i = deferral.lookingTo; i < end; ++i) {
    const DisplayOp op = batch.ops[i];
    if (op.kind == OpKind::Polyline) {
      PolylineOp line = batch.polylines[op.index];
      const auto first = static_cast<std::uint32_t>(list.points.size());
      const auto points = batch.points.begin() + line.first;
      list.points.insert(list.points.end(), points, points + line.count);
      line.first = first;
      list.ops.push_back({op.kind, static_cast<std::uint32_t>(list.polylines.size())});
      list.polylines.push_back(line);
    } else {
      list.ops.push_back({op.kind, static_cast<std::uint32_t>(list.shapes.size())});
      list.shapes.push_back(batch.shapes[op.index]);
    }
  }
  looking_ = true;
  deferral.looker.Start(batch, 1, deferral.lookingTo);
}

void RecordingSurface::ClearDeferred() {
  if (!deferral_) return;
  // Emptied, keeping the memory of each array for the next batch.
  DisplayList& list = deferral_->list;
  list.ops.clear();
  list.scales.clear();
  list.polylines.clear();
  list.points.clear();
  list.shapes.clear();
}

bool RecordingSurface::ExtendMerged(PolylineOp& polyline, const PointF& end) {
  if (run_.merging && !(end.x >= run_.first.x)) {
    // Back to the left (or not a number): the painter draws such a polyline point by point.
    // Once points were merged it goes on as a new polyline.
    if (polyline.drawn > polyline.count) return false;
    run_.merging = false;
  }
  ++polyline.drawn;
  if (run_.merging && end.x == run_.first.x) {
    // The lowest and highest by Y: whichever way the picture turns Y, they are the points the
    // painter keeps as the lowest and highest pixel, ties to the first that came. A short
    // polyline the painter draws point by point: points merge only once it is longer.
    if (polyline.drawn > kPaintedPointByPoint) {
      UpdateRun(polyline, end, end.y);
    } else {
      AddToRun(end, end.y);
      list_.points.push_back(end);
      ++polyline.count;
    }
    return true;
  }
  list_.points.push_back(end);
  ++polyline.count;
  if (run_.merging) BeginColumn(0, static_cast<std::uint32_t>(list_.points.size() - 1), end, end.y);
  return true;
}

void RecordingSurface::FinishDot() {
  // A polyline is done when another operation follows; a dot is a mark like the shapes.
  if (!list_.ops.empty() && IsDot(list_, list_.ops.back())) ForgetRepeatedMark();
}

void RecordingSurface::AddShape(OpKind kind, double x1, double y1, double x2, double y2) {
  if (recordNothing_) return;
  if (deferring_ && kind == OpKind::Ellipse && !scaleChanged_) {
    DisplayList& deferred = deferral_->list;
    // The dot deferred just before, which this mark paints over (a marked record after a
    // break), goes; its points stay for the line that goes on from it.
    if (IsDot(deferred, deferred.ops.back()) &&
        Covers(kind, x1, y1, x2, y2, deferred.points[deferred.polylines.back().first])) {
      deferred.ops.pop_back();
      deferred.polylines.pop_back();
    }
    DisplayOp& op = deferred.ops.emplace_back();
    op.kind = kind;
    op.index = static_cast<std::uint32_t>(deferred.shapes.size());
    ShapeOp& shape = deferred.shapes.emplace_back();
    shape.x1 = x1;
    shape.y1 = y1;
    shape.x2 = x2;
    shape.y2 = y2;
    shape.pen = penColor_;
    shape.fill = fillColor_;
    ++revision_;
    PassDeferredWhenFull();
    return;
  }
  if (deferring_) PassDeferred(false);
  FlushScale();
  const ShapeOp shape{x1, y1, x2, y2, penColor_, fillColor_};
  // Round marks close together (one to kMostLinesBetweenMarks lines apart, over and over) let
  // the lines after them be deferred.
  const std::uint64_t since = revision_ - markRevision_;
  const bool close = kind == OpKind::Ellipse && since >= 1 && since <= kMostLinesBetweenMarks;
  denseMarks_ = close ? std::min(denseMarks_ + 1, kDenseMarks) : 0;
  mayDefer_ = denseMarks_ >= kDenseMarks && reduce_ && deferral_ != nullptr && !drawingBatch_;
  ++revision_;
  markRevision_ = revision_;
  if (!reduce_) {
    list_.ops.push_back({kind, static_cast<std::uint32_t>(list_.shapes.size())});
    list_.shapes.push_back(shape);
    return;
  }
  DropDotUnder(kind, x1, y1, x2, y2);
  if (waitingMarks_ == 0) FinishDot();
  WaitAsMark(kind, KeyOfShape(kind, shape), shape);
}

void RecordingSurface::WaitAsMark(OpKind kind, const MarkKey& key, const ShapeOp& shape) {
  const std::size_t hash = HashMarkKey(key);
  RecentMarks::Slot& slot = marks_.SlotOf(hash);
  if (slot.index != RecentMarks::kNone && slot.key == key) {
    if ((slot.index & RecentMarks::kWaiting) != 0) {
      // Drawn again while it waits: it moves to the end of the waiting marks.
      const auto mark = static_cast<std::uint16_t>(slot.index & ~RecentMarks::kWaiting);
      waiting_[mark].shape = shape;
      Unlink(mark);
      AppendWaiting(mark);
      ++generation_;
      return;
    }
    const std::uint32_t before = slot.index;
    slot.index = RecentMarks::kNone;
    RemoveMark(before);
  }
  AddWaitingMark(kind, key, hash, shape);
}

void RecordingSurface::AddWaitingMark(OpKind kind, const MarkKey& key, std::size_t hash, const ShapeOp& shape) {
  if (waitingMarks_ == kMostWaiting) AddOldestWaitingMark();
  if (waiting_.empty()) {
    waiting_.resize(kMostWaiting);
    for (std::uint16_t i = 0; i < kMostWaiting; ++i) waiting_[i].after = i + 1 < kMostWaiting ? i + 1 : kNoMark;
    freeWaiting_ = 0;
  }
  const std::uint16_t mark = freeWaiting_;
  freeWaiting_ = waiting_[mark].after;
  WaitingMark& waiting = waiting_[mark];
  waiting.shape = shape;
  waiting.key = key;
  waiting.hash = hash;
  waiting.kind = kind;
  AppendWaiting(mark);
  ++waitingMarks_;
  // Found by its key (a key that shares the place is forgotten, and so is this one when its
  // place is taken: a repeat it misses is only a mark painted twice).
  RecentMarks::Slot& slot = marks_.SlotOf(hash);
  slot.key = key;
  slot.index = RecentMarks::kWaiting | mark;
}

void RecordingSurface::Unlink(std::uint16_t mark) {
  WaitingMark& waiting = waiting_[mark];
  (waiting.before == kNoMark ? oldestWaiting_ : waiting_[waiting.before].after) = waiting.after;
  (waiting.after == kNoMark ? newestWaiting_ : waiting_[waiting.after].before) = waiting.before;
}

void RecordingSurface::AppendWaiting(std::uint16_t mark) {
  WaitingMark& waiting = waiting_[mark];
  waiting.before = newestWaiting_;
  waiting.after = kNoMark;
  (newestWaiting_ == kNoMark ? oldestWaiting_ : waiting_[newestWaiting_].after) = mark;
  newestWaiting_ = mark;
}

void RecordingSurface::AddOldestWaitingMark() {
  const std::uint16_t mark = oldestWaiting_;
  const WaitingMark& waiting = waiting_[mark];
  const auto at = static_cast<std::uint32_t>(list_.ops.size());
  if (waiting.kind == OpKind::Polyline) {
    // A dot: its point, pen and style were kept in the shape's first corner and colours.
    PushOp(OpKind::Polyline, list_.polylines.size());
    list_.polylines.push_back({waiting.shape.pen, static_cast<std::int32_t>(waiting.shape.fill),
                               static_cast<std::uint32_t>(list_.points.size()), 2});
    const PointF dot{static_cast<float>(waiting.shape.x1), static_cast<float>(waiting.shape.y1)};
    list_.points.push_back(dot);
    list_.points.push_back(dot);
  } else {
    PushOp(waiting.kind, list_.shapes.size());
    list_.shapes.push_back(waiting.shape);
  }
  RecentMarks::Slot& slot = marks_.SlotOf(waiting.hash);
  if (slot.index == (RecentMarks::kWaiting | mark)) slot.index = at;
  FreeWaiting(mark);
}

void RecordingSurface::FreeWaiting(std::uint16_t mark) {
  Unlink(mark);
  waiting_[mark].after = freeWaiting_;
  freeWaiting_ = mark;
  --waitingMarks_;
}

void RecordingSurface::WaitHeldDot() {
  dotHeld_ = false;
  dotsMarked_ = true;
  // The point is a float, which the shape's doubles hold exactly.
  const ShapeOp shape{heldDot_.x, heldDot_.y, heldDot_.x, heldDot_.y, heldPen_, static_cast<Colour>(heldStyle_)};
  WaitAsMark(OpKind::Polyline, KeyOfDot(heldDot_, heldPen_, heldStyle_), shape);
}

void RecordingSurface::AddWaitingMarks() {
  while (waitingMarks_ != 0) AddOldestWaitingMark();
}

void RecordingSurface::Rectangle(double x1, double y1, double x2, double y2) {
  AddShape(OpKind::Rectangle, x1, y1, x2, y2);
}

void RecordingSurface::Ellipse(double x1, double y1, double x2, double y2) {
  AddShape(OpKind::Ellipse, x1, y1, x2, y2);
}

void RecordingSurface::FilledPolygon(const std::vector<double>& xy, Colour fill, int alpha) {
  if (recordNothing_ || xy.size() < 6) return;
  Settle();
  mayDefer_ = false;
  FlushScale();
  list_.ops.push_back({OpKind::Polygon, static_cast<std::uint32_t>(list_.polygons.size())});
  list_.polygons.push_back({fill, static_cast<std::uint8_t>(std::clamp(alpha, 0, 255)),
                            static_cast<std::uint32_t>(list_.points.size()), static_cast<std::uint32_t>(xy.size() / 2)});
  for (std::size_t i = 0; i + 1 < xy.size(); i += 2) list_.points.push_back({ToFloat(xy[i]), ToFloat(xy[i + 1])});
  ++revision_;
}

void RecordingSurface::Clear() {
  dotHeld_ = false;
  mayDefer_ = false;
  deferring_ = false;
  denseMarks_ = denseDots_ = 0;
  dotsConfirmed_ = false;
  if (looking_) {
    looking_ = false;
    deferral_->looker.Wait();
  }
  ClearDeferred();
  waiting_.clear();
  oldestWaiting_ = newestWaiting_ = freeWaiting_ = kNoMark;
  waitingMarks_ = 0;
  ++generation_;
  list_.Reset(list_.background);
  marks_.Clear();
  dotsMarked_ = false;
  removed_ = 0;
  coverChecked_ = 0;
  scaleChanged_ = true;
  ++revision_;
}

bool RecordingSurface::CopyPicture() {
  Settle();
  return copier_ && copier_(list_, exportWidth_, exportHeight_);
}

}  // namespace varst
