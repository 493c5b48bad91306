#include "bench/BenchWindow.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <stdexcept>

#include "app/StartUp.h"
#include "common/Paths.h"
#include "platform/ChartView.h"
#include "platform/QtGrid.h"

namespace varst::bench {

BenchWindow::BenchWindow() {
  if (!folder_.isValid()) throw std::runtime_error("no temporary folder");
  const std::string root = folder_.path().toStdString();
  StartEnvironment environment;
  environment.appData = root + "/appdata";
  environment.temp = root + "/temp";
  environment.programFolder = root;
  PrepareStartUp({}, environment, settings_, dataSet_);
  window_ = std::make_unique<MainMenu>(settings_, dataSet_, Services{prompter_, shell_, clock_}, [] {});
  window_->show();
  window_->Form_Load();
  Settle();
}

BenchWindow::~BenchWindow() {
  window_.reset();
  Settle();
}

QWidget& BenchWindow::Chart() { return window_->ChartSurface(); }

QLabel& BenchWindow::Status() {
  auto* label = window_->findChild<QLabel*>("Label2");
  if (label == nullptr) throw std::runtime_error("the window has no status label Label2");
  return *label;
}

int BenchWindow::Rows() { return window_->SeriesGrid().Rows(); }

void BenchWindow::Open(const std::vector<std::string>& paths) {
  if (paths.size() == 1) {
    prompter_.openResult = paths.front();
  } else {
    // One folder, then each name, each ended by NUL, and a final NUL.
    std::string result = GetFolderPart(paths.front());
    result += '\0';
    for (const std::string& path : paths) {
      if (GetFolderPart(path) != GetFolderPart(paths.front())) {
        throw std::runtime_error("the files of one open must share a folder: " + path);
      }
      result += GetFileName(path);
      result += '\0';
    }
    result += '\0';
    prompter_.openResult = result;
  }
  window_->Command1_Click(0);
}

void BenchWindow::Type(int box, const std::string& text) {
  auto* edit = window_->findChild<QLineEdit*>(QString("Text1_%1").arg(box));
  if (edit == nullptr) throw std::runtime_error("no entry box Text1_" + std::to_string(box));
  edit->setText(QString::fromStdString(text));
  window_->Text1_LostFocus(box);
}

void BenchWindow::Settle() {
  QApplication::sendPostedEvents();
  QApplication::processEvents();
}

}  // namespace varst::bench
