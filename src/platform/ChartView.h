#pragma once
// The chart surface on a window: paints the recorded drawing at the widget's size and keeps
// the surface's frame size (in twips) up to date for the drawing logic. The painted chart is
// kept as a picture, so that what is painted over it (the hover readout, a drag band) costs
// no painting of the drawing.

#include <QImage>
#include <QWidget>
#include <functional>

#include "platform/DisplayListPainter.h"
#include "platform/RecordingSurface.h"

namespace varst {

class ChartView : public QWidget {
  Q_OBJECT

 public:
  explicit ChartView(QWidget* parent = nullptr);

  [[nodiscard]] RecordingSurface& Surface() { return surface_; }
  [[nodiscard]] const RecordingSurface& Surface() const { return surface_; }

  // Twips per pixel of the screen the widget is on (1440 / logical DPI).
  [[nodiscard]] double TwipsPerPixelX() const;
  [[nodiscard]] double TwipsPerPixelY() const;

  // Repaints when the drawing changed since the last paint, or when the last paint was a
  // progress picture. With progressive, while the drawing only grew, the next paint adds what
  // is new to the picture instead of painting it all: a cost that does not grow with the file.
  void RefreshIfChanged(bool progressive = false);
  // A progress picture not painted by now is not painted as one: any later paint is whole.
  void EndProgress() { progressive_ = false; }

  // Called after each resize with the new size in pixels.
  std::function<void(int width, int height)> onResized;
  // Paints over the chart after it; never part of the drawing, a copy or an export.
  std::function<void(QPainter& painter)> paintOverlay;
  // Counts the paintings of the drawing (not of the overlay).
  [[nodiscard]] std::uint64_t ChartPaintCount() const { return chartPaints_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  RecordingSurface surface_;
  std::uint64_t paintedRevision_ = 0;
  QImage painted_;  // an image, so that marks can be written to its pixels
  bool paintedValid_ = false;
  bool paintedExact_ = false;  // painted whole (not a progress picture)
  bool progressive_ = false;   // the next paint may add to the picture
  std::uint64_t paintedGeneration_ = 0;
  PaintedEnd paintedEnd_;
  std::uint64_t chartPaints_ = 0;
};

}  // namespace varst
