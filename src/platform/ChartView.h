#pragma once
// The chart surface on a window: paints the recorded drawing at the widget's size and keeps
// the surface's frame size (in twips) up to date for the drawing logic.

#include <QWidget>
#include <functional>

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

  // Repaints when the drawing changed since the last paint.
  void RefreshIfChanged();

  // Called after each resize with the new size in pixels.
  std::function<void(int width, int height)> onResized;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  RecordingSurface surface_;
  std::uint64_t paintedRevision_ = 0;
};

}  // namespace varst
