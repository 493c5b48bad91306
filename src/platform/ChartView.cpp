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
  const qreal ratio = devicePixelRatioF();
  const QSize pixels = size() * ratio;
  if (!paintedValid_ || painted_.size() != pixels || paintedRevision_ != surface_.Revision()) {
    painted_ = QPixmap(pixels);
    painted_.setDevicePixelRatio(ratio);
    QPainter chart(&painted_);
    PaintDisplayList(chart, surface_.List(), QSizeF(width(), height()));
    paintedRevision_ = surface_.Revision();
    paintedValid_ = true;
    ++chartPaints_;
  }
  QPainter painter(this);
  painter.drawPixmap(0, 0, painted_);
  if (paintOverlay) paintOverlay(painter);
}

void ChartView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  surface_.SetControlSize(width() * TwipsPerPixelX(), height() * TwipsPerPixelY());
  if (onResized) onResized(width(), height());
}

}  // namespace varst
