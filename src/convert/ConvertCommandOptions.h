#pragma once
// The options of the conversion command, read from its command-line items.

#include <optional>
#include <string>
#include <vector>

#include "convert/ConversionForm.h"

namespace varst {

struct ConvertCommandOptions {
  ConversionChoices choices;  // --dest, --level1, --level2, --exists, --check-date
  bool dryRun = false;
  bool help = false;
  std::vector<std::string> files;
};

// The folder level choice ("none", "model" or "date") of a --level1/--level2 word; false for
// any other word.
[[nodiscard]] bool LevelChoiceOfWord(const std::string& word, int& choice);

// The options, or nothing with `error` saying what is wrong. "--" ends the options, so a
// file whose name begins with "-" can follow it.
[[nodiscard]] std::optional<ConvertCommandOptions> ParseConvertCommandOptions(const std::vector<std::string>& args,
                                                                              std::string& error);

}  // namespace varst
