// The loader on real files in a temporary folder: adding and replacing, the compatibility
// check, list files, the limits, and the reference files.

#include <gtest/gtest.h>

#include "common/FileWrite.h"
#include "data/Compatibility.h"
#include "data/DataFileList.h"
#include "data/ReferenceFiles.h"
#include "support/SessionFixture.h"

namespace varst {
namespace {

using test::DriveLine;
using test::RangeCondition;
using test::ReadFileBytes;
using test::Records;
using test::Session;
using test::TimeCondition;

struct Loader : ::testing::Test {
  Session s;
  std::string a, b, wide, timed;
  void SetUp() override {
    a = s.File("a.dat", {DriveLine("MA", "SA"), RangeCondition(1000000), Records("R", 3)});
    b = s.File("b.dat", {DriveLine("MB", "SB"), RangeCondition(1000000), Records("W", 3)});
    wide = s.File("wide.dat", {DriveLine("MW", "SW"), RangeCondition(2000000), Records("R", 3, 2000000)});
    timed = s.File("t.dat", {DriveLine("MT", "ST"), TimeCondition(), Records("R", 3, 10000)});
  }
};

TEST_F(Loader, FirstLoadNeverAsks) {
  s.Load({a});
  EXPECT_TRUE(s.prompter.History().empty());
  EXPECT_EQ(s.Data().FileCount, 1);
  EXPECT_EQ(s.Grid().Rows(), 1);
  EXPECT_EQ(s.Grid().TextMatrix(0, 1), "a.dat");
  EXPECT_EQ(s.Grid().CellChecked(0, 1), kChecked);
  EXPECT_EQ(s.Grid().TextMatrix(0, 2), "Read ");
  EXPECT_EQ(s.Grid().TextMatrix(0, 3), "MA");
  EXPECT_EQ(s.Grid().TextMatrix(0, 4), "SA");
  EXPECT_EQ(s.Grid().TextMatrix(0, 5), "156301488");
  EXPECT_EQ(s.Grid().RowData(0), a + ",Read ,|" + DriveLine("MA", "SA"));
}

TEST_F(Loader, YesAddsToTheLoadedSeriesAndDrawsOnlyTheNewFile) {
  s.Load({a});
  s.prompter.ExpectMessage("データを追加しますか?", Answer::Yes);
  s.Load({b});
  EXPECT_EQ(s.Data().FileCount, 2);
  EXPECT_EQ(s.Data().Grf_Hist_Ptr, 2);
  EXPECT_EQ(s.Count(OpKind::Scale), 1) << "the chart was not cleared";
  EXPECT_EQ(s.prompter.History().at(0).icon, MessageIcon::Question);
  EXPECT_TRUE(s.prompter.History().at(0).placed) << "the question box is placed";
}

TEST_F(Loader, NoStartsOverAndEmptiesTheYScaleBoxUnlessItIsKept) {
  s.Load({a});
  EXPECT_EQ(s.session->YScaleText(), "100");
  s.prompter.ExpectMessage("データを追加しますか?", Answer::No);
  s.Load({b});
  EXPECT_EQ(s.Data().FileCount, 1);
  EXPECT_EQ(s.Data().FileList[0], b);
  EXPECT_EQ(s.Grid().Rows(), 1);
  EXPECT_EQ(s.Grid().TextMatrix(0, 1), "b.dat");
  EXPECT_EQ(s.session->YScaleText(), "100") << "filled again from the new file";

  s.session->SetYScaleText("50");
  s.session->SetKeepYScale(true);
  s.prompter.ExpectMessage("データを追加しますか?", Answer::No);
  s.Load({a});
  EXPECT_EQ(s.session->YScaleText(), "50");
}

TEST_F(Loader, TheSameFileTwiceStaysOneFileDrawnOnce) {
  s.Load({a});
  s.prompter.ExpectMessage("データを追加しますか?", Answer::Yes);
  s.Load({a});
  EXPECT_EQ(s.Data().FileCount, 1);
  EXPECT_EQ(s.Data().Grf_Hist_Ptr, 1);
  EXPECT_EQ(s.TextColours("S/N:").size(), 1U) << "one legend line";
}

TEST_F(Loader, ALargerRangeEndRedrawsEveryFile) {
  s.Load({a});
  s.prompter.ExpectMessage("データを追加しますか?", Answer::Yes);
  s.Load({wide});
  EXPECT_EQ(s.Data().RangeEnd, 2000000);
  const std::string dump = s.Dump();
  EXPECT_NE(dump.find("line 2500 "), std::string::npos) << "a's middle record now lies at a quarter";
  EXPECT_EQ(s.TextColours("S/N:").size(), 2U) << "both legends drawn once after the clear";
  EXPECT_NE(dump.find("FFFFFF 1E8480h"), std::string::npos) << "the axis ends at 2000000";
}

TEST_F(Loader, ATimeFileNextToRangeFilesIsRefused) {
  s.Load({a});
  s.prompter.ExpectMessage("データを追加しますか?", Answer::Yes).ExpectMessage("計測データが異なります。");
  const std::string before = s.Dump();
  s.Load({timed});
  EXPECT_EQ(s.Data().FileCount, 1);
  EXPECT_EQ(s.Dump(), before) << "nothing is redrawn";
  EXPECT_EQ(s.prompter.History().at(1).icon, MessageIcon::Critical);
}

TEST_F(Loader, AnEmptyFileInTheListAddsNothing) {
  const std::string empty = s.dir.Write("empty.dat", "");
  s.prompter.ExpectMessage("データが不正です").ExpectMessage("計測データが異なります。");
  s.Load({a, empty});
  EXPECT_EQ(s.Data().FileCount, 0);
  EXPECT_EQ(s.Grid().Rows(), 0);
}

TEST_F(Loader, ReplaceFlagAndBatchModeReplaceWithoutAsking) {
  s.Load({a});
  s.Load({b}, 1);
  EXPECT_EQ(s.Data().FileList, std::vector<std::string>{b});
  s.session->CurrentSettings().BatchMode = kBatchReplaceWithoutAsking | kBatchSkipSizeDialog;
  s.Load({a});
  EXPECT_EQ(s.Data().FileList, std::vector<std::string>{a});
  EXPECT_TRUE(s.prompter.History().empty());
}

TEST_F(Loader, FileListTextForms) {
  EXPECT_EQ(ParseFileList("/d/x.dat,,"), std::vector<std::string>{"/d/x.dat"});
  EXPECT_EQ(ParseFileList("/d,n1.dat,n2.dat,,ignored"), (std::vector<std::string>{"/d/n1.dat", "/d/n2.dat"}));
  EXPECT_EQ(ParseFileList(std::string("/d\0n1.dat\0n2.dat\0\0", 19)),
            (std::vector<std::string>{"/d/n1.dat", "/d/n2.dat"}))
      << "the open dialog's NUL separators";
  EXPECT_EQ(ParseFileList("/d/x.dat,/e/y.dat,,"), (std::vector<std::string>{"/d/x.dat", "/e/y.dat"}));
  EXPECT_TRUE(ParseFileList(",,").empty());
  s.LoadList(s.dir.Path() + ",a.dat,b.dat,,");
  EXPECT_EQ(s.Data().FileCount, 2);
}

TEST_F(Loader, CommandLineFilesFromDifferentFoldersLoadFromTheirOwnFolders) {
  const std::string other = s.File("sub/c.dat", {DriveLine("MC", "SC"), RangeCondition(1000000), Records("R", 3)});
  s.session->CurrentSettings().CommandLine = {a, "not-a-file", other, "/DEB"};
  LoadContext context = s.Context();
  LoadStartupFiles(context);
  EXPECT_EQ(s.Data().FileList, (std::vector<std::string>{a, other}));
}

TEST_F(Loader, MultiConditionComparesEveryConditionLine) {
  const std::string mixed =
      s.File("mixed.dat", {DriveLine(), RangeCondition(1000000), Records("R", 2), TimeCondition(), Records("R", 2)});
  s.Load({mixed});
  EXPECT_EQ(s.Data().FileCount, 1) << "only the first condition line counts";
  Session multi;
  multi.session->CurrentSettings().MultiCondition = 1;
  multi.prompter.ExpectMessage("計測データが異なります。");
  multi.Load({mixed});
  EXPECT_EQ(multi.Data().FileCount, 0);
}

TEST_F(Loader, MoreThan513FilesAreRefused) {
  std::vector<std::string> many;
  for (int i = 0; i < 514; ++i) many.push_back(a + (i == 0 ? "" : std::to_string(i)));
  s.prompter.ExpectMessage("513");
  s.Load(many);
  EXPECT_EQ(s.Data().FileCount, 0);
}

TEST_F(Loader, MoreThan513SeriesAreToldAndNotOverrun) {
  // 520 series in one file: every drive line makes the next records a series of their own.
  std::vector<std::string> lines = {DriveLine(), RangeCondition()};
  for (int i = 0; i < 520; ++i) {
    lines.push_back(DriveLine("M" + std::to_string(i), "S"));
    lines.push_back("R,0,0,5,1");
  }
  s.prompter.ExpectMessage("513");
  s.Load({s.File("many.dat", lines)});
  EXPECT_EQ(s.Data().Grf_Hist_Ptr, 513);
  EXPECT_EQ(s.Grid().Rows(), 513);
}

TEST(DataFileList, MarkerAnywhereSizeLimitAndLetterCase) {
  test::TempDir dir;
  const std::string x = dir.Write("x.dat", "1");
  const std::string y = dir.Write("y.dat", "1");
  EXPECT_EQ(ReadDataFileList(dir.Write("l1.txt", "DATA FILE LIST\r\n" + x + "\r\n/missing\r\n" + y + "\r\n")), x + "," + y);
  EXPECT_EQ(ReadDataFileList(dir.Write("l2.txt", x + "\r\n" + y + "\r\nDATA FILE LIST")), x + "," + y)
      << "the marker as the last line";
  EXPECT_EQ(ReadDataFileList(dir.Write("l3.txt", "data file list\r\n" + x + "\r\n")), "") << "lower case is no marker";
  EXPECT_EQ(ReadDataFileList(dir.Write("l4.txt", x + "\r\n")), "") << "no marker";
  EXPECT_EQ(ReadDataFileList(dir.Write("l7.txt", "DATA FILE LIST\r\n" + x + "/\r\n" + y + "\\\r\n")), x + "," + y)
      << "a trailing folder separator is dropped from the path that loads";
  EXPECT_EQ(DataFileListText(dir.Write("l8.txt", "DATA FILE LIST\r\n/missing\r\n")), "") << "a list of nothing";
  EXPECT_EQ(DataFileListText(dir.Write("l9.txt", x + "\r\n")), std::nullopt) << "not a list";
  EXPECT_EQ(ReadDataFileList(dir.File("missing.txt")), "");
  std::string exact = "DATA FILE LIST\r\n" + x + "\r\n";
  exact += std::string(8192 - exact.size(), ' ');
  EXPECT_EQ(ReadDataFileList(dir.Write("l5.txt", exact)), x) << "8192 bytes can be a list";
  EXPECT_EQ(ReadDataFileList(dir.Write("l6.txt", exact + " ")), "") << "8193 bytes cannot";
}

TEST(ReferenceFiles, WholeLinesAndAnEmptyLastLine) {
  test::TempDir dir;
  Settings settings;
  settings.WorkFolder = dir.Path();
  DataSet dataSet;
  const std::string longLine(500, 'x');
  dataSet.RefLines = {"  " + longLine, "R,0,0,1.00,1", longLine};
  dataSet.RefLineCount = 3;
  ASSERT_TRUE(WriteRefFile(settings, dataSet));
  EXPECT_EQ(ReadFileBytes(dir.File("~REF0")), longLine + "\r\nR,0,0,1.00,1\r\n" + longLine + "\r\n\r\n");
  EXPECT_EQ(dataSet.RefFileSeq, 1);
}

TEST(ReferenceFiles, NumbersSkipFilesOfLoadedSeriesAndFailuresKeepTheOldFile) {
  test::TempDir dir;
  Settings settings;
  settings.WorkFolder = dir.Path();
  DataSet dataSet;
  dataSet.FileList = {dir.File("~REF0"), dir.File("~REF1")};
  dataSet.FileCount = 2;
  SkipListedRefFiles(settings, dataSet);
  EXPECT_EQ(RefFilePath(settings, dataSet), dir.File("~REF2"));

  dir.Write("~REF2", "old");
  dataSet.RefLines = {"new"};
  dataSet.RefLineCount = 1;
  ScopedWriteFault fault([](WriteStep step, const std::string&) { return step == WriteStep::Write; });
  EXPECT_FALSE(WriteRefFile(settings, dataSet));
  EXPECT_EQ(ReadFileBytes(dir.File("~REF2")), "old");
}

TEST(OutputLine, FlagsActInOrder) {
  test::TempDir dir;
  DataSet dataSet;
  const std::string file = dir.File("out.txt");
  OutputLine(dataSet, file, "first", kOutputClearBuffer | kOutputToBuffer);
  OutputLine(dataSet, file, "second", kOutputToBuffer);
  EXPECT_EQ(dataSet.AvrLines, (std::vector<std::string>{"first", "second"}));
  EXPECT_EQ(dataSet.AvrLineCount, 2);
  OutputLine(dataSet, file, "a", kOutputAppendFile);
  OutputLine(dataSet, file, "b", kOutputDeleteFile | kOutputAppendFile);
  OutputLine(dataSet, file, "c", kOutputAppendFile);
  EXPECT_EQ(ReadFileBytes(file), "b\r\nc\r\n");
}

}  // namespace
}  // namespace varst
