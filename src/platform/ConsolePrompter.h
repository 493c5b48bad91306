#pragma once
// The Prompter of headless runs: messages go to standard error, questions take their first
// answer (Yes), dialogs are cancelled. It counts the error messages, so a run can fail when
// the user would have seen one.

#include <ostream>

#include "platform/Prompter.h"

namespace varst {

class ConsolePrompter final : public Prompter {
 public:
  explicit ConsolePrompter(std::ostream& out) : out_(out) {}

  [[nodiscard]] int Errors() const { return errors_; }

  Answer ShowMessage(const std::string& text, MessageIcon icon, MessageButtons buttons,
                     const std::string* title) override;
  void PlaceNextMessageBox(int /*x*/, int /*y*/) override {}
  std::string OpenFileDialog(const std::string&, const std::string&, const std::string&,
                             const std::string&) override {
    return {};
  }
  std::string SaveFileDialog(const std::string&, const std::string&, const std::string&,
                             const std::string&) override {
    return {};
  }
  Colour ChooseColorDialog(Colour /*colour*/) override { return kNoColour; }
  std::string BrowseFolderDialog(const std::string&, const std::string&) override { return {}; }
  int ExecDialog(QDialog& /*dialog*/) override { return 0; }

 private:
  std::ostream& out_;
  int errors_ = 0;
};

}  // namespace varst
