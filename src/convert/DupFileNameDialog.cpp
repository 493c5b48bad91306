#include "convert/DupFileNameDialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "convert/DialogPlacement.h"
#include "platform/ButtonArray.h"
#include "platform/QtText.h"

namespace varst {

DupFileNameDialog::DupFileNameDialog(const std::string& DupNewName, QWidget* parent)
    : QDialog(parent), newName_(DupNewName) {
  setWindowTitle(QStringLiteral("ファイルの重複"));
  Label1 = new QLabel(QStringLiteral("同じファイルが存在します。"));
  Text1 = new QLineEdit(PathToQString(DupNewName));
  Text1->setObjectName("Text1");
  Text1->setMinimumWidth(Text1->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 60);
  Text1->setCursorPosition(static_cast<int>(Text1->text().size()));
  Check1 = new QCheckBox(QStringLiteral("以降このダイアログを開かない"));
  Check1->setObjectName("Check1");

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(Check1);
  buttons->addStretch(1);
  const std::array<QString, 3> captions = {QStringLiteral("スキップ"), QStringLiteral("中断"), QStringLiteral("OK")};
  Command1 = MakeButtonArray(QStringLiteral("Command1"), captions, this, [this](int i) { Command1_Click(i); });
  for (QPushButton* button : Command1) buttons->addWidget(button);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Label1);
  layout->addWidget(Text1);
  layout->addLayout(buttons);
}

bool DupFileNameDialog::DoNotAskAgain() const { return Check1->isChecked(); }

void DupFileNameDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  PlaceOnUpperCentre(*this);
}

void DupFileNameDialog::Command1_Click(int index) {
  answer_ = index;
  if (index == kAnswerGoOn) newName_ = PathFromQString(Text1->text());
  accept();
}

}  // namespace varst
