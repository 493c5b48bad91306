#include "support/WindowFixture.h"

#include <QLineEdit>
#include <QPushButton>

#include "app/SettingsFile.h"
#include "platform/ChartView.h"
#include "platform/DrawingSurface.h"
#include "platform/QtGrid.h"

namespace varst::test {

bool RecordingShell::StartProgram(const std::string& program, const std::vector<std::string>& arguments) {
  started.push_back({program, arguments});
  return programsStart;
}

bool RecordingShell::OpenWithDefaultApplication(const std::string& path) {
  opened.push_back(path);
  return true;
}

bool RecordingShell::OpenFolder(const std::string& folder) {
  opened.push_back(folder);
  return true;
}

Window::Window(const std::vector<std::string>& items) {
  settings.CommandLine = items;
  settings.AppDataFolder = dir.File("appdata");
  settings.WorkFolder = dir.File("work");
  dir.Write("work/.keep", "");
  dir.Write("appdata/.keep", "");
  // The saver start-up hands in, writing the per-user file under the test's folder.
  window = std::make_unique<MainMenu>(settings, dataSet, Services{prompter, shell, clock}, [this] {
    ++settingsSaved;
    static_cast<void>(SaveSettings(settings));
  });
  window->show();
  window->Form_Load();
}

Window::~Window() { window.reset(); }

QtGrid& Window::Grid() const { return window->SeriesGrid(); }

const DisplayList& Window::Drawing() const { return window->ChartSurface().Surface().List(); }

QLineEdit* Window::Box(int index) const { return window->findChild<QLineEdit*>(QString("Text1_%1").arg(index)); }

QPushButton* Window::Button(int index) const {
  return window->findChild<QPushButton*>(QString("Command1_%1").arg(index));
}

std::string Window::Status() const { return window->StatusText().toStdString(); }

std::vector<Colour> Window::SeriesPens() const {
  std::vector<Colour> pens;
  for (const PolylineOp& polyline : Drawing().polylines) {
    if (polyline.style != kPenSolid || polyline.pen == settings.Grf_ColorInfo[1]) continue;
    if (pens.empty() || pens.back() != polyline.pen) pens.push_back(polyline.pen);
  }
  return pens;
}

void Window::Tick(int row, bool ticked) const {
  Grid().item(row, 1)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
}

void Window::Type(int box, const std::string& text) const {
  Box(box)->setText(QString::fromStdString(text));
  window->Text1_LostFocus(box);
}

std::string Window::File(const std::string& name, const std::vector<std::string>& lines) const {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return dir.Write(name, text);
}

}  // namespace varst::test
