#pragma once
// "統計": a window beside the main window with the statistics of every ticked series row, each
// row in its series colour. It follows what the chart draws (ticks, loads, deletions, zoom);
// "コピー" puts it on the clipboard as tab-separated text, "CSV保存" saves the csv.

#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
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
    // The row's outlier share while the reference band is on; none otherwise (may be empty).
    std::function<std::optional<double>(int row)> outlierShare;
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
  [[nodiscard]] std::vector<std::optional<double>> OutlierShares() const;
  [[nodiscard]] std::vector<std::string> Headers() const;
  [[nodiscard]] std::vector<std::string> ShownTexts(std::size_t at) const;

  Source source_;
  Prompter& prompter_;
  QTableWidget* table_ = nullptr;
  QTimer* poll_ = nullptr;
  std::vector<StatisticsRow> rows_;
  // Per shown row; the outlier_share column is shown while any row has one.
  std::vector<std::optional<double>> shares_;
  std::uint64_t shownRevision_ = 0;
  bool built_ = false;
};

}  // namespace varst
