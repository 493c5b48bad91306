#pragma once
// Watches one window while a command runs: how often the event loop woke up, how many paint
// events reached the window, its chart and its status label, how many different status texts
// were painted (the progress row growing), and the longest stretch without any paint. An
// application-wide event filter sees paint events whether they come from update() through the
// event loop or from a synchronous repaint().

#include <QElapsedTimer>
#include <QMetaObject>
#include <QObject>
#include <QString>
#include <set>

class QLabel;
class QWidget;

namespace varst::bench {

struct PaintCounts {
  int eventLoopPasses = 0;  // the event dispatcher woke up (processEvents or the loop)
  int windowPaints = 0;     // paint events of the top-level window itself
  int chartPaints = 0;      // paint events of the chart surface
  int statusPaints = 0;     // paint events of the status label
  int statusTexts = 0;      // different status texts painted
  double firstPaintMs = -1;  // from Start to the first paint of anything in the window
  double longestGapMs = 0;   // longest time without a paint, Start and Stop included
};

class PaintCounter final : public QObject {
 public:
  PaintCounter(QWidget& window, QWidget& chart, QLabel& status);
  ~PaintCounter() override;

  void Start();
  PaintCounts Stop();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  [[nodiscard]] bool InWindow(const QObject* object) const;
  void NotePaint();

  QWidget& window_;
  QWidget& chart_;
  QLabel& status_;
  bool running_ = false;
  QElapsedTimer clock_;
  qint64 lastPaintNs_ = 0;
  PaintCounts counts_;
  std::set<QString> texts_;
  QMetaObject::Connection awake_;
};

}  // namespace varst::bench
