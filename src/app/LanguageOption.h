#pragma once
// "--lang en|ja": the interface language for this run, anywhere on the command line. It
// overrides [Graf] Language of the settings file and is not stored.

#include <string>
#include <vector>

namespace varst {

// Removes every "--lang VALUE" pair from the items and leaves the last value, in lower case,
// in language ("" when there is none). False when a value is missing or is not "en" or "ja".
[[nodiscard]] bool TakeLanguageOption(std::vector<std::string>& items, std::string& language);

}  // namespace varst
