// The batch report over generated drives, run as a script runs it: the varst program itself.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QImage>
#include <set>

#include <cstdio>
#include <filesystem>
#include <map>
#include <random>

#include "common/Text.h"
#include "support/TempDir.h"
#include "support/VarstProgram.h"

namespace varst {
namespace {

using test::ReadFileBytes;
using test::CommandRun;
using test::Quoted;
using test::TempDir;

// The report's output goes to files; standard output is not kept.
CommandRun VarstQuietly(const TempDir& dir, const std::vector<std::string>& arguments) {
  return test::Varst(dir, arguments, test::Shell{"", "/dev/null", ""});
}

// A read test over LBA 0..999999 of 2000 records at about 100 MB/s with 2% noise; with a slow
// zone, the records of the tenth of the range from 40% on run 20% slower.
std::string Drive(const TempDir& dir, const std::string& serial, unsigned seed, bool slowZone) {
  std::mt19937 random(seed);
  std::normal_distribution<double> noise(0, 2);
  std::string text = "MODEL-F,"+ serial + ",1000000,ATA,FW1,512,7200,SATA,64MB,00\r\n0,0,999999,0,0,256,100,150,0,0,0,0,-1\r\n";
  for (int i = 0; i < 2000; ++i) {
    const int x = i * 500;
    double value = 100 + noise(random);
    if (slowZone && x >= 400000 && x < 500000) value *= 0.8;
    char line[64];
    std::snprintf(line, sizeof line, "R,%d,%d,%.2f,1\r\n", x, i, value);
    text += line;
  }
  return dir.Write(serial + ".dat", text);
}

// The summary's rows as cells (no field of these files needs quoting).
std::vector<std::vector<std::string>> Summary(const std::string& folder) {
  std::vector<std::vector<std::string>> rows;
  for (const std::string& line : SplitLines(ReadFileBytes(folder + "/summary.csv"))) {
    if (line.empty()) continue;
    std::vector<std::string> cells;
    std::size_t start = 0;
    for (std::size_t comma; (comma = line.find(',', start)) != std::string::npos; start = comma + 1) {
      cells.push_back(line.substr(start, comma - start));
    }
    cells.push_back(line.substr(start));
    rows.push_back(cells);
  }
  return rows;
}

std::size_t Column(const std::vector<std::string>& header, const std::string& name) {
  return static_cast<std::size_t>(std::find(header.begin(), header.end(), name) - header.begin());
}

TEST(ReportCommand, FlagsExactlyTheDriveWithASlowZone) {
  TempDir dir;
  std::vector<std::string> drives;
  for (unsigned i = 0; i < 6; ++i) drives.push_back(Drive(dir, "SN" + std::to_string(i), i + 1, false));
  const std::string slow = Drive(dir, "SLOW", 99, true);

  struct Case {
    const char* name;
    bool withSlow;
    int status;
    std::size_t outliers;
  };
  for (const Case& c : {Case{"six alike", false, 0, 0}, Case{"six and a slow one", true, 1, 1}}) {
    std::vector<std::string> arguments = {"--report", dir.File(std::string("out-") + (c.withSlow ? "slow" : "alike")),
                                          "--fail-on-outlier", "--jobs", "2"};
    arguments.insert(arguments.end(), drives.begin(), drives.end());
    if (c.withSlow) arguments.push_back(slow);
    const CommandRun run = VarstQuietly(dir, arguments);
    ASSERT_EQ(run.status, c.status) << c.name << run.err;
    const auto rows = Summary(arguments[1]);
    ASSERT_EQ(rows.size(), drives.size() + (c.withSlow ? 2 : 1)) << c.name;
    const std::size_t outlier = Column(rows[0], "outlier");
    const std::size_t serial = Column(rows[0], "serial");
    std::size_t flagged = 0;
    for (std::size_t r = 1; r < rows.size(); ++r) {
      ASSERT_LT(outlier, rows[r].size());
      if (rows[r][outlier] == "yes") {
        ++flagged;
        EXPECT_EQ(rows[r][serial], "SLOW") << c.name;
      } else {
        EXPECT_EQ(rows[r][outlier], "no") << c.name;
      }
    }
    EXPECT_EQ(flagged, c.outliers) << c.name;
    const std::string page = ReadFileBytes(arguments[1] + "/index.html");
    EXPECT_NE(page.find("<img src=\"overlay-LBA_0-999999_Read.png\""), std::string::npos) << c.name;
    EXPECT_NE(page.find("href=\"charts/MODEL-F_SN0.png\""), std::string::npos) << c.name;
    EXPECT_TRUE(std::filesystem::is_regular_file(arguments[1] + "/charts/MODEL-F_SN5.png")) << c.name;
  }
}

TEST(ReportCommand, DamagedFilesAreListedAndTheRestReported) {
  TempDir dir;
  const std::string folder = dir.Path() + "/in";
  for (unsigned i = 0; i < 3; ++i) Drive(dir, "in/SN" + std::to_string(i), i + 1, false);
  dir.Write("in/empty.dat", "");
  dir.Write("in/damaged.dat", std::string("\0\0\0\x01\x02", 5));
  dir.Write("in/time.dat", "MODEL-T,T1,1000,ATA,FW1,512,7200,SATA,64MB,00\r\n0,0,60000,0,128,256,100,150,0,60000,100,0,-1\r\n"
                           "R,0,0,50,1\r\nR,1000,1,51,1\r\n");
  // Two job counts give the same report, byte for byte.
  ASSERT_EQ(VarstQuietly(dir, {"--report", dir.File("one"), "--jobs", "1", "--scan", folder}).status, 0);
  const CommandRun run = VarstQuietly(dir, {"--report", dir.File("two"), "--jobs", "2", "--scan", folder});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadFileBytes(dir.File("one/summary.csv")), ReadFileBytes(dir.File("two/summary.csv")));

  const auto rows = Summary(dir.File("two"));
  const std::size_t error = Column(rows[0], "error");
  const std::size_t path = Column(rows[0], "path");
  std::map<std::string, std::string> errors;
  for (std::size_t r = 1; r < rows.size(); ++r) errors[std::filesystem::path(rows[r][path]).filename()] = rows[r][error];
  EXPECT_EQ(errors["empty.dat"], "データが不正です");
  EXPECT_FALSE(errors["damaged.dat"].empty());
  EXPECT_EQ(errors["SN0.dat"], "");
  EXPECT_EQ(errors["time.dat"], "");
  EXPECT_NE(ReadFileBytes(dir.File("two/index.html")).find("no band"), std::string::npos);
}

TEST(ReportCommand, AFolderHoldingOtherFilesIsNeverReplaced) {
  TempDir dir;
  const std::string drive = Drive(dir, "SN1", 1, false);
  dir.Write("mine/notes.txt", "keep me");
  const CommandRun run = VarstQuietly(dir, {"--report", dir.File("mine"), drive});
  EXPECT_EQ(run.status, 3);
  EXPECT_EQ(ReadFileBytes(dir.File("mine/notes.txt")), "keep me");
  // An earlier report is replaced whole.
  ASSERT_EQ(VarstQuietly(dir, {"--report", dir.File("report"), drive}).status, 0);
  dir.Write("report/charts/stale.png", "x");
  ASSERT_EQ(VarstQuietly(dir, {"--report", dir.File("report"), drive}).status, 0);
  EXPECT_FALSE(std::filesystem::exists(dir.File("report/charts/stale.png")));
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
    EXPECT_NE(entry.path().filename().string()[0], '.') << "left behind: " << entry.path();
  }
}

// The page as a browser shows it: headless Chromium (installed by the test set-up) takes a
// screenshot, which must show the overlay and the table, not a blank or broken page.
TEST(ReportCommand, ThePageShowsInABrowser) {
  TempDir dir;
  std::vector<std::string> arguments = {"--report", dir.File("out")};
  for (unsigned i = 0; i < 6; ++i) arguments.push_back(Drive(dir, "SN" + std::to_string(i), i + 1, false));
  arguments.push_back(Drive(dir, "SLOW", 99, true));
  ASSERT_EQ(VarstQuietly(dir, arguments).status, 0);
  const std::string shot = dir.File("shot.png");
  const std::string command = std::string("timeout 120 chromium --headless --disable-gpu --hide-scrollbars --no-first-run") +
                              (geteuid() == 0 ? " --no-sandbox" : "") + " --user-data-dir=" + Quoted(dir.File("profile")) +
                              " --window-size=1280,1000 --screenshot=" + Quoted(shot) + " " +
                              Quoted("file://" + dir.File("out/index.html")) + " >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << "chromium failed (scripts/deps test installs it): " << command;
  const QImage image(QString::fromStdString(shot));
  ASSERT_FALSE(image.isNull());
  std::set<QRgb> colours;
  std::size_t inked = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb pixel = image.pixel(x, y);
      colours.insert(pixel);
      inked += pixel != qRgb(255, 255, 255) ? 1 : 0;
    }
  }
  // The overlay alone brings a black plot and a colour per drive; the table its highlight.
  EXPECT_GT(colours.size(), 50U);
  EXPECT_GT(inked, static_cast<std::size_t>(image.width()) * image.height() / 10);
}

// A few records of a read test on the given model and serial.
std::string SmallDrive(const TempDir& dir, const std::string& name, const std::string& model, const std::string& serial) {
  std::string text = model + "," + serial + ",1000,ATA,FW1,512,7200,SATA,64MB,00\r\n0,0,999,0,0,256,100,150,0,0,0,0,-1\r\n";
  for (int x = 0; x < 1000; x += 100) text += "R," + std::to_string(x) + "," + std::to_string(x / 100) + ",100,1\r\n";
  return dir.Write(name, text);
}

TEST(ReportCommand, SourcesNamesAndStatuses) {
  TempDir dir;
  SmallDrive(dir, "in/a.dat", "MODEL-S", "SAME");
  SmallDrive(dir, "in/b.dat", "MODEL-S", "SAME");
  SmallDrive(dir, "in/c.dat", "MODEL-\xC5\xE9", "L1");  // not UTF-8: shown as Latin-1 on the page
  dir.Write("in/list.txt", "a.dat\n\n  \r\n" + dir.File("in/b.dat") + "\r\nc.dat\n");
  struct Case {
    const char* name;
    std::vector<std::string> arguments;
    int status;
    std::string message;             // in standard error
    std::vector<std::string> pages;  // in index.html
  };
  const Case cases[] = {
      {"a list with relative names and blank lines", {"--from-list", dir.File("in/list.txt")}, 0, "",
       {"href=\"charts/MODEL-S_SAME.png\"", "href=\"charts/MODEL-S_SAME%281%29.png\"", "MODEL-\xC3\x85\xC3\xA9"}},
      {"a missing list", {"--from-list", dir.File("in/none.txt")}, 3, "ファイルが見つかりません: " + dir.File("in/none.txt"), {}},
      {"a missing folder", {"--scan", dir.File("none")}, 3, "ファイルが見つかりません: " + dir.File("none"), {}},
      {"no source", {}, 2, "give the data files", {}},
      {"two sources", {"--scan", dir.File("in"), dir.File("in/a.dat")}, 2, "give the data files", {}},
      {"a bad option value", {"--k", "x", dir.File("in/a.dat")}, 2, "--k takes a number", {}},
  };
  for (const Case& c : cases) {
    const std::string out = dir.File("out");
    std::vector<std::string> arguments = {"--report", out};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    const CommandRun run = VarstQuietly(dir, arguments);
    EXPECT_EQ(run.status, c.status) << c.name << ": " << run.err;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << c.name << ": " << run.err;
    if (c.status != 0) {
      EXPECT_FALSE(std::filesystem::exists(out)) << c.name;
      continue;
    }
    const std::string page = ReadFileBytes(out + "/index.html");
    for (const std::string& text : c.pages) EXPECT_NE(page.find(text), std::string::npos) << c.name << ": " << text;
    EXPECT_EQ(Summary(out).size(), 4U) << c.name;
    std::filesystem::remove_all(out);
  }
}

// More files in a group than a chart holds: the overlay draws the first ones and says so.
TEST(ReportCommand, AGroupBiggerThanAChartIsDrawnInPart) {
  TempDir dir;
  for (int i = 0; i < 514; ++i) SmallDrive(dir, "in/d" + std::to_string(1000 + i) + ".dat", "MODEL-B", "B" + std::to_string(i));
  const CommandRun run = VarstQuietly(dir, {"--report", dir.File("out"), "--size", "40x30", "--scan", dir.File("in")});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("514/514 files") , std::string::npos) << run.err;
  EXPECT_NE(ReadFileBytes(dir.File("out/index.html")).find("the first 513 of 514 files drawn"), std::string::npos);
  EXPECT_EQ(Summary(dir.File("out")).size(), 515U);
}

}  // namespace
}  // namespace varst
