#pragma once
// Every question the program puts to the user goes through a Prompter: message boxes, the
// platform's open, save, colour and folder dialogs, and the program's own modal dialogs. The
// window uses the Qt implementation; headless runs print messages; tests script the answers
// and fail on a prompt they did not expect.

#include <string>

#include "common/Colour.h"

class QDialog;

namespace varst {

enum class MessageIcon { None, Critical, Question, Information };
enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class Answer { Ok, Yes, No, Cancel };

class Prompter {
 public:
  virtual ~Prompter() = default;

  // A modal message box; the title defaults to the application title.
  Answer Message(const std::string& text, MessageIcon icon = MessageIcon::None,
                 MessageButtons buttons = MessageButtons::Ok, const std::string* title = nullptr) {
    return ShowMessage(text, icon, buttons, title);
  }

  // The next message box opens with its top-left corner at (x, y) in screen pixels.
  virtual void PlaceNextMessageBox(int x, int y) = 0;

  // The open dialog, several files allowed. "" when cancelled; one file: its full path;
  // several: the folder and then each file name, each followed by a NUL character, and a
  // final NUL.
  virtual std::string OpenFileDialog(const std::string& description, const std::string& patterns,
                                     const std::string& initialName,
                                     const std::string& initialFolder) = 0;

  // The save dialog: the chosen path, or "" when cancelled.
  virtual std::string SaveFileDialog(const std::string& description, const std::string& patterns,
                                     const std::string& initialName,
                                     const std::string& initialFolder) = 0;

  // The colour dialog: the chosen colour, or -1 when cancelled.
  virtual Colour ChooseColorDialog(Colour colour) = 0;

  // The folder browser: the chosen folder, or "" when cancelled.
  virtual std::string BrowseFolderDialog(const std::string& title,
                                         const std::string& initialFolder) = 0;

  // Runs one of the program's own dialogs modally and returns its result code.
  virtual int ExecDialog(QDialog& dialog) = 0;

 protected:
  virtual Answer ShowMessage(const std::string& text, MessageIcon icon, MessageButtons buttons,
                             const std::string* title) = 0;
};

}  // namespace varst
