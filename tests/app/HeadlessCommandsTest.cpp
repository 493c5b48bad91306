// The command line for scripts, run as a user runs it: the varst program itself.

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>

#include "common/Text.h"
#include "support/SessionFixture.h"
#include "support/TempDir.h"
#include "support/VarstProgram.h"

namespace varst {
namespace {

using test::DriveLine;
using test::RangeCondition;
using test::ReadFileBytes;
using test::Records;
using test::CommandRun;
using test::Quoted;
using test::Shell;
using test::TempDir;
using test::Varst;

std::string TwoSeriesFile(const TempDir& dir, const std::string& name, const std::string& model) {
  return dir.Write(name, DriveLine(model, "S" + model) + "\r\n" + RangeCondition() + "\r\n" + Records("W", 5) + "\r\n" +
                             Records("R", 5) + "\r\n");
}

TEST(HeadlessCommands, ListSeriesOfTwoFilesWithWriteAndReadSeries) {
  TempDir dir;
  const std::string a = TwoSeriesFile(dir, "a.dat", "MA");
  const std::string b = TwoSeriesFile(dir, "b.dat", "MB");
  const CommandRun run = Varst(dir, {"--list-series", a, b});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<std::string> rows = SplitLines(run.out);
  ASSERT_EQ(rows.size(), 4U);
  EXPECT_EQ(rows[0], "0\t" + a + "\tWrite \tMA\tSMA\t156301488\t00FF00");
  EXPECT_EQ(rows[1], "1\t" + a + "\tRead \tMA\tSMA\t156301488\t0000FF");
  EXPECT_EQ(rows[2], "2\t" + b + "\tWrite \tMB\tSMB\t156301488\tFF0000");
  EXPECT_EQ(rows[3], "3\t" + b + "\tRead \tMB\tSMB\t156301488\tFF00FF");
}

TEST(HeadlessCommands, DumpDrawsEachSeriesInItsRowsColour) {
  TempDir dir;
  const CommandRun run = Varst(dir, {"--dump-drawing", TwoSeriesFile(dir, "a.dat", "MA"), TwoSeriesFile(dir, "b.dat", "MB")});
  ASSERT_EQ(run.status, 0) << run.err;
  std::set<std::string> pens;
  for (const std::string& line : SplitLines(run.out)) {
    const std::vector<std::string> fields = SplitFields(line, " ");
    if (fields.size() == 7 && fields[0] == "line" && fields[6] == "0" && fields[5] != "FFFFFF") pens.insert(fields[5]);
  }
  EXPECT_EQ(pens, (std::set<std::string>{"00FF00", "0000FF", "FF0000", "FF00FF"}));
  EXPECT_EQ(run.out.rfind("clear\nscale -1000 6000 12000 -6500\n", 0), 0U);
}

TEST(HeadlessCommands, ExportWritesAPictureOfTheChosenSize) {
  TempDir dir;
  const std::string out = dir.File("chart.png");
  const CommandRun run = Varst(dir, {"--export", out, "--size", "640x400", TwoSeriesFile(dir, "a.dat", "MA")});
  ASSERT_EQ(run.status, 0) << run.err;
  const QImage image(QString::fromStdString(out));
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.size(), QSize(640, 400));
  EXPECT_EQ(image.pixelColor(2, 398), QColor(0, 0, 0)) << "the chart's black background";
}

TEST(HeadlessCommands, ExportChoosesTheFormatByTheExtension) {
  TempDir dir;
  const std::string data = TwoSeriesFile(dir, "a.dat", "MA");
  const struct {
    const char* name;
    const char* starts;  // the file's first bytes; "" when the command must refuse the name
  } cases[] = {{"c.svg", "<?xml"}, {"c.PDF", "%PDF"}, {"c.png", "\x89PNG"}, {"c.gif", ""}, {"c", ""}};
  for (const auto& c : cases) {
    const CommandRun run = Varst(dir, {"--export", dir.File(c.name), data});
    if (*c.starts == 0) {
      EXPECT_EQ(run.status, 2) << c.name;
      EXPECT_NE(run.err.find(".png, .svg or .pdf"), std::string::npos) << run.err;
      EXPECT_FALSE(QFile::exists(QString::fromStdString(dir.File(c.name))));
    } else {
      EXPECT_EQ(run.status, 0) << c.name << run.err;
      EXPECT_EQ(ReadFileBytes(dir.File(c.name)).rfind(c.starts, 0), 0U) << c.name;
    }
  }
}

TEST(HeadlessCommands, FailuresAndUsage) {
  TempDir dir;
  const std::string range = TwoSeriesFile(dir, "a.dat", "MA");
  const std::string timed = dir.Write("t.dat", DriveLine() + "\r\n0,0,10000,0,128,256,100,100,0,10000,500,0,-1\r\nR,0,0,5,1\r\n");
  CommandRun run = Varst(dir, {"--list-series", range, timed});
  EXPECT_EQ(run.status, 3);
  EXPECT_NE(run.err.find("計測データが異なります。"), std::string::npos) << run.err;
  run = Varst(dir, {"--export", dir.File("x.png"), dir.Write("empty.dat", "")});
  EXPECT_EQ(run.status, 3);
  EXPECT_NE(run.err.find("データが不正です"), std::string::npos);
  run = Varst(dir, {"--dump-drawing", dir.File("missing.dat")});
  EXPECT_EQ(run.status, 3);
  for (const std::vector<std::string>& usage : std::vector<std::vector<std::string>>{
           {"--dump-drawing"}, {"--export"}, {"--list-series", "--size", "0x10", range}, {"--dump-drawing", "--yscale", "501", range},
           {"--dump-drawing", "--bogus", range}}) {
    run = Varst(dir, usage);
    EXPECT_EQ(run.status, 2) << usage.front() << " " << usage.back();
    EXPECT_NE(run.err.find("Usage:"), std::string::npos);
  }
  run = Varst(dir, {"--version"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "varst 1.0.0\n");
  run = Varst(dir, {"--help"});
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("--export"), std::string::npos);
}

TEST(HeadlessCommands, MessagesOnStandardErrorFollowTheLanguageOption) {
  TempDir dir;
  const std::string missing = dir.File("missing データ.dat");
  const std::string twice = TwoSeriesFile(dir, "twice.dat", "MT");
  const struct {
    std::vector<std::string> arguments;
    int status;
    std::string err;
  } cases[] = {
      {{"--dump-drawing", missing}, 3, "ファイルが見つかりません: " + missing + "\n"},
      {{"--lang", "en", "--dump-drawing", missing}, 3, "File not found: " + missing + "\n"},
      {{"--dump-drawing", "--lang", "ja", missing}, 3, "ファイルが見つかりません: " + missing + "\n"},
      {{"--lang", "en", "--convert", "--dest", dir.File("out"), "--dry-run", twice, twice}, -1,
       "Files already in the list are skipped.\t" + twice + "\n"},
  };
  for (const auto& c : cases) {
    const CommandRun run = Varst(dir, c.arguments);
    if (c.status >= 0) {
      EXPECT_EQ(run.status, c.status) << run.err;
    }
    EXPECT_EQ(run.err, c.err);
  }
  EXPECT_EQ(Varst(dir, {"--lang", "fr", "--dump-drawing", missing}).status, 2);
}

TEST(HeadlessCommands, OptionsChangeTheDrawingAndNeverWriteSettings) {
  TempDir dir;
  const std::string file = TwoSeriesFile(dir, "a.dat", "MA");
  const std::string settings = dir.Write("s.ini", "[Graf]\nGrf_ColorInfo0=16777215\n");
  const std::string before = ReadFileBytes(settings);
  const CommandRun run = Varst(dir, {"--dump-drawing", "--yscale", "50", "--no-model", "--settings", settings, file});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("scale -1000 3000 12000 -3250\n"), std::string::npos) << "full scale 50";
  EXPECT_EQ(run.out.find("S/N:"), std::string::npos);
  EXPECT_NE(run.out.find("rect -1000 3000 12000 -3250 FFFFFF FFFFFF\n"), std::string::npos) << "white background";
  EXPECT_EQ(ReadFileBytes(settings), before);
}

std::vector<std::string> FolderEntries(const TempDir& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(HeadlessCommands, AFailedExportKeepsTheOldPictureAndLeavesNoStrayFile) {
  TempDir dir;
  const std::string data = TwoSeriesFile(dir, "a.dat", "MA");
  const std::string old = dir.Write("old.png", "the picture of yesterday");
  // A file size limit of 8 KiB stands for a disk that fills up halfway through the picture.
  const Shell fullDisk{"ulimit -f 8", "", ""};
  CommandRun run = Varst(dir, {"--export", old, data}, fullDisk);
  EXPECT_EQ(run.status, 3) << run.err;
  EXPECT_TRUE(Contains(run.err, "画像を保存できません")) << run.err;
  EXPECT_EQ(ReadFileBytes(old), "the picture of yesterday");
  run = Varst(dir, {"--export", dir.File("new.png"), data}, fullDisk);
  EXPECT_EQ(run.status, 3);
  EXPECT_EQ(FolderEntries(dir), (std::vector<std::string>{"a.dat", "old.png", "stderr.txt"}));
}

TEST(HeadlessCommands, ExportRefusesAnOutputThatIsOneOfTheInputs) {
  TempDir dir;
  const std::string data = TwoSeriesFile(dir, "d.dat", "MA");
  const std::string other = TwoSeriesFile(dir, "e.dat", "MB");
  const std::string settings = dir.Write("s.ini", "[Graf]\n");
  std::filesystem::create_symlink(data, dir.File("link.dat"));
  std::filesystem::create_hard_link(data, dir.File("hard.dat"));
  std::filesystem::create_directory(dir.File("sub"));
  const std::string before = ReadFileBytes(data);
  const struct {
    const char* name;
    std::vector<std::string> arguments;
  } rows[] = {
      {"the same name", {"--export", data, data}},
      {"another spelling", {"--export", dir.File("sub/../d.dat"), other, data}},
      {"a link to it", {"--export", dir.File("link.dat"), data}},
      {"a hard link", {"--export", dir.File("hard.dat"), data}},
      {"the settings file", {"--export", settings, "--settings", settings, other}},
  };
  for (const auto& row : rows) {
    const CommandRun run = Varst(dir, row.arguments);
    EXPECT_EQ(run.status, 2) << row.name;
    EXPECT_TRUE(Contains(run.err, "one of the input files")) << row.name << ": " << run.err;
  }
  EXPECT_EQ(ReadFileBytes(data), before);
  EXPECT_EQ(ReadFileBytes(settings), "[Graf]\n");
}

TEST(HeadlessCommands, OutputThatCannotBeWrittenFailsTheRun) {
  TempDir dir;
  const std::string data = TwoSeriesFile(dir, "a.dat", "MA");
  const std::vector<std::vector<std::string>> commands = {
      {"--dump-drawing", data}, {"--list-series", data}, {"--help"}, {"--convert", "--help"},
      {"--convert", "--dry-run", "--dest", dir.File("out"), data}};
  for (const std::vector<std::string>& command : commands) {
    const CommandRun run = Varst(dir, command, Shell{"", "/dev/full", ""});
    EXPECT_EQ(run.status, 3) << command.front();
    EXPECT_TRUE(Contains(run.err, "標準出力に書き込めません")) << command.front() << ": " << run.err;
  }
  // A file system that fills up after the first few hundred bytes of a long drawing.
  const CommandRun run = Varst(dir, {"--dump-drawing", data}, Shell{"ulimit -f 1", dir.File("dump.txt"), ""});
  EXPECT_EQ(run.status, 3);
  EXPECT_TRUE(Contains(run.err, "標準出力に書き込めません")) << run.err;
}

TEST(HeadlessCommands, FilesAndSeriesBeyondTheTablesAreDrawnUpToItAndToldAbout) {
  TempDir dir;
  std::vector<std::string> arguments = {"--list-series"};
  const std::string record = DriveLine() + "\r\n" + RangeCondition() + "\r\n" + Records("R", 2) + "\r\n";
  for (int i = 0; i < 514; ++i) arguments.push_back(dir.Write("f" + std::to_string(i) + ".dat", record));
  CommandRun run = Varst(dir, arguments);
  EXPECT_EQ(run.status, 3);
  EXPECT_EQ(SplitLines(run.out).size(), 513U);
  EXPECT_TRUE(Contains(run.err, "一度に表示できるファイルは513個までです。")) << run.err;
  EXPECT_TRUE(Contains(run.err, dir.File("f513.dat"))) << "what was left out";
  EXPECT_FALSE(Contains(run.err, dir.File("f512.dat")));

  std::string many = DriveLine() + "\r\n" + RangeCondition() + "\r\n";
  for (int i = 0; i < 514; ++i) many += DriveLine("M" + std::to_string(i), "S") + "\r\nR,0,0,5,1\r\n";
  run = Varst(dir, {"--list-series", dir.Write("many.dat", many)});
  EXPECT_EQ(run.status, 3);
  const std::vector<std::string> rows = SplitLines(run.out);
  ASSERT_EQ(rows.size(), 513U);
  EXPECT_TRUE(Contains(rows.back(), "\tM512\t"));
  EXPECT_TRUE(Contains(run.err, "表示できる系列は513本までです。")) << run.err;
}

TEST(HeadlessCommands, DoubleDashEndsTheOptionsAndUnknownOptionsAreUsageErrors) {
  TempDir dir;
  // Files that a glob such as * picks up, named like options, in the current folder.
  TwoSeriesFile(dir, "--dry-run", "MA");
  TwoSeriesFile(dir, "--size", "MB");
  const Shell inFolder{"cd " + Quoted(dir.Path()), "", ""};
  CommandRun run = Varst(dir, {"--list-series", "--no-model", "--", "--dry-run", "--size"}, inFolder);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(SplitLines(run.out).size(), 4U);
  run = Varst(dir, {"--export", "x.png", "--", "--dry-run"}, inFolder);
  EXPECT_EQ(run.status, 0) << run.err;
  run = Varst(dir, {"--dump-drawing", "--help"});
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(Contains(run.out, "end of options"));
  run = Varst(dir, {"--help"});
  EXPECT_TRUE(Contains(run.out, "\"--\" ends the options"));
  // The window is never opened for an unknown option; `timeout` ends a window that would be.
  for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
           {"--no-such-option", "x.png"}, {"x.png", "--dryrun"}, {"/DEB", "--bogus"}}) {
    run = Varst(dir, arguments, Shell{"cd " + Quoted(dir.Path()) + "; export QT_QPA_PLATFORM=offscreen", "", "timeout 20"});
    EXPECT_EQ(run.status, 2) << arguments.front();
    EXPECT_TRUE(Contains(run.err, "Usage:")) << arguments.front();
  }
}

#if !defined(__SANITIZE_ADDRESS__)
TEST(HeadlessCommands, LowMemorySaysSoOrReadsOnOneThread) {
  TempDir dir;
  // Eight TiB of nothing, stored in no blocks: reading it whole cannot fit in 4 GB.
  const std::string huge = dir.File("huge.dat");
  std::filesystem::resize_file(dir.Write("huge.dat", ""), std::uintmax_t{1} << 43);
  const CommandRun run = Varst(dir, {"--list-series", huge}, Shell{"ulimit -v 4000000", "", ""});
  EXPECT_EQ(run.status, 3);
  EXPECT_TRUE(Contains(run.err, "メモリが不足しています")) << run.err;
  EXPECT_FALSE(Contains(run.err, "データが不正です")) << "the file is not to blame";
  // A big file is read on a second thread; when none can be had (its stack does not fit the
  // address space), it is read on the first, with the same drawing.
  std::string records = DriveLine("MB", "SMB") + "\r\n" + RangeCondition() + "\r\n";
  for (int i = 0; i < 60000; ++i) records += "R," + std::to_string(i * 10) + "," + std::to_string(i) + ",50." + std::to_string(i % 10) + ",1\r\n";
  const std::string big = dir.Write("big.dat", records);
  const CommandRun free = Varst(dir, {"--dump-drawing", big});
  const CommandRun threadless = Varst(dir, {"--dump-drawing", big}, Shell{"ulimit -s 8000000; ulimit -v 3000000", "", ""});
  ASSERT_EQ(free.status, 0) << free.err;
  EXPECT_EQ(threadless.status, 0) << threadless.err;
  EXPECT_TRUE(threadless.out == free.out);
}
#endif

TEST(HeadlessCommands, StatsAndRange) {
  TempDir dir;
  const std::string a = TwoSeriesFile(dir, "a.dat", "MA");
  const CommandRun csv = Varst(dir, {"--stats", a});
  ASSERT_EQ(csv.status, 0) << csv.err;
  const std::vector<std::string> lines = SplitLines(csv.out);
  ASSERT_EQ(lines.size(), 3U);
  EXPECT_EQ(lines[0], "row,path,label,model,serial,records,errors,min,min_x,mean,p1,p50,p99,max,max_x,threshold_count");
  EXPECT_EQ(lines[1], "0," + a + ",Write,MA,SMA,5,0,50,0,50.8,50,51,52,52,5e+05,");
  // A negative zero cannot be counted (it equals the other zero): the file is drawn again
  // keeping the values, and the figures are the same.
  const std::string odd = dir.Write("odd.dat", DriveLine("MO", "SMO") + "\r\n" + RangeCondition() +
                                                   "\r\nR,100,0,3,1\r\nR,200,1,0.0009765625,1\r\nR,300,2,4,1\r\nR,400,3,1,1\r\nR,500,4,-0,1\r\n");
  const CommandRun tallied = Varst(dir, {"--stats", odd});
  ASSERT_EQ(tallied.status, 0) << tallied.err;
  EXPECT_EQ(SplitLines(tallied.out).at(1), "0," + odd + ",Read,MO,SMO,5,0,0,500,1.6001953125,0,1,4,4,300,");
  const CommandRun json = Varst(dir, {"--stats", "--format", "json", "--range", "0:7A120h", a});
  ASSERT_EQ(json.status, 0) << json.err;
  EXPECT_EQ(SplitLines(json.out).size(), 2U);
  EXPECT_NE(json.out.find("\"records\":3,"), std::string::npos) << json.out;
  struct Refused {
    std::vector<std::string> arguments;
  };
  for (const Refused& r : std::vector<Refused>{{{"--stats", "--range", "5:1", a}},
                                               {{"--stats", "--range", "5:5", a}},
                                               {{"--dump-drawing", "--range", "0:2000000", a}},
                                               {{"--stats", "--format", "xml", a}}}) {
    const CommandRun run = Varst(dir, r.arguments);
    EXPECT_EQ(run.status, 2) << r.arguments[2];
    EXPECT_TRUE(run.out.empty());
  }
}

}  // namespace
}  // namespace varst
