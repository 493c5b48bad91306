#pragma once
// The views over the chart of the main window: the hover readout (a thin cursor and a box
// with the X and every ticked series' value at the nearest record, painted over the chart
// and never part of its drawing), zoom (a left-button drag across the plot selects an X
// range the chart then shows; "全体表示", double-click or Escape return) and the
// statistics window ("統計").

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "analysis/NearestRecord.h"
#include "analysis/PointStore.h"
#include "chart/ChartState.h"
#include "common/Colour.h"
#include "data/DataSet.h"
#include "platform/Prompter.h"

class QMenu;
class QPainter;
class QWidget;

namespace varst {

class ChartView;
class StatisticsWindow;

class ChartViews : public QObject {
  Q_OBJECT

 public:
  struct Parts {
    ChartView& view;
    ChartState& chart;
    const DataSet& dataSet;
    const PointStore& points;
    std::function<bool(int row)> ticked;
    std::function<void()> redraw;  // draws the ticked rows again
    Prompter& prompter;
    // The row's outlier share while the reference band is on.
    std::function<std::optional<double>(int row)> outlierShare;
  };

  struct ReadoutLine {
    std::string text;
    Colour colour = 0;
  };

  ChartViews(Parts parts, QWidget* window);
  ~ChartViews() override;

  // Shows [start, end] (file units) of the test range.
  void ZoomTo(double start, double end);
  // The whole test range of the chart (file units).
  [[nodiscard]] ViewRange WholeRange() const;
  // "全体表示": the whole test range again.
  void ShowWholeRange();
  // "統計": opens the statistics window, or brings it to the front.
  void ShowStatistics();
  [[nodiscard]] StatisticsWindow* Statistics() const { return statistics_; }

  // The readout for the mouse at pixel column `px` of the chart: the X as the axis shows it,
  // then one line per ticked series with records. Empty outside the plot area.
  [[nodiscard]] std::vector<ReadoutLine> Readout(int px);
  // The lines the readout shows now (empty when it is hidden).
  [[nodiscard]] std::vector<ReadoutLine> ShownReadout();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Chart X (0..10000 across the frame) at a pixel column; false when nothing is drawn.
  bool ChartXAt(int px, double& chartX) const;
  [[nodiscard]] double PixelYAt(double chartY) const;
  void EndDrag(int px);
  void ShowPopup(const QPoint& at);
  void PaintOverlay(QPainter& painter);
  void PaintReadout(QPainter& painter, int px);
  void UpdateLookups();

  Parts parts_;
  // The window deletes the chart before this object; the overlay is unhooked only if it lives.
  QPointer<ChartView> viewAlive_;
  QWidget* window_;
  StatisticsWindow* statistics_ = nullptr;
  QMenu* popup_ = nullptr;
  bool hovering_ = false;
  int hoverPx_ = 0;
  bool dragging_ = false;
  int dragStartPx_ = 0;
  int dragNowPx_ = 0;
  std::vector<NearestRecord> lookups_;
  std::uint64_t lookupsRevision_ = ~0ULL;
};

}  // namespace varst
