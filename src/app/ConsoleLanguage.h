#pragma once
// The messages the command-line modes write to standard error, in the language of "--lang".
// With English, every line written to std::cerr while this object lives is translated; with
// Japanese nothing changes.

#include <QTranslator>
#include <memory>
#include <streambuf>
#include <string>

namespace varst {

class TranslatingLineBuffer;

class ConsoleLanguage {
 public:
  explicit ConsoleLanguage(const std::string& language);
  ~ConsoleLanguage();
  ConsoleLanguage(const ConsoleLanguage&) = delete;
  ConsoleLanguage& operator=(const ConsoleLanguage&) = delete;

 private:
  QTranslator translator_;
  std::unique_ptr<TranslatingLineBuffer> buffer_;
  std::streambuf* original_ = nullptr;
};

}  // namespace varst
