#pragma once
// The Prompter of the windows: Qt message boxes and the platform's file, colour and folder
// dialogs, owned by the main window.

#include <QFileDialog>
#include <QPoint>
#include <QPointer>
#include <optional>

#include "platform/Prompter.h"

class QWidget;

namespace varst {

class QtPrompter final : public Prompter {
 public:
  explicit QtPrompter(QWidget* owner = nullptr) : owner_(owner) {}
  void SetOwner(QWidget* owner) { owner_ = owner; }

  Answer ShowMessage(const std::string& text, MessageIcon icon, MessageButtons buttons,
                     const std::string* title) override;
  void PlaceNextMessageBox(int x, int y) override { nextBoxAt_ = QPoint(x, y); }
  std::string OpenFileDialog(const std::string& description, const std::string& patterns,
                             const std::string& initialName, const std::string& initialFolder) override;
  std::string SaveFileDialog(const std::string& description, const std::string& patterns,
                             const std::string& initialName, const std::string& initialFolder) override;
  Colour ChooseColorDialog(Colour colour) override;
  std::string BrowseFolderDialog(const std::string& title, const std::string& initialFolder) override;
  int ExecDialog(QDialog& dialog) override;

 private:
  [[nodiscard]] QWidget* Owner() const;

  QPointer<QWidget> owner_;
  std::optional<QPoint> nextBoxAt_;
};

// The options of every file dialog: a filter shows its description as written, without Qt
// adding the patterns behind it again ("全ファイル(*.*)", not "全ファイル(*.*) (*)").
[[nodiscard]] QFileDialog::Options FileDialogOptions();

// A filter text for Qt's file dialogs from a description and patterns separated by ";". On a
// file system that tells letter case apart the upper-case pattern is offered as well.
[[nodiscard]] QString FileDialogFilter(const std::string& description, const std::string& patterns);

}  // namespace varst
