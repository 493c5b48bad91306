#pragma once
// Data files and scripted answers for the conversion tool's tests.

#include <deque>
#include <string>
#include <vector>

#include "convert/ConversionQuestions.h"

namespace varst::test {

// A small result file (CR LF line ends) whose drive line holds the model and the serial.
[[nodiscard]] std::string DataFileText(const std::string& model, const std::string& serial);

// Answers the run's questions from a script; an unexpected question fails the test, and so
// does a scripted answer that was never asked for.
class ScriptedQuestions final : public ConversionQuestions {
 public:
  ~ScriptedQuestions() override;
  ScriptedQuestions& Date(int answer, bool doNotAskAgain = false);
  // `newName`: what the user leaves in the text box ("" keeps the offered name).
  ScriptedQuestions& Dup(int answer, bool doNotAskAgain = false, std::string newName = {});

  QuestionReply AskDateMismatch(const std::string& text) override;
  QuestionReply AskDuplicate(std::string& newName) override;
  void Tell(const std::string& text) override { asked.push_back("tell: " + text); }

  std::vector<std::string> asked;  // "date: <text>", "dup: <offered name>" or "tell: <text>"

 private:
  struct Step {
    bool date;
    QuestionReply reply;
    std::string newName;
  };
  std::deque<Step> script_;
};

}  // namespace varst::test
