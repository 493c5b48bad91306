#include "convert/ConvertCommandOptions.h"

#include <array>
#include <string_view>
#include <utility>

#include "common/Text.h"

namespace varst {
namespace {

using Words = std::array<std::pair<std::string_view, int>, 3>;

constexpr Words kLevelWords = {{{"none", kLevelNone}, {"model", kLevelModel}, {"date", kLevelDate}}};
// "ダイアログを開く" has no word: there is no one to ask.
constexpr Words kExistingWords = {{{"overwrite", kExistingOverwrite}, {"rename", kExistingRename}, {"skip", kExistingSkip}}};

bool LookUp(const Words& words, const std::string& word, int& value) {
  for (const auto& [text, index] : words) {
    if (text == word) {
      value = index;
      return true;
    }
  }
  return false;
}

// Applies one option that takes a value; false with `error` set when the value is wrong.
bool ApplyValue(const std::string& name, const std::string& value, ConvertCommandOptions& options,
                std::string& error) {
  bool known = true;
  if (name == "--dest") {
    options.choices.baseFolder = value;
    if (Trim(value).empty()) error = "--dest needs a folder";
  } else if (name == "--level1") {
    known = LookUp(kLevelWords, value, options.choices.level1);
  } else if (name == "--level2") {
    known = LookUp(kLevelWords, value, options.choices.level2);
  } else if (name == "--exists") {
    known = LookUp(kExistingWords, value, options.choices.existing);
  }
  if (!known) error = "unknown value for " + name + ": " + value;
  return error.empty();
}

}  // namespace

bool LevelChoiceOfWord(const std::string& word, int& choice) { return LookUp(kLevelWords, word, choice); }

namespace {

bool TakesValue(const std::string& name) {
  return name == "--dest" || name == "--level1" || name == "--level2" || name == "--exists";
}

}  // namespace

std::optional<ConvertCommandOptions> ParseConvertCommandOptions(const std::vector<std::string>& args,
                                                                std::string& error) {
  ConvertCommandOptions options;
  bool haveDest = false;
  bool filesOnly = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& item = args[i];
    if (filesOnly || item.empty() || item[0] != '-' || item == "-") {
      options.files.push_back(item);
      continue;
    }
    if (item == "--") {
      filesOnly = true;
      continue;
    }
    const auto equals = item.find('=');
    const std::string name = item.substr(0, equals);
    if (TakesValue(name)) {
      std::string value;
      if (equals != std::string::npos) {
        value = item.substr(equals + 1);
      } else if (i + 1 < args.size()) {
        value = args[++i];
      } else {
        error = name + " needs a value";
        return std::nullopt;
      }
      if (!ApplyValue(name, value, options, error)) return std::nullopt;
      haveDest = haveDest || name == "--dest";
    } else if (item == "--check-date") {
      options.choices.checkTimeStamp = true;
    } else if (item == "--dry-run") {
      options.dryRun = true;
    } else if (item == "--help" || item == "-h") {
      options.help = true;
    } else {
      error = "unknown option: " + item;
      return std::nullopt;
    }
  }
  if (options.help) return options;
  if (!haveDest) error = "--dest is required";
  else if (options.files.empty()) error = "no FILE given";
  if (!error.empty()) return std::nullopt;
  return options;
}

}  // namespace varst
