#pragma once
// "統計": a window beside the main window with the statistics of every ticked series row, each
// row in its series colour. It follows what the chart draws (ticks, loads, deletions, zoom);
// "コピー" puts it on the clipboard as tab-separated text, "CSV保存" saves the csv.

#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "analysis/PointStore.h"
#include "analysis/StatisticsTable.h"
#include "chart/ChartState.h"
#include "data/DataSet.h"
#include "platform/Prompter.h"

class QTableWidget;
class QTimer;

namespace varst {

class StatisticsWindow : public QWidget {
  Q_OBJECT

 public:
  struct Source {
    const DataSet& dataSet;
    const PointStore& points;
    const ChartState& chart;
    std::function<bool(int row)> ticked;
  };

  StatisticsWindow(Source source, Prompter& prompter, QWidget* parent);

  // Rebuilds the table when the chart drew something else since the last time.
  void Refresh();
  [[nodiscard]] QTableWidget& Table() { return *table_; }
  // The table as tab-separated lines with a header line.
  [[nodiscard]] std::string TabText() const;
  void CopyToClipboard() const;
  void SaveCsv();

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void Rebuild();

  Source source_;
  Prompter& prompter_;
  QTableWidget* table_ = nullptr;
  QTimer* poll_ = nullptr;
  std::vector<StatisticsRow> rows_;
  std::uint64_t shownRevision_ = 0;
  bool built_ = false;
};

}  // namespace varst
