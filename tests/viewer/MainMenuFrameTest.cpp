#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "app/SettingsFile.h"
#include "app/StartUp.h"
#include "common/Paths.h"
#include "platform/ChartView.h"
#include "platform/QtGrid.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"
#include "viewer/MainMenu.h"

namespace varst {
namespace {

using test::ReadFileBytes;
using test::ScriptedPrompter;
using test::TempDir;

TEST(BaseCaption, VersionNumbersWithoutPadding) {
  EXPECT_EQ(BuildBaseCaption(1, 2, 5), "ﾊﾟﾌｫｰﾏﾝｽ計測ﾋﾞｭｰｱｰ Ver1.25");
  EXPECT_EQ(BuildBaseCaption(10, 0, 12), "ﾊﾟﾌｫｰﾏﾝｽ計測ﾋﾞｭｰｱｰ Ver10.012");
}

TEST(MainMenuFrame, StartsEmptyAndWritesTheDefaultsWhenClosed) {
  TempDir home;
  Settings settings;
  DataSet dataSet;
  PrepareStartUp({}, {home.File(".config"), home.File("tmp"), "/opt/varst"}, settings, dataSet);
  EXPECT_TRUE(FolderExists(home.File(".config/Varst")));
  EXPECT_TRUE(FolderExists(home.File("tmp/Varst")));

  ScriptedPrompter prompter;
  SteadyClock clock;
  struct NoShell : Shell {
    bool StartProgram(const std::string&, const std::vector<std::string>&) override { return false; }
    bool OpenWithDefaultApplication(const std::string&) override { return false; }
    bool OpenFolder(const std::string&) override { return false; }
  } shell;
  auto* window = new MainMenu(settings, dataSet, Services{prompter, shell, clock}, [&] { SaveSettings(settings); });
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->show();
  window->Form_Load();
  EXPECT_TRUE(window->windowTitle().endsWith("Ver1.00"));
  EXPECT_EQ(window->SeriesGrid().Rows(), 0);
  EXPECT_GT(window->ChartSurface().width(), 100);
  window->close();

  const std::string written = ReadFileBytes(home.File(".config/Varst/Varst.ini"));
  Settings defaults;
  defaults.WorkFolder = home.File("tmp/Varst");
  defaults.ConvertPath = "/opt/varst";
  TempDir expected;
  ASSERT_TRUE(SaveSettings(defaults, expected.File("Varst.ini")));
  EXPECT_EQ(written, ReadFileBytes(expected.File("Varst.ini")));
}

}  // namespace
}  // namespace varst
