#include "viewer/ChartViews.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>
#include <algorithm>
#include <cmath>

#include "chart/ViewRanges.h"
#include "common/Numbers.h"
#include "common/Paths.h"
#include "common/Text.h"
#include "data/SeriesKey.h"
#include "platform/ChartView.h"
#include "platform/QtText.h"
#include "viewer/AxisXText.h"
#include "viewer/ViewTexts.h"
#include "viewer/StatisticsWindow.h"

namespace varst {
namespace {

constexpr double kChartWidth = 10000;
// A press and release closer than this (pixels) is a click, not a range.
constexpr int kMinimumDragPixels = 4;

}  // namespace

ChartViews::ChartViews(Parts parts, QWidget* window)
    : QObject(window), parts_(std::move(parts)), viewAlive_(&parts_.view), window_(window) {
  parts_.view.setMouseTracking(true);
  parts_.view.installEventFilter(this);
  parts_.view.paintOverlay = [this](QPainter& painter) { PaintOverlay(painter); };
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), window);
  escape->setContext(Qt::WindowShortcut);
  connect(escape, &QShortcut::activated, this, &ChartViews::ShowWholeRange);
}

ChartViews::~ChartViews() {
  if (viewAlive_) viewAlive_->paintOverlay = nullptr;
}

void ChartViews::ZoomTo(double start, double end) {
  parts_.chart.View = {true, start, end};
  // A part of the range spreads the records over positions between the whole chart positions,
  // where few share one: its list keeps every point.
  parts_.view.Surface().MergePointsAtOneX(false);
  hovering_ = false;
  parts_.redraw();
}

ViewRange ChartViews::WholeRange() const { return TestRange(parts_.chart, parts_.dataSet.RangeEnd); }

void ChartViews::ShowWholeRange() {
  if (!parts_.chart.View.active) return;
  parts_.chart.View = {};
  parts_.view.Surface().MergePointsAtOneX(true);
  parts_.redraw();
}

void ChartViews::ShowStatistics() {
  if (statistics_ == nullptr) {
    statistics_ = new StatisticsWindow(
        StatisticsWindow::Source{parts_.dataSet, parts_.points, parts_.chart, parts_.ticked, parts_.outlierShare}, parts_.prompter,
        window_);
  }
  statistics_->show();
  statistics_->raise();
  statistics_->activateWindow();
}

bool ChartViews::ChartXAt(int px, double& chartX) const {
  const auto& list = parts_.view.Surface().List();
  if (parts_.chart.AxesDrawn == 0 || list.scales.empty() || parts_.view.width() <= 0) return false;
  const ScaleOp& scale = list.scales.back();
  chartX = scale.left + (px + 0.5) * scale.width / parts_.view.width();
  return true;
}

double ChartViews::PixelYAt(double chartY) const {
  const ScaleOp& scale = parts_.view.Surface().List().scales.back();
  return scale.height != 0 ? (chartY - scale.top) * parts_.view.height() / scale.height : 0;
}

void ChartViews::UpdateLookups() {
  if (lookupsRevision_ == parts_.points.Revision()) return;
  lookups_.clear();
  for (std::int32_t row = 0; row < parts_.points.RowCount(); ++row) lookups_.emplace_back(parts_.points.Row(row));
  lookupsRevision_ = parts_.points.Revision();
}

std::vector<ChartViews::ReadoutLine> ChartViews::Readout(int px) {
  double chartX = 0;
  if (!ChartXAt(px, chartX) || chartX < 0 || chartX > kChartWidth) return {};
  const ViewRange shown = ShownRange(parts_.chart, parts_.dataSet.RangeEnd);
  std::vector<ReadoutLine> lines{{AxisXText(parts_.chart, FileXAt(shown, chartX)), 0}};
  UpdateLookups();
  for (std::int32_t row = 0; row < static_cast<std::int32_t>(lookups_.size()); ++row) {
    if (row >= parts_.dataSet.Grf_Hist_Ptr || !parts_.ticked(row)) continue;
    const auto nearest = lookups_[static_cast<std::size_t>(row)].Find(FileXAt(shown, chartX));
    if (!nearest) continue;
    const SeriesKeyParts key = ParseSeriesKey(parts_.dataSet.SeriesInfo[static_cast<std::size_t>(row)]);
    lines.push_back({GetFileName(key.path) + " " + std::string(Trim(key.label)) + ": " +
                         DecimalText(parts_.points.Row(row).y[*nearest]),
                     parts_.dataSet.SeriesColor[static_cast<std::size_t>(row)]});
  }
  return lines;
}

std::vector<ChartViews::ReadoutLine> ChartViews::ShownReadout() {
  return hovering_ && !dragging_ ? Readout(hoverPx_) : std::vector<ReadoutLine>{};
}

bool ChartViews::eventFilter(QObject* watched, QEvent* event) {
  if (watched != &parts_.view) return false;
  switch (event->type()) {
    case QEvent::MouseMove: {
      const int px = static_cast<QMouseEvent*>(event)->position().toPoint().x();
      if (dragging_) {
        dragNowPx_ = px;
      } else {
        hovering_ = true;
        hoverPx_ = px;
      }
      parts_.view.update();
      return false;
    }
    case QEvent::Leave:
      hovering_ = false;
      parts_.view.update();
      return false;
    case QEvent::MouseButtonPress: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      double chartX = 0;
      const int px = mouse->position().toPoint().x();
      if (mouse->button() == Qt::LeftButton && ChartXAt(px, chartX) && chartX >= 0 && chartX <= kChartWidth) {
        dragging_ = true;
        hovering_ = false;
        dragStartPx_ = dragNowPx_ = px;
        parts_.view.update();
      }
      return false;
    }
    case QEvent::MouseButtonRelease: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (dragging_ && mouse->button() == Qt::LeftButton) EndDrag(mouse->position().toPoint().x());
      return false;
    }
    case QEvent::MouseButtonDblClick:
      dragging_ = false;
      ShowWholeRange();
      return true;
    case QEvent::KeyPress:
      if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        ShowWholeRange();
        return true;
      }
      return false;
    case QEvent::ContextMenu:
      hovering_ = false;
      parts_.view.update();
      ShowPopup(static_cast<QContextMenuEvent*>(event)->globalPos());
      return true;
    default:
      return false;
  }
}

void ChartViews::EndDrag(int px) {
  dragging_ = false;
  parts_.view.update();
  double a = 0;
  double b = 0;
  if (std::abs(px - dragStartPx_) < kMinimumDragPixels || !ChartXAt(dragStartPx_, a) || !ChartXAt(px, b)) return;
  a = std::clamp(a, 0.0, kChartWidth);
  b = std::clamp(b, 0.0, kChartWidth);
  if (a > b) std::swap(a, b);
  const ViewRange shown = ShownRange(parts_.chart, parts_.dataSet.RangeEnd);
  double start = FileXAt(shown, a);
  double end = FileXAt(shown, b);
  // Whole file units read better on the axis, when the range keeps some.
  const double roundStart = std::max(std::round(start), shown.start);
  const double roundEnd = std::min(std::round(end), shown.end);
  if (roundStart < roundEnd) {
    start = roundStart;
    end = roundEnd;
  }
  if (start < end) ZoomTo(start, end);
}

void ChartViews::ShowPopup(const QPoint& at) {
  if (popup_ == nullptr) {
    popup_ = new QMenu(window_);
    popup_->setObjectName("ChartPopup");
    QAction* whole = popup_->addAction(QString::fromUtf8(kWholeRangeCaption));
    whole->setObjectName("ChartWholeRange");
    connect(whole, &QAction::triggered, this, &ChartViews::ShowWholeRange);
    QAction* stats = popup_->addAction(QString::fromUtf8(kStatisticsCaption));
    stats->setObjectName("ChartStatistics");
    connect(stats, &QAction::triggered, this, &ChartViews::ShowStatistics);
  }
  popup_->actions().front()->setEnabled(parts_.chart.View.active);
  popup_->popup(at);
}

void ChartViews::PaintOverlay(QPainter& painter) {
  if (parts_.chart.AxesDrawn == 0 || parts_.view.Surface().List().scales.empty()) return;
  const double top = PixelYAt(parts_.chart.YFullScale);
  const double bottom = PixelYAt(0);
  if (dragging_) {
    const int left = std::min(dragStartPx_, dragNowPx_);
    const int width = std::abs(dragNowPx_ - dragStartPx_);
    painter.fillRect(QRectF(left, top, width, bottom - top), QColor(0, 120, 215, 60));
    painter.setPen(QColor(0, 120, 215, 160));
    painter.drawRect(QRectF(left, top, width, bottom - top));
    return;
  }
  if (hovering_) PaintReadout(painter, hoverPx_);
}

void ChartViews::PaintReadout(QPainter& painter, int px) {
  const std::vector<ReadoutLine> lines = Readout(px);
  if (lines.empty()) return;
  const double top = PixelYAt(parts_.chart.YFullScale);
  const double bottom = PixelYAt(0);
  painter.setPen(QPen(QColor(160, 160, 160), 1));
  painter.drawLine(QPointF(px + 0.5, top), QPointF(px + 0.5, bottom));

  const QFontMetrics metrics(painter.font());
  int width = 0;
  for (const ReadoutLine& line : lines) width = std::max(width, metrics.horizontalAdvance(ToQString(line.text)));
  const int pad = 4;
  const int lineHeight = metrics.height();
  QRect box(px + 8, static_cast<int>(top) + 4, width + 2 * pad, lineHeight * static_cast<int>(lines.size()) + 2 * pad);
  if (box.right() > parts_.view.width() - 2) box.moveRight(px - 8);
  painter.fillRect(box, QColor(255, 255, 255, 225));
  painter.setPen(QColor(160, 160, 160));
  painter.drawRect(box.adjusted(0, 0, -1, -1));
  int y = box.top() + pad + metrics.ascent();
  for (const ReadoutLine& line : lines) {
    painter.setPen(ToQColor(line.colour));
    painter.drawText(box.left() + pad, y, ToQString(line.text));
    y += lineHeight;
  }
}

}  // namespace varst
