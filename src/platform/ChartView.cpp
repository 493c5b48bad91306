#include "platform/ChartView.h"

#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

#include "platform/DisplayListPainter.h"

namespace varst {

ChartView::ChartView(QWidget* parent) : QWidget(parent) {
  // The window paints its list at any size: it keeps the points at each chart position that
  // any size shows, so a file of millions of records costs the chart's positions.
  surface_.MergePointsAtOneX();
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(16, 16);
}

double ChartView::TwipsPerPixelX() const { return 1440.0 / std::max(1, logicalDpiX()); }

double ChartView::TwipsPerPixelY() const { return 1440.0 / std::max(1, logicalDpiY()); }

void ChartView::RefreshIfChanged(bool progressive) {
  progressive_ = progressive;
  if (surface_.Revision() != paintedRevision_ || !paintedExact_) update();
}

void ChartView::paintEvent(QPaintEvent* /*event*/) {
  const qreal ratio = devicePixelRatioF();
  const QSize pixels = size() * ratio;
  const bool grown = paintedValid_ && painted_.size() == pixels && paintedGeneration_ == surface_.Generation();
  if (progressive_ && grown && paintedRevision_ != surface_.Revision()) {
    QPainter chart(&painted_);
    paintedEnd_ = PaintDisplayListAdded(chart, surface_.List(), QSizeF(width(), height()), paintedEnd_, &painted_);
    paintedRevision_ = surface_.Revision();
    paintedExact_ = false;
    ++chartPaints_;
  } else if (!paintedValid_ || painted_.size() != pixels || paintedRevision_ != surface_.Revision() ||
             (!paintedExact_ && !progressive_)) {
    painted_ = QImage(pixels, QImage::Format_RGB32);
    painted_.setDevicePixelRatio(ratio);
    QPainter chart(&painted_);
    PaintDisplayList(chart, surface_.List(), QSizeF(width(), height()), &painted_);
    paintedRevision_ = surface_.Revision();
    paintedGeneration_ = surface_.Generation();
    paintedEnd_ = EndOf(surface_.List());
    paintedValid_ = true;
    paintedExact_ = true;
    ++chartPaints_;
  }
  progressive_ = false;
  QPainter painter(this);
  painter.drawImage(0, 0, painted_);
  if (paintOverlay) paintOverlay(painter);
}

void ChartView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  surface_.SetControlSize(width() * TwipsPerPixelX(), height() * TwipsPerPixelY());
  if (onResized) onResized(width(), height());
}

}  // namespace varst
