#pragma once
// The time stamp question ("Form1"): a file name and its time stamp disagree. The user
// answers "スキップ", "中断" or "続行"; closing the dialog otherwise counts as "スキップ".

#include <QDialog>
#include <array>
#include <string>

#include "convert/ConversionState.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace varst {

class FileDateChkDialog : public QDialog {
  Q_OBJECT

 public:
  // text: the question with the file and its stamp, lines separated by "\n".
  explicit FileDateChkDialog(const std::string& text, QWidget* parent = nullptr);

  // kAnswerSkip, kAnswerAbort or kAnswerGoOn by the button pressed; kAnswerSkip when none was.
  [[nodiscard]] int Answer() const { return answer_; }
  // "以降このダイアログを開かない" is ticked.
  [[nodiscard]] bool DoNotAskAgain() const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Command1_Click(int index);

  QLabel* Label1 = nullptr;
  QCheckBox* Check1 = nullptr;
  std::array<QPushButton*, 3> Command1{};
  int answer_ = kAnswerSkip;
};

}  // namespace varst
