#pragma once
// A drawing surface that records what is drawn into a DisplayList. The window's chart widget
// paints the list; headless runs dump it as text or render it into an image.

#include <functional>
#include <limits>
#include <memory>

#include "platform/DisplayList.h"
#include "platform/DrawingSurface.h"
#include "platform/MarkTable.h"

namespace varst {

class RecordingSurface : public DrawingSurface {
 public:
  // Puts the list on the clipboard at width x height twips; false on failure.
  using PictureCopier = std::function<bool(const DisplayList& list, std::int32_t widthTwips,
                                           std::int32_t heightTwips)>;

  RecordingSurface();
  ~RecordingSurface() override;
  RecordingSurface(RecordingSurface&&) noexcept;
  RecordingSurface& operator=(RecordingSurface&&) noexcept;

  [[nodiscard]] const DisplayList& List() const {
    // The surface itself is never const; what waits to enter the list is part of what was drawn.
    if (dotHeld_ || waitingMarks_ != 0 || deferring_) const_cast<RecordingSurface*>(this)->Settle();
    return list_;
  }
  // Once all is drawn: lets what waits enter the list, which waits for the thread that looks at
  // deferred batches, so that none works on past the drawing (it paints marks to see their
  // pixels, which must be done before a Qt application starts beside it).
  void Finish() { Settle(); }
  // Counts every change, so a view can tell whether it must repaint.
  [[nodiscard]] std::uint64_t Revision() const { return revision_; }
  // Counts the changes other than additions (a clear, a new background, marks dropped): while
  // it stays, the list only grew at its end.
  [[nodiscard]] std::uint64_t Generation() const { return generation_; }

  void SetControlSize(double widthTwips, double heightTwips);
  // Room for `count` polyline points, so that a big drawing whose size is known beforehand
  // does not pass through the copies of a growing buffer.
  void ReservePoints(std::size_t count) { list_.points.reserve(count); }
  void ExpectFileBytes(std::uintmax_t bytes) override;

  // Records for one picture of width x height pixels only what that picture shows, so the
  // list's size is bound by the pixels, not by the records: of the points of a polyline that
  // fall into one pixel column one after the other only the first, lowest, highest and last
  // are kept, and of marks (shapes, single-point dots) that cover the same pixels in the same
  // colours only the last. Such a list paints the same picture at that size; it is not the
  // full record (its dump differs). Set before anything is drawn.
  void ReduceToPixels(int width, int height);
  // Of the points of a polyline that lie at one X one after the other (the records of a big
  // file that share a chart position), keeps only the first, lowest, highest and last, in the
  // order they came. The painter keeps no more than these of a crowded polyline at any size,
  // so the list paints the same pictures; a polyline that turns back to the left, which the
  // painter draws point by point, merges no further, and goes on as a new polyline once
  // points were merged. For the window: its list is bound by the chart's positions, not by the
  // records. Not with ReduceToPixels. Takes effect for the polylines begun after it.
  void MergePointsAtOneX(bool on = true) { mergeAtOneX_ = on; }
  // With ReduceToPixels, for a list painted on the pixels of that picture only: leaves out,
  // every so many operations, the lines and round marks that the marks and lines drawn after
  // them paint over, so that hundreds of thousands of them (a series cut at every error mark or
  // break) are not held to the end. The lines and marks of a series with an error mark on
  // nearly every record are deferred as they come and enter the list in batches, without those
  // that the rest of their batch paints over, which is found on a thread of its own.
  // A finder marks removed those among the operations [from, to) of a list that the operations
  // after them paint over and answers how many; `make` makes one for each use, as two may run
  // side by side.
  using CoveredLineFinder = std::function<std::size_t(DisplayList& list, std::size_t from, std::size_t to)>;
  using CoveredLineFinders = std::function<CoveredLineFinder()>;
  void LeaveOutCoveredLines(const CoveredLineFinders& make);
  // Records no drawing operation at all, for a drawing that is only run for what it finds in
  // the files (the statistics, the list of series); the surface's state changes as ever.
  void RecordNothing() { recordNothing_ = true; }
  // The points that wait in the deferred batch being filled (see LeaveOutCoveredLines): bound by
  // the batches, whatever follows the marks or breaks that began the deferring.
  [[nodiscard]] std::size_t DeferredPoints() const;
  void SetPictureCopier(PictureCopier copier) { copier_ = std::move(copier); }

  void SetBackColor(Colour colour) override;
  [[nodiscard]] Colour BackColor() const override { return list_.background; }
  void SetFontSize(double size) override { fontSize_ = size; }
  [[nodiscard]] double FontSize() const override { return fontSize_; }

  void SetScaleLeft(double value) override { SetScale(scale_.left, value); }
  void SetScaleWidth(double value) override { SetScale(scale_.width, value); }
  void SetScaleTop(double value) override { SetScale(scale_.top, value); }
  void SetScaleHeight(double value) override { SetScale(scale_.height, value); }
  [[nodiscard]] double ScaleLeft() const override { return scale_.left; }
  [[nodiscard]] double ScaleWidth() const override { return scale_.width; }
  [[nodiscard]] double ScaleTop() const override { return scale_.top; }
  [[nodiscard]] double ScaleHeight() const override { return scale_.height; }

  void SetCurrentX(double value) override { currentX_ = value; }
  void SetCurrentY(double value) override { currentY_ = value; }
  [[nodiscard]] double CurrentX() const override { return currentX_; }
  [[nodiscard]] double CurrentY() const override { return currentY_; }

  void SetPenColor(Colour colour) override { penColor_ = colour; }
  [[nodiscard]] Colour PenColor() const override { return penColor_; }
  void SetPenStyle(std::int32_t style) override { penStyle_ = style; }
  [[nodiscard]] std::int32_t PenStyle() const override { return penStyle_; }
  void SetFillColor(Colour colour) override { fillColor_ = colour; }
  [[nodiscard]] Colour FillColor() const override { return fillColor_; }
  void SetTextColor(Colour colour) override { textColor_ = colour; }
  [[nodiscard]] Colour TextColor() const override { return textColor_; }

  void Text(const std::string& text) override;
  void Line(double x1, double y1, double x2, double y2) override;
  void Rectangle(double x1, double y1, double x2, double y2) override;
  void Ellipse(double x1, double y1, double x2, double y2) override;
  void Clear() override;
  void FilledPolygon(const std::vector<double>& xy, Colour fill, int alpha) override;

  void SetExportWidth(std::int32_t twips) override { exportWidth_ = twips; }
  void SetExportHeight(std::int32_t twips) override { exportHeight_ = twips; }
  [[nodiscard]] std::int32_t ExportWidth() const override { return exportWidth_; }
  [[nodiscard]] std::int32_t ExportHeight() const override { return exportHeight_; }
  bool CopyPicture() override;

  [[nodiscard]] double ControlWidth() const override { return controlWidth_; }
  [[nodiscard]] double ControlHeight() const override { return controlHeight_; }

 private:
  void SetScale(double& field, double value);
  // Records the scale before the first drawing operation that follows a change of it.
  void FlushScale();
  void AddShape(OpKind kind, double x1, double y1, double x2, double y2);

  // Deferred lines and round marks (see LeaveOutCoveredLines). A series with an error mark on
  // nearly every record draws a line up to each mark and the mark, over and over, and later
  // marks paint over most of both. Where round marks come close together (kDenseMarks of them
  // in a row, each one to kMostLinesBetweenMarks lines after the one before), the line after
  // the last, and the marks and lines that follow, go into a list of their own (the
  // deferral's, which begins with the scale). A full batch of kDeferredBatch operations goes
  // to the looker, which finds on a thread of its own those that the rest of the batch paints
  // over while the next batch fills (copies of its newest kDeferredReach operations begin the
  // next); the rest then enter the list in order. Whatever else is drawn lets everything
  // deferred enter the list first. A batch that paints over less than half of itself stops the
  // deferring for a while.
  // Points after a break close together (a series broken every few records) let the lines be
  // deferred too, from such a point on, while the batches are mostly painted over.
  // Whether the line is deferred: one that goes on from the deferred line before it, one that
  // begins a polyline of its own after a mark, or a point after a break among others close
  // together (breakDot: the line is one point, not where the line before ended).
  bool DeferLine(const PointF& start, const PointF& end, bool breakDot);
  // Counts the lines drawn and the points after a break close together (kDenseMarks of them
  // in a row, each two to kMostLinesBetweenDots lines after the one before: a series broken
  // every few records), which let the deferral begin; true when the line is such a point.
  bool NoteDenseDots(const PointF& start, const PointF& end);
  // Hands a full batch to the looker.
  void PassDeferredWhenFull();
  // Lets what is deferred enter the list; keepNewest: hands a full batch to the looker instead.
  void PassDeferred(bool keepNewest);
  // Draws the operations of a batch that were not left out (kept, in order) into the list.
  void DrawBatch(const DisplayList& batch, const std::vector<std::uint32_t>& kept);
  // Draws the batch the looker has into the list, once it is looked at.
  void TakeLookedAt();
  void NoteLookedAt(std::size_t removed, std::size_t to);
  void ClearDeferred();
  class BatchLooker;
  struct Deferral;
  bool mayDefer_ = false;       // the last thing drawn was a round mark close to those before
  bool deferring_ = false;      // operations deferred wait to enter the list
  bool newPolyline_ = false;    // the line drawn begins a polyline, wherever the last one ends
  bool drawingBatch_ = false;   // a batch enters the list: nothing is deferred anew
  bool looking_ = false;        // the looker has the deferral's batch before its list
  int denseMarks_ = 0;
  int denseDots_ = 0;
  std::uint64_t linesDrawn_ = 0, dotLine_ = 0;  // lines drawn; their count at the last point after a break
  PointF lastEnd_{std::numeric_limits<float>::quiet_NaN(), 0};  // where the line drawn last ended
  static constexpr std::uint64_t kMostLinesBetweenDots = 16;
  // Points after a break no longer begin a deferral (until one comes far from the one before).
  static constexpr int kDotsStopped = -(1 << 30);
  bool dotsConfirmed_ = false;  // a batch begun by a point after a break was mostly painted over
  std::size_t batchLimit_ = kDeferredBatch;  // the size of a full batch
  std::uint64_t markRevision_ = 0;  // the revision of the last round mark
  static constexpr int kDenseMarks = 8;
  // Changes between two marks that are close together (a series marked at every other record
  // and broken at the rest makes four).
  static constexpr std::uint64_t kMostLinesBetweenMarks = 4;
  static constexpr std::size_t kDeferredBatch = std::size_t{1} << 16;
  static constexpr std::size_t kDeferredReach = std::size_t{1} << 11;
  // The most points of a deferred polyline (a series that goes on unbroken stops the deferring).
  static constexpr std::uint32_t kMostDeferredPoints = 256;

  // The reduction to pixels (see ReduceToPixels).
  // The points of the polyline being extended that lie in its last pixel column.
  struct ColumnRun {
    std::int64_t column = 0;
    std::uint32_t start = 0;  // index in the list's points of the run's first point
    PointF first, low, high, last;
    double lowY = 0, highY = 0;  // the pixel rows of low and high
    std::uint64_t lowAt = 0, highAt = 0;  // arrival order, to keep low and high in order
    std::uint64_t count = 0;
    bool merging = true;  // MergePointsAtOneX: the polyline still merges (it never turned back)
    bool lastSeparate = false;  // the run's points end with its last point, after the one before
  };
  void UpdatePixelFactors();
  [[nodiscard]] double PixelX(double x) const;
  [[nodiscard]] double PixelY(double y) const;
  void ExtendReduced(PolylineOp& polyline, const PointF& end);
  // Adds end, at pixel row (or Y) y, to the run; true when it is its lowest or highest.
  bool AddToRun(const PointF& end, double y);
  // Adds end to the run and its points to the polyline.
  void UpdateRun(PolylineOp& polyline, const PointF& end, double y);
  // Puts the run's first, lowest, highest and last point in place of its points.
  void KeepRunPoints(PolylineOp& polyline);
  // MergePointsAtOneX: extends the polyline by end; false when end must start a new polyline.
  bool ExtendMerged(PolylineOp& polyline, const PointF& end);
  // A new last column, whose first point is point, at index start of the list's points, at
  // pixel row y (MergePointsAtOneX: a new last run of points at one X, y its Y).
  void BeginColumn(std::int64_t column, std::uint32_t start, const PointF& point, double y);
  // The key of a mark (a shape or a dot); false for other operations.
  bool KeyOfMark(const DisplayOp& op, MarkKey& key) const;
  [[nodiscard]] MarkKey KeyOfShape(OpKind kind, const ShapeOp& shape) const;
  [[nodiscard]] MarkKey KeyOfDot(const PointF& p, Colour pen, std::int32_t style) const;
  void RemoveMark(std::uint32_t at);
  // Takes the last operation as a mark when it is one; the earlier mark it repeats is removed.
  void ForgetRepeatedMark();
  // A dot that the shape about to be drawn paints over (an error mark around its point) is
  // taken out of the list.
  void DropDotUnder(OpKind kind, double x1, double y1, double x2, double y2);
  // Whether a shape paints over the pixel of a dot at p, whatever it held.
  [[nodiscard]] bool Covers(OpKind kind, double x1, double y1, double x2, double y2, const PointF& p) const;
  void FinishDot();
  // A reduced list holds a new dot back until the next operation: most often that is the mark
  // drawn around it (an error record), which covers it, and the dot never enters the list.
  void HoldDot(const PointF& point);
  void AddHeldDot();
  // Puts what waits (what is deferred, the marks, then the dot) into the list.
  void Settle() {
    if (deferring_) PassDeferred(false);
    if (waitingMarks_ != 0) AddWaitingMarks();
    if (dotHeld_) AddHeldDot();
  }
  // A reduced list keeps its newest marks out of the list for a while, in the order they were
  // last drawn: a mark drawn again before it enters (thousands of error records on a few
  // hundred pixels) takes its new place among them without a trace in the list.
  struct WaitingMark {
    ShapeOp shape;
    MarkKey key;
    std::size_t hash = 0;  // the key's
    OpKind kind = OpKind::Ellipse;
    std::uint16_t before = 0, after = 0;  // the waiting marks drawn last before and after it
  };
  void AddWaitingMark(OpKind kind, const MarkKey& key, std::size_t hash, const ShapeOp& shape);
  // A mark (or a dot, kind Polyline: its point in the shape's first corner, its pen and style
  // as the shape's colours) waits, or moves to the end of those waiting when it waits already;
  // the same one in the list goes.
  void WaitAsMark(OpKind kind, const MarkKey& key, const ShapeOp& shape);
  // The held dot waits as a mark.
  void WaitHeldDot();
  void Unlink(std::uint16_t mark);
  void AppendWaiting(std::uint16_t mark);
  void AddOldestWaitingMark();
  // Takes a mark out of those waiting and frees its place.
  void FreeWaiting(std::uint16_t mark);
  void AddWaitingMarks();
  // Appends an operation, written in place.
  void PushOp(OpKind kind, std::size_t index) {
    DisplayOp& op = list_.ops.emplace_back();
    op.kind = kind;
    op.index = static_cast<std::uint32_t>(index);
  }
  void Compact();
  // Compacts once removed operations outnumber what is left by far.
  void CompactWhenMostlyRemoved();
  // Drops the lines that later operations paint over from those not looked at yet but the
  // newest kCoverReach, whose marks are yet to come.
  void LeaveOutCovered();
  // As a polyline begins: once enough operations came since the last look.
  void LeaveOutCoveredWhenDue() {
    if (leaveOut_ && list_.ops.size() >= coverChecked_ + 4 * kCoverReach) LeaveOutCovered();
  }

  bool reduce_ = false;
  bool mergeAtOneX_ = false;
  bool recordNothing_ = false;
  double pixelWidth_ = 0;
  double pixelHeight_ = 0;
  double pixelsPerX_ = 0;
  double pixelsPerY_ = 0;
  ColumnRun run_;
  RecentMarks marks_;
  bool dotsMarked_ = false;  // a dot was taken into marks_ since it was last cleared
  static constexpr std::uint16_t kMostWaiting = 256;
  static constexpr std::uint16_t kNoMark = 0xFFFF;
  std::vector<WaitingMark> waiting_;
  std::uint16_t oldestWaiting_ = kNoMark, newestWaiting_ = kNoMark, freeWaiting_ = kNoMark;
  std::size_t waitingMarks_ = 0;
  bool dotHeld_ = false;
  PointF heldDot_;
  Colour heldPen_ = 0;
  std::int32_t heldStyle_ = 0;
  std::size_t removed_ = 0;
  CoveredLineFinder leaveOut_;
  std::unique_ptr<Deferral> deferral_;
  // Lines are looked at once, with the marks of this many operations after them.
  static constexpr std::size_t kCoverReach = std::size_t{1} << 13;
  std::size_t coverChecked_ = 0;  // the operations before it were looked at

  DisplayList list_;
  ScaleOp scale_{0, 0, 1000, 1000};
  bool scaleChanged_ = true;
  double fontSize_ = 100;
  double currentX_ = 0;
  double currentY_ = 0;
  Colour penColor_ = 0;
  std::int32_t penStyle_ = kPenSolid;
  Colour fillColor_ = 0;
  Colour textColor_ = 0;
  std::int32_t exportWidth_ = 0;
  std::int32_t exportHeight_ = 0;
  double controlWidth_ = 18000;  // 1200 x 800 pixels at 15 twips a pixel
  double controlHeight_ = 12000;
  std::uint64_t revision_ = 0;
  std::uint64_t generation_ = 0;
  PictureCopier copier_;
};

}  // namespace varst
