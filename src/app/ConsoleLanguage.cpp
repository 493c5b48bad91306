#include "app/ConsoleLanguage.h"

#include <iostream>

#include "platform/InterfaceLanguage.h"

namespace varst {

ConsoleLanguage::ConsoleLanguage(const std::string& language) {
  if (ParseInterfaceLanguage(language) != InterfaceLanguage::English) return;
  if (!LoadEnglishTranslation(translator_)) return;
  original_ = std::cerr.rdbuf();
  buffer_ = std::make_unique<TranslatingLineBuffer>(*original_, translator_);
  std::cerr.rdbuf(buffer_.get());
}

ConsoleLanguage::~ConsoleLanguage() {
  if (original_ == nullptr) return;
  std::cerr.rdbuf(original_);
  buffer_.reset();  // passes on an unfinished last line
}

}  // namespace varst
