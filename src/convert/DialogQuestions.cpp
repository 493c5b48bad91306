#include "convert/DialogQuestions.h"

#include "convert/DupFileNameDialog.h"
#include "convert/FileDateChkDialog.h"

namespace varst {

QuestionReply DialogQuestions::AskDateMismatch(const std::string& text) {
  FileDateChkDialog dialog(text, parent_);
  prompter_.ExecDialog(dialog);
  return {dialog.Answer(), dialog.DoNotAskAgain()};
}

QuestionReply DialogQuestions::AskDuplicate(std::string& newName) {
  DupFileNameDialog dialog(newName, parent_);
  prompter_.ExecDialog(dialog);
  if (dialog.Answer() == kAnswerGoOn) newName = dialog.NewName();
  return {dialog.Answer(), dialog.DoNotAskAgain()};
}

void DialogQuestions::Tell(const std::string& text) { prompter_.Message(text, MessageIcon::Critical); }

}  // namespace varst
