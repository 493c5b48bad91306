#pragma once
// Paints a DisplayList with QPainter at any pixel size.

#include <QImage>
#include <QSizeF>
#include <cstddef>
#include <functional>
#include <memory>

#include "platform/DisplayList.h"

class QPainter;

namespace varst {

// Paints the list into a target of the given size in pixels, starting with the background.
// On pixels (an image, a widget) round marks go on the whole pixels of their box, its edges
// rounded halves away from zero, as marks are told apart; vector targets keep their places.
// `image`: the image the painter paints on, whose pixels marks may then be written to directly
// (only an RGB32 image at one pixel a unit, painted without a transform or a clip).
void PaintDisplayList(QPainter& painter, const DisplayList& list, QSizeF size, QImage* image = nullptr);

// Where a painted list ended: its operation count and the point count of its last operation
// when that is a polyline (which may grow).
struct PaintedEnd {
  std::size_t ops = 0;
  std::uint32_t lastCount = 0;
};
[[nodiscard]] PaintedEnd EndOf(const DisplayList& list);

// Paints over a picture of the list as it stood at `from` what was added to it since (a list
// only added to, as it is while a file loads): a progress picture. Marks repeated later are
// painted all the same, so only PaintDisplayList gives the exact picture. Returns the new end.
PaintedEnd PaintDisplayListAdded(QPainter& painter, const DisplayList& list, QSizeF size, PaintedEnd from,
                                 QImage* image = nullptr);

// Leaves out of a list recorded for a picture of pixels of one size, while it is recorded, the
// lines and round marks that the marks and lines drawn after them paint over, as
// PaintDisplayList leaves them out of such a picture: a file with an error mark or a break
// every few records is then not held as hundreds of thousands of lines. Only for a list
// painted at that size on pixels without a transform (a PNG); a vector picture shows every
// line. One object is used by one thread at a time.
class CoveredLines {
 public:
  CoveredLines(int width, int height);
  ~CoveredLines();
  CoveredLines(const CoveredLines&) = delete;
  CoveredLines& operator=(const CoveredLines&) = delete;

  // Marks removed the lines (not the dots) and round marks among the operations [from, to)
  // all of whose pixels the operations after them, up to the list's end, paint; looks back no
  // further than the list's clear. Answers how many it removed.
  std::size_t LeaveOut(DisplayList& list, std::size_t from, std::size_t to);

  // A maker of finders for a picture of width x height pixels, each LeaveOut of an object of
  // its own (RecordingSurface::LeaveOutCoveredLines takes it, and runs two side by side).
  using Finder = std::function<std::size_t(DisplayList& list, std::size_t from, std::size_t to)>;
  using FinderMaker = std::function<Finder()>;
  static FinderMaker Finders(int width, int height);

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
};

// The list rendered into a new image of width x height pixels.
[[nodiscard]] QImage RenderDisplayList(const DisplayList& list, int width, int height);

}  // namespace varst
