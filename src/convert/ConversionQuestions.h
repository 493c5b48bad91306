#pragma once
// The two questions a run may put between files. The window asks them through its dialogs,
// tests answer from a script, and the batch command answers with fixed replies.

#include <string>

#include "convert/ConversionState.h"

namespace varst {

struct QuestionReply {
  int answer = kAnswerSkip;    // kAnswerSkip, kAnswerAbort or kAnswerGoOn
  bool doNotAskAgain = false;  // "以降このダイアログを開かない" was ticked when the question closed
};

class ConversionQuestions {
 public:
  virtual ~ConversionQuestions() = default;
  // A file name and its time stamp disagree, or cannot be compared; `text` says which file.
  virtual QuestionReply AskDateMismatch(const std::string& text) = 0;
  // The destination exists. `newName` holds it; after kAnswerGoOn it holds the path the user
  // wants written, which replaces an existing file of that name.
  virtual QuestionReply AskDuplicate(std::string& newName) = 0;
  // A notice that concerns the whole run, not one file. Where every row already reports its
  // reason (the command line), there is nothing more to say.
  virtual void Tell(const std::string& /*text*/) {}
};

// The same replies every time.
class FixedAnswers final : public ConversionQuestions {
 public:
  FixedAnswers(QuestionReply dateMismatch, QuestionReply duplicate)
      : dateMismatch_(dateMismatch), duplicate_(duplicate) {}
  QuestionReply AskDateMismatch(const std::string& /*text*/) override { return dateMismatch_; }
  QuestionReply AskDuplicate(std::string& /*newName*/) override { return duplicate_; }

 private:
  QuestionReply dateMismatch_;
  QuestionReply duplicate_;
};

}  // namespace varst
