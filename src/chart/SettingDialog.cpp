#include "chart/SettingDialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <limits>

#include "common/Numbers.h"
#include "platform/ButtonArray.h"
#include "platform/QtText.h"

namespace varst {
namespace {

constexpr int kColourRows = 3;
constexpr int kOk = 0;
constexpr int kCancel = 1;
constexpr int kLineColours = 2;

// The multipliers offered, in tenths: 2 down to 0.5. Counting in whole tenths keeps 1.9, 1.8 ...
// free of the drift a repeated subtraction of 0.1 would bring.
constexpr int kLargestTenths = 20;
constexpr int kSmallestTenths = 5;

QPushButton* MakeButton(const QString& caption, const QString& name) {
  auto* button = new QPushButton(caption);
  button->setObjectName(name);
  button->setAutoDefault(false);
  return button;
}

}  // namespace

Setting::Setting(Settings& settings, DialogResults& results, Prompter& prompter,
                 std::function<void()> openLineColours, QWidget* parent)
    : QDialog(parent),
      settings_(settings),
      results_(results),
      prompter_(prompter),
      openLineColours_(std::move(openLineColours)) {
  setWindowTitle(QStringLiteral("色設定"));
  const std::array<QString, 5> titles = {QStringLiteral("バックカラー"), QStringLiteral("グリッドカラー"),
                                         QStringLiteral("目盛りカラー"), QStringLiteral("ﾌｫﾝﾄｻｲｽﾞ"),
                                         QStringLiteral("Gridﾌｫﾝﾄ倍率")};
  for (std::size_t i = 0; i < Label1.size(); ++i) {
    Label1[i] = new QLabel(titles[i]);
    Label1[i]->setObjectName(QStringLiteral("Label1_%1").arg(i));
  }
  auto* rows = new QGridLayout;
  const int swatchHeight = fontMetrics().height() + 8;
  for (int i = 0; i < kColourRows; ++i) {
    const auto at = static_cast<std::size_t>(i);
    Label2[at] = new QLabel;
    Label2[at]->setObjectName(QStringLiteral("Label2_%1").arg(i));
    Label2[at]->setFrameStyle(QFrame::Box | QFrame::Plain);  // a white swatch still shows its edge
    Label2[at]->setAutoFillBackground(true);
    Label2[at]->setMinimumSize(swatchHeight * 3, swatchHeight);
    Command1[at] = MakeButton(QStringLiteral("色設定"), QStringLiteral("Command1_%1").arg(i));
    connect(Command1[at], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    rows->addWidget(Label1[at], i, 0);
    rows->addWidget(Label2[at], i, 1);
    rows->addWidget(Command1[at], i, 2);
  }

  Combo1 = new QComboBox;
  Combo1->setObjectName(QStringLiteral("Combo1"));
  Combo1->setEditable(false);
  Combo2 = new QComboBox;
  Combo2->setObjectName(QStringLiteral("Combo2"));
  Combo2->setEditable(true);
  Combo2->setInsertPolicy(QComboBox::NoInsert);
  rows->addWidget(Label1[3], 3, 0);
  rows->addWidget(Combo1, 3, 1, 1, 2);
  rows->addWidget(Label1[4], 4, 0);
  rows->addWidget(Combo2, 4, 1, 1, 2);
  rows->setColumnStretch(1, 1);

  const std::array<QString, 3> captions = {QStringLiteral("OK"), QStringLiteral("キャンセル"),
                                           QStringLiteral("ライン色設定")};
  auto* buttons = new QHBoxLayout;
  Command2 = MakeButtonArray(QStringLiteral("Command2"), captions, this, [this](int i) { Command2_Click(i); });
  buttons->addWidget(Command2[kLineColours]);
  buttons->addStretch(1);
  buttons->addWidget(Command2[kOk]);
  buttons->addWidget(Command2[kCancel]);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(rows);
  layout->addSpacing(fontMetrics().height() / 2);
  layout->addLayout(buttons);

  Form_Load();
}

void Setting::Form_Load() {
  for (int i = 0; i < kColourRows; ++i) {
    swatchColours_[static_cast<std::size_t>(i)] = settings_.Grf_ColorInfo[static_cast<std::size_t>(i)];
    ShowSwatch(i);
  }
  Combo1->clear();
  Combo1->addItems({QStringLiteral("小"), QStringLiteral("中"), QStringLiteral("大")});
  // A size the settings file brought from outside 0..2 selects nothing; OK then keeps it.
  const int size = settings_.Grf_FontSize;
  Combo1->setCurrentIndex(size >= 0 && size < Combo1->count() ? size : -1);

  Combo2->clear();
  for (int tenths = kLargestTenths; tenths >= kSmallestTenths; --tenths) {
    Combo2->addItem(ToQString(DecimalText(tenths / 10.0)));
  }
  Combo2->setCurrentIndex(-1);
  Combo2->setEditText(ToQString(DecimalTextSingle(settings_.FontScale)));
}

void Setting::ShowSwatch(int index) {
  QLabel* swatch = Label2[static_cast<std::size_t>(index)];
  QPalette palette = swatch->palette();
  palette.setColor(QPalette::Window, ToQColor(swatchColours_[static_cast<std::size_t>(index)]));
  swatch->setPalette(palette);
}

void Setting::Command1_Click(int index) {
  const Colour chosen = prompter_.ChooseColorDialog(FromQColor(palette().color(QPalette::WindowText)));
  if (chosen == kNoColour) return;
  swatchColours_[static_cast<std::size_t>(index)] = chosen;
  ShowSwatch(index);
}

void Setting::Command2_Click(int index) {
  switch (index) {
    case kOk:
      AcceptSettings();
      break;
    case kCancel:
      results_.SettingsChanged = 0;
      reject();
      break;
    case kLineColours:
      if (!openLineColours_) return;
      openLineColours_();
      if (results_.DialogResult == kDialogOk) {
        results_.SettingsChanged |= kLineColoursChanged;
      } else {
        results_.SettingsChanged &= ~kLineColoursChanged;
      }
      break;
    default:
      break;
  }
}

void Setting::AcceptSettings() {
  float scale = 0;
  if (!ReadFontScale(scale)) {
    prompter_.Message("倍率が不正です", MessageIcon::Critical);
    Combo2->setFocus();
    Combo2->lineEdit()->selectAll();
    return;
  }
  for (std::size_t i = 0; i < kColourRows; ++i) settings_.Grf_ColorInfo[i] = swatchColours_[i];
  if (Combo1->currentIndex() >= 0) settings_.Grf_FontSize = static_cast<std::int16_t>(Combo1->currentIndex());
  settings_.FontScale = scale;
  results_.SettingsChanged = kSettingsAccepted;
  accept();
}

bool Setting::ReadFontScale(float& scale) const {
  double value = 0;
  if (!TryParseDouble(ToBytes(Combo2->currentText()), value)) return false;
  // The axis font is the full scale times this; zero, a negative or an unstorable value
  // would leave no readable axis.
  if (!(value > 0) || value > static_cast<double>(std::numeric_limits<float>::max())) return false;
  scale = static_cast<float>(value);
  return scale > 0;
}

}  // namespace varst
