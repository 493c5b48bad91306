#include "platform/QtPrompter.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStringList>

#include "common/Settings.h"
#include "common/Text.h"
#include "platform/InterfaceLanguage.h"
#include "platform/QtText.h"

namespace varst {
namespace {

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Critical:
      return QMessageBox::Critical;
    case MessageIcon::Question:
      return QMessageBox::Question;
    case MessageIcon::Information:
      return QMessageBox::Information;
    case MessageIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

QString InitialPath(const std::string& initialName, const std::string& initialFolder) {
  if (initialFolder.empty()) return PathToQString(initialName);
  return QDir(PathToQString(initialFolder)).filePath(PathToQString(initialName));
}

}  // namespace

QFileDialog::Options FileDialogOptions() { return QFileDialog::HideNameFilterDetails; }

QString FileDialogFilter(const std::string& description, const std::string& patterns) {
  QStringList list;
  for (const std::string& pattern : SplitFields(patterns, ";")) {
    const QString text = QString::fromStdString(std::string(Trim(pattern)));
    if (text.isEmpty()) continue;
    list << text;
    if (text != text.toUpper() && text != "*.*") list << text.toUpper();
  }
  return Ui(description) + " (" + list.join(' ') + ")";
}

QWidget* QtPrompter::Owner() const {
  if (QWidget* active = QApplication::activeModalWidget()) return active;
  return owner_.data();
}

Answer QtPrompter::ShowMessage(const std::string& text, MessageIcon icon, MessageButtons buttons,
                           const std::string* title) {
  QMessageBox box(Owner());
  box.setIcon(ToQtIcon(icon));
  // An empty caption is asked for as such; Qt would show the program's name in its place.
  QString caption = title != nullptr ? Ui(*title) : QString(kApplicationTitle);
  box.setWindowTitle(caption.isEmpty() ? QStringLiteral(" ") : caption);
  box.setText(Ui(text));
  switch (buttons) {
    case MessageButtons::Ok:
      box.setStandardButtons(QMessageBox::Ok);
      break;
    case MessageButtons::YesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      break;
    case MessageButtons::YesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      break;
  }
  if (nextBoxAt_) {
    // Moving before the box is shown keeps Qt from centring it again.
    box.move(*nextBoxAt_);
    nextBoxAt_.reset();
  }
  switch (box.exec()) {
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::No:
      return Answer::No;
    case QMessageBox::Cancel:
      return Answer::Cancel;
    default:
      return buttons == MessageButtons::Ok ? Answer::Ok : Answer::Cancel;
  }
}

std::string QtPrompter::OpenFileDialog(const std::string& description, const std::string& patterns,
                                       const std::string& initialName, const std::string& initialFolder) {
  const QStringList files = QFileDialog::getOpenFileNames(Owner(), QString(), InitialPath(initialName, initialFolder),
                                                          FileDialogFilter(description, patterns), nullptr,
                                                          FileDialogOptions());
  if (files.isEmpty()) return {};
  if (files.size() == 1) return PathFromQString(QDir::toNativeSeparators(files.front()));
  // Several files: the folder and each name, each followed by NUL, then a final NUL.
  std::string result = PathFromQString(QFileInfo(files.front()).absolutePath());
  result += '\0';
  for (const QString& file : files) {
    result += PathFromQString(QFileInfo(file).fileName());
    result += '\0';
  }
  result += '\0';
  return result;
}

std::string QtPrompter::SaveFileDialog(const std::string& description, const std::string& patterns,
                                       const std::string& initialName, const std::string& initialFolder) {
  // The caller adds a missing extension and asks before overwriting, so the dialog must not.
  const QString file = QFileDialog::getSaveFileName(Owner(), QString(), InitialPath(initialName, initialFolder),
                                                    FileDialogFilter(description, patterns), nullptr,
                                                    FileDialogOptions() | QFileDialog::DontConfirmOverwrite);
  return PathFromQString(file);
}

Colour QtPrompter::ChooseColorDialog(Colour /*colour*/) {
  for (int i = 0; i < QColorDialog::customCount(); ++i) QColorDialog::setCustomColor(i, Qt::white);
  const QColor chosen = QColorDialog::getColor(Qt::white, Owner());
  return chosen.isValid() ? FromQColor(chosen) : kNoColour;
}

std::string QtPrompter::BrowseFolderDialog(const std::string& title, const std::string& initialFolder) {
  return PathFromQString(QFileDialog::getExistingDirectory(Owner(), Ui(title), PathToQString(initialFolder)));
}

int QtPrompter::ExecDialog(QDialog& dialog) { return dialog.exec(); }

}  // namespace varst
