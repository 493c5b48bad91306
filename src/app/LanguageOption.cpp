#include "app/LanguageOption.h"

#include <algorithm>
#include <cctype>

namespace varst {

bool TakeLanguageOption(std::vector<std::string>& items, std::string& language) {
  language.clear();
  for (std::size_t i = 0; i < items.size();) {
    if (items[i] != "--lang") {
      ++i;
      continue;
    }
    if (i + 1 >= items.size()) return false;
    std::string value = items[i + 1];
    std::transform(value.begin(), value.end(), value.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (value != "en" && value != "ja") return false;
    language = value;
    items.erase(items.begin() + static_cast<std::ptrdiff_t>(i), items.begin() + static_cast<std::ptrdiff_t>(i) + 2);
  }
  return true;
}

}  // namespace varst
