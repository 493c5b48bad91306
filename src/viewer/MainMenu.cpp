#include "viewer/MainMenu.h"

#include <QApplication>
#include <algorithm>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QMimeData>
#include <QKeyEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>

#include "Version.h"
#include "chart/ChartDrawing.h"
#include "convert/FilenameConv.h"
#include "common/Numbers.h"
#include "data/LoadFiles.h"
#include "data/SeriesRows.h"
#include "platform/ButtonArray.h"
#include "platform/ChartView.h"
#include "platform/OutOfMemory.h"
#include "platform/QtGrid.h"
#include "platform/InterfaceLanguage.h"
#include "platform/QtText.h"
#include "viewer/ChartViews.h"

namespace varst {
namespace {


template <typename Widget>
Widget* Named(Widget* widget, const QString& name) {
  widget->setObjectName(name);
  return widget;
}

}  // namespace

std::string SizeReadout(int widthPixels, int heightPixels) {
  return "W:" + std::to_string(widthPixels) + "\rH:" + std::to_string(heightPixels);
}

std::string BuildBaseCaption(int major, int minor, int revision) {
  return "ﾊﾟﾌｫｰﾏﾝｽ計測ﾋﾞｭｰｱｰ Ver" + std::to_string(major) + "." + std::to_string(minor) +
         std::to_string(revision);
}

MainMenu::MainMenu(Settings& settings, DataSet& dataSet, Services services, SettingsSaver saveSettings,
                   QWidget* parent)
    : QWidget(parent),
      settings_(settings),
      dataSet_(dataSet),
      services_(services),
      saveSettings_(std::move(saveSettings)) {
  BuildControls();
  drawing_ = std::make_unique<ChartDrawing>(settings_, dataSet_, chart_, VSDraw1->Surface(), *this);
  drawing_->SetRecordSink(&points_);
  // The window draws its files again and again (ticks, zoom): it keeps where it may skip.
  dataSet_.DrawnRuns.SwitchOn();
  views_ = new ChartViews(
      ChartViews::Parts{*VSDraw1, chart_, dataSet_, points_,
                            [this](int row) { return row < Grid1->Rows() && Grid1->CellChecked(row, 1) == kChecked; },
                            [this] { Grid1_AfterEdit(0, 1); }, services_.prompter,
                            [this](int row) -> std::optional<double> {
                              const auto at = static_cast<std::size_t>(row);
                              return at < bands_.outlierShare.size() ? bands_.outlierShare[at] : std::nullopt;
                            }},
      this);
  Grid1->SetEvents(this);
  VSDraw1->Surface().SetPictureCopier([this](const DisplayList& list, std::int32_t width, std::int32_t height) {
    return CopyPictureToClipboard(list, width, height);
  });
  for (QLineEdit* box : Text1) box->installEventFilter(this);
  setAcceptDrops(true);
  connect(Check1, &QCheckBox::clicked, this, &MainMenu::Check1_Click);
  connect(bandCheck_, &QCheckBox::clicked, this, [this] { RefreshBand(); });
  // The band follows every drawing of the chart (ticks, loads, zoom, smoothing): it is made
  // again once the drawn records have changed.
  bandTimer_ = new QTimer(this);
  bandTimer_->setInterval(200);
  connect(bandTimer_, &QTimer::timeout, this, [this] {
    if (bandCheck_->isChecked() && points_.Revision() != bandRevision_) RefreshBand();
  });
  bandTimer_->start();
  connect(conversionButton_, &QPushButton::clicked, this, &MainMenu::OpenConversionTool);
  Timer1 = new QTimer(this);
  Timer1->setSingleShot(true);
  Timer1->setInterval(300);
  connect(Timer1, &QTimer::timeout, this, &MainMenu::Timer1_Timer);
  resize(1180, 820);
}

MainMenu::~MainMenu() = default;

void MainMenu::BuildControls() {
  VSDraw1 = Named(new ChartView, "VSDraw1");
  Label3 = Named(new QLabel(VSDraw1), "Label3");
  Label3->setAlignment(Qt::AlignRight | Qt::AlignTop);
  Label3->setStyleSheet("color: #a0a0a0; background: transparent;");
  VSDraw1->onResized = [this](int width, int height) {
    QString readout = ToQString(SizeReadout(width, height));
    Label3->setText(readout.replace('\r', '\n'));
    Label3->adjustSize();
    Label3->move(width - Label3->width() - 4, 2);
  };

  Picture1 = Named(new QWidget, "Picture1");
  Grid1 = Named(new QtGrid(Picture1), "Grid1");
  Grid1->SetCols(kSeriesGridColumns);
  Grid1->SetHeaderVisible(false);
  Grid1->SetColHidden(0, true);
  auto* panelLayout = new QHBoxLayout(Picture1);
  panelLayout->setContentsMargins(0, 0, 0, 0);
  panelLayout->addWidget(Grid1, 1);
  panelLayout->addWidget(BuildControlPanel(), 0);

  splitter_ = new QSplitter(Qt::Vertical, this);
  splitter_->addWidget(VSDraw1);
  splitter_->addWidget(Picture1);
  splitter_->setStretchFactor(0, 1);
  splitter_->setStretchFactor(1, 0);
  splitter_->setChildrenCollapsible(false);
  splitter_->setSizes({600, 200});
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(splitter_);
}

QWidget* MainMenu::BuildControlPanel() {
  auto* panel = new QWidget;
  auto* grid = new QGridLayout(panel);
  grid->setContentsMargins(6, 0, 0, 0);
  grid->setVerticalSpacing(4);
  // Two rows of command buttons: opening and output above, the derived series below.
  constexpr std::array<std::pair<int, int>, 7> kPlaces = {{{0, 0}, {0, 1}, {1, 0}, {0, 2}, {1, 1}, {1, 2}, {0, 3}}};
  const std::array<QString, 7> captions = {"ﾌｧｲﾙを開く", "ﾌｧｲﾙを保存", "ｽﾑｰｼﾞﾝｸﾞ", "ｸﾘｯﾌﾟﾎﾞｰﾄﾞ", "ﾏｰｼﾞ", "色設定", "描画"};
  Command1 = MakeButtonArray(QStringLiteral("Command1"), captions, this, [this](int i) { Command1_Click(i); });
  for (std::size_t i = 0; i < Command1.size(); ++i) grid->addWidget(Command1[i], kPlaces[i].first, kPlaces[i].second);
  conversionButton_ = Named(new QPushButton(QString::fromUtf8("ﾌｧｲﾙ名変換")), "ConversionTool");
  conversionButton_->setToolTip(QString::fromUtf8("ファイル名変換ツールを開きます"));
  grid->addWidget(conversionButton_, 1, 3);

  Label1[0] = Named(new QLabel("Average Cnt"), "Label1_0");
  Label1[1] = Named(new QLabel("Offset"), "Label1_1");
  for (int i = 0; i < static_cast<int>(Text1.size()); ++i) {
    Text1[i] = Named(new QLineEdit, QString("Text1_%1").arg(i));
    Text1[i]->setMaximumWidth(i < 3 ? 80 : 40);
  }
  auto* entries = new QHBoxLayout;
  entries->addWidget(Label1[0]);
  entries->addWidget(Text1[0]);
  entries->addSpacing(8);
  entries->addWidget(Label1[1]);
  entries->addWidget(Text1[1]);
  entries->addStretch();
  grid->addLayout(entries, 2, 0, 1, 4);

  auto* modes = new QHBoxLayout;
  auto* group = new QButtonGroup(panel);
  const std::array<const char*, 3> modeCaptions = {"MB", "%", "一定"};
  for (int i = 0; i < 3; ++i) {
    Option1[i] = Named(new QRadioButton(QString::fromUtf8(modeCaptions[i])), QString("Option1_%1").arg(i));
    group->addButton(Option1[i], i);
    modes->addWidget(Option1[i]);
  }
  Option1[0]->setChecked(true);
  modes->addStretch();
  grid->addLayout(modes, 3, 0, 1, 4);

  Check1 = Named(new QCheckBox(QString::fromUtf8("機種名表示")), "Check1");
  Check1->setChecked(true);
  Check3 = Named(new QCheckBox("Y Scale"), "Check3");
  auto* scale = new QHBoxLayout;
  scale->addWidget(Check1);
  scale->addSpacing(12);
  bandCheck_ = Named(new QCheckBox(QString::fromUtf8(kBandCaption)), "BandCheck");
  scale->addWidget(bandCheck_);
  scale->addWidget(Named(new QLabel("k"), "BandKLabel"));
  scale->addWidget(Text1[3]);
  scale->addWidget(Named(new QLabel("t%"), "BandTLabel"));
  scale->addWidget(Text1[4]);
  scale->addSpacing(12);
  scale->addWidget(Check3);
  scale->addWidget(Text1[2]);
  scale->addStretch();
  grid->addLayout(scale, 4, 0, 1, 4);

  Label2 = Named(new QLabel, "Label2");
  Label2->setMinimumWidth(200);
  grid->addWidget(Label2, 5, 0, 1, 4);
  grid->setRowStretch(6, 1);
  return panel;
}

LoadContext MainMenu::Context() {
  return LoadContext{settings_, dataSet_, *drawing_, VSDraw1->Surface(), *Grid1, *this, services_.prompter};
}

void MainMenu::Form_Load() {
  chart_.YZoom = 50;
  ClearSeriesRows(*Grid1);
  Grid1->SetBaseColour(settings_.Grf_ColorInfo[0]);
  VSDraw1->Surface().SetBackColor(settings_.Grf_ColorInfo[0]);
  VSDraw1->Surface().Clear();
  const std::array<const char*, 3> initial = {"5", "0", ""};
  for (int i = 0; i < 3; ++i) {
    Text1[i]->setText(initial[i]);
    Text1[i]->setProperty("tag", QString(initial[i]));
  }
  for (int i = 3; i < 5; ++i) {
    const QString value = i == 3 ? "3" : "5";
    Text1[i]->setText(value);
    Text1[i]->setProperty("tag", value);
  }
  settings_.BaseCaption = BuildBaseCaption(kVersionMajor, kVersionMinor, kVersionRevision);
  setWindowTitle(Ui(settings_.BaseCaption));
  Timer1->start();
  GuardCommand([this] {
    LoadContext context = Context();
    LoadStartupFiles(context);
  });
  VSDraw1->update();
}

void MainMenu::GuardCommand(const std::function<void()>& command) {
  RunWithinMemory(services_.prompter, command, [this] {
    settings_.BatchMode = 0;
    ResetDataSet(dataSet_);
    ClearSeriesRows(*Grid1);
    drawing_->ClearChart();
    VSDraw1->update();
    Label2->clear();
    SetHourglass(false);
    SetTitle("", 1);
  });
}

double MainMenu::TwipsPerPixelX() const { return VSDraw1->TwipsPerPixelX(); }

double MainMenu::TwipsPerPixelY() const { return VSDraw1->TwipsPerPixelY(); }

void MainMenu::SetHourglass(bool on) {
  // The pointer is set on this window only: the question and error boxes a command shows keep
  // the ordinary pointer. Commands nest (a batch list copies through the clipboard command),
  // so the pointer comes back when the outermost one ends.
  busyDepth_ = std::max(0, busyDepth_ + (on ? 1 : -1));
  if (busyDepth_ > 0) {
    setCursor(Qt::WaitCursor);
  } else {
    unsetCursor();
  }
}

bool MainMenu::eventFilter(QObject* watched, QEvent* event) {
  for (int i = 0; i < static_cast<int>(Text1.size()); ++i) {
    if (watched != Text1[i]) continue;
    if (event->type() == QEvent::FocusIn) {
      // After the click that gave the focus has placed the caret.
      QTimer::singleShot(0, Text1[i], &QLineEdit::selectAll);
    } else if (event->type() == QEvent::FocusOut) {
      // Checked when the focus moves to another control of this window; not when the window
      // itself loses activation (another program, a message box) or a popup menu opens.
      const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
      if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) Text1_LostFocus(i);
    } else if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter) Text1_LostFocus(i);
    }
  }
  return QWidget::eventFilter(watched, event);
}

void MainMenu::SetTitle(const std::string& text, int mode) {
  if (mode == 1) setWindowTitle(Ui(settings_.BaseCaption));
  if (mode == 2) setWindowTitle(Ui(settings_.BaseCaption) + Ui(text));
  ProcessEvents();
}

QString MainMenu::StatusText() const { return Label2->text(); }

void MainMenu::ClearYScaleBox() { Text1[2]->clear(); }

bool MainMenu::KeepYScale() const { return Check3->isChecked(); }

void MainMenu::AppendProgress(const std::string& marks) {
  QString text = Label2->text();
  text.chop(percentShown_);
  percentShown_ = 0;
  Label2->setText(text + ToQString(marks));
}

void MainMenu::ClearProgress() {
  percentShown_ = 0;
  Label2->clear();
}

void MainMenu::FileProgress(double share) {
  // A repaint costs as much as drawing a good many records, and more the more is drawn: often
  // enough to look alive, never so often that a load spends more than a fifth of its time
  // showing itself.
  constexpr qint64 kProgressMilliseconds = 100;
  if (progressShown_.isValid() && progressShown_.elapsed() < progressPause_) return;
  QElapsedTimer painting;
  painting.start();
  QString text = Label2->text();
  text.chop(percentShown_);
  const QString percent = QString(" %1%").arg(static_cast<int>(share * 100));
  percentShown_ = static_cast<int>(percent.size());
  Label2->setText(text + percent);
  PaintAndProcessEvents(true);
  progressPause_ = std::max<qint64>(kProgressMilliseconds, 4 * painting.elapsed());
  progressShown_.start();
}

void MainMenu::EndFileProgress() {
  if (percentShown_ == 0) return;
  QString text = Label2->text();
  text.chop(percentShown_);
  percentShown_ = 0;
  Label2->setText(text);
}

void MainMenu::ProcessEvents() { PaintAndProcessEvents(false); }

void MainMenu::PaintAndProcessEvents(bool progressive) {
  VSDraw1->RefreshIfChanged(progressive);
  repaint();
  // The window repaints, but clicks and keys wait until the work is done: a command started
  // in the middle of another would read and redraw the data set the first one is changing.
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  VSDraw1->EndProgress();
}

ScreenPoint MainMenu::MessageBoxPoint() const {
  // Half of the window's right edge, as the question boxes have always opened.
  const QRect frame = frameGeometry();
  return {static_cast<int>(RoundHalfEven((frame.left() + frame.width()) / 2.0)),
          static_cast<int>(RoundHalfEven((frame.top() + frame.height()) / 2.0))};
}

std::string MainMenu::YScaleText() const { return ToBytes(Text1[2]->text()); }

void MainMenu::SetYScaleText(const std::string& text) { Text1[2]->setText(ToQString(text)); }

bool MainMenu::ShowModelName() const { return Check1->isChecked(); }

void MainMenu::SetOffsetUnitCaption(const std::string& caption) { Option1[0]->setText(ToQString(caption)); }

Colour MainMenu::WindowBackColor() const { return FromQColor(palette().color(QPalette::Window)); }

void MainMenu::Trace(const std::string& line) {
  if (trace_) trace_(line);
}

void MainMenu::OpenConversionTool() {
  if (conversionTool_ == nullptr) {
    auto* tool = new FilenameConv(settings_, services_, saveSettings_);
    tool->setAttribute(Qt::WA_DeleteOnClose);
    connect(tool, &QObject::destroyed, this, [this] { conversionTool_ = nullptr; });
    conversionTool_ = tool;
  }
  conversionTool_->show();
  conversionTool_->raise();
  conversionTool_->activateWindow();
}

// Files dragged over the window outside the grid show the copy pointer, as over the grid;
// only a drop on the grid loads them.
void MainMenu::dragEnterEvent(QDragEnterEvent* event) {
  if (!event->mimeData()->hasUrls()) return event->ignore();
  event->setDropAction(Qt::CopyAction);
  event->accept();
}

void MainMenu::dragMoveEvent(QDragMoveEvent* event) {
  if (!event->mimeData()->hasUrls()) return event->ignore();
  event->setDropAction(Qt::CopyAction);
  event->accept();
}

void MainMenu::dropEvent(QDropEvent* event) {
  event->setDropAction(Qt::CopyAction);
  event->accept();
}

void MainMenu::closeEvent(QCloseEvent* event) {
  Form_Unload();
  event->accept();
}

void MainMenu::Form_Unload() {
  if (saveSettings_) saveSettings_();
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window != this && window->isVisible()) window->close();
  }
}

}  // namespace varst
