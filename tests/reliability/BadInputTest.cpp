// Result files that are odd, damaged or hostile, loaded the way the window loads them: each
// ends in a drawn chart or in the program's own message, soon, and without a sanitizer report.
// Every input is made here; nothing big is kept in the repository.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/Text.h"
#include "data/LoadFiles.h"
#include "data/SeriesRows.h"
#include "platform/DisplayList.h"
#include "reliability/TimeBound.h"
#include "support/SessionFixture.h"

namespace varst {
namespace {

using test::DriveLine;
using test::RangeCondition;
using test::Records;
using test::Session;
using test::WithinSeconds;

constexpr char kInvalid[] = "データが不正です";
constexpr char kDiffers[] = "計測データが異なります。";
constexpr char kAddQuestion[] = "データを追加しますか?";
constexpr char kNoData[] = "データがありません";
// A hang guard, not a speed target: generous enough for a sanitizer build on a busy machine,
// far below what a hang or a quadratic pass over these inputs takes.
constexpr double kBound = 60;

std::string Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// The head of a range chart over 0..1000 and three read records on it.
std::string Head() { return Lines({DriveLine(), RangeCondition(1000)}); }
std::string ThreeReads() { return Records("R", 3, 1000) + "\r\n"; }

// Bytes of every value but the comma, NUL included: lines of one field, which readers skip.
std::string Garbage(std::size_t size) {
  std::string bytes;
  std::uint32_t state = 12345;
  while (bytes.size() < size) {
    state = state * 1103515245U + 12345U;
    const char c = static_cast<char>(state >> 24);
    if (c != ',') bytes += c;
  }
  return bytes;
}

std::string FortyDigits() { return "1234567890123456789012345678901234567890"; }

// A condition line over 0..1000 with n fields in all (at least 13).
std::string WideCondition(int n) {
  std::string line = RangeCondition(1000);
  for (int i = 13; i < n; ++i) line += ",0";
  return line;
}

// Segments drawn in the pen of the first series (palette green).
int FirstSeriesSegments(const std::string& dump) {
  int count = 0;
  for (const std::string& line : SplitLines(dump)) {
    if (StartsWith(line, "line ") && EndsWith(line, " 00FF00 0")) ++count;
  }
  return count;
}

// Polyline points that are not finite numbers.
int NonFinitePoints(const std::string& dump) {
  int count = 0;
  for (const std::string& line : SplitLines(dump)) {
    if (StartsWith(line, "line ") && (line.find("inf") != std::string::npos || line.find("nan") != std::string::npos)) {
      ++count;
    }
  }
  return count;
}

struct Outcome {
  std::vector<std::string> messages;
  int series = 0;
  int segments = -1;  // of the first series; -1 when not checked
};

struct Row {
  const char* name;
  std::string bytes;
  Outcome alone;   // the file loaded by itself
  Outcome second;  // the file added (Yes) to a loaded file of the same range
};

std::vector<Row> Rows() {
  const std::string head = Head();
  return {
      {"empty file", "", {{kInvalid, kDiffers}, 0}, {{kInvalid, kDiffers}, 1}},
      {"only line ends", "\r\n\r\n\n\r", {{kNoData}, 0}, {{}, 1}},
      {"NUL bytes only", std::string(1000, '\0'), {{kNoData}, 0}, {{}, 1}},
      {"binary lines between records", head + ThreeReads() + Garbage(64 * 1024) + "\r\n" + ThreeReads(),
       {{}, 1, 6}, {{}, 2}},
      {"NUL inside a record's value", head + std::string("R,0,0,5\0,1\r\n", 12) + ThreeReads(), {{kInvalid}, 1, 0},
       {{kInvalid}, 2}},
      {"NUL inside the model name", Lines({std::string("MO\0DEL", 6) + ",SN1,1000,a,b,c,d,e,f,g", RangeCondition(1000)}) +
                                        ThreeReads(),
       {{}, 1, 3}, {{}, 2}},
      {"a 10 MB line between records", head + ThreeReads() + std::string(10 << 20, 'x') + "\r\n" + ThreeReads(),
       {{}, 1, 6}, {{}, 2}},
      {"a 10 MB line of fields at the end, without a line end", head + ThreeReads() + [] {
         std::string line;
         while (line.size() < (10U << 20)) line += "R,1,2,3,";
         return line;
       }(),
       {{}, 1, 3}, {{}, 2}},
      {"cut in the middle of a record", head + "R,0,0,50,1\r\nR,500,1,51,1\r\nR,10", {{}, 1, 2}, {{}, 2}},
      {"cut inside the condition line", DriveLine() + "\r\n0,0,1000,0,0,25", {{kNoData}, 0}, {{}, 1}},
      {"1e309 as X", head + "R,1e309,0,5,1\r\n", {{kInvalid}, 0}, {{kInvalid}, 1}},
      {"1e309 as value", head + "R,0,0,1e309,1\r\n", {{kInvalid}, 1, 0}, {{kInvalid}, 2}},
      {"1e309 as range end", Lines({DriveLine(), "0,0,1e309,0,0,256,100,100,0,0,0,0,-1"}) + ThreeReads(),
       {{kInvalid, kDiffers}, 0}, {{kInvalid, kDiffers}, 1}},
      {"NaN as range start", Lines({DriveLine(), "NaN,0,1000,0,0,256,100,100,0,0,0,0,-1"}) + ThreeReads(),
       {{kInvalid, kDiffers}, 0}, {{kInvalid, kDiffers}, 1}},
      {"inf as X", head + "R,inf,0,5,1\r\n", {{kInvalid}, 0}, {{kInvalid}, 1}},
      {"-inf as value", head + "R,0,0,-inf,1\r\n", {{kInvalid}, 1, 0}, {{kInvalid}, 2}},
      {"40 digits as X", head + "R," + FortyDigits() + ",0,5,1\r\n", {{kInvalid}, 0}, {{kInvalid}, 1}},
      {"40 digits as value", head + "R,0,0," + FortyDigits() + ",1\r\n" + ThreeReads(), {{}, 1, 4}, {{}, 2}},
      {"a value at the double limit", head + "R,0,0,1.7e308,1\r\nRE,500,1,-1.7e308,1\r\n" + ThreeReads(), {{}, 1, 5},
       {{}, 2}},
      {"40 digits as test kind flags",
       Lines({DriveLine(), "0,0,1000,0," + FortyDigits() + ",256,100,100,0,0,0,0,-1"}) + ThreeReads(),
       {{kInvalid, kDiffers}, 0}, {{kInvalid, kDiffers}, 1}},
      {"40 digits as step of a range chart",
       Lines({DriveLine(), "0,0,1000,0,0,256,100,100,0," + FortyDigits() + ",0,0,-1"}) + ThreeReads(),
       {{kInvalid}, 0}, {{}, 2}},
      {"range end equal to start", Lines({DriveLine(), RangeCondition(0)}) + ThreeReads(), {{kInvalid}, 0}, {{}, 2}},
      {"zero test time", Lines({DriveLine(), "0,0,0,0,128,256,100,100,0,0,500,0,-1"}) + ThreeReads(), {{kInvalid}, 0},
       {{kDiffers}, 1}},
      {"zero Y full scale", Lines({DriveLine(), "0,0,1000,0,0,256,100,0,0,0,0,0,-1"}) + ThreeReads(), {{kInvalid}, 0},
       {{}, 2}},
      {"negative Y full scale", Lines({DriveLine(), "0,0,1000,0,0,256,100,-100,0,0,0,0,-1"}) + ThreeReads(),
       {{kInvalid}, 0}, {{}, 2}},
      {"more than 513 fields in a condition line", Lines({DriveLine(), RangeCondition(1000) + std::string(600, ',') + "x"}) +
                                                        ThreeReads(),
       {{}, 1, 3}, {{}, 2}},
      {"more than 33 fields in a checked line", Lines({DriveLine(), WideCondition(40)}) + ThreeReads(), {{}, 1, 3},
       {{}, 2}},
      {"Latin-1 model name", Lines({DriveLine("MOD\xC8L-\xC4", "SN\xE9"), RangeCondition(1000)}) + ThreeReads(),
       {{}, 1, 3}, {{}, 2}},
  };
}

void ExpectOutcome(Session& s, const Outcome& expected, const std::string& what) {
  EXPECT_EQ(s.prompter.Messages(), expected.messages) << what;
  EXPECT_EQ(s.Data().Grf_Hist_Ptr, expected.series) << what;
  EXPECT_GE(s.Grid().Rows(), expected.series) << what;
  if (expected.segments >= 0) {
    EXPECT_EQ(FirstSeriesSegments(s.Dump()), expected.segments) << what;
  }
  EXPECT_EQ(NonFinitePoints(s.Dump()), 0) << "huge values are held at the float range: " << what;
}

// The prompter takes the expected messages in order, answering Yes to the add question.
void Script(Session& s, const std::vector<std::string>& messages) {
  for (const std::string& message : messages) {
    s.prompter.ExpectMessage(message, message == kAddQuestion ? Answer::Yes : Answer::Ok);
  }
}

TEST(BadInput, EachFileEndsInAChartOrAMessage) {
  for (const Row& row : Rows()) {
    Session s;
    const std::string path = s.dir.Write("bad.dat", row.bytes);
    Script(s, row.alone.messages);
    WithinSeconds(kBound, row.name, [&] { s.Load({path}); });
    ExpectOutcome(s, row.alone, std::string(row.name) + ", alone");
  }
}

TEST(BadInput, AddedToALoadedFileTheLoadedOneStays) {
  for (const Row& row : Rows()) {
    Session s;
    const std::string good = s.File("good.dat", {DriveLine("GOOD", "SNG"), RangeCondition(1000), Records("W", 3, 1000)});
    const std::string path = s.dir.Write("bad.dat", row.bytes);
    s.Load({good});
    ASSERT_EQ(s.Data().Grf_Hist_Ptr, 1);
    std::vector<std::string> messages{kAddQuestion};
    messages.insert(messages.end(), row.second.messages.begin(), row.second.messages.end());
    Script(s, messages);
    WithinSeconds(kBound, row.name, [&] { s.Load({path}); });
    EXPECT_EQ(s.prompter.Messages(), messages) << row.name;
    EXPECT_EQ(s.Data().Grf_Hist_Ptr, row.second.series) << row.name;
    EXPECT_EQ(s.Data().SeriesInfo[0].find(good + ",Write ,|GOOD,SNG"), 0U) << row.name;
  }
}

TEST(BadInput, LoneCrAndLoneLfEndLinesLikeCrLf) {
  const std::string text = Head() + ThreeReads();
  Session crlf;
  crlf.Load({crlf.dir.Write("a.dat", text)});
  ASSERT_EQ(crlf.Data().Grf_Hist_Ptr, 1);
  for (const char* end : {"\r", "\n"}) {
    std::string other = text;
    ReplaceAll(other, "\r\n", end);
    Session s;
    s.Load({s.dir.Write("a.dat", other)});
    EXPECT_EQ(s.Dump(), crlf.Dump()) << (end[0] == '\r' ? "CR" : "LF");
  }
}

TEST(BadInput, LatinOneModelNamesStayBytesAndShowAsText) {
  Session s;
  s.Load({s.File("a.dat", {DriveLine("MOD\xC8L-\xC4", "SN\xE9"), RangeCondition(1000), Records("R", 2, 1000)})});
  ASSERT_EQ(s.Data().Grf_Hist_Ptr, 1);
  EXPECT_EQ(s.Grid().TextMatrix(0, 3), "MOD\xC8L-\xC4") << "the grid keeps the file's bytes";
  EXPECT_NE(s.Dump().find("Read  MODÈL-Ä S/N:SNé MaxLBA:"), std::string::npos) << "the legend reads as Latin-1";
}

TEST(BadInput, OddYScaleBoxValuesAreRefusedWithTheMessage) {
  const struct {
    const char* box;
    bool invalid;
  } rows[] = {{"0", true}, {"-5", true}, {"99999999999", true}, {"1e3", false}, {"  ", false}, {"abc", false}};
  for (const auto& row : rows) {
    Session s;
    s.session->SetYScaleText(row.box);
    if (row.invalid) s.prompter.ExpectMessage(kInvalid);
    s.Load({s.File("a.dat", {DriveLine(), RangeCondition(1000), Records("R", 2, 1000)})});
    EXPECT_EQ(s.Count(OpKind::Scale) == 0, row.invalid) << row.box;
    EXPECT_TRUE(s.prompter.Finished()) << row.box;
  }
}

TEST(BadInput, MoreThan513SeriesInOneFileAreToldOnce) {
  std::vector<std::string> lines;
  lines.push_back(DriveLine());
  lines.push_back(RangeCondition(1000));
  for (int i = 0; i < 600; ++i) {
    lines.push_back(DriveLine("M" + std::to_string(i), "S"));
    lines.push_back("R,0,0,5,1");
  }
  Session s;
  s.prompter.ExpectMessage(kTooManySeriesMessage);
  WithinSeconds(kBound, "600 series", [&] { s.Load({s.File("many.dat", lines)}); });
  EXPECT_EQ(s.Data().Grf_Hist_Ptr, kTableSize);
  EXPECT_EQ(s.Grid().TextMatrix(kTableSize - 1, 3), "M512");
}

TEST(BadInput, PathsHoldingCommasLoadFromTheCommandLine) {
  test::ScriptedPrompter prompter;
  test::TempDir dir;
  const std::string text = Head() + ThreeReads();
  HeadlessOptions options;
  options.files = {dir.Write("a,b.dat", text), dir.Write("c, d,,.dat", text)};
  HeadlessSession session(options, prompter);
  session.CurrentSettings().WorkFolder = dir.Path();
  session.LoadFiles();
  ASSERT_EQ(session.Data().FileCount, 2);
  EXPECT_EQ(session.Data().FileList[1], options.files[1]);
  ASSERT_EQ(session.Data().Grf_Hist_Ptr, 2);
  EXPECT_EQ(session.SeriesGrid().TextMatrix(1, 0), options.files[1]);
  EXPECT_EQ(session.SeriesGrid().TextMatrix(1, 1), "c, d,,.dat");
}

}  // namespace
}  // namespace varst
