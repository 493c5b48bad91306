#pragma once
// The language of the interface. Japanese is the source language: with it nothing is
// installed and every text stays byte for byte as the code writes it. English installs the
// compiled translation of the interface texts and translates each text where it meets the
// platform: widgets when they are first polished, and the texts the windows set later through
// Ui() (captions, the prompter's messages and dialog titles, grid headers, status texts).

#include <QObject>
#include <QString>
#include <QTranslator>
#include <functional>
#include <optional>
#include <streambuf>
#include <string>
#include <string_view>

class QWidget;

namespace varst {

enum class InterfaceLanguage { Japanese, English };

// "en" or "ja" in any letter case; nullopt for anything else.
[[nodiscard]] std::optional<InterfaceLanguage> ParseInterfaceLanguage(std::string_view text);

// Looks one source text up; an empty result means "no translation".
using TextLookup = std::function<QString(const QByteArray& source)>;

// Translates a text that may be a catalogued text, a pattern of one (a number or path in the
// place of %1), or several such lines or tab-separated fields. Blanks around a text, line
// breaks and tabs are kept; a part that matches nothing stays as it is.
[[nodiscard]] QString TranslateInterfaceText(const QString& text, const TextLookup& lookup);

// The text in the installed language (Qt's installed translators); the text itself when
// Japanese is in use.
[[nodiscard]] QString Ui(const std::string& text);

// Translates the texts a widget shows itself: window title, tool tip, label, button, group
// box, combo box items, menu title and actions.
void TranslateWidgetTexts(QWidget& widget);

// Puts the application into a language for its lifetime: with English it installs the
// translation and translates every widget as it is first polished. Needs the application
// object; remove it before the application goes.
class InterfaceLanguageScope final : public QObject {
 public:
  explicit InterfaceLanguageScope(InterfaceLanguage language);
  ~InterfaceLanguageScope() override;
  InterfaceLanguageScope(const InterfaceLanguageScope&) = delete;
  InterfaceLanguageScope& operator=(const InterfaceLanguageScope&) = delete;

  [[nodiscard]] bool English() const { return installed_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QTranslator translator_;
  bool installed_ = false;
};

// Loads the compiled English translation into a translator; false when it is missing.
bool LoadEnglishTranslation(QTranslator& translator);

// A stream buffer that passes whole lines on to another one, each line translated with
// the given translator. For the messages of the command-line modes, which run without an
// application object.
class TranslatingLineBuffer final : public std::streambuf {
 public:
  TranslatingLineBuffer(std::streambuf& target, const QTranslator& translator)
      : target_(target), translator_(translator) {}
  ~TranslatingLineBuffer() override {
    FlushLine();
    target_.pubsync();
  }

 protected:
  int_type overflow(int_type c) override;
  int sync() override;

 private:
  void FlushLine();

  std::streambuf& target_;
  const QTranslator& translator_;
  std::string line_;
};

}  // namespace varst
