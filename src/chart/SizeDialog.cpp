#include "chart/SizeDialog.h"

#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include "common/Numbers.h"
#include "platform/ButtonArray.h"
#include "platform/QtText.h"

namespace varst {
namespace {

constexpr int kOk = 0;
constexpr int kCancel = 1;
constexpr double kTwipsPerPixelAt96Dpi = 15;
constexpr float kSmallestSize = 1;
constexpr float kLargestSize = 65535;

double UsableTwipsPerPixel(double twipsPerPixel) {
  return std::isfinite(twipsPerPixel) && twipsPerPixel > 0 ? twipsPerPixel : kTwipsPerPixelAt96Dpi;
}

std::int32_t ToTwips(float pixels, double twipsPerPixel) {
  std::int32_t twips = 0;
  // Pixels are at most 65535 and twips per pixel a few dozen, far inside 32 bits.
  if (!RoundToInt32(static_cast<double>(pixels) * twipsPerPixel, twips)) twips = 0;
  return twips;
}

}  // namespace

SizeDialog::SizeDialog(std::int32_t& ImageWidth, std::int32_t& ImageHeight, double twipsPerPixelX,
                       double twipsPerPixelY, DialogResults& results, Prompter& prompter, QWidget* parent)
    : QDialog(parent),
      imageWidth_(ImageWidth),
      imageHeight_(ImageHeight),
      twipsPerPixel_{UsableTwipsPerPixel(twipsPerPixelX), UsableTwipsPerPixel(twipsPerPixelY)},
      results_(results),
      prompter_(prompter) {
  setWindowTitle(QStringLiteral("画像のサイズ設定"));
  const std::array<QString, 2> titles = {QStringLiteral("幅(Dot)"), QStringLiteral("高さ(Dot)")};
  auto* fields = new QGridLayout;
  for (int i = 0; i < 2; ++i) {
    const auto at = static_cast<std::size_t>(i);
    Label1[at] = new QLabel(titles[at]);
    Label1[at]->setObjectName(QStringLiteral("Label1_%1").arg(i));
    Text1[at] = new QLineEdit;
    Text1[at]->setObjectName(QStringLiteral("Text1_%1").arg(i));
    Text1[at]->setAlignment(Qt::AlignRight);
    Text1[at]->setMinimumWidth(Text1[at]->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")));
    Text1[at]->installEventFilter(this);
    Label1[at]->setBuddy(Text1[at]);
    fields->addWidget(Label1[at], i, 0);
    fields->addWidget(Text1[at], i, 1);
  }
  const std::array<QString, 2> captions = {QStringLiteral("OK"), QStringLiteral("キャンセル")};
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  Command1 = MakeButtonArray(QStringLiteral("Command1"), captions, this, [this](int i) { Command1_Click(i); });
  for (QPushButton* button : Command1) buttons->addWidget(button);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addLayout(buttons);

  Form_Load();
}

SizeDialog::~SizeDialog() {
  // The boxes outlive this part of the dialog; their last focus change must not reach it.
  for (QLineEdit* box : Text1) box->removeEventFilter(this);
}

void SizeDialog::Form_Load() {
  const std::array<std::int32_t, 2> twips = {imageWidth_, imageHeight_};
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    entries_[i] = {static_cast<float>(twips[i] / twipsPerPixel_[i]), kSmallestSize, kLargestSize, kDecimalFormat};
    ShowEntry(static_cast<int>(i));
  }
}

void SizeDialog::ShowEntry(int index) {
  const EntryField& entry = entries_[static_cast<std::size_t>(index)];
  Text1[static_cast<std::size_t>(index)]->setText(ToQString(EntryText(entry, entry.value)));
}

void SizeDialog::Text1_LostFocus(int index) {
  if (checking_) return;
  checking_ = true;
  const std::string text = ToBytes(Text1[static_cast<std::size_t>(index)]->text());
  const EntryCheck check = ReadEntry(entries_[static_cast<std::size_t>(index)], text);
  const std::string emptyTitle;
  if (!check.message.empty()) prompter_.Message(check.message, MessageIcon::Critical, MessageButtons::Ok, &emptyTitle);
  // After a conversion error the box keeps what was typed; otherwise it shows the value held.
  if (check.outcome != EntryOutcome::ConversionError) ShowEntry(index);
  checking_ = false;
}

int SizeDialog::EntryIndexOf(const QObject* box) const {
  for (std::size_t i = 0; i < Text1.size(); ++i) {
    if (Text1[i] == box) return static_cast<int>(i);
  }
  return -1;
}

bool SizeDialog::eventFilter(QObject* watched, QEvent* event) {
  const int index = EntryIndexOf(watched);
  if (index < 0) return QDialog::eventFilter(watched, event);
  if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      Text1_LostFocus(index);
      return true;  // the key itself is discarded
    }
  } else if (event->type() == QEvent::FocusOut) {
    // Focus that goes to a message box or another window is not the user leaving the box.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) Text1_LostFocus(index);
  }
  return QDialog::eventFilter(watched, event);
}

void SizeDialog::Command1_Click(int index) {
  if (index == kOk) {
    imageWidth_ = ToTwips(entries_[0].value, twipsPerPixel_[0]);
    imageHeight_ = ToTwips(entries_[1].value, twipsPerPixel_[1]);
    results_.DialogResult = kDialogOk;
    accept();
  } else if (index == kCancel) {
    results_.DialogResult = kDialogCancel;
    reject();
  }
}

}  // namespace varst
