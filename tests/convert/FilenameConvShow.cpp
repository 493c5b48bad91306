// Shows the conversion window with files listed, for looking at it on a real display:
//
//   varst_convert_show DEST [--existing N] [--check] [--run] [--close-box-after S]
//                      [--dialog dup|date] FILE...
//
// --existing N selects the existing-file choice, --check ticks the time stamp check, --run
// presses "リネーム開始" once the window is up, --close-box-after closes the message box or
// dialog open after S seconds, --dialog opens one of the question dialogs beside the window.
// The settings are never written.

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTimer>
#include <cstdlib>
#include <string>
#include <vector>

#include "convert/ConversionRun.h"
#include "convert/DupFileNameDialog.h"
#include "convert/FileDateChkDialog.h"
#include "convert/FilenameConv.h"
#include "platform/QtPrompter.h"
#include "platform/QtShell.h"

namespace {

struct ShowOptions {
  std::string dest;
  int existing = 2;
  bool run = false;
  std::string dialog;
  bool check = false;
  int closeBoxAfterSeconds = 0;
  std::vector<std::string> files;
};

ShowOptions ReadOptions(const std::vector<std::string>& args) {
  ShowOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& item = args[i];
    const bool hasValue = i + 1 < args.size();
    if (item == "--existing" && hasValue) {
      options.existing = std::atoi(args[++i].c_str());
    } else if (item == "--run") {
      options.run = true;
    } else if (item == "--dialog" && hasValue) {
      options.dialog = args[++i];
    } else if (item == "--check") {
      options.check = true;
    } else if (item == "--close-box-after" && hasValue) {
      options.closeBoxAfterSeconds = std::atoi(args[++i].c_str());
    } else if (options.dest.empty()) {
      options.dest = item;
    } else {
      options.files.push_back(item);
    }
  }
  return options;
}

void ShowDialog(const std::string& which, QWidget& window, const ShowOptions& options) {
  const std::string file = options.files.empty() ? std::string("result.csv") : options.files.front();
  QDialog* dialog = nullptr;
  if (which == "dup") dialog = new varst::DupFileNameDialog(options.dest + "/MODEL-X100_SN0001.csv", &window);
  if (which == "date") dialog = new varst::FileDateChkDialog(varst::DateMismatchText(file, "2005/04/04 17:45:10"), &window);
  if (dialog == nullptr) return;
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->show();
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  const ShowOptions options = ReadOptions(std::vector<std::string>(argv + 1, argv + argc));
  varst::Settings settings;
  settings.ConvertPath = options.dest;
  settings.ConvertPrm[2] = static_cast<std::int16_t>(options.existing);
  varst::QtShell shell;
  varst::SteadyClock clock;
  varst::QtPrompter prompter;
  varst::FilenameConv window(settings, varst::Services{prompter, shell, clock}, [] {});
  prompter.SetOwner(&window);
  window.AddFilesWithNotice(options.files);
  window.move(40, 40);
  window.show();
  if (options.run) {
    QTimer::singleShot(800, &window, [&window] { window.findChild<QPushButton*>("Command1_0")->click(); });
  }
  if (!options.dialog.empty()) ShowDialog(options.dialog, window, options);
  if (options.check) window.findChild<QCheckBox*>("Check1")->setChecked(true);
  if (options.closeBoxAfterSeconds > 0) {
    QTimer::singleShot(options.closeBoxAfterSeconds * 1000, &application, [] {
      if (QWidget* box = QApplication::activeModalWidget()) box->close();
    });
  }
  return application.exec();
}
