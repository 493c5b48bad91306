#include "platform/ConsolePrompter.h"

#include "common/Text.h"

namespace varst {

Answer ConsolePrompter::ShowMessage(const std::string& text, MessageIcon icon, MessageButtons buttons,
                                const std::string* /*title*/) {
  std::string line = text;
  ReplaceAll(line, "\r\n", " ");
  ReplaceAll(line, "\r", " ");
  out_ << line << '\n';
  if (icon == MessageIcon::Critical) ++errors_;
  return buttons == MessageButtons::Ok ? Answer::Ok : Answer::Yes;
}

}  // namespace varst
