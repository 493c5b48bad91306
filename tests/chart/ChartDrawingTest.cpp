// The chart drawing line by line: what each kind of line draws, and the data it refuses.

#include "chart/ChartDrawing.h"

#include <gtest/gtest.h>

#include "data/DrawFile.h"
#include "platform/RecordingSurface.h"
#include "support/SessionFixture.h"

namespace varst {
namespace {

using test::DriveLine;
using test::RangeCondition;
using test::Records;
using test::Session;

bool Has(const std::string& dump, const std::string& line) { return dump.find(line + "\n") != std::string::npos; }

TEST(ChartFrame, YFullScaleFromTheBoxOverridesTheFile) {
  Session s;
  s.session->SetYScaleText("100");
  s.Load({s.File("a.dat", {DriveLine(), "0,0,1000,0,0,256,100,70,0,0,0,0,-1", Records("R", 2, 1000)})});
  const std::string dump = s.Dump();
  EXPECT_TRUE(Has(dump, "scale -1000 6000 12000 -6500"));
  EXPECT_TRUE(Has(dump, "text -600 5075 150 FFFFFF 100"));
  EXPECT_TRUE(Has(dump, "text -600 575 150 FFFFFF 10"));
  EXPECT_EQ(s.session->YScaleText(), "100");
}

TEST(ChartFrame, EmptyBoxTakesTheFilesFullScaleAndShowsIt) {
  Session s;
  s.Load({s.File("a.dat", {DriveLine(), "0,0,1000,0,0,256,100, 70 ,0,0,0,0,-1", Records("R", 2, 1000)})});
  EXPECT_EQ(s.session->YScaleText(), "70");
  EXPECT_TRUE(Has(s.Dump(), "scale -1000 4200 12000 -4550"));
}

TEST(ChartFrame, ASecondFilesConditionLineOnlyBreaksTheLine) {
  Session s;
  const std::string a = s.File("a.dat", {DriveLine(), RangeCondition(), Records("R", 3)});
  const std::string b = s.File("b.dat", {DriveLine("M2", "S2"), "0,0,1000000,0,0,256,100,50,10,0,0,0,5", Records("R", 3)});
  s.Load({a, b});
  const std::string dump = s.Dump();
  EXPECT_EQ(s.Count(OpKind::Scale), 1) << "one frame";
  EXPECT_NE(dump.find("RATE[MB/SEC]"), std::string::npos);
  EXPECT_EQ(dump.find("CCT Threshold"), std::string::npos) << "the second file's threshold is not used";
  EXPECT_EQ(s.SeriesPens().size(), 2U);
}

TEST(ChartFrame, FirstLineOfThirteenFieldsIsTheDriveLine) {
  Session s;
  s.Load({s.File("a.dat", {RangeCondition(), RangeCondition(), Records("R", 2)})});
  EXPECT_EQ(s.session->Chart().DriveInfoLine, RangeCondition());
  EXPECT_EQ(s.Count(OpKind::Scale), 1) << "the second line draws the frame";
}

TEST(ChartFrame, ThresholdMinusOneHasNoLogAxisAndZeroHasOne) {
  Session none;
  none.Load({none.File("a.dat", {DriveLine(), RangeCondition(), Records("R", 2)})});
  EXPECT_EQ(none.Dump().find("100000\n"), std::string::npos);
  Session zero;
  zero.Load({zero.File("a.dat", {DriveLine(), "0,0,1000000,0,0,256,100,100,0,0,0,0,0", Records("R", 2)})});
  const std::string dump = zero.Dump();
  EXPECT_NE(dump.find(" CCT Threshold:0[ms]"), std::string::npos);
  EXPECT_NE(dump.find("FFFFFF 100000\n"), std::string::npos);
  EXPECT_NE(dump.find("FFFFFF 3\n"), std::string::npos) << "half-decade lines in the dash-dot style";
}

TEST(ChartFrame, LbaLabelsStartAtZeroWithTheirSize) {
  Session s;
  s.Load({s.File("a.dat", {DriveLine(), RangeCondition(), Records("R", 2)})});
  EXPECT_TRUE(Has(s.Dump(), "text 0 0 150 FFFFFF 0h"));
  EXPECT_TRUE(Has(s.Dump(), "text 0 -150 150 FFFFFF 0.00B"));
}

TEST(ChartFrame, ChartColoursFromTheSettings) {
  Session s;
  s.session->CurrentSettings().Grf_ColorInfo = {0x101010, 0x202020, 0x303030};
  s.Load({s.File("a.dat", {DriveLine(), RangeCondition(), Records("R", 2)})});
  const std::string dump = s.Dump();
  EXPECT_TRUE(Has(dump, "rect -1000 6000 12000 -6500 101010 101010")) << "the erase in the back colour";
  EXPECT_TRUE(Has(dump, "line 0 0 10000 0 202020 0")) << "the frame in the grid colour";
  EXPECT_TRUE(Has(dump, "text -600 75 150 303030 0")) << "labels in the scale colour";
}

TEST(SeriesPlot, MarksOnFiveWriteRecords) {
  Session s;
  s.Load({s.File("a.dat", {DriveLine(), RangeCondition(1000), "W,0,0,10,1", "W,250,1,20,1", "WE,500,2,30,1",
                           "WS,750,3,40,1", "W,1000,4,50,1"})});
  const std::string dump = s.Dump();
  EXPECT_EQ(s.Data().Grf_Hist_Ptr, 1);
  EXPECT_EQ(s.Count(OpKind::Ellipse), 1) << "a red dot at the third point";
  EXPECT_TRUE(Has(dump, "line 5000 1500 7500 2000 00FF00 0")) << "the line reaches the fourth point";
  EXPECT_TRUE(Has(dump, "line 10000 2500 10000 2500 00FF00 0")) << "the fifth starts with a dot";
  EXPECT_NE(dump.find("ERR Cnt:1"), std::string::npos);
}

TEST(SeriesPlot, SeekRecordsContinueTheReadSeries) {
  Session s;
  s.Load({s.File("a.dat", {DriveLine(), RangeCondition(), Records("R", 3), Records("K", 3)})});
  EXPECT_EQ(s.Data().Grf_Hist_Ptr, 1);
  EXPECT_NE(s.Data().SeriesInfo[0].find(",Read ,|"), std::string::npos);
}

TEST(SeriesPlot, UnknownCodes) {
  Session direct;
  direct.prompter.ExpectMessage("データがありません");
  direct.Load({direct.File("a.dat", {DriveLine(), RangeCondition(), "X,0,0,5,1", "X,1000000,1,6,1"})});
  EXPECT_EQ(direct.Data().Grf_Hist_Ptr, 0) << "directly after a drive line no series begins";
  Session after;
  after.Load({after.File("a.dat", {DriveLine(), RangeCondition(), Records("R", 2), "X,0,0,5,1"})});
  ASSERT_EQ(after.Data().Grf_Hist_Ptr, 2);
  EXPECT_NE(after.Data().SeriesInfo[1].find(",,|"), std::string::npos) << "a series with an empty label";
}

// Legend lines are one axis font size apart (150 at full scale 100 and multiplier 1). Painted
// glyphs take two thirds of a text's size, so a legend text may be at most 1.5 steps: "大"
// (337.5) is held there, "中" and "小" keep their sizes, and no position moves.
TEST(SeriesPlot, LegendGlyphsFitTheLineStepAtEverySize) {
  const struct {
    std::int16_t choice;
    float multiplier;
    double size;  // of the legend text
    double step;  // between legend lines
  } rows[] = {{0, 1.0F, 112.5, 150}, {1, 1.0F, 225, 150}, {2, 1.0F, 225, 150},
              {0, 0.5F, 112.5, 75},  {1, 0.5F, 112.5, 75}, {2, 2.0F, 337.5, 300}};
  for (const auto& row : rows) {
    Session s;
    s.session->CurrentSettings().Grf_FontSize = row.choice;
    s.session->CurrentSettings().FontScale = row.multiplier;
    s.Load({s.File("a.dat", {DriveLine(), RangeCondition(1000), Records("W", 3, 1000), Records("R", 3, 1000)})});
    std::vector<const TextOp*> legend;
    for (const TextOp& text : s.Drawing().texts) {
      if (text.text.find("S/N:") != std::string::npos) legend.push_back(&text);
    }
    ASSERT_EQ(legend.size(), 2U) << row.choice;
    EXPECT_EQ(legend[0]->y, 6000) << "the first line at the top of the visible area";
    EXPECT_EQ(legend[0]->y - legend[1]->y, row.step) << row.choice << " x" << row.multiplier;
    EXPECT_EQ(legend[0]->size, row.size) << row.choice << " x" << row.multiplier;
    EXPECT_LE(legend[0]->size * kGlyphShareOfLine, row.step * 1.0001) << "glyphs reach into the next line";
  }
}

TEST(SeriesPlot, WithoutModelNameTheLegendStillMovesDown) {
  HeadlessOptions options;
  options.showModelName = false;
  test::ScriptedPrompter prompter;
  test::TempDir dir;
  const std::string file = dir.Write("a.dat", DriveLine() + "\r\n" + RangeCondition() + "\r\n" + Records("W", 2) +
                                                  "\r\n" + Records("R", 2) + "\r\n");
  options.files = {file};
  HeadlessSession session(options, prompter);
  session.LoadFiles();
  const std::string dump = DumpDisplayList(session.Drawing());
  EXPECT_EQ(dump.find("S/N:"), std::string::npos);
  EXPECT_EQ(dump.find("ERR Cnt"), std::string::npos);
  EXPECT_EQ(session.Chart().LegendLineCount, 2);
}

TEST(SeriesPlot, ASelectorDrawsAndCapturesOnlyItsSeries) {
  Session s;
  const std::string path = s.File("a.dat", {DriveLine(), RangeCondition(), Records("W", 3), Records("R", 4)});
  s.Load({path});
  LoadContext context = s.Context();
  context.drawer.ClearChart();
  std::int32_t co = 0;
  DrawFile(context, 0, path, {}, 0, DrawRequest{"", DriveLine(), "Read ", 1}, co);
  EXPECT_EQ(co, 255);
  EXPECT_EQ(s.SeriesPens(), std::vector<Colour>{0x0000FF});
  const auto& captured = s.Data().AvrLines;
  ASSERT_EQ(captured.size(), 6U) << "drive line, condition line and the four read records";
  EXPECT_EQ(captured[0], DriveLine());
  EXPECT_EQ(captured[1], RangeCondition());
  EXPECT_EQ(captured[2].substr(0, 4), "R,0,");
}

TEST(SeriesPlot, ThresholdMarkerLabelsTheSeries) {
  Session s;
  s.Load({s.File("a.dat", {DriveLine(), RangeCondition() + ",0_0", Records("R", 2)})});
  EXPECT_NE(s.Data().SeriesInfo[0].find(",Threshold,|"), std::string::npos);
}

TEST(SeriesPlot, TraceLinesWhileTheTraceWindowIsOn) {
  Session s;
  s.session->CurrentSettings().TraceWindowOn = 1;
  std::vector<std::string> lines;
  struct Recorder : ChartControls {
    std::vector<std::string>* lines;
    std::string box;
    std::string YScaleText() const override { return box; }
    void SetYScaleText(const std::string& text) override { box = text; }
    bool ShowModelName() const override { return true; }
    void SetOffsetUnitCaption(const std::string&) override {}
    Colour WindowBackColor() const override { return 0; }
    void Trace(const std::string& line) override { lines->push_back(line); }
  } recorder;
  recorder.lines = &lines;
  ChartState chart;
  RecordingSurface surface;
  ChartDrawing drawing(s.session->CurrentSettings(), s.Data(), chart, surface, recorder);
  std::int32_t co = 0;
  s.Data().RangeEnd = 1000;
  for (const std::string& line : {DriveLine(), RangeCondition(1000), std::string("R,0,0,1,1")}) {
    drawing.DrawBarChart(0, "/x.dat", line, DrawRequest{}, co, line == DriveLine());
  }
  ASSERT_EQ(lines.size(), 1U);
  EXPECT_NE(lines[0].find(" index0 Grf_Hist_Ptr1 FF00 DF:1\r\n"), std::string::npos) << lines[0];
  EXPECT_EQ(lines[0][2], ':');
}

TEST(InvalidData, StopsTheFileAndKeepsWhatWasDrawn) {
  struct Case {
    const char* name;
    std::vector<std::string> lines;
    int seriesDrawn;
    bool refusedByTheCheck = false;  // the loader's check reads the same fields first
  };
  const std::vector<Case> cases = {
      {"non-numeric Y", {DriveLine(), RangeCondition(1000), "R,0,0,5,1", "R,500,1,abc,1", "R,1000,2,6,1"}, 1},
      {"non-numeric X", {DriveLine(), RangeCondition(1000), "R,x,0,5,1"}, 0},
      {"X beyond 32 bits", {DriveLine(), RangeCondition(1000), "R,1e300,0,5,1"}, 0},
      {"range end equal to start", {DriveLine(), RangeCondition(0), "R,0,0,5,1"}, 0},
      {"zero test time", {DriveLine(), "0,0,0,0,128,256,100,100,0,0,500,0,-1", "R,0,0,5,1"}, 0},
      {"full scale zero", {DriveLine(), "0,0,1000,0,0,256,100,0,0,0,0,0,-1", "R,0,0,5,1"}, 0},
      {"negative full scale", {DriveLine(), "0,0,1000,0,0,256,100,-5,0,0,0,0,-1", "R,0,0,5,1"}, 0},
      {"full scale beyond 32 bits", {DriveLine(), "0,0,1000,0,0,256,100,99999999999,0,0,0,0,-1", "R,0,0,5,1"}, 0},
      {"condition field not a number", {DriveLine(), "0,0,1000,0,zz,256,100,100,0,0,0,0,-1"}, 0, true},
      {"unused condition field not a number", {DriveLine(), "0,0,1000,zz,0,256,100,100,0,0,0,0,-1"}, 0},
      {"NaN value", {DriveLine(), RangeCondition(1000), "R,0,0,nan,1"}, 1},
      {"count beyond 32 bits", {DriveLine(), "0,0,1000,0,0,256,100,100,0,0,0,0,5", "R,0,0,5,1234567890123456789"}, 1},
  };
  for (const Case& c : cases) {
    Session s;
    s.prompter.ExpectMessage("データが不正です");
    if (c.refusedByTheCheck) s.prompter.ExpectMessage("計測データが異なります。");
    s.Load({s.File("a.dat", c.lines)});
    EXPECT_EQ(s.Data().Grf_Hist_Ptr, c.seriesDrawn) << c.name;
    EXPECT_TRUE(s.prompter.Finished()) << c.name;
  }
}

}  // namespace
}  // namespace varst
