#include "viewer/StatisticsWindow.h"

#include <QApplication>
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

std::vector<std::string> Headers() {
  std::vector<std::string> headers{kFileColumnCaption};
  const auto& keys = StatisticsKeys();
  headers.insert(headers.end(), keys.begin() + 2, keys.end());  // after row and path
  return headers;
}

std::string Number(const std::optional<double>& value) { return value ? DecimalText(*value) : std::string(); }

std::vector<std::string> ShownTexts(const StatisticsRow& r, const ChartState& chart) {
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
  const std::vector<std::string> headers = Headers();
  table_->setColumnCount(static_cast<int>(headers.size()));
  QStringList labels;
  for (const std::string& header : headers) labels << ToQString(header);
  table_->setHorizontalHeaderLabels(labels);

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

void StatisticsWindow::Refresh() {
  if (built_ && shownRevision_ == source_.points.Revision()) return;
  Rebuild();
}

void StatisticsWindow::Rebuild() {
  shownRevision_ = source_.points.Revision();
  built_ = true;
  rows_ = BuildStatisticsRows(source_.dataSet, source_.points, source_.ticked);
  table_->setRowCount(static_cast<int>(rows_.size()));
  for (int r = 0; r < static_cast<int>(rows_.size()); ++r) {
    const StatisticsRow& row = rows_[static_cast<std::size_t>(r)];
    const QColor colour = ToQColor(source_.dataSet.SeriesColor[static_cast<std::size_t>(row.row)]);
    const std::vector<std::string> texts = ShownTexts(row, source_.chart);
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
  for (const StatisticsRow& row : rows_) text += line(ShownTexts(row, source_.chart));
  return text;
}

void StatisticsWindow::CopyToClipboard() const { QApplication::clipboard()->setText(ToQString(TabText())); }

void StatisticsWindow::SaveCsv() {
  const std::string path = prompter_.SaveFileDialog(kCsvFilesDescription, "*.csv", "statistics.csv", "");
  if (path.empty()) return;
  const WriteResult written = WriteFileAtomically(path, StatisticsCsv(rows_));
  if (!written) prompter_.Message(written.error, MessageIcon::Critical);
}

}  // namespace varst
