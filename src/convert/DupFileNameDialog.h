#pragma once
// "ファイルの重複": the destination of a copy exists. The user may edit the destination and
// answers "スキップ", "中断" or "OK"; closing the dialog otherwise counts as "スキップ".

#include <QDialog>
#include <array>
#include <string>

#include "convert/ConversionState.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace varst {

class DupFileNameDialog : public QDialog {
  Q_OBJECT

 public:
  // DupNewName: the destination offered, shown with the caret at its end.
  explicit DupFileNameDialog(const std::string& DupNewName, QWidget* parent = nullptr);

  // kAnswerSkip, kAnswerAbort or kAnswerGoOn by the button pressed; kAnswerSkip when none was.
  [[nodiscard]] int Answer() const { return answer_; }
  // The destination as the user left it when "OK" was pressed.
  [[nodiscard]] const std::string& NewName() const { return newName_; }
  // "以降このダイアログを開かない" is ticked.
  [[nodiscard]] bool DoNotAskAgain() const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Command1_Click(int index);

  QLabel* Label1 = nullptr;
  QLineEdit* Text1 = nullptr;
  QCheckBox* Check1 = nullptr;
  std::array<QPushButton*, 3> Command1{};
  int answer_ = kAnswerSkip;
  std::string newName_;
};

}  // namespace varst
