#include "platform/InterfaceLanguage.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QWidget>
#include <algorithm>
#include <vector>

#include "platform/InterfaceTexts.h"
#include "platform/QtText.h"

namespace varst {
namespace {

// A catalogued text with places: literal pieces between them, and the place numbers
// (pieces.size() == places.size() + 1).
struct Pattern {
  QString source;
  std::vector<QString> pieces;
  std::vector<int> places;
};

std::vector<Pattern> BuildPatterns() {
  std::vector<Pattern> patterns;
  for (const char* text : InterfaceTextSources()) {
    const QString source = QString::fromUtf8(text);
    Pattern pattern{source, {QString()}, {}};
    for (qsizetype i = 0; i < source.size(); ++i) {
      if (source[i] == '%' && i + 1 < source.size() && source[i + 1] >= '1' && source[i + 1] <= '9') {
        pattern.places.push_back(source[i + 1].digitValue());
        pattern.pieces.emplace_back();
        ++i;
      } else {
        pattern.pieces.back() += source[i];
      }
    }
    if (!pattern.places.empty()) patterns.push_back(std::move(pattern));
  }
  // The pattern with the most fixed text wins: "%1～%2" must not take a line that a
  // longer pattern around the same "～" describes.
  const auto fixedLength = [](const Pattern& pattern) {
    qsizetype length = 0;
    for (const QString& piece : pattern.pieces) length += piece.size();
    return length;
  };
  std::stable_sort(patterns.begin(), patterns.end(),
                   [&](const Pattern& a, const Pattern& b) { return fixedLength(a) > fixedLength(b); });
  return patterns;
}

const std::vector<Pattern>& Patterns() {
  static const std::vector<Pattern> patterns = BuildPatterns();
  return patterns;
}

// The texts in the places when the text matches the pattern, each place as short as the
// pieces after it allow; empty when it does not match.
std::vector<QString> Match(const Pattern& pattern, const QString& text) {
  if (!text.startsWith(pattern.pieces.front()) || !text.endsWith(pattern.pieces.back())) return {};
  std::vector<QString> values;
  qsizetype at = pattern.pieces.front().size();
  const qsizetype end = text.size() - pattern.pieces.back().size();
  if (end < at) return {};
  for (std::size_t p = 1; p < pattern.pieces.size(); ++p) {
    const bool last = p + 1 == pattern.pieces.size();
    const qsizetype next = last ? end : text.indexOf(pattern.pieces[p], at);
    if (next < 0 || next > end) return {};
    values.push_back(text.mid(at, next - at));
    at = next + pattern.pieces[p].size();
  }
  return values;
}

// Puts the place texts into a translated pattern in one pass, so that a "%2" inside a path
// stays as it is.
QString Fill(const QString& translated, const Pattern& pattern, const std::vector<QString>& values) {
  QString result;
  for (qsizetype i = 0; i < translated.size(); ++i) {
    const int place = translated[i] == '%' && i + 1 < translated.size() ? translated[i + 1].digitValue() : -1;
    const auto k = std::find(pattern.places.begin(), pattern.places.end(), place);
    if (place > 0 && k != pattern.places.end()) {
      result += values[static_cast<std::size_t>(k - pattern.places.begin())];
      ++i;
    } else {
      result += translated[i];
    }
  }
  return result;
}

bool IsAscii(const QString& text) {
  for (const QChar c : text) {
    if (c.unicode() > 0x7F) return false;
  }
  return true;
}

QString TranslateLine(const QString& line, const TextLookup& lookup) {
  if (IsAscii(line)) return line;
  qsizetype begin = 0;
  qsizetype end = line.size();
  while (begin < end && line[begin].isSpace()) ++begin;
  while (end > begin && line[end - 1].isSpace()) --end;
  const QString core = line.mid(begin, end - begin);
  QString translated = lookup(core.toUtf8());
  if (translated.isEmpty()) {
    for (const Pattern& pattern : Patterns()) {
      const std::vector<QString> values = Match(pattern, core);
      if (values.empty()) continue;
      const QString english = lookup(pattern.source.toUtf8());
      if (english.isEmpty()) continue;
      translated = Fill(english, pattern, values);
      break;
    }
  }
  if (translated.isEmpty()) return line;
  return line.left(begin) + translated + line.mid(end);
}

QString InstalledLookup(const QByteArray& source) {
  const QString translated = QCoreApplication::translate(kTextContext, source.constData());
  return translated == QString::fromUtf8(source) ? QString() : translated;
}

}  // namespace

std::optional<InterfaceLanguage> ParseInterfaceLanguage(std::string_view text) {
  const QString value = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toLower();
  if (value == QLatin1String("en")) return InterfaceLanguage::English;
  if (value == QLatin1String("ja")) return InterfaceLanguage::Japanese;
  return std::nullopt;
}

QString TranslateInterfaceText(const QString& text, const TextLookup& lookup) {
  if (IsAscii(text)) return text;
  // Line by line and field by field: a message may put a path or numbers on lines or
  // tab-separated fields of their own.
  QString result;
  qsizetype start = 0;
  for (qsizetype i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != '\n' && text[i] != '\r' && text[i] != '\t') continue;
    result += TranslateLine(text.mid(start, i - start), lookup);
    if (i < text.size()) result += text[i];
    start = i + 1;
  }
  return result;
}

QString Ui(const std::string& text) { return TranslateInterfaceText(ToQString(text), InstalledLookup); }

void TranslateWidgetTexts(QWidget& widget) {
  const auto tr = [](const QString& text) { return TranslateInterfaceText(text, InstalledLookup); };
  if (widget.isWindow() && !widget.windowTitle().isEmpty()) widget.setWindowTitle(tr(widget.windowTitle()));
  if (!widget.toolTip().isEmpty()) widget.setToolTip(tr(widget.toolTip()));
  if (auto* label = qobject_cast<QLabel*>(&widget)) {
    label->setText(tr(label->text()));
  } else if (auto* button = qobject_cast<QAbstractButton*>(&widget)) {
    button->setText(tr(button->text()));
  } else if (auto* group = qobject_cast<QGroupBox*>(&widget)) {
    group->setTitle(tr(group->title()));
  } else if (auto* combo = qobject_cast<QComboBox*>(&widget)) {
    for (int i = 0; i < combo->count(); ++i) combo->setItemText(i, tr(combo->itemText(i)));
  } else if (auto* menu = qobject_cast<QMenu*>(&widget)) {
    menu->setTitle(tr(menu->title()));
    for (QAction* action : menu->actions()) action->setText(tr(action->text()));
  }
}

bool LoadEnglishTranslation(QTranslator& translator) {
  return translator.load(QStringLiteral(":/i18n/varst_en.qm"));
}

InterfaceLanguageScope::InterfaceLanguageScope(InterfaceLanguage language) {
  if (language != InterfaceLanguage::English || QCoreApplication::instance() == nullptr) return;
  if (!LoadEnglishTranslation(translator_)) return;
  QCoreApplication::installTranslator(&translator_);
  QCoreApplication::instance()->installEventFilter(this);
  installed_ = true;
}

InterfaceLanguageScope::~InterfaceLanguageScope() {
  if (!installed_ || QCoreApplication::instance() == nullptr) return;
  QCoreApplication::instance()->removeEventFilter(this);
  QCoreApplication::removeTranslator(&translator_);
}

bool InterfaceLanguageScope::eventFilter(QObject* watched, QEvent* event) {
  // Polish comes once, before a widget is first shown and before its window lays it out,
  // so the layouts size themselves to the English texts.
  if (event->type() == QEvent::Polish && watched->isWidgetType()) {
    TranslateWidgetTexts(*static_cast<QWidget*>(watched));
  }
  return false;
}

TranslatingLineBuffer::int_type TranslatingLineBuffer::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  line_ += traits_type::to_char_type(c);
  if (c == '\n') FlushLine();
  return c;
}

// std::cerr flushes after every insertion; a line is passed on only when it is whole, since
// a message and its path arrive in pieces.
int TranslatingLineBuffer::sync() {
  return target_.pubsync();
}

void TranslatingLineBuffer::FlushLine() {
  if (line_.empty()) return;
  const QString original = ToQString(line_);
  const QString translated = TranslateInterfaceText(original, [this](const QByteArray& source) {
    return translator_.translate(kTextContext, source.constData());
  });
  // An untranslated line keeps its bytes (a path need not be UTF-8).
  const std::string bytes = translated == original ? line_ : ToBytes(translated);
  target_.sputn(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  line_.clear();
}

}  // namespace varst
