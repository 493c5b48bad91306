#include "convert/FileDateChkDialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "convert/DialogPlacement.h"
#include "platform/ButtonArray.h"
#include "platform/QtText.h"

namespace varst {

FileDateChkDialog::FileDateChkDialog(const std::string& text, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Form1"));
  Label1 = new QLabel(ToQString(text));
  Label1->setObjectName("Label1");
  Label1->setTextFormat(Qt::PlainText);
  Label1->setMinimumWidth(Label1->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 50);
  Check1 = new QCheckBox(QStringLiteral("以降このダイアログを開かない"));
  Check1->setObjectName("Check1");

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(Check1);
  buttons->addStretch(1);
  const std::array<QString, 3> captions = {QStringLiteral("スキップ"), QStringLiteral("中断"), QStringLiteral("続行")};
  Command1 = MakeButtonArray(QStringLiteral("Command1"), captions, this, [this](int i) { Command1_Click(i); });
  for (QPushButton* button : Command1) buttons->addWidget(button);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Label1);
  layout->addSpacing(8);
  layout->addLayout(buttons);
}

bool FileDateChkDialog::DoNotAskAgain() const { return Check1->isChecked(); }

void FileDateChkDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  PlaceOnUpperCentre(*this);
}

void FileDateChkDialog::Command1_Click(int index) {
  answer_ = index;
  accept();
}

}  // namespace varst
