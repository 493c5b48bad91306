#pragma once
// A Prompter that answers from a script and fails the test on any prompt the script did not
// expect. Every prompt shown is recorded, so a test can also check what the user saw.

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/Prompter.h"

namespace varst::test {

class ScriptedPrompter : public Prompter {
 public:
  enum class Kind { Message, OpenFile, SaveFile, Colour, Folder, Dialog };

  struct Shown {
    Kind kind;
    std::string text;  // message text, or dialog filter description / title
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    std::string title;  // the message box title as given ("" when the default was asked for)
    bool placed = false;  // PlaceNextMessageBox came just before
  };

  ScriptedPrompter() = default;
  ~ScriptedPrompter() override;

  // Expects a message box whose text contains `contains`, answered with `answer`.
  ScriptedPrompter& ExpectMessage(std::string contains, Answer answer = Answer::Ok);
  ScriptedPrompter& ExpectOpenFile(std::string result);
  ScriptedPrompter& ExpectSaveFile(std::string result);
  ScriptedPrompter& ExpectColour(Colour result);
  ScriptedPrompter& ExpectFolder(std::string result);
  // Expects one of the program's dialogs; the handler drives it and returns its result.
  ScriptedPrompter& ExpectDialog(std::function<int(QDialog&)> handler);

  [[nodiscard]] const std::vector<Shown>& History() const { return history_; }
  [[nodiscard]] std::vector<std::string> Messages() const;
  [[nodiscard]] bool Finished() const { return script_.empty(); }
  void Forget() { history_.clear(); }

  Answer ShowMessage(const std::string& text, MessageIcon icon, MessageButtons buttons,
                     const std::string* title) override;
  void PlaceNextMessageBox(int x, int y) override;
  std::string OpenFileDialog(const std::string& description, const std::string& patterns,
                             const std::string& initialName, const std::string& initialFolder) override;
  std::string SaveFileDialog(const std::string& description, const std::string& patterns,
                             const std::string& initialName, const std::string& initialFolder) override;
  Colour ChooseColorDialog(Colour colour) override;
  std::string BrowseFolderDialog(const std::string& title, const std::string& initialFolder) override;
  int ExecDialog(QDialog& dialog) override;

  int placedX = 0;
  int placedY = 0;
  // Called as each message box is shown, to look at the program's state at that moment.
  std::function<void(const Shown&)> onMessage;

 private:
  struct Step {
    Kind kind;
    std::string contains;
    Answer answer = Answer::Ok;
    std::string text;
    Colour colour = kNoColour;
    std::function<int(QDialog&)> dialog;
  };
  // The next step when it is of this kind; nullptr (after failing the test) otherwise.
  const Step* Next(Kind kind, const std::string& shownText);

  std::deque<Step> script_;
  Step current_;
  std::vector<Shown> history_;
  bool placeNext_ = false;
};

}  // namespace varst::test
