// The command line for scripts, run as a user runs it: the varst program itself.

#include <gtest/gtest.h>

#include <QImage>
#include <cstdio>
#include <set>

#include "common/Text.h"
#include "support/SessionFixture.h"
#include "support/TempDir.h"

namespace varst {
namespace {

using test::DriveLine;
using test::RangeCondition;
using test::ReadFileBytes;
using test::Records;
using test::TempDir;

struct CommandRun {
  int status = -1;
  std::string out;
  std::string err;
};

std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

CommandRun Varst(const TempDir& dir, const std::vector<std::string>& arguments) {
  std::string command = Quoted(VARST_BINARY);
  for (const std::string& argument : arguments) command += " " + Quoted(argument);
  command += " 2>" + Quoted(dir.File("stderr.txt"));
  CommandRun run;
  std::FILE* pipe = ::popen(command.c_str(), "r");
  char buffer[4096];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.out.append(buffer, got);
  const int status = ::pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.err = ReadFileBytes(dir.File("stderr.txt"));
  return run;
}

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

TEST(HeadlessCommands, StatsAndRange) {
  TempDir dir;
  const std::string a = TwoSeriesFile(dir, "a.dat", "MA");
  const CommandRun csv = Varst(dir, {"--stats", a});
  ASSERT_EQ(csv.status, 0) << csv.err;
  const std::vector<std::string> lines = SplitLines(csv.out);
  ASSERT_EQ(lines.size(), 3U);
  EXPECT_EQ(lines[0], "row,path,label,model,serial,records,errors,min,min_x,mean,p1,p50,p99,max,max_x,threshold_count");
  EXPECT_EQ(lines[1], "0," + a + ",Write,MA,SMA,5,0,50,0,50.8,50,51,52,52,5e+05,");
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
