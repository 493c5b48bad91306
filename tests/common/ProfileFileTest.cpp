#include "common/ProfileFile.h"

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace varst {
namespace {

using test::ReadFileBytes;
using test::TempDir;

TEST(ProfileFile, MatchesSectionsAndKeysWithoutLetterCase) {
  TempDir dir;
  const std::string file = dir.Write("a.ini", "[Graf]\r\nGrf_FontSize = 2 \r\n[path]\r\nTEMP=/w\r\n");
  EXPECT_EQ(ReadProfileText(file, "GRAF", "grf_fontsize"), "2");
  EXPECT_EQ(ReadProfileText(file, "Path", "temp"), "/w");
  EXPECT_EQ(ReadProfileText(file, "Path", "missing"), "");
  EXPECT_EQ(ReadIniValue(file, "Path", "missing", "dflt"), "dflt");
  EXPECT_EQ(ReadIniValue(file, "Nowhere", "x", "d"), "d");
  EXPECT_EQ(ReadIniValue(dir.File("none.ini"), "a", "b", "c"), "c") << "a missing file";
}

TEST(ProfileFile, EmptyValueReadsAsTheDefault) {
  TempDir dir;
  const std::string file = dir.Write("a.ini", "[Editor]\nEditor=\n");
  EXPECT_EQ(ReadIniValue(file, "Editor", "Editor", "notepad.exe"), "notepad.exe");
}

TEST(ProfileFile, WritesInPlaceAndKeepsEveryOtherLine) {
  TempDir dir;
  const std::string original = "; my comment\r\n[Graf]\r\nGrf_FontSize=1\r\nOther=keep\r\n\r\n[Path]\r\ntemp=/a\r\n";
  const std::string file = dir.Write("a.ini", original);
  ASSERT_TRUE(WriteIniValue(file, "graf", "GRF_FONTSIZE", "2"));
  ASSERT_TRUE(WriteIniValue(file, "Path", "new", "v"));
  ASSERT_TRUE(WriteIniValue(file, "Added", "k", "1"));
  EXPECT_EQ(ReadFileBytes(file),
            "; my comment\r\n[Graf]\r\nGRF_FONTSIZE=2\r\nOther=keep\r\n\r\n[Path]\r\ntemp=/a\r\nnew=v\r\n"
            "[Added]\r\nk=1\r\n");
}

TEST(ProfileFile, CreatesTheFileAndKeepsValuesOnOneLine) {
  TempDir dir;
  const std::string file = dir.File("new.ini");
  ASSERT_TRUE(WriteIniValue(file, "S", "k", "line1\nline2"));
  EXPECT_EQ(ReadProfileText(file, "S", "k"), "line1 line2");
  EXPECT_FALSE(WriteIniValue(dir.File("missing/x.ini"), "S", "k", "v")) << "a missing folder fails";
}

TEST(ProfileFile, FirstSectionAndKeyWin) {
  TempDir dir;
  const std::string file = dir.Write("a.ini", "[S]\nk=1\nk=2\n[s]\nk=3\n");
  EXPECT_EQ(ReadProfileText(file, "S", "k"), "1");
}

TEST(ProfileFile, LongValuesAreCut) {
  TempDir dir;
  const std::string file = dir.Write("a.ini", "[S]\nk=" + std::string(3000, 'x') + "\n");
  EXPECT_EQ(ReadProfileText(file, "S", "k").size(), ProfileFile::kMaxValueLength);
}

}  // namespace
}  // namespace varst
