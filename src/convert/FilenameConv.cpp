#include "convert/FilenameConv.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStringList>
#include <QVBoxLayout>
#include <algorithm>

#include "common/Text.h"
#include "convert/ConversionRun.h"
#include "convert/CopyFile.h"
#include "convert/CopyTarget.h"
#include "convert/FileListRows.h"
#include "convert/RowOutcome.h"
#include "convert/RunSummary.h"
#include "platform/OutOfMemory.h"
#include "platform/QtGrid.h"
#include "platform/InterfaceLanguage.h"
#include "platform/QtText.h"

namespace varst {
namespace {

constexpr int kStart = 0;
constexpr int kClearAll = 1;
constexpr int kDelete = 2;
constexpr int kEdit = 3;
constexpr int kAddFiles = 4;

QStringList LevelItems() { return {QStringLiteral("指定なし"), QStringLiteral("機種名"), QStringLiteral("日付")}; }

QStringList ExistingItems() {
  return {QStringLiteral("上書きする"), QStringLiteral("名前を変えて保存する"), QStringLiteral("コピーしない"),
          QStringLiteral("ダイアログを開く")};
}

constexpr char kStartCaption[] = "リネーム開始";
constexpr char kAbortCaption[] = "中止";
constexpr char kEmptyListQuestion[] = "設定されているファイルを削除しますか?";

// A stored choice index that the settings file may hold out of range, made a valid one.
int ClampedIndex(int stored, int count) { return std::clamp(stored, 0, count - 1); }

QLabel* CountLabel(Colour background, const char* toolTip) {
  auto* label = new QLabel;
  label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  label->setAlignment(Qt::AlignCenter);
  label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
  label->setToolTip(QString::fromUtf8(toolTip));
  if (background != kNoColour) {
    label->setAutoFillBackground(true);
    QPalette colours = label->palette();
    colours.setColor(QPalette::Window, ToQColor(background));
    colours.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(colours);
  }
  return label;
}

}  // namespace

FilenameConv::FilenameConv(Settings& settings, Services services, SettingsSaver saveSettings, QWidget* parent)
    : QWidget(parent),
      settings_(settings),
      services_(services),
      saveSettings_(std::move(saveSettings)),
      questions_(services.prompter, this) {
  setWindowTitle(QStringLiteral("ファイル名変換ツール"));
  BuildControls();
  Form_Load();
  resize(880, 480);
}

// ---- Building the window ----

void FilenameConv::BuildControls() {
  Picture1 = new QWidget;
  Frame1 = new QFrame;
  Frame1->setFrameStyle(QFrame::Box | QFrame::Sunken);
  auto* frameLayout = new QVBoxLayout(Frame1);
  frameLayout->setContentsMargins(8, 6, 8, 6);
  frameLayout->addWidget(BuildLevelRow());
  frameLayout->addWidget(BuildOptionRows());
  auto* panelLayout = new QVBoxLayout(Picture1);
  panelLayout->setContentsMargins(0, 0, 0, 0);
  panelLayout->addWidget(Frame1);
  panelLayout->addWidget(BuildListButtons());

  BuildFileList();
  BuildPopup();
  Label3 = new QLabel;
  Label3->setObjectName("Label3");
  Label3->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  Label3->setTextFormat(Qt::PlainText);
  Label3->setMinimumHeight(Label3->fontMetrics().height() + 6);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addWidget(Picture1);
  layout->addWidget(Grid1, 1);
  layout->addWidget(Label3);

  // Both row labels take the width of the wider one, so the boxes after them line up.
  const int labelWidth = std::max(Label1[0]->sizeHint().width(), Label1[1]->sizeHint().width());
  Label1[0]->setMinimumWidth(labelWidth);
  Label1[1]->setMinimumWidth(labelWidth);
}

// Row 1 reads as a path: folder box, "￥", first level, "￥", second level.
QWidget* FilenameConv::BuildLevelRow() {
  auto* row = new QWidget;
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  Label1[0] = new QLabel(QStringLiteral("保存先フォルダー"));
  Text1 = new QLineEdit;
  Text1->setObjectName("Text1");
  Command2 = new QPushButton(QStringLiteral("..."));
  Command2->setObjectName("Command2");
  Command2->setFixedWidth(Command2->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 20);
  connect(Command2, &QPushButton::clicked, this, &FilenameConv::BrowseFolder);
  Label1[2] = new QLabel(QStringLiteral("￥"));
  Label1[3] = new QLabel(QStringLiteral("￥"));
  for (int level = 0; level < 2; ++level) {
    QComboBox* combo = new QComboBox;
    combo->setObjectName(QStringLiteral("Combo1_%1").arg(level));
    combo->addItems(LevelItems());
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    Combo1[static_cast<std::size_t>(level)] = combo;
  }
  layout->addWidget(Label1[0]);
  layout->addWidget(Text1, 1);
  layout->addWidget(Command2);
  layout->addWidget(Label1[2]);
  layout->addWidget(Combo1[0]);
  layout->addWidget(Label1[3]);
  layout->addWidget(Combo1[1]);
  return row;
}

// Rows 2 and 3: the existing-file choice, the time stamp check and the counts, with the
// start button to the right of both.
QWidget* FilenameConv::BuildOptionRows() {
  Label1[1] = new QLabel(QStringLiteral("ファイルが存在する場合の処理"));
  Combo2 = new QComboBox;
  Combo2->setObjectName("Combo2");
  Combo2->addItems(ExistingItems());
  Combo2->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  Check1 = new QCheckBox(QStringLiteral("タイムスタンプとファイル名のチェック"));
  Check1->setObjectName("Check1");
  Label2[kCountSucceeded] = CountLabel(kColourCopied, "変換が成功したファイル数");
  Label2[kCountFailed] = CountLabel(kColourFailed, "変換を失敗したファイル数");
  Label2[kCountSkipped] = CountLabel(kColourSkipped, "変換をスキップしたファイル数");
  Label2[kCountListed] = CountLabel(kNoColour, "読み込まれているファイル数");
  for (std::size_t i = 0; i < Label2.size(); ++i) Label2[i]->setObjectName(QStringLiteral("Label2_%1").arg(i));
  Command1[kStart] = new QPushButton(QString::fromUtf8(kStartCaption));
  Command1[kStart]->setMinimumWidth(Command1[kStart]->fontMetrics().horizontalAdvance(QString::fromUtf8(kStartCaption)) + 32);
  Command1[kStart]->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
  connect(Command1[kStart], &QPushButton::clicked, this, &FilenameConv::StartOrAbort);

  auto* choiceRow = new QHBoxLayout;
  choiceRow->addWidget(Label1[1]);
  choiceRow->addWidget(Combo2);
  choiceRow->addStretch(1);
  auto* checkRow = new QHBoxLayout;
  checkRow->addWidget(Check1);
  checkRow->addStretch(1);
  for (const int label : {kCountListed, kCountSucceeded, kCountFailed, kCountSkipped}) {
    checkRow->addWidget(Label2[static_cast<std::size_t>(label)]);
  }
  auto* rows = new QVBoxLayout;
  rows->addLayout(choiceRow);
  rows->addLayout(checkRow);

  auto* block = new QWidget;
  auto* layout = new QHBoxLayout(block);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(rows, 1);
  layout->addSpacing(8);
  layout->addWidget(Command1[kStart]);
  return block;
}

// Row 4, below the frame: the list commands and the open-folder button.
QWidget* FilenameConv::BuildListButtons() {
  auto* row = new QWidget;
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  Command1[kAddFiles] = new QPushButton(QStringLiteral("ファイル"));
  Command1[kClearAll] = new QPushButton(QStringLiteral("全削除"));
  Command1[kDelete] = new QPushButton(QStringLiteral("削除"));
  Command1[kEdit] = new QPushButton(QStringLiteral("編集"));
  for (std::size_t i = 0; i < Command1.size(); ++i) Command1[i]->setObjectName(QStringLiteral("Command1_%1").arg(i));
  connect(Command1[kAddFiles], &QPushButton::clicked, this, &FilenameConv::AddFromOpenDialog);
  connect(Command1[kClearAll], &QPushButton::clicked, this, &FilenameConv::ClearAll);
  connect(Command1[kDelete], &QPushButton::clicked, this, &FilenameConv::DeleteSelectedRows);
  // The mouse is over the button, not the list: the button opens the source files.
  connect(Command1[kEdit], &QPushButton::clicked, this, [this] { EditSelected(kColPath); });
  Command10 = new QPushButton(QStringLiteral("Command3"));
  Command10->setObjectName("Command10");
  connect(Command10, &QPushButton::clicked, this, &FilenameConv::OpenDestinationFolder);
  for (const int index : {kAddFiles, kClearAll, kDelete, kEdit}) layout->addWidget(Command1[static_cast<std::size_t>(index)]);
  layout->addStretch(1);
  layout->addWidget(Command10);
  return row;
}

void FilenameConv::BuildFileList() {
  Grid1 = new QtGrid;
  Grid1->setObjectName("Grid1");
  Grid1->SetCols(kFileListCols);
  Grid1->SetRows(0);
  Grid1->SetHeaderVisible(true);
  Grid1->SetHeaderText(kColPath, "元ﾌｧｲﾙ名" + std::string(17, ' '));
  Grid1->SetHeaderText(kColStamp, "日付" + std::string(14, ' '));
  Grid1->SetHeaderText(kColStatus, "ｽﾃｰﾀｽ");
  Grid1->SetHeaderText(kColConverted, "変換後ﾌｧｲﾙ名" + std::string(13, ' '));
  for (const int col : {kColUnused0, kColUnused5, kColMessage}) {
    Grid1->SetHeaderText(col, std::string());
    Grid1->SetColHidden(col, true);
  }
  FitColumns();
  Grid1->SetEvents(this);
}

void FilenameConv::FitColumns() {
  Grid1->AutoSize(kColPath, kColConverted);
  const int statusWidth = Grid1->fontMetrics().horizontalAdvance(QString::fromUtf8(kStatusCopied)) + 24;
  Grid1->setColumnWidth(kColStatus, std::max(Grid1->columnWidth(kColStatus), statusWidth));
}

void FilenameConv::BuildPopup() {
  POPUP = new QMenu(this);
  POPUP->setObjectName("POPUP");
  QAction* remove = POPUP->addAction(QStringLiteral("削除"));
  QAction* edit = POPUP->addAction(QStringLiteral("編集"));
  connect(remove, &QAction::triggered, this, &FilenameConv::DeleteSelectedRows);
  connect(edit, &QAction::triggered, this, [this] { EditSelected(popupCol_); });
}

// ---- Loading and closing ----

void FilenameConv::Form_Load() {
  for (std::size_t level = 0; level < Combo1.size(); ++level) {
    Combo1[level]->setCurrentIndex(ClampedIndex(settings_.ConvertPrm[level], Combo1[level]->count()));
  }
  Text1->setText(PathToQString(settings_.ConvertPath));
  Text1->setCursorPosition(static_cast<int>(Text1->text().size()));
  Combo2->setCurrentIndex(ClampedIndex(settings_.ConvertPrm[2], Combo2->count()));
  Check1->setChecked(false);
  ShowCounts(kCountsClear, *Grid1, state_.ListedCount, *this);
}

void FilenameConv::Form_Unload() {
  settings_.ConvertPath = PathFromQString(Text1->text());
  settings_.ConvertPrm[0] = static_cast<std::int16_t>(Combo1[0]->currentIndex());
  settings_.ConvertPrm[1] = static_cast<std::int16_t>(Combo1[1]->currentIndex());
  settings_.ConvertPrm[2] = static_cast<std::int16_t>(Combo2->currentIndex());
  if (saveSettings_) saveSettings_();
}

void FilenameConv::closeEvent(QCloseEvent* event) {
  if (runActive_) {
    // The run is between two files, inside ProcessEvents: it must end before the window may
    // go. It stops after this file, and the window then closes itself.
    state_.AbortRequested = true;
    closeAfterRun_ = true;
    SetRunning(false);
    event->ignore();
    return;
  }
  Form_Unload();
  event->accept();
}

// ---- The run ----

void FilenameConv::StartOrAbort() {
  if (running_) {
    state_.AbortRequested = true;
    SetRunning(false);
    return;
  }
  // Pressed again after "中止" while the run finishes its file: the run is about to end.
  if (runActive_) return;
  RunAndReport();
}

void FilenameConv::RunAndReport() {
  SetRunning(true);
  SetRunControlsEnabled(false);
  runActive_ = true;
  ShowCounts(kCountsClear, *Grid1, state_.ListedCount, *this);
  FileSystemTarget target;
  ConversionContext run{*Grid1, state_, *this, questions_, target};
  // Out of memory ends the run where it stands; the rows keep what they say so far.
  int result = 0;
  const bool completed = RunWithinMemory(services_.prompter, [&] { result = RunConversion(run); }, [] {});
  ShowCounts(kCountsAll, *Grid1, state_.ListedCount, *this);
  runActive_ = false;
  // An abort asked for after the last file must not stop the next run.
  state_.AbortRequested = false;
  SetRunControlsEnabled(true);
  SetRunning(false);
  FitColumns();
  if (closeAfterRun_) {
    closeAfterRun_ = false;
    close();
    return;
  }
  if (completed) ShowRunSummary(SummaryModeOf(result), *Grid1, state_.ListedCount, services_.prompter);
}

void FilenameConv::SetRunning(bool running) {
  running_ = running;
  Command1[kStart]->setText(Ui(running ? kAbortCaption : kStartCaption));
}

void FilenameConv::SetRunControlsEnabled(bool enabled) {
  for (QWidget* control : std::initializer_list<QWidget*>{Text1, Combo1[0], Combo2, Check1, Command1[kAddFiles],
                                                          Command1[kClearAll], Command1[kDelete], Command1[kEdit]}) {
    control->setEnabled(enabled);
  }
}

std::string FilenameConv::BaseFolder() const { return PathFromQString(Text1->text()); }

int FilenameConv::LevelChoice(int level) const {
  return Combo1[level == 0 ? 0 : 1]->currentIndex();
}

int FilenameConv::ExistingFileChoice() const { return Combo2->currentIndex(); }

bool FilenameConv::TimeStampCheck() const { return Check1->isChecked(); }

void FilenameConv::ProcessEvents() { QCoreApplication::processEvents(); }

void FilenameConv::SetCountText(int label, const std::string& text) {
  if (label < 0 || label >= static_cast<int>(Label2.size())) return;
  Label2[static_cast<std::size_t>(label)]->setText(ToQString(text));
}

// ---- The list ----

int FilenameConv::AddListedFile(const std::string& path) {
  return varst::AddListedFile(*Grid1, state_.ListedCount, path);
}

void FilenameConv::AddFileWithNotice(const std::string& path) {
  if (AddListedFile(path) == 0) {
    services_.prompter.Message(std::string(kAlreadyListedNotice) + "\n" + path, MessageIcon::Information);
  }
  ShowCounts(kCountsListedOnly, *Grid1, state_.ListedCount, *this);
}

void FilenameConv::DeleteSelectedRows() {
  // The list stays as it is while a run walks through it.
  if (runActive_) return;
  varst::DeleteSelectedRows(*Grid1, state_.ListedCount);
  ShowCounts(kCountsAll, *Grid1, state_.ListedCount, *this);
}

void FilenameConv::ClearAll() {
  if (Grid1->Rows() == 0) return;
  ClearListedFiles(*Grid1, state_.ListedCount);
  ShowCounts(kCountsAll, *Grid1, state_.ListedCount, *this);
}

void FilenameConv::OfferToEmptyList() {
  if (state_.ListedCount == 0) return;
  if (services_.prompter.Message(kEmptyListQuestion, MessageIcon::Question, MessageButtons::YesNo) == Answer::Yes) {
    ClearAll();
  }
}

void FilenameConv::AddFromOpenDialog() {
  OfferToEmptyList();
  // "全ファイル": "*" is every file here; "*.*" would leave out names without a dot.
  const std::string answer = services_.prompter.OpenFileDialog("全ファイル(*.*)", "*", std::string(), std::string());
  AddFilesWithNotice(PathsFromOpenDialog(answer));
}

void FilenameConv::AddFilesWithNotice(const std::vector<std::string>& paths) {
  for (const std::string& path : paths) AddFileWithNotice(path);
  ShrinkToListed(*Grid1, state_.ListedCount);
  FitColumns();
}

void FilenameConv::DragDrop(const std::vector<std::string>& paths) {
  if (runActive_) return;
  OfferToEmptyList();
  // On this window only: the notices shown while adding keep the ordinary pointer.
  setCursor(Qt::WaitCursor);
  AddFilesWithNotice(paths);
  unsetCursor();
}

void FilenameConv::EditSelected(int col) {
  if (col != kColPath && col != kColConverted) return;
  for (int row = 0; row < state_.ListedCount; ++row) {
    if (!Grid1->IsSelected(row)) continue;
    const std::string path(Trim(Grid1->TextMatrix(row, col)));
    if (!path.empty()) OpenInEditor(path);
  }
}

void FilenameConv::OpenInEditor(const std::string& path) {
  const std::string& editor = settings_.EditorPath;
  if (!Trim(editor).empty() && services_.shell.StartProgram(editor, {path})) return;
  services_.shell.OpenWithDefaultApplication(path);
}

void FilenameConv::BrowseFolder() {
  const std::string chosen =
      services_.prompter.BrowseFolderDialog("ﾌｫﾙﾀﾞを選択してください", PathFromQString(Text1->text()));
  if (!chosen.empty()) Text1->setText(PathToQString(chosen));
}

void FilenameConv::OpenDestinationFolder() {
  // The folder the run copies into: a "\" typed in the box is a separator there too.
  services_.shell.OpenFolder(UserGivenPath(PathFromQString(Text1->text())));
}

// ---- Grid events ----

void FilenameConv::StartEdit(int /*row*/, int col, bool& cancel) { cancel = col != kColPath; }

void FilenameConv::AfterScroll(int oldTopRow, int newTopRow) {
  if (oldTopRow == 0 && newTopRow > Grid1->Rows() / 2) Grid1->SetTopRow(0);
}

void FilenameConv::MouseUp(int button) {
  if (button != 2) return;
  popupCol_ = Grid1->MouseCol();
  POPUP->popup(QCursor::pos());
}

void FilenameConv::MouseMove(int row, int col) {
  Label3->clear();
  if (row < 0 || row >= Grid1->Rows() || col != kColStatus) return;
  if (Trim(Grid1->TextMatrix(row, kColStatus)).empty()) return;
  Label3->setText(Ui(Grid1->TextMatrix(row, kColMessage)));
}

void FilenameConv::DblClick() { EditSelected(Grid1->MouseCol()); }

}  // namespace varst
