#include "ConvertTestFiles.h"

#include <gtest/gtest.h>

namespace varst::test {

std::string DataFileText(const std::string& model, const std::string& serial) {
  return model + "," + serial + ",156301488,ATA,FW1.00,512,7200,SATA,64MB,00\r\n" +
         "0,0,156301487,0,0,256,100,100,0,0,0,0,-1\r\n"
         "R,0,0,81.86,1\r\n";
}

ScriptedQuestions::~ScriptedQuestions() { EXPECT_TRUE(script_.empty()) << script_.size() << " question(s) never came"; }

ScriptedQuestions& ScriptedQuestions::Date(int answer, bool doNotAskAgain) {
  script_.push_back({true, {answer, doNotAskAgain}, {}});
  return *this;
}

ScriptedQuestions& ScriptedQuestions::Dup(int answer, bool doNotAskAgain, std::string newName) {
  script_.push_back({false, {answer, doNotAskAgain}, std::move(newName)});
  return *this;
}

QuestionReply ScriptedQuestions::AskDateMismatch(const std::string& text) {
  asked.push_back("date: " + text);
  if (script_.empty() || !script_.front().date) {
    ADD_FAILURE() << "unexpected time stamp question: " << text;
    return {};
  }
  const QuestionReply reply = script_.front().reply;
  script_.pop_front();
  return reply;
}

QuestionReply ScriptedQuestions::AskDuplicate(std::string& newName) {
  asked.push_back("dup: " + newName);
  if (script_.empty() || script_.front().date) {
    ADD_FAILURE() << "unexpected existing-file question: " << newName;
    return {};
  }
  const Step step = script_.front();
  script_.pop_front();
  if (!step.newName.empty()) newName = step.newName;
  return step.reply;
}

}  // namespace varst::test
