#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "convert/DialogQuestions.h"
#include "convert/DupFileNameDialog.h"
#include "convert/FileDateChkDialog.h"
#include "support/ScriptedPrompter.h"

namespace varst {
namespace {

QStringList Captions(const QDialog& dialog) {
  QStringList captions;
  for (const QPushButton* button : dialog.findChildren<QPushButton*>()) captions << button->text();
  return captions;
}

QPushButton* Button(const QDialog& dialog, const QString& caption) {
  for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
    if (button->text() == caption) return button;
  }
  ADD_FAILURE() << "no button " << caption.toStdString();
  return nullptr;
}

TEST(DupFileNameDialog, OffersTheNameAndReportsTheUsersChoice) {
  DupFileNameDialog dialog("/out/MODEL-X100_SN0001.csv");
  EXPECT_EQ(dialog.windowTitle(), "ファイルの重複");
  EXPECT_EQ(Captions(dialog), (QStringList{"スキップ", "中断", "OK"}));
  EXPECT_EQ(dialog.findChild<QCheckBox*>("Check1")->text(), "以降このダイアログを開かない");
  QLineEdit* name = dialog.findChild<QLineEdit*>("Text1");
  EXPECT_EQ(name->text(), "/out/MODEL-X100_SN0001.csv");
  EXPECT_EQ(name->cursorPosition(), name->text().size());
  EXPECT_EQ(dialog.Answer(), kAnswerSkip);

  name->setText("/out/other.csv");
  dialog.findChild<QCheckBox*>("Check1")->click();
  Button(dialog, "OK")->click();
  EXPECT_EQ(dialog.Answer(), kAnswerGoOn);
  EXPECT_EQ(dialog.NewName(), "/out/other.csv");
  EXPECT_TRUE(dialog.DoNotAskAgain());
}

TEST(FileDateChkDialog, ShowsTheQuestionAndOpensHighOnTheScreen) {
  FileDateChkDialog dialog("ファイル名とタイムスタンプが一致しません\n/d/result.csv\n2005/04/01 12:34:56");
  EXPECT_EQ(dialog.windowTitle(), "Form1");
  EXPECT_EQ(Captions(dialog), (QStringList{"スキップ", "中断", "続行"}));
  EXPECT_TRUE(dialog.findChild<QLabel*>("Label1")->text().contains("/d/result.csv"));
  dialog.show();
  const QRect screen = dialog.screen()->geometry();
  EXPECT_EQ(dialog.frameGeometry().top(), screen.height() / 5);
  EXPECT_LE(std::abs(dialog.frameGeometry().center().x() - screen.center().x()), 1);
  Button(dialog, "中断")->click();
  EXPECT_EQ(dialog.Answer(), kAnswerAbort);
  EXPECT_FALSE(dialog.isVisible());
}

TEST(DialogQuestions, CloseBoxSkipsAndOnlyOkChangesTheName) {
  test::ScriptedPrompter prompter;
  DialogQuestions questions(prompter, nullptr);
  prompter
      .ExpectDialog([](QDialog& dialog) {
        dialog.findChild<QLineEdit*>("Text1")->setText("/out/typed.csv");
        dialog.findChild<QCheckBox*>("Check1")->click();
        dialog.reject();  // the window's close box
        return 0;
      })
      .ExpectDialog([](QDialog& dialog) {
        dialog.findChild<QLineEdit*>("Text1")->setText("/out/typed.csv");
        Button(dialog, "OK")->click();
        return 1;
      })
      .ExpectDialog([](QDialog& dialog) {
        Button(dialog, "続行")->click();
        return 1;
      });
  std::string name = "/out/a.csv";
  QuestionReply reply = questions.AskDuplicate(name);
  EXPECT_EQ(reply.answer, kAnswerSkip);
  EXPECT_TRUE(reply.doNotAskAgain);
  EXPECT_EQ(name, "/out/a.csv");
  reply = questions.AskDuplicate(name);
  EXPECT_EQ(reply.answer, kAnswerGoOn);
  EXPECT_EQ(name, "/out/typed.csv");
  EXPECT_EQ(questions.AskDateMismatch("text").answer, kAnswerGoOn);
}

}  // namespace
}  // namespace varst
