#include "convert/NameRules.h"

#include <gtest/gtest.h>

namespace varst {
namespace {

TEST(CalFileName, ReplacesTheElevenDisallowedCharactersOnly) {
  EXPECT_EQ(CalFileName("2005/04/01 12:34:56"), "2005_04_01 12_34_56");
  EXPECT_EQ(CalFileName("a\\b/c:d,e;f*g?h<i>j|k\"l"), "a_b_c_d_e_f_g_h_i_j_k_l");
  EXPECT_EQ(CalFileName(" .x-Y_z. "), " .x-Y_z. ");
}

// Names are cleaned by character: the second byte of a Shift_JIS character may be "\" (0x5C)
// or "|" (0x7C) and stays, a "\" of its own is replaced. UTF-8 and other bytes are cleaned byte
// by byte. Catches: byte-wise cleaning of Shift_JIS ("ソ" 83 5C becomes 83 5F, half a character).
TEST(CalFileName, CleansShiftJisByCharacter) {
  const struct {
    const char* name;
    std::string text;
    std::string cleaned;
  } rows[] = {
      {"katakana so, then a backslash", "\x83\x5C\\1", "\x83\x5C_1"},
      {"kanji hyou, a colon", "\x95\x5C:", "\x95\x5C_"},
      {"a trail byte 0x7C", "A\x81\x7C|", "A\x81\x7C_"},
      {"half-width katakana", "\xB1/\xB2", "\xB1_\xB2"},
      {"UTF-8", "\xE3\x82\xBD/x", "\xE3\x82\xBD_x"},
      {"neither: byte by byte", "\x83", "\x83"},
      {"cut after a lead byte: byte by byte", "a\\\x83", "a_\x83"},
  };
  for (const auto& row : rows) EXPECT_EQ(CalFileName(row.text), row.cleaned) << row.name;
}

TEST(SafeNamePart, NoPartNamesTheBaseFolderOrOneAbove) {
  const struct {
    const char* name;
    std::string text;
    std::string part;
  } rows[] = {
      {"plain", "MODEL-X100", "MODEL-X100"},
      {"separators", "AB/CD:1", "AB_CD_1"},
      {"dot dot", "..", "_"},
      {"dot", ".", "_"},
      {"blank", "   ", "_"},
      {"dot dot in blanks", " .. ", "_"},
      {"dots inside a name", "a..b", "a..b"},
      {"slashes around dots", "/../", "_.._"},
      {"NUL and control bytes", std::string("a\0b\tc\x7F", 6), "a_b_c_"},
  };
  for (const auto& row : rows) EXPECT_EQ(SafeNamePart(row.text), row.part) << row.name;
}

TEST(CalDate, JoinsTheDatePartsOrReturnsTheTextUnchanged) {
  const struct {
    const char* stamp;
    const char* folder;
  } rows[] = {
      {"2005/04/01 12:34:56", "20050401"},
      {"2005/4/1 9:05:00", "200541"},
      {"  2005/04/01 12:34:56  ", "20050401"},
      {"2005/04/01", "2005/04/01"},
      {"2005-04-01 12:34:56", "2005-04-01 12:34:56"},
      {"2005/04/01 12:34:56 extra", "2005/04/01 12:34:56 extra"},
      {"", ""},
  };
  for (const auto& row : rows) EXPECT_EQ(CalDate(row.stamp), row.folder) << row.stamp;
}

TEST(GetSaveFolder, AddsTheLevelsInOrder) {
  const FolderInfo arg{"MODEL-X100", "2005/04/01 12:34:56"};
  const struct {
    const char* inf;
    const char* folder;
  } rows[] = {
      {"DRV,DATE", "/out/MODEL-X100/20050401/"},
      {"DATE,DRV", "/out/20050401/MODEL-X100/"},
      {"DATE,NON", "/out/20050401/"},
      {"NON,DRV", "/out/"},
      {"", "/out/"},
      {"drv,Date", "/out/MODEL-X100/20050401/"},
      {"XYZ,DRV", "/out/MODEL-X100/"},
      {"NON,NON,NON,NON,NON,NON,NON,NON,NON,NON,NON,DRV", "/out/"},
      {"X,X,X,X,X,X,X,X,X,X,X,DRV", "/out/"},
  };
  for (const auto& row : rows) EXPECT_EQ(GetSaveFolder("/out", row.inf, arg), row.folder) << row.inf;
  EXPECT_EQ(GetSaveFolder("/out  ", "NON", arg), "/out/");
  EXPECT_EQ(GetSaveFolder("", "NON", arg), "");
  EXPECT_EQ(GetSaveFolder("/out", "DATE", {"M", "2005/04/01"}), "/out/2005/04/01/") << "a stamp without a time";
  EXPECT_EQ(GetSaveFolder("/out", "DRV", {"AB/CD:1", ""}), "/out/AB_CD_1/");
  EXPECT_EQ(GetSaveFolder("/out", "DRV", {"..", ""}), "/out/_/");
  EXPECT_EQ(GetSaveFolder("/out", "DATE", {"", "../../x"}), "/out/_/_/x/") << "no segment climbs out";
}

TEST(CheckFileDate, ComparesYearMonthAndDayOfTheName) {
  const struct {
    const char* name;
    const char* stamp;
    int result;
  } rows[] = {
      {"/d/05040101.csv", "2005/04/01 12:34:56", kDateAgrees},
      {"/d/05040101.csv", "2005/04/02 08:00:00", kDateDisagrees},
      {"/d/05040199", "2005/4/1 9:05:00", kDateAgrees},
      {"/d/result.csv", "2005/04/01 12:34:56", kDateNotCheckable},
      {"/d/20050401.csv", "2005/04/01 12:34:56", kDateDisagrees},
      {"/d/0504010.csv", "2005/04/01 12:34:56", kDateNotCheckable},
      {"/d/050401011.csv", "2005/04/01 12:34:56", kDateNotCheckable},
      {"/d/05AB0101.csv", "2005/04/01 12:34:56", kDateNotCheckable},
      {"/d/05040101.csv", "2005/04/01", kDateNotCheckable},
      {"/d/05040101.csv", "2005/04 12:34:56", kDateNotCheckable},
      {"/d/05040101.csv", "2005/Ap/01 12:34:56", kDateNotCheckable},
      {"/d/05040101.csv", "05/04/01 12:34:56", kDateAgrees},
  };
  for (const auto& row : rows) EXPECT_EQ(CheckFileDate(row.name, row.stamp), row.result) << row.name << " " << row.stamp;
}

TEST(MakeNumberedName, NumbersTheBaseNameOfDestItself) {
  EXPECT_EQ(MakeNumberedName("/out/MODEL-X100_SN0001.csv", 1), "/out/MODEL-X100_SN0001(1).csv");
  EXPECT_EQ(MakeNumberedName("/out/MODEL-X100_SN0001.csv", 999), "/out/MODEL-X100_SN0001(999).csv");
  EXPECT_EQ(MakeNumberedName("/out/MODEL-X100_SN0001.", 2), "/out/MODEL-X100_SN0001.(2).");
  EXPECT_EQ(MakeNumberedName("/out/NAME", 1), "/out/NAME(1).");
  EXPECT_EQ(MakeNumberedName("/v1.0/NAME", 1), "/v1.0/NAME(1).") << "a dot in the folder is no extension";
  EXPECT_EQ(MakeNumberedName("/a.csv", 1), "/a(1).csv");
  EXPECT_EQ(MakeNumberedName("a.csv", 1), "a(1).csv") << "no folder, none added";
}

}  // namespace
}  // namespace varst
