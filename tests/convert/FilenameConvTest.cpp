#include "convert/FilenameConv.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <memory>

#include "ConvertTestFiles.h"
#include "convert/FileListRows.h"
#include "platform/QtGrid.h"
#include "platform/QtPrompter.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

namespace varst {
namespace {

struct RecordingShell : Shell {
  bool StartProgram(const std::string& program, const std::vector<std::string>& arguments) override {
    calls.push_back("start " + program + " " + arguments.at(0));
    return startWorks;
  }
  bool OpenWithDefaultApplication(const std::string& path) override {
    calls.push_back("open " + path);
    return true;
  }
  bool OpenFolder(const std::string& folder) override {
    calls.push_back("folder " + folder);
    return true;
  }
  bool startWorks = true;
  std::vector<std::string> calls;
};

class FilenameConvWindow : public ::testing::Test {
 protected:
  FilenameConv& Open() {
    settings.ConvertPath = dir.File("out");
    window = std::make_unique<FilenameConv>(settings, Services{prompter, shell, clock}, [this] { ++saved; });
    window->show();
    return *window;
  }
  template <typename T>
  T* Child(const QString& name) const {
    T* child = window->findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name.toStdString();
    return child;
  }
  QPushButton* Command1(int index) const { return Child<QPushButton>(QString("Command1_%1").arg(index)); }
  QString Count(int label) const { return Child<QLabel>(QString("Label2_%1").arg(label))->text(); }
  // Lists data files (model MODEL-X100, serial = name) through the open dialog.
  void ListFiles(const std::vector<std::string>& names) {
    std::string answer = dir.File("src") + '\0';
    for (const std::string& name : names) {
      dir.Write("src/" + name, name == "bad.csv" ? "no drive line\r\n" : test::DataFileText("MODEL-X100", name));
      answer += name + '\0';
    }
    prompter.ExpectOpenFile(answer + '\0');
    Command1(4)->click();
  }
  [[nodiscard]] std::string Status(int row) const { return window->FileList().TextMatrix(row, kColStatus); }

  test::TempDir dir;
  Settings settings;
  test::ScriptedPrompter prompter;
  RecordingShell shell;
  SteadyClock clock;
  int saved = 0;
  std::unique_ptr<FilenameConv> window;
};

TEST_F(FilenameConvWindow, LoadsValidChoicesAndStoresThemWhenClosed) {
  settings.ConvertPrm = {7, -2, 9, 0, 0, 0, 0, 0, 0, 0, 0};
  Open();
  EXPECT_EQ(window->windowTitle(), "ファイル名変換ツール");
  EXPECT_EQ(Child<QComboBox>("Combo1_0")->currentIndex(), 2);
  EXPECT_EQ(Child<QComboBox>("Combo1_1")->currentIndex(), 0);
  EXPECT_EQ(Child<QComboBox>("Combo2")->currentIndex(), 3);
  EXPECT_EQ(Child<QLineEdit>("Text1")->text().toStdString(), dir.File("out"));
  EXPECT_FALSE(Child<QCheckBox>("Check1")->isChecked());
  for (int label = 0; label < 4; ++label) EXPECT_EQ(Count(label), "");
  EXPECT_EQ(Child<QLabel>("Label2_1")->toolTip(), "変換を失敗したファイル数");
  QtGrid& grid = window->FileList();
  EXPECT_EQ(grid.horizontalHeaderItem(kColPath)->text(), "元ﾌｧｲﾙ名" + QString(17, ' '));
  EXPECT_EQ(grid.horizontalHeaderItem(kColStatus)->text(), "ｽﾃｰﾀｽ");
  EXPECT_TRUE(grid.isColumnHidden(0) && grid.isColumnHidden(5) && grid.isColumnHidden(6));

  Child<QLineEdit>("Text1")->setText("/data/new");
  Child<QComboBox>("Combo1_1")->setCurrentIndex(1);
  window->close();
  EXPECT_EQ(saved, 1);
  EXPECT_EQ(settings.ConvertPath, "/data/new");
  EXPECT_EQ(settings.ConvertPrm[0], 2);
  EXPECT_EQ(settings.ConvertPrm[1], 1);
  EXPECT_EQ(settings.ConvertPrm[2], 3);
}

TEST_F(FilenameConvWindow, AddsFilesByDialogAndDropWithoutDuplicates) {
  Open();
  ListFiles({"a.csv", "b.csv"});
  EXPECT_EQ(window->ListedCount(), 2);
  EXPECT_EQ(window->FileList().Rows(), 2);
  EXPECT_EQ(Count(kCountListed), "2");

  prompter.ExpectMessage("設定されているファイルを削除しますか?", Answer::No)
      .ExpectOpenFile(dir.File("src/a.csv"))
      .ExpectMessage("既にファイルが存在しますので処理はスキップされます\n" + dir.File("src/a.csv"));
  Command1(4)->click();
  EXPECT_EQ(window->ListedCount(), 2);
  EXPECT_EQ(prompter.History()[1].icon, MessageIcon::Question);

  prompter.ExpectMessage("設定されているファイルを削除しますか?", Answer::Yes).ExpectOpenFile("");
  Command1(4)->click();
  EXPECT_EQ(window->ListedCount(), 0) << "Yes empties the list even when the dialog is cancelled";

  window->DragDrop({dir.File("src/b.csv"), dir.File("src/a.csv")});
  EXPECT_EQ(window->FileList().TextMatrix(0, kColPath), dir.File("src/b.csv"));
  window->FileList().SetRow(0);
  Child<QMenu>("POPUP")->actions().at(0)->trigger();
  EXPECT_EQ(window->ListedCount(), 1);
  EXPECT_EQ(window->FileList().TextMatrix(0, kColPath), dir.File("src/a.csv"));
  Command1(1)->click();
  EXPECT_EQ(window->FileList().Rows(), 0);
  EXPECT_EQ(Count(kCountListed), "0");
}

TEST_F(FilenameConvWindow, RunColoursEachStatusAndCountsThem) {
  settings.ConvertPrm[2] = kExistingSkip;
  Open();
  ListFiles({"good.csv", "taken.csv", "bad.csv"});
  dir.Write("out/MODEL-X100_taken.csv.csv", "old");
  prompter.ExpectMessage("全てのファイル名が正常に変換されていません。確認してください");
  Command1(0)->click();
  QtGrid& grid = window->FileList();
  EXPECT_EQ(Status(0) + Status(1) + Status(2), "Comp..SKIPNG");
  EXPECT_EQ(grid.CellBackColor(0, kColStatus), 0x00FF00);
  EXPECT_EQ(grid.CellBackColor(1, kColStatus), 0xFFFF00);
  EXPECT_EQ(grid.CellBackColor(2, kColStatus), 0x0000FF);
  EXPECT_EQ(grid.TextMatrix(0, kColConverted), dir.File("out/MODEL-X100_good.csv.csv"));
  EXPECT_EQ(Count(kCountListed) + Count(kCountSucceeded) + Count(kCountFailed) + Count(kCountSkipped), "3111");
  EXPECT_EQ(prompter.History().back().icon, MessageIcon::Critical);

  window->MouseMove(2, kColStatus);
  EXPECT_EQ(Child<QLabel>("Label3")->text(), "データファイルが不正です");
  window->MouseMove(2, kColStamp);
  EXPECT_EQ(Child<QLabel>("Label3")->text(), "");
}

TEST_F(FilenameConvWindow, TheStartButtonAbortsARunBetweenFiles) {
  settings.ConvertPrm[2] = kExistingAsk;
  Open();
  ListFiles({"a.csv", "b.csv"});
  dir.Write("out/MODEL-X100_a.csv.csv", "old");
  prompter.ExpectDialog([this](QDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "ファイルの重複");
    EXPECT_EQ(Command1(0)->text(), "中止");
    for (const char* name : {"Text1", "Combo1_0", "Combo2", "Check1", "Command1_1", "Command1_2", "Command1_3", "Command1_4"}) {
      EXPECT_FALSE(Child<QWidget>(name)->isEnabled()) << name;
    }
    for (const char* name : {"Combo1_1", "Command2", "Command10"}) EXPECT_TRUE(Child<QWidget>(name)->isEnabled()) << name;
    Command1(0)->click();
    EXPECT_EQ(Command1(0)->text(), "リネーム開始");
    dialog.findChildren<QPushButton*>().at(2)->click();  // "OK"
    return 1;
  });
  prompter.ExpectMessage("中断されました\n");
  Command1(0)->click();
  EXPECT_EQ(Status(0) + "|" + Status(1), "Comp..|");
  EXPECT_TRUE(Child<QWidget>("Command1_4")->isEnabled());
  EXPECT_FALSE(window->RunActive());
}

TEST_F(FilenameConvWindow, ClosingDuringARunStopsItAndThenCloses) {
  settings.ConvertPrm[2] = kExistingAsk;
  Open();
  ListFiles({"a.csv", "b.csv"});
  dir.Write("out/MODEL-X100_a.csv.csv", "old");
  window->setAttribute(Qt::WA_DeleteOnClose);
  QPointer<FilenameConv> alive(window.release());
  prompter.ExpectDialog([&alive](QDialog& dialog) {
    EXPECT_FALSE(alive->close()) << "not while a run is on the stack";
    dialog.reject();
    return 0;
  });
  alive->findChild<QPushButton*>("Command1_0")->click();
  EXPECT_EQ(saved, 1);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(alive.isNull());
}

// The open dialog's filter reads as written: the window asks for "全ファイル(*.*)" over "*",
// and Qt's own dialog, opened as the prompter opens it, shows exactly that. Catches: the file
// dialogs opened without FileDialogOptions (the filter reads "全ファイル(*.*) (*)").
TEST_F(FilenameConvWindow, TheOpenDialogShowsItsFilterAsWritten) {
  Open();
  ListFiles({"a.csv"});
  EXPECT_EQ(prompter.History().back().text, "全ファイル(*.*)|*");
  QFileDialog dialog(nullptr, QString(), QString(), FileDialogFilter("全ファイル(*.*)", "*"));
  dialog.setOptions(FileDialogOptions() | QFileDialog::DontUseNativeDialog);
  auto* filters = dialog.findChild<QComboBox*>("fileTypeCombo");
  ASSERT_NE(filters, nullptr);
  EXPECT_EQ(filters->itemText(0), QStringLiteral("全ファイル(*.*)"));
}

// An empty folder box fails every checked file, and the window says why once per run.
// Catches: the reason kept in the rows only (no message), or told for every row.
TEST_F(FilenameConvWindow, AnEmptyFolderBoxIsToldOncePerRun) {
  Open();
  Child<QLineEdit>("Text1")->setText("  ");
  ListFiles({"a.csv", "b.csv"});
  for (int run = 0; run < 2; ++run) {
    prompter.ExpectMessage("保存先フォルダーが設定されていません");
    prompter.ExpectMessage("全てのファイル名が正常に変換されていません。確認してください");
    Command1(0)->click();
    EXPECT_TRUE(prompter.Finished());
    EXPECT_EQ(Status(0) + Status(1), "NGNG");
  }
}

TEST_F(FilenameConvWindow, EditsWithTheEditorOrTheDesktopAndOpensTheFolder) {
  settings.EditorPath = "myeditor";
  Open();
  ListFiles({"a.csv"});
  window->FileList().SetRow(0);
  Command1(3)->click();
  shell.startWorks = false;
  Command1(3)->click();
  Child<QPushButton>("Command10")->click();
  const std::string a = dir.File("src/a.csv");
  EXPECT_EQ(shell.calls, (std::vector<std::string>{"start myeditor " + a, "start myeditor " + a, "open " + a,
                                                   "folder " + dir.File("out")}));
  prompter.ExpectFolder("/chosen");
  Child<QPushButton>("Command2")->click();
  EXPECT_EQ(prompter.History().back().text, "ﾌｫﾙﾀﾞを選択してください");
  EXPECT_EQ(Child<QLineEdit>("Text1")->text(), "/chosen");
}

}  // namespace
}  // namespace varst
