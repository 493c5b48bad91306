#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>

namespace varst::test {
namespace {

const char* KindName(ScriptedPrompter::Kind kind) {
  switch (kind) {
    case ScriptedPrompter::Kind::Message: return "message box";
    case ScriptedPrompter::Kind::OpenFile: return "open dialog";
    case ScriptedPrompter::Kind::SaveFile: return "save dialog";
    case ScriptedPrompter::Kind::Colour: return "colour dialog";
    case ScriptedPrompter::Kind::Folder: return "folder dialog";
    case ScriptedPrompter::Kind::Dialog: return "program dialog";
  }
  return "prompt";
}

}  // namespace

ScriptedPrompter::~ScriptedPrompter() {
  EXPECT_TRUE(script_.empty()) << script_.size() << " expected prompt(s) never came, the first a "
                               << KindName(script_.front().kind) << " with \"" << script_.front().contains << "\"";
}

ScriptedPrompter& ScriptedPrompter::ExpectMessage(std::string contains, Answer answer) {
  script_.push_back({Kind::Message, std::move(contains), answer, {}, kNoColour, {}});
  return *this;
}

ScriptedPrompter& ScriptedPrompter::ExpectOpenFile(std::string result) {
  script_.push_back({Kind::OpenFile, {}, Answer::Ok, std::move(result), kNoColour, {}});
  return *this;
}

ScriptedPrompter& ScriptedPrompter::ExpectSaveFile(std::string result) {
  script_.push_back({Kind::SaveFile, {}, Answer::Ok, std::move(result), kNoColour, {}});
  return *this;
}

ScriptedPrompter& ScriptedPrompter::ExpectColour(Colour result) {
  script_.push_back({Kind::Colour, {}, Answer::Ok, {}, result, {}});
  return *this;
}

ScriptedPrompter& ScriptedPrompter::ExpectFolder(std::string result) {
  script_.push_back({Kind::Folder, {}, Answer::Ok, std::move(result), kNoColour, {}});
  return *this;
}

ScriptedPrompter& ScriptedPrompter::ExpectDialog(std::function<int(QDialog&)> handler) {
  script_.push_back({Kind::Dialog, {}, Answer::Ok, {}, kNoColour, std::move(handler)});
  return *this;
}

std::vector<std::string> ScriptedPrompter::Messages() const {
  std::vector<std::string> texts;
  for (const Shown& shown : history_) {
    if (shown.kind == Kind::Message) texts.push_back(shown.text);
  }
  return texts;
}

const ScriptedPrompter::Step* ScriptedPrompter::Next(Kind kind, const std::string& shownText) {
  if (script_.empty()) {
    ADD_FAILURE() << "unexpected " << KindName(kind) << ": \"" << shownText << "\"";
    return nullptr;
  }
  if (script_.front().kind != kind) {
    ADD_FAILURE() << "expected a " << KindName(script_.front().kind) << " but a " << KindName(kind)
                  << " came: \"" << shownText << "\"";
    return nullptr;
  }
  if (kind == Kind::Message && shownText.find(script_.front().contains) == std::string::npos) {
    ADD_FAILURE() << "expected a message with \"" << script_.front().contains << "\" but it read \"" << shownText
                  << "\"";
    script_.pop_front();
    return nullptr;
  }
  current_ = std::move(script_.front());
  script_.pop_front();
  return &current_;
}

Answer ScriptedPrompter::ShowMessage(const std::string& text, MessageIcon icon, MessageButtons buttons,
                                 const std::string* title) {
  history_.push_back(Shown{Kind::Message, text, icon, buttons, title != nullptr ? *title : std::string(), placeNext_});
  placeNext_ = false;
  if (onMessage) onMessage(history_.back());
  const Step* step = Next(Kind::Message, text);
  if (step == nullptr) return buttons == MessageButtons::Ok ? Answer::Ok : Answer::Cancel;
  return step->answer;
}

void ScriptedPrompter::PlaceNextMessageBox(int x, int y) {
  placeNext_ = true;
  placedX = x;
  placedY = y;
}

std::string ScriptedPrompter::OpenFileDialog(const std::string& description, const std::string& patterns,
                                             const std::string&, const std::string&) {
  history_.push_back(Shown{Kind::OpenFile, description + "|" + patterns, MessageIcon::None, MessageButtons::Ok, {}, false});
  const Step* step = Next(Kind::OpenFile, description);
  return step == nullptr ? std::string() : step->text;
}

std::string ScriptedPrompter::SaveFileDialog(const std::string& description, const std::string& patterns,
                                             const std::string&, const std::string&) {
  history_.push_back(Shown{Kind::SaveFile, description + "|" + patterns, MessageIcon::None, MessageButtons::Ok, {}, false});
  const Step* step = Next(Kind::SaveFile, description);
  return step == nullptr ? std::string() : step->text;
}

Colour ScriptedPrompter::ChooseColorDialog(Colour) {
  history_.push_back(Shown{Kind::Colour, {}, MessageIcon::None, MessageButtons::Ok, {}, false});
  const Step* step = Next(Kind::Colour, {});
  return step == nullptr ? kNoColour : step->colour;
}

std::string ScriptedPrompter::BrowseFolderDialog(const std::string& title, const std::string&) {
  history_.push_back(Shown{Kind::Folder, title, MessageIcon::None, MessageButtons::Ok, {}, false});
  const Step* step = Next(Kind::Folder, title);
  return step == nullptr ? std::string() : step->text;
}

int ScriptedPrompter::ExecDialog(QDialog& dialog) {
  history_.push_back(Shown{Kind::Dialog, {}, MessageIcon::None, MessageButtons::Ok, {}, false});
  const Step* step = Next(Kind::Dialog, {});
  if (step == nullptr || !step->dialog) return 0;
  return step->dialog(dialog);
}

}  // namespace varst::test
