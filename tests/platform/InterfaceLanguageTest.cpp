// The English interface: the translation catalogue covers every Japanese text of the
// sources, texts are translated where they meet the platform, and the windows built in
// English show no Japanese.

#include "platform/InterfaceLanguage.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "chart/ColorSelectDialog.h"
#include "chart/PositionDialog.h"
#include "chart/SettingDialog.h"
#include "chart/SizeDialog.h"
#include "convert/FilenameConv.h"
#include "platform/InterfaceTexts.h"
#include "support/WindowFixture.h"

namespace varst {
namespace {

// Source text → translation, of the finished messages of the .ts file.
std::map<QString, QString> FinishedTranslations(std::vector<QString>& problems) {
  QFile file(QStringLiteral(VARST_SOURCE_DIR "/translations/varst_en.ts"));
  EXPECT_TRUE(file.open(QIODevice::ReadOnly));
  const QString ts = QString::fromUtf8(file.readAll());
  static const QRegularExpression message(
      QStringLiteral("<source>(.*?)</source>\\s*<translation( type=\"[a-z]+\")?>(.*?)</translation>"),
      QRegularExpression::DotMatchesEverythingOption);
  const auto unescape = [](QString text) {
    return text.replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"").replace("&apos;", "'").replace(
        "&amp;", "&");
  };
  std::map<QString, QString> finished;
  for (auto it = message.globalMatch(ts); it.hasNext();) {
    const QRegularExpressionMatch m = it.next();
    const QString source = unescape(m.captured(1));
    if (!m.captured(2).isEmpty() || m.captured(3).trimmed().isEmpty()) {
      problems.push_back("not finished: " + source);
    } else {
      finished[source] = unescape(m.captured(3));
    }
  }
  return finished;
}

// The string literals of a C++ source that hold a character beyond ASCII; comments and
// character literals are skipped.
std::vector<std::string> NonAsciiLiterals(const std::string& code) {
  std::vector<std::string> literals;
  for (std::size_t i = 0; i < code.size(); ++i) {
    if (code.compare(i, 2, "//") == 0) {
      i = code.find('\n', i);
      if (i == std::string::npos) break;
    } else if (code.compare(i, 2, "/*") == 0) {
      i = code.find("*/", i + 2);
      if (i == std::string::npos) break;
      ++i;
    } else if (code[i] == '\'' || code[i] == '"') {
      const char quote = code[i];
      std::string text;
      for (++i; i < code.size() && code[i] != quote; ++i) {
        if (code[i] == '\\' && i + 1 < code.size()) {
          ++i;
          text += code[i] == 'n' ? '\n' : code[i] == 'r' ? '\r' : code[i] == 't' ? '\t' : code[i];
        } else {
          text += code[i];
        }
      }
      const bool nonAscii = std::any_of(text.begin(), text.end(), [](char c) { return (c & 0x80) != 0; });
      if (quote == '"' && nonAscii) literals.push_back(text);
    }
  }
  return literals;
}

// A source literal is covered when, without surrounding blanks and line breaks, it is a
// finished source text or one of the fixed pieces of a pattern.
bool Covered(const QString& literal, const std::map<QString, QString>& finished) {
  if (finished.count(literal) != 0) return true;
  static const QRegularExpression place(QStringLiteral("%[1-9]"));
  for (const auto& entry : finished) {
    for (const QString& piece : entry.first.split(place)) {
      if (piece.trimmed() == literal) return true;
    }
  }
  return false;
}

TEST(InterfaceTexts, EveryJapaneseLiteralHasAFinishedEnglishTranslation) {
  std::vector<QString> problems;
  const std::map<QString, QString> finished = FinishedTranslations(problems);
  ASSERT_FALSE(finished.empty());
  std::set<QString> catalogue;
  for (const char* text : InterfaceTextSources()) catalogue.insert(QString::fromUtf8(text));
  for (const QString& source : catalogue) {
    if (finished.count(source) == 0) problems.push_back("catalogued but not in the .ts: " + source);
  }
  for (const auto& entry : finished) {
    if (catalogue.count(entry.first) == 0) problems.push_back("in the .ts but not catalogued: " + entry.first);
  }
  int scanned = 0;
  for (const auto& file : std::filesystem::recursive_directory_iterator(VARST_SOURCE_DIR "/src")) {
    const std::string extension = file.path().extension().string();
    if (extension != ".cpp" && extension != ".h") continue;
    if (file.path().filename() == "InterfaceTexts.cpp") continue;
    std::ifstream in(file.path(), std::ios::binary);
    std::stringstream code;
    code << in.rdbuf();
    for (const std::string& literal : NonAsciiLiterals(code.str())) {
      ++scanned;
      const QString text = QString::fromStdString(literal).trimmed();
      if (!Covered(text, finished)) {
        problems.push_back(QString::fromStdString(file.path().filename().string()) + ": no English for \"" + text + "\"");
      }
    }
  }
  EXPECT_GT(scanned, 50);
  for (const QString& problem : problems) ADD_FAILURE() << problem.toStdString();
}

QString Catalogue(const QByteArray& source) {
  static const std::map<QString, QString> english = {
      {QStringLiteral("データが不正です"), QStringLiteral("The data is invalid.")},
      {QStringLiteral("(処理中)"), QStringLiteral("(busy)")},
      {QStringLiteral("ファイルが見つかりません: %1"), QStringLiteral("File not found: %1")},
      {QStringLiteral("ファイル名とタイムスタンプが一致しません"), QStringLiteral("Name and stamp differ")},
      {QStringLiteral("設定値が範囲外です(%1～%2)"), QStringLiteral("Out of range (%1 to %2)")},
      {QStringLiteral("設定値が範囲外です"), QStringLiteral("Out of range:")},
      {QStringLiteral("%1～%2"), QStringLiteral("%1 to %2")},
      {QStringLiteral("既にファイルが存在しますので処理はスキップされます"), QStringLiteral("Listed already")},
  };
  const auto it = english.find(QString::fromUtf8(source));
  return it == english.end() ? QString() : it->second;
}

TEST(InterfaceTexts, TranslationOfRuntimeTexts) {
  const struct {
    const char* name;
    QString text;
    QString expected;
  } cases[] = {
      {"exact", "データが不正です", "The data is invalid."},
      {"blanks around kept", " (処理中)", " (busy)"},
      {"pattern with a path", "ファイルが見つかりません: /d/a %2.dat", "File not found: /d/a %2.dat"},
      {"path on its own line", "ファイル名とタイムスタンプが一致しません\n/d/データ.dat\n2026/12/08",
       "Name and stamp differ\n/d/データ.dat\n2026/12/08"},
      {"longest pattern wins", "設定値が範囲外です(1～1000)", "Out of range (1 to 1000)"},
      {"bounds on a line of their own", "設定値が範囲外です\r0.5～10", "Out of range:\r0.5 to 10"},
      {"tab-separated path", "既にファイルが存在しますので処理はスキップされます\t/d/x", "Listed already\t/d/x"},
      {"unknown text unchanged", "未知の文", "未知の文"},
      {"ascii unchanged", "ERR Cnt:", "ERR Cnt:"},
      {"empty", "", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(TranslateInterfaceText(c.text, Catalogue), c.expected) << c.name;
}

bool HasJapanese(const QString& text) {
  for (const QChar c : text) {
    const char16_t u = c.unicode();
    if ((u >= 0x3000 && u <= 0x30FF) || (u >= 0x3400 && u <= 0x9FFF) || (u >= 0xFF00 && u <= 0xFFEF)) return true;
  }
  return false;
}

// Every text a window shows of itself and of its children, each widget polished as it is
// before it is first shown (popup menus are polished only then).
std::vector<QString> ShownTexts(QWidget& window) {
  QList<QWidget*> widgets = window.findChildren<QWidget*>();
  widgets.prepend(&window);
  std::vector<QString> texts;
  for (QWidget* widget : widgets) {
    widget->ensurePolished();
    texts.push_back(widget->windowTitle());
    texts.push_back(widget->toolTip());
    if (auto* label = qobject_cast<QLabel*>(widget)) texts.push_back(label->text());
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) texts.push_back(button->text());
    if (auto* group = qobject_cast<QGroupBox*>(widget)) texts.push_back(group->title());
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
      for (int i = 0; i < combo->count(); ++i) texts.push_back(combo->itemText(i));
    }
    if (auto* menu = qobject_cast<QMenu*>(widget)) {
      texts.push_back(menu->title());
      for (const QAction* action : menu->actions()) texts.push_back(action->text());
    }
    if (auto* table = qobject_cast<QTableWidget*>(widget)) {
      for (int col = 0; col < table->columnCount(); ++col) {
        if (const QTableWidgetItem* item = table->horizontalHeaderItem(col)) texts.push_back(item->text());
      }
    }
  }
  return texts;
}

// No Japanese is left, and the layouts gave every label and button the room its English
// text needs.
void ExpectNoJapanese(QWidget& window, const char* name) {
  int shown = 0;
  for (const QString& text : ShownTexts(window)) {
    shown += text.isEmpty() ? 0 : 1;
    EXPECT_FALSE(HasJapanese(text)) << name << ": \"" << text.toStdString() << "\"";
  }
  EXPECT_GE(shown, 3) << name;
  window.show();
  QCoreApplication::processEvents();
  for (QWidget* widget : window.findChildren<QWidget*>()) {
    QString text;
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) text = button->text();
    if (auto* label = qobject_cast<QLabel*>(widget); label != nullptr && !label->wordWrap()) text = label->text();
    if (text.isEmpty() || text.contains('\n') || !widget->isVisible()) continue;
    EXPECT_GE(widget->width(), widget->fontMetrics().horizontalAdvance(text))
        << name << ": \"" << text.toStdString() << "\" is clipped";
  }
}

TEST(InterfaceLanguage, WindowsBuiltInEnglishShowNoJapanese) {
  const InterfaceLanguageScope english(InterfaceLanguage::English);
  ASSERT_TRUE(english.English());
  test::Window main;
  ExpectNoJapanese(*main.window, "main window");
  EXPECT_EQ(main.window->windowTitle().left(19), QStringLiteral("Performance Viewer "));
  EXPECT_EQ(main.Button(0)->text(), QStringLiteral("Open files"));

  FilenameConv conversion(main.settings, Services{main.prompter, main.shell, main.clock}, [] {});
  conversion.show();
  ExpectNoJapanese(conversion, "conversion tool");

  DialogResults results;
  Setting colours(main.settings, results, main.prompter, [] {});
  ExpectNoJapanese(colours, "colour dialog");
  std::vector<LineColourRow> lineRows;
  ColorSelect lines(lineRows, results, main.prompter);
  ExpectNoJapanese(lines, "line colour dialog");
  std::int32_t width = 9600;
  std::int32_t height = 7200;
  SizeDialog size(width, height, 15, 15, results, main.prompter);
  ExpectNoJapanese(size, "size dialog");
  std::vector<PositionRow> orderRows;
  std::string orderList;
  Position order(orderRows, orderList, results);
  ExpectNoJapanese(order, "drawing order dialog");
}

TEST(InterfaceLanguage, JapaneseInstallsNothing) {
  const InterfaceLanguageScope japanese(InterfaceLanguage::Japanese);
  EXPECT_FALSE(japanese.English());
  test::Window main;
  EXPECT_EQ(main.Button(0)->text(), QString::fromUtf8("ﾌｧｲﾙを開く"));
  EXPECT_EQ(Ui("データが不正です"), QString::fromUtf8("データが不正です"));
}

}  // namespace
}  // namespace varst
