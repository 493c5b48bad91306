#include "platform/ChartView.h"

#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

#include "platform/DisplayListPainter.h"

namespace varst {

ChartView::ChartView(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(16, 16);
}

double ChartView::TwipsPerPixelX() const { return 1440.0 / std::max(1, logicalDpiX()); }

double ChartView::TwipsPerPixelY() const { return 1440.0 / std::max(1, logicalDpiY()); }

void ChartView::RefreshIfChanged() {
  if (surface_.Revision() != paintedRevision_) update();
}

void ChartView::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  PaintDisplayList(painter, surface_.List(), QSizeF(width(), height()));
  paintedRevision_ = surface_.Revision();
}

void ChartView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  surface_.SetControlSize(width() * TwipsPerPixelX(), height() * TwipsPerPixelY());
  if (onResized) onResized(width(), height());
}

}  // namespace varst
