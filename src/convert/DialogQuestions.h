#pragma once
// The run's questions put to the user through the tool's two dialogs, shown modally by the
// Prompter (which a test scripts).

#include "convert/ConversionQuestions.h"
#include "platform/Prompter.h"

class QWidget;

namespace varst {

class DialogQuestions final : public ConversionQuestions {
 public:
  DialogQuestions(Prompter& prompter, QWidget* parent) : prompter_(prompter), parent_(parent) {}

  QuestionReply AskDateMismatch(const std::string& text) override;
  QuestionReply AskDuplicate(std::string& newName) override;
  // A critical message box.
  void Tell(const std::string& text) override;

 private:
  Prompter& prompter_;
  QWidget* parent_ = nullptr;
};

}  // namespace varst
