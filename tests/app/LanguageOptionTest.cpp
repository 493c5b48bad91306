#include "app/LanguageOption.h"

#include <gtest/gtest.h>

namespace varst {
namespace {

TEST(LanguageOption, TakenFromAnywhereLastOneWins) {
  const struct {
    const char* name;
    std::vector<std::string> items;
    bool ok;
    std::string language;
    std::vector<std::string> rest;
  } cases[] = {
      {"none", {"a.dat"}, true, "", {"a.dat"}},
      {"first", {"--lang", "en", "a.dat"}, true, "en", {"a.dat"}},
      {"after a mode", {"--export", "o.png", "--lang", "JA", "a.dat"}, true, "ja", {"--export", "o.png", "a.dat"}},
      {"last wins", {"--lang", "ja", "--lang", "En"}, true, "en", {}},
      {"missing value", {"a.dat", "--lang"}, false, "", {}},
      {"unknown value", {"--lang", "fr"}, false, "", {}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> items = c.items;
    std::string language;
    EXPECT_EQ(TakeLanguageOption(items, language), c.ok) << c.name;
    if (!c.ok) continue;
    EXPECT_EQ(language, c.language) << c.name;
    EXPECT_EQ(items, c.rest) << c.name;
  }
}

}  // namespace
}  // namespace varst
