#include "platform/QtGrid.h"

#include <QApplication>
#include <QCursor>
#include <algorithm>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QUrl>

#include "platform/InterfaceLanguage.h"
#include "platform/QtText.h"

namespace varst {
namespace {

constexpr int kBytesRole = Qt::UserRole + 1;

// Holds off the item-changed handler while the program changes cells itself.
class Updating {
 public:
  explicit Updating(int& counter) : counter_(counter) { ++counter_; }
  ~Updating() { --counter_; }
  Updating(const Updating&) = delete;
  Updating& operator=(const Updating&) = delete;

 private:
  int& counter_;
};

std::vector<std::string> LocalFiles(const QMimeData* data) {
  std::vector<std::string> paths;
  if (data == nullptr || !data->hasUrls()) return paths;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) paths.push_back(PathFromQString(url.toLocalFile()));
  }
  return paths;
}

// Rows carry meaning in their colours (series colours, status cells), so a selected row keeps
// its own text and background colours and is marked by a tint over them.
class ColourKeepingDelegate final : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  // The tick box in black on white, whatever the cell's colours, so it reads on a dark grid.
  void DrawCheckIndicator(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem item(option);
    initStyleOption(&item, index);
    if (!(item.features & QStyleOptionViewItem::HasCheckIndicator)) return;
    const QWidget* widget = option.widget;
    QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    QStyleOptionViewItem check(item);
    check.rect = style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &item, widget);
    check.state = check.state & ~QStyle::State_HasFocus;
    check.state |= item.checkState == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
    for (QPalette::ColorRole role : {QPalette::Base, QPalette::Window, QPalette::Button}) check.palette.setColor(role, Qt::white);
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText}) check.palette.setColor(role, Qt::black);
    style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &check, painter, widget);
  }

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyleOptionViewItem plain(option);
    const bool selected = plain.state & QStyle::State_Selected;
    plain.state &= ~QStyle::State_Selected;
    plain.state &= ~QStyle::State_HasFocus;
    QStyledItemDelegate::paint(painter, plain, index);
    DrawCheckIndicator(painter, plain, index);
    if (selected) {
      QColor tint = option.palette.color(QPalette::Highlight);
      tint.setAlpha(70);
      painter->fillRect(option.rect, tint);
    }
  }
};

}  // namespace

QtGrid::QtGrid(QWidget* parent) : QTableWidget(parent) {
  setItemDelegate(new ColourKeepingDelegate(this));
  verticalHeader()->hide();
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  horizontalHeader()->setHighlightSections(false);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setMouseTracking(true);
  setAcceptDrops(true);
  viewport()->setAcceptDrops(true);
  setDragDropMode(QAbstractItemView::DropOnly);
  setWordWrap(false);
  connect(this, &QTableWidget::itemChanged, this, &QtGrid::OnItemChanged);
  connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &QtGrid::OnScrolled);
}

bool QtGrid::Inside(int row, int col) const {
  return row >= 0 && row < rowCount() && col >= 0 && col < columnCount();
}

QTableWidgetItem* QtGrid::Cell(int row, int col) {
  if (!Inside(row, col)) return nullptr;
  QTableWidgetItem* cell = item(row, col);
  if (cell == nullptr) {
    Updating guard(updating_);
    cell = new QTableWidgetItem();
    cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    setItem(row, col, cell);
  }
  return cell;
}

const QTableWidgetItem* QtGrid::CellIfAny(int row, int col) const {
  return Inside(row, col) ? item(row, col) : nullptr;
}

void QtGrid::SetRows(int rows) {
  Updating guard(updating_);
  rows = std::max(0, rows);
  setRowCount(rows);
  rowData_.resize(static_cast<std::size_t>(rows));
}

void QtGrid::SetCols(int cols) {
  Updating guard(updating_);
  setColumnCount(std::max(0, cols));
}

void QtGrid::SetRow(int row) {
  if (row < 0 || row >= rowCount()) return;
  const int col = std::max(0, currentColumn());
  setCurrentCell(row, col < columnCount() ? col : 0, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

int QtGrid::TopRow() const {
  const int row = rowAt(0);
  return row < 0 ? 0 : row;
}

void QtGrid::SetTopRow(int row) {
  if (row < 0 || row >= rowCount()) return;
  int col = 0;
  while (col < columnCount() && isColumnHidden(col)) ++col;
  if (col >= columnCount()) return;
  scrollTo(model()->index(row, col), QAbstractItemView::PositionAtTop);
}

std::string QtGrid::TextMatrix(int row, int col) const {
  const QTableWidgetItem* cell = CellIfAny(row, col);
  if (cell == nullptr) return {};
  return cell->data(kBytesRole).toByteArray().toStdString();
}

void QtGrid::SetTextMatrix(int row, int col, const std::string& text) {
  QTableWidgetItem* cell = Cell(row, col);
  if (cell == nullptr) return;
  Updating guard(updating_);
  cell->setData(kBytesRole, QByteArray::fromStdString(text));
  cell->setText(ToQString(text));
}

std::string QtGrid::RowData(int row) const {
  if (row < 0 || row >= static_cast<int>(rowData_.size())) return {};
  return rowData_[static_cast<std::size_t>(row)];
}

void QtGrid::SetRowData(int row, const std::string& data) {
  if (row < 0 || row >= rowCount()) return;
  rowData_.resize(static_cast<std::size_t>(rowCount()));
  rowData_[static_cast<std::size_t>(row)] = data;
}

int QtGrid::CellChecked(int row, int col) const {
  const QTableWidgetItem* cell = CellIfAny(row, col);
  if (cell == nullptr || !(cell->flags() & Qt::ItemIsUserCheckable)) return kCheckNone;
  return cell->checkState() == Qt::Checked ? kChecked : kUnchecked;
}

void QtGrid::SetCellChecked(int row, int col, int state) {
  QTableWidgetItem* cell = Cell(row, col);
  if (cell == nullptr) return;
  Updating guard(updating_);
  if (state == kCheckNone) {
    cell->setFlags(cell->flags() & ~Qt::ItemIsUserCheckable);
    cell->setData(Qt::CheckStateRole, QVariant());
    return;
  }
  cell->setFlags(cell->flags() | Qt::ItemIsUserCheckable);
  cell->setCheckState(state == kChecked ? Qt::Checked : Qt::Unchecked);
}

void QtGrid::SetCellForeColor(int row1, int col1, int row2, int col2, Colour colour) {
  Updating guard(updating_);
  for (int r = std::min(row1, row2); r <= std::max(row1, row2); ++r) {
    for (int c = std::min(col1, col2); c <= std::max(col1, col2); ++c) {
      if (QTableWidgetItem* cell = Cell(r, c)) cell->setForeground(ToQColor(colour));
    }
  }
}

void QtGrid::SetCellBackColor(int row1, int col1, int row2, int col2, Colour colour) {
  Updating guard(updating_);
  for (int r = std::min(row1, row2); r <= std::max(row1, row2); ++r) {
    for (int c = std::min(col1, col2); c <= std::max(col1, col2); ++c) {
      if (QTableWidgetItem* cell = Cell(r, c)) cell->setBackground(ToQColor(colour));
    }
  }
}

Colour QtGrid::CellForeColor(int row, int col) const {
  const QTableWidgetItem* cell = CellIfAny(row, col);
  if (cell == nullptr || cell->foreground().style() == Qt::NoBrush) return FromQColor(palette().color(QPalette::Text));
  return FromQColor(cell->foreground().color());
}

Colour QtGrid::CellBackColor(int row, int col) const {
  const QTableWidgetItem* cell = CellIfAny(row, col);
  if (cell == nullptr || cell->background().style() == Qt::NoBrush) return FromQColor(palette().color(QPalette::Base));
  return FromQColor(cell->background().color());
}

void QtGrid::AddItem(const std::string& cells, int index) {
  Updating guard(updating_);
  const int row = (index < 0 || index > rowCount()) ? rowCount() : index;
  insertRow(row);
  rowData_.insert(rowData_.begin() + row, std::string());
  std::size_t start = 0;
  for (int col = 0; col < columnCount(); ++col) {
    const auto tab = cells.find('\t', start);
    SetTextMatrix(row, col, cells.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos) break;
    start = tab + 1;
  }
}

void QtGrid::RemoveItem(int row) {
  if (row < 0 || row >= rowCount()) return;
  Updating guard(updating_);
  removeRow(row);
  if (row < static_cast<int>(rowData_.size())) rowData_.erase(rowData_.begin() + row);
}

void QtGrid::ClearCells() {
  Updating guard(updating_);
  for (int r = 0; r < rowCount(); ++r) {
    for (int c = 0; c < columnCount(); ++c) {
      QTableWidgetItem* cell = item(r, c);
      if (cell == nullptr) continue;
      const bool checkable = cell->flags() & Qt::ItemIsUserCheckable;
      cell->setData(kBytesRole, QByteArray());
      cell->setText(QString());
      cell->setData(Qt::ForegroundRole, QVariant());
      cell->setData(Qt::BackgroundRole, QVariant());
      if (checkable) cell->setCheckState(Qt::Unchecked);
    }
  }
  std::fill(rowData_.begin(), rowData_.end(), std::string());
}

void QtGrid::SetHeaderVisible(bool visible) { horizontalHeader()->setVisible(visible); }

void QtGrid::SetHeaderText(int col, const std::string& text) {
  if (col < 0 || col >= columnCount()) return;
  setHorizontalHeaderItem(col, new QTableWidgetItem(Ui(text)));
}

void QtGrid::AutoSize(int col1, int col2) {
  for (int c = std::max(0, col1); c <= std::min(col2, columnCount() - 1); ++c) resizeColumnToContents(c);
}

void QtGrid::SetColHidden(int col, bool hidden) { setColumnHidden(col, hidden); }

void QtGrid::Repaint() { viewport()->repaint(); }

void QtGrid::SetBaseColour(Colour colour) {
  QPalette colours = palette();
  colours.setColor(QPalette::Base, ToQColor(colour));
  setPalette(colours);
}

bool QtGrid::IsSelected(int row) const {
  return selectionModel() != nullptr && row >= 0 && row < rowCount() && selectionModel()->isRowSelected(row, QModelIndex());
}

int QtGrid::MouseRow() const { return rowAt(viewport()->mapFromGlobal(QCursor::pos()).y()); }

int QtGrid::MouseCol() const { return columnAt(viewport()->mapFromGlobal(QCursor::pos()).x()); }

void QtGrid::OnItemChanged(QTableWidgetItem* cell) {
  if (updating_ > 0 || cell == nullptr || !(cell->flags() & Qt::ItemIsUserCheckable)) return;
  // Only a toggled check box reaches here: texts never change through the user.
  const int row = cell->row();
  const int col = cell->column();
  bool cancel = false;
  if (events_ != nullptr) events_->StartEdit(row, col, cancel);
  if (cancel) {
    Updating guard(updating_);
    cell->setCheckState(cell->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    return;
  }
  if (events_ != nullptr) events_->AfterEdit(row, col);
}

void QtGrid::OnScrolled(int /*value*/) {
  const int oldTop = lastTopRow_;
  lastTopRow_ = TopRow();
  if (events_ != nullptr && oldTop != lastTopRow_) events_->AfterScroll(oldTop, lastTopRow_);
}

void QtGrid::mouseReleaseEvent(QMouseEvent* event) {
  QTableWidget::mouseReleaseEvent(event);
  if (events_ != nullptr) events_->MouseUp(event->button() == Qt::RightButton ? 2 : 1);
}

void QtGrid::mouseMoveEvent(QMouseEvent* event) {
  QTableWidget::mouseMoveEvent(event);
  const QPoint at = event->position().toPoint();
  if (events_ != nullptr) events_->MouseMove(rowAt(at.y()), columnAt(at.x()));
}

void QtGrid::mouseDoubleClickEvent(QMouseEvent* event) {
  QTableWidget::mouseDoubleClickEvent(event);
  if (events_ != nullptr) events_->DblClick();
}

void QtGrid::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) {
    event->setDropAction(Qt::CopyAction);
    event->accept();
  } else {
    event->ignore();
  }
}

void QtGrid::dragMoveEvent(QDragMoveEvent* event) {
  if (event->mimeData()->hasUrls()) {
    event->setDropAction(Qt::CopyAction);
    event->accept();
  } else {
    event->ignore();
  }
}

void QtGrid::dropEvent(QDropEvent* event) {
  const std::vector<std::string> paths = LocalFiles(event->mimeData());
  event->setDropAction(Qt::CopyAction);
  event->accept();
  if (events_ != nullptr && !paths.empty()) events_->DragDrop(paths);
}

}  // namespace varst
