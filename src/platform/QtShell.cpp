#include "platform/QtShell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStringList>
#include <QUrl>

#include "platform/QtText.h"

namespace varst {

bool QtShell::StartProgram(const std::string& program, const std::vector<std::string>& arguments) {
  QStringList list;
  for (const std::string& argument : arguments) list << PathToQString(argument);
  return QProcess::startDetached(PathToQString(program), list);
}

bool QtShell::OpenWithDefaultApplication(const std::string& path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(PathToQString(path)));
}

bool QtShell::OpenFolder(const std::string& folder) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(PathToQString(folder)));
}

}  // namespace varst
