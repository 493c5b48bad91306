#include "app/Application.h"

#include <QApplication>
#include <memory>

#include "app/SettingsFile.h"
#include "app/StartUp.h"
#include "common/Settings.h"
#include "data/DataSet.h"
#include "platform/Clock.h"
#include "platform/QtPrompter.h"
#include "platform/QtShell.h"
#include "viewer/MainMenu.h"
#include "viewer/TraceWindow.h"

namespace varst {

int RunViewer(int& argc, char** argv, const std::vector<std::string>& items) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(kApplicationTitle);

  Settings settings;
  DataSet dataSet;
  PrepareStartUp(items, CurrentEnvironment(argc > 0 ? argv[0] : ""), settings, dataSet);

  QtPrompter prompter;
  QtShell shell;
  SteadyClock clock;
  std::unique_ptr<TraceWindow> trace;
  if (settings.TraceWindowOn != 0) {
    trace = std::make_unique<TraceWindow>();
    trace->show();
  }
  MainMenu mainMenu(settings, dataSet, Services{prompter, shell, clock},
                    [&settings] { SaveSettings(settings); });
  prompter.SetOwner(&mainMenu);
  mainMenu.show();
  mainMenu.Form_Load();
  return QApplication::exec();
}

}  // namespace varst
