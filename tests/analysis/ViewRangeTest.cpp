// The view range (zoom): its text, its bounds, and the chart drawn over it.

#include <gtest/gtest.h>

#include <algorithm>

#include "chart/ViewRanges.h"
#include "common/Text.h"
#include "support/SessionFixture.h"

namespace varst {
namespace {

using test::DriveLine;
using test::ScriptedPrompter;
using test::TempDir;

TEST(ViewRange, ParseAndBounds) {
  struct Parse {
    const char* text;
    bool ok;
    double start, end;
  };
  for (const Parse& p : std::vector<Parse>{{"0:1000", true, 0, 1000},
                                          {"10h:1fH", true, 16, 31},
                                          {" 1e3 : 2.5e3 ", true, 1000, 2500},
                                          {"5", false, 0, 0},
                                          {":5", false, 0, 0},
                                          {"0x10:20", false, 0, 0},
                                          {"1:2:3", false, 0, 0},
                                          {"h:5", false, 0, 0},
                                          {"1000000000000000h:2", false, 0, 0}}) {
    ViewRange view;
    EXPECT_EQ(ParseViewRange(p.text, view), p.ok) << p.text;
    if (p.ok) {
      EXPECT_TRUE(view.active && view.start == p.start && view.end == p.end) << p.text;
    }
  }
  const ViewRange test{true, 0, 1000};
  struct Inside {
    ViewRange view;
    bool ok;
  };
  for (const Inside& c : std::vector<Inside>{{{true, 0, 1000}, true},
                                            {{true, 10, 20}, true},
                                            {{true, 20, 10}, false},
                                            {{true, 10, 10}, false},
                                            {{true, -1, 10}, false},
                                            {{true, 10, 1001}, false}}) {
    EXPECT_EQ(ViewInside(c.view, test), c.ok) << c.view.start << ":" << c.view.end;
  }
}

struct Drawing {
  std::vector<std::string> texts;     // every non-line operation
  std::vector<std::string> series;    // the lines in the series colour, without pen and style
};

Drawing Draw(const std::string& condition, const std::vector<std::string>& records, ViewRange view = {}) {
  TempDir dir;
  std::string text = DriveLine() + "\r\n" + condition + "\r\n";
  for (const std::string& line : records) text += line + "\r\n";
  HeadlessOptions options;
  options.files = {dir.Write("t.dat", text)};
  options.view = view;
  options.showModelName = false;
  ScriptedPrompter prompter;
  HeadlessSession session(options, prompter);
  session.CurrentSettings().WorkFolder = dir.File("work");
  session.LoadFiles();
  const std::string pen = ColourHex(session.Data().SeriesColor[0]);
  Drawing drawing;
  for (const std::string& line : SplitLines(DumpDisplayList(session.Drawing()))) {
    if (StartsWith(line, "line ")) {
      const auto at = line.find(" " + pen + " ");
      if (at != std::string::npos) drawing.series.push_back(line.substr(0, at));
    } else if (!StartsWith(line, "text ERR")) {
      drawing.texts.push_back(line);
    }
  }
  return drawing;
}

TEST(ViewRange, ZoomDrawsTheChartOfTheSelectedRange) {
  // Values 2, 4, 6, ... at X 0, 100, ... 1000; errors at 100 and 300; count boxes throughout.
  std::vector<std::string> records;
  for (int i = 0; i <= 10; ++i) {
    records.push_back(std::string(i == 1 || i == 3 ? "RE," : "R,") + std::to_string(i * 100) + ",0," +
                      std::to_string(2 * (i + 1)) + ",10");
  }
  const std::string threshold = ",0,0,0,30";
  for (const char* kind : {"0,0,1000,0,0,256,100,100,0,0,0", "0,0,1000,0,0,256,100,100,10,0,0"}) {
    SCOPED_TRACE(kind);
    const Drawing zoomed = Draw(kind + threshold, records, {true, 150, 650});
    std::string ranged = kind + threshold;
    ranged.replace(ranged.find("1000"), 4, "650");
    ranged.replace(0, 1, "150");
    const Drawing reference = Draw(ranged, {"R,300,0,8,10"});
    // Same frame, labels and footer as a test over 150..650; one error dot and five count
    // boxes lie inside (the first rectangle erases the background).
    const auto count = [](const std::vector<std::string>& lines, const char* kind) {
      return std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return StartsWith(l, kind); });
    };
    const auto frame = [](const std::vector<std::string>& lines) {
      std::vector<std::string> kept;
      for (const std::string& l : lines) {
        if (StartsWith(l, "text") || StartsWith(l, "scale")) kept.push_back(l);
      }
      return kept;
    };
    EXPECT_EQ(frame(zoomed.texts), frame(reference.texts));
    const long dots = count(zoomed.texts, "ellipse");
    const long boxes = count(zoomed.texts, "rect") - 1;
    EXPECT_EQ(dots, 1);
    EXPECT_EQ(boxes, 5);
    // Segments crossing the edges end there at the interpolated value (X 150 lies halfway
    // between 4 and 6, X 650 between 14 and 16; Y is value x 50).
    const std::vector<std::string> expected{"line 0 250 1000 300",    "line 1000 300 3000 400",
                                            "line 3000 400 5000 500", "line 5000 500 7000 600",
                                            "line 7000 600 9000 700", "line 9000 700 10000 750"};
    EXPECT_EQ(zoomed.series, expected);
  }
}

}  // namespace
}  // namespace varst
