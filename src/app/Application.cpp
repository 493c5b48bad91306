#include "app/Application.h"

#include <QApplication>
#include <QIcon>
#include <functional>
#include <memory>

#include "app/SettingsFile.h"
#include "app/StartUp.h"
#include "common/Paths.h"
#include "convert/FilenameConv.h"
#include "common/Settings.h"
#include "data/DataSet.h"
#include "platform/Clock.h"
#include "platform/InterfaceLanguage.h"
#include "platform/QtPrompter.h"
#include "platform/QtShell.h"
#include "viewer/MainMenu.h"
#include "viewer/TraceWindow.h"

namespace varst {

namespace {

// "/CONV": the conversion tool alone, with the files named on the command line listed.
int RunConversionTool(Settings& settings, Services services, const std::function<void()>& save) {
  FilenameConv window(settings, services, save);
  if (auto* prompter = dynamic_cast<QtPrompter*>(&services.prompter)) prompter->SetOwner(&window);
  window.show();
  std::vector<std::string> files;
  for (const std::string& item : settings.CommandLine) {
    if (FileExists(std::string_view(item))) files.push_back(item);
  }
  if (!files.empty()) window.AddFilesWithNotice(files);
  return QApplication::exec();
}

}  // namespace

int RunViewer(int& argc, char** argv, const std::vector<std::string>& items, std::size_t optionItems,
              const std::string& language) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(kApplicationTitle);
  // Ties the windows to the installed desktop entry and its icon (the task bar and docks match
  // windows to entries by this name); outside an install the theme has no such icon and the
  // windows keep the platform's default.
  QGuiApplication::setDesktopFileName("org.varst.Varst");
  QApplication::setWindowIcon(QIcon::fromTheme("org.varst.Varst"));

  Settings settings;
  DataSet dataSet;
  PrepareStartUp(items, CurrentEnvironment(argc > 0 ? argv[0] : ""), settings, dataSet, optionItems);
  const InterfaceLanguageScope interfaceLanguage(
      ParseInterfaceLanguage(language.empty() ? settings.Language : language).value_or(InterfaceLanguage::Japanese));

  QtPrompter prompter;
  QtShell shell;
  SteadyClock clock;
  const auto save = [&settings] { SaveSettings(settings); };
  if (settings.ConversionToolOnly) return RunConversionTool(settings, Services{prompter, shell, clock}, save);
  std::unique_ptr<TraceWindow> trace;
  if (settings.TraceWindowOn != 0) {
    trace = std::make_unique<TraceWindow>();
    trace->show();
  }
  MainMenu mainMenu(settings, dataSet, Services{prompter, shell, clock}, save);
  prompter.SetOwner(&mainMenu);
  if (trace) mainMenu.SetTraceSink([window = trace.get()](const std::string& line) { window->Append(line); });
  mainMenu.show();
  mainMenu.Form_Load();
  return QApplication::exec();
}

}  // namespace varst
