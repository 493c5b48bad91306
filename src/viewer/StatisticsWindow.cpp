#include "viewer/StatisticsWindow.h"

#include <QApplication>
#include <algorithm>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "common/FileWrite.h"
#include "common/Numbers.h"
#include "common/Paths.h"
#include "common/Text.h"
#include "platform/QtText.h"
#include "viewer/AxisXText.h"
#include "viewer/ViewTexts.h"

namespace varst {
namespace {

// How often an open window looks whether the chart changed; the look costs one comparison.
constexpr int kPollMilliseconds = 200;

constexpr char kOutlierShareKey[] = "outlier_share";

bool AnyShare(const std::vector<std::optional<double>>& shares) {
  return std::any_of(shares.begin(), shares.end(), [](const auto& share) { return share.has_value(); });
}

std::string Number(const std::optional<double>& value) { return value ? DecimalText(*value) : std::string(); }

std::vector<std::string> RowTexts(const StatisticsRow& r, const ChartState& chart) {
  const SeriesStatistics& s = r.stats;
  const auto x = [&](const std::optional<double>& v) { return v ? AxisXText(chart, *v) : std::string(); };
  return {GetFileName(r.path),
          r.label,
          r.model,
          r.serial,
          std::to_string(s.records),
          s.records > 0 ? std::to_string(s.errors) : std::string(),
          Number(s.min),
          x(s.min_x),
          Number(s.mean),
          Number(s.p1),
          Number(s.p50),
          Number(s.p99),
          Number(s.max),
          x(s.max_x),
          s.threshold_count ? std::to_string(*s.threshold_count) : std::string()};
}

}  // namespace

StatisticsWindow::StatisticsWindow(Source source, Prompter& prompter, QWidget* parent)
    : QWidget(parent, Qt::Window), source_(std::move(source)), prompter_(prompter) {
  setObjectName("StatisticsWindow");
  setWindowTitle(QString::fromUtf8(kStatisticsCaption));
  table_ = new QTableWidget(this);
  table_->setObjectName("StatisticsTable");
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->verticalHeader()->setVisible(false);
  // The series colours are chosen to stand on the chart's dark background, as in the grid.
  table_->setStyleSheet("QTableWidget { background: black; gridline-color: #505050; }");
  auto* copy = new QPushButton(QString::fromUtf8(kCopyCaption), this);
  copy->setObjectName("StatisticsCopy");
  auto* save = new QPushButton(QString::fromUtf8(kSaveCsvCaption), this);
  save->setObjectName("StatisticsSaveCsv");
  connect(copy, &QPushButton::clicked, this, &StatisticsWindow::CopyToClipboard);
  connect(save, &QPushButton::clicked, this, &StatisticsWindow::SaveCsv);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(copy);
  buttons->addWidget(save);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(table_, 1);
  layout->addLayout(buttons);

  poll_ = new QTimer(this);
  poll_->setInterval(kPollMilliseconds);
  connect(poll_, &QTimer::timeout, this, &StatisticsWindow::Refresh);
  resize(1000, 260);
}

void StatisticsWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  Refresh();
  poll_->start();
}

void StatisticsWindow::hideEvent(QHideEvent* event) {
  poll_->stop();
  QWidget::hideEvent(event);
}

std::vector<std::string> StatisticsWindow::Headers() const {
  std::vector<std::string> headers{kFileColumnCaption};
  const auto& keys = StatisticsKeys();
  headers.insert(headers.end(), keys.begin() + 2, keys.end());  // after row and path
  if (AnyShare(shares_)) headers.emplace_back(kOutlierShareKey);
  return headers;
}

std::vector<std::string> StatisticsWindow::ShownTexts(std::size_t at) const {
  std::vector<std::string> texts = RowTexts(rows_[at], source_.chart);
  if (AnyShare(shares_)) texts.push_back(shares_[at] ? ShortestText(*shares_[at]) : std::string());
  return texts;
}

std::vector<std::optional<double>> StatisticsWindow::OutlierShares() const {
  std::vector<std::optional<double>> shares;
  for (const StatisticsRow& row : rows_) {
    shares.push_back(source_.outlierShare ? source_.outlierShare(row.row) : std::nullopt);
  }
  return shares;
}

void StatisticsWindow::Refresh() {
  // The band is worked out after the chart is drawn, so its shares are compared as well.
  if (built_ && shownRevision_ == source_.points.Revision() && shares_ == OutlierShares()) return;
  Rebuild();
}

void StatisticsWindow::Rebuild() {
  shownRevision_ = source_.points.Revision();
  built_ = true;
  rows_ = BuildStatisticsRows(source_.dataSet, source_.points, source_.ticked);
  shares_ = OutlierShares();
  const std::vector<std::string> headers = Headers();
  table_->setColumnCount(static_cast<int>(headers.size()));
  QStringList labels;
  for (const std::string& header : headers) labels << ToQString(header);
  table_->setHorizontalHeaderLabels(labels);
  table_->setRowCount(static_cast<int>(rows_.size()));
  for (int r = 0; r < static_cast<int>(rows_.size()); ++r) {
    const StatisticsRow& row = rows_[static_cast<std::size_t>(r)];
    const QColor colour = ToQColor(source_.dataSet.SeriesColor[static_cast<std::size_t>(row.row)]);
    const std::vector<std::string> texts = ShownTexts(static_cast<std::size_t>(r));
    for (int c = 0; c < static_cast<int>(texts.size()); ++c) {
      auto* item = new QTableWidgetItem(ToQString(texts[static_cast<std::size_t>(c)]));
      item->setForeground(colour);
      if (c >= 4) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      table_->setItem(r, c, item);
    }
  }
  table_->resizeColumnsToContents();
}

std::string StatisticsWindow::TabText() const {
  const auto line = [](const std::vector<std::string>& fields) { return Join(fields, "\t") + "\n"; };
  std::string text = line(Headers());
  for (std::size_t r = 0; r < rows_.size(); ++r) text += line(ShownTexts(r));
  return text;
}

void StatisticsWindow::CopyToClipboard() const { QApplication::clipboard()->setText(ToQString(TabText())); }

void StatisticsWindow::SaveCsv() {
  const std::string path = prompter_.SaveFileDialog(kCsvFilesDescription, "*.csv", "statistics.csv", "");
  if (path.empty()) return;
  StatisticsColumn shares;
  if (AnyShare(shares_)) {
    shares.key = kOutlierShareKey;
    for (const auto& share : shares_) shares.texts.push_back(share ? ShortestText(*share) : std::string());
  }
  const WriteResult written = WriteFileAtomically(path, StatisticsCsv(rows_, shares));
  if (!written) prompter_.Message(written.error, MessageIcon::Critical);
}

}  // namespace varst
