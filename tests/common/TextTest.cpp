#include "common/Text.h"

#include <gtest/gtest.h>

#include "common/TextEncoding.h"

namespace varst {
namespace {

TEST(SplitFields, CountsPiecesAsTheFileFormatNeeds) {
  struct Case {
    const char* name;
    const char* text;
    std::vector<std::string> pieces;
  };
  const Case cases[] = {
      {"empty text", "", {}},
      {"no delimiter", "abc", {"abc"}},
      {"two adjacent commas", "a,,b", {"a", "", "b"}},
      {"trailing comma", "a,", {"a", ""}},
      {"only commas", ",,", {"", "", ""}},
      {"blanks stay in the fields", " a , b ", {" a ", " b "}},
  };
  for (const Case& c : cases) {
    std::vector<std::string_view> views;
    EXPECT_EQ(SplitFields(c.text, views), static_cast<int>(c.pieces.size())) << c.name;
    EXPECT_EQ(SplitFields(c.text), c.pieces) << c.name;
  }
}

TEST(SplitFields, KeepsMoreThanTheOldTableSize) {
  std::string line(700, ',');
  EXPECT_EQ(SplitFields(line).size(), 701U);
}

TEST(SplitFields, MultiCharacterDelimiter) {
  EXPECT_EQ(SplitFields("a,|b,|c", ",|"), (std::vector<std::string>{"a", "b", "c"}));
}

TEST(GetAndSetField, EditCommaSeparatedText) {
  EXPECT_EQ(GetField("1,2,3", 1), "2");
  EXPECT_EQ(GetField("1,2,3", 3), "");
  EXPECT_EQ(GetField("", 0), "");
  EXPECT_EQ(SetField("1,2,3", 1, "9"), "1,9,3");
  EXPECT_EQ(SetField("1,2,3", 4, "9"), "1,2,3,,9");
  EXPECT_EQ(SetField("", 0, "x"), "x");
  EXPECT_EQ(SetField("a b", 2, "c", " "), "a,b,c") << "pieces are joined with commas";
}

TEST(ReplaceAll, ContinuesAfterEachReplacement) {
  std::string text = "a,,b";
  EXPECT_EQ(ReplaceAll(text, ",", ";"), 2);
  EXPECT_EQ(text, "a;;b");
  std::string grow = "aa";
  EXPECT_EQ(ReplaceAll(grow, "a", "aa"), 2) << "inserted text is not scanned again";
  EXPECT_EQ(grow, "aaaa");
  std::string same = "x";
  EXPECT_EQ(ReplaceAll(same, "", "y"), 0);
}

TEST(FindLast, OneBasedPositionsAtOrBeforeStart) {
  EXPECT_EQ(FindLast("a\\b\\c", "\\"), 4);
  EXPECT_EQ(FindLast("a\\b\\c", "\\", 3), 2);
  EXPECT_EQ(FindLast("abc", "x"), 0);
  EXPECT_EQ(FindLast("", "x"), 0);
  EXPECT_EQ(FindLast("abc", "", 2), 2);
  EXPECT_EQ(FindLast("abcabc", "bc"), 5);
}

TEST(Trim, RemovesSpacesOnly) {
  EXPECT_EQ(Trim("  a b  "), "a b");
  EXPECT_EQ(Trim("\ta\t"), "\ta\t");
  EXPECT_EQ(Trim("   "), "");
}

TEST(ToUpperAscii, LeavesOtherBytesAlone) {
  EXPECT_EQ(ToUpperAscii("/fn/päth"), "/FN/PäTH");
}

TEST(TextEncoding, ShowsLatin1BytesAsTheirCharacters) {
  EXPECT_EQ(ToDisplayUtf8("ÄÖ"), "ÄÖ") << "valid UTF-8 stays";
  EXPECT_EQ(ToDisplayUtf8(std::string("\xC4", 1)), "Ä") << "a lone Latin-1 byte";
  EXPECT_FALSE(IsValidUtf8("\xC0\x80")) << "an overlong form";
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80")) << "a surrogate";
  EXPECT_TRUE(IsValidUtf8("ﾊﾟﾌｫｰﾏﾝｽ"));
}

}  // namespace
}  // namespace varst
