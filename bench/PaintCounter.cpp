#include "bench/PaintCounter.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QWidget>
#include <algorithm>

namespace varst::bench {

PaintCounter::PaintCounter(QWidget& window, QWidget& chart, QLabel& status)
    : window_(window), chart_(chart), status_(status) {}

PaintCounter::~PaintCounter() {
  if (running_) Stop();
}

void PaintCounter::Start() {
  counts_ = PaintCounts{};
  texts_.clear();
  running_ = true;
  QCoreApplication::instance()->installEventFilter(this);
  if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance()) {
    awake_ = connect(dispatcher, &QAbstractEventDispatcher::awake, this, [this] { ++counts_.eventLoopPasses; });
  }
  clock_.start();
  lastPaintNs_ = 0;
}

PaintCounts PaintCounter::Stop() {
  if (!running_) return counts_;
  const qint64 now = clock_.nsecsElapsed();
  counts_.longestGapMs = std::max(counts_.longestGapMs, static_cast<double>(now - lastPaintNs_) / 1e6);
  QCoreApplication::instance()->removeEventFilter(this);
  disconnect(awake_);
  running_ = false;
  counts_.statusTexts = static_cast<int>(texts_.size());
  return counts_;
}

bool PaintCounter::InWindow(const QObject* object) const {
  for (const QObject* o = object; o != nullptr; o = o->parent()) {
    if (o == &window_) return true;
  }
  return false;
}

void PaintCounter::NotePaint() {
  const qint64 now = clock_.nsecsElapsed();
  if (counts_.firstPaintMs < 0) counts_.firstPaintMs = static_cast<double>(now) / 1e6;
  counts_.longestGapMs = std::max(counts_.longestGapMs, static_cast<double>(now - lastPaintNs_) / 1e6);
  lastPaintNs_ = now;
}

bool PaintCounter::eventFilter(QObject* watched, QEvent* event) {
  if (running_ && event->type() == QEvent::Paint && InWindow(watched)) {
    NotePaint();
    if (watched == &window_) ++counts_.windowPaints;
    if (watched == &chart_) ++counts_.chartPaints;
    if (watched == &status_) {
      ++counts_.statusPaints;
      texts_.insert(status_.text());
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace varst::bench
