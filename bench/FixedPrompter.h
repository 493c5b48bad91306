#pragma once
// A Prompter for benchmarks: every question gets the same answer, so a measured command never
// waits for a person. "データを追加しますか?" is answered Yes, every other message OK; the
// open dialog returns the answer the benchmark set; the other dialogs are cancelled. Every
// message except the add-data question is kept, so the benchmark can tell that a command
// stopped with a message instead of doing the work it was timed for.

#include <string>
#include <vector>

#include "platform/Prompter.h"

namespace varst::bench {

class FixedPrompter final : public Prompter {
 public:
  void PlaceNextMessageBox(int x, int y) override;
  std::string OpenFileDialog(const std::string& description, const std::string& patterns,
                             const std::string& initialName, const std::string& initialFolder) override;
  std::string SaveFileDialog(const std::string& description, const std::string& patterns,
                             const std::string& initialName, const std::string& initialFolder) override;
  Colour ChooseColorDialog(Colour colour) override;
  std::string BrowseFolderDialog(const std::string& title, const std::string& initialFolder) override;
  int ExecDialog(QDialog& dialog) override;

  // The open dialog's raw result (one path, or a folder and names each ended by NUL).
  std::string openResult;
  // The messages shown other than the add-data question, in order.
  std::vector<std::string> unexpected;

 protected:
  Answer ShowMessage(const std::string& text, MessageIcon icon, MessageButtons buttons,
                     const std::string* title) override;
};

}  // namespace varst::bench
