// The image size boxes' rules: the two text tests, and what a typed text does to an entry.

#include "chart/EntryChecks.h"

#include <gtest/gtest.h>

namespace varst {
namespace {

TEST(EntryChecks, IsNumericExt) {
  const struct {
    const char* chkstr;
    bool numeric;
  } cases[] = {
      {"12", true},   {"12.", true},  {".", true},     {"-.", true},  {" 7 ", true},  {"1.5", true},
      {"-3", true},   {"1e5", true},  {"", false},     {"abc", false}, {"1e", false},  {"1.2.", false},
      {"12..", false}, {"1e5.", false}, {"7f", false}, {"1,5", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsNumericExt(c.chkstr), c.numeric) << '"' << c.chkstr << '"';
}

TEST(EntryChecks, IsHexExt) {
  const struct {
    const char* chkstr;
    bool hex;
  } cases[] = {
      {"", false}, {"7f", true}, {"7F", true}, {"7G", false}, {"0", true}, {"abcdef09", true}, {" 7", false},
      {"-1", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsHexExt(c.chkstr), c.hex) << '"' << c.chkstr << '"';
}

// The dialog's own tests cover the texts a user types most; these are the edges.
TEST(EntryChecks, DecimalEntryEdges) {
  const struct {
    const char* text;
    EntryOutcome outcome;
    float value;  // the entry's value afterwards
    const char* message;
  } cases[] = {
      {"1", EntryOutcome::Accepted, 1, ""},
      {"2.5", EntryOutcome::Accepted, 2.5F, ""},
      {"0.5", EntryOutcome::OutOfRange, 600, "設定値が範囲外です\r1～65535"},
      {"1e400", EntryOutcome::ConversionError, 600, "オーバーフローしました。"},
      {"1e39", EntryOutcome::ConversionError, 600, "オーバーフローしました。"},
      {"-.", EntryOutcome::ConversionError, 600, "型が一致しません。"},
  };
  for (const auto& c : cases) {
    EntryField entry{600, 1, 65535, kDecimalFormat};
    const EntryCheck check = ReadEntry(entry, c.text);
    EXPECT_EQ(check.outcome, c.outcome) << c.text;
    EXPECT_EQ(entry.value, c.value) << c.text;
    EXPECT_EQ(check.message, c.message) << c.text;
  }
  EXPECT_EQ(EntryText(EntryField{}, 600.5F), "601") << "halves away from zero";
  EXPECT_EQ(OutOfRangeMessage(EntryField{0, 0.5F, 1.25F, kDecimalFormat}), "設定値が範囲外です\r0.5～1.25");
}

TEST(EntryChecks, HexEntry) {
  EntryField entry{16, 0, 255, kHexFormat};
  EXPECT_EQ(EntryText(entry, entry.value), "10");
  EXPECT_EQ(EntryText(entry, 5), "05");
  EXPECT_EQ(EntryText(entry, 0x1AB), "AB") << "the last two digits";
  EXPECT_EQ(ReadEntry(entry, "7f").outcome, EntryOutcome::Accepted);
  EXPECT_EQ(entry.value, 127);
  EXPECT_EQ(ReadEntry(entry, "7G").outcome, EntryOutcome::NotANumber);
  EXPECT_EQ(ReadEntry(entry, "12.").outcome, EntryOutcome::NotANumber) << "a hex box takes no decimal text";
  const EntryCheck above = ReadEntry(entry, "100");
  EXPECT_EQ(above.outcome, EntryOutcome::OutOfRange);
  EXPECT_EQ(above.message, "設定値が範囲外です\r00～FF");
  EXPECT_EQ(ReadEntry(entry, "123456789").outcome, EntryOutcome::ConversionError);
  EXPECT_EQ(entry.value, 127);
}

}  // namespace
}  // namespace varst
