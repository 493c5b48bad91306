// Inputs that once broke a reader, kept in tests/reliability/regressions/. Each goes through
// every reader of outside input, as a data file, a settings file, a list file and a file to
// convert, and must come back soon without a crash or a sanitizer report.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/HeadlessSession.h"
#include "app/SettingsFile.h"
#include "chart/AvrData.h"
#include "common/ProfileFile.h"
#include "convert/NameRules.h"
#include "convert/NewFileName.h"
#include "data/Compatibility.h"
#include "data/DataFileList.h"
#include "data/DrawFile.h"
#include "data/LineReader.h"
#include "data/LoadFiles.h"
#include "data/SeriesKey.h"
#include "platform/DisplayList.h"
#include "reliability/TimeBound.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"
#include "viewer/FileListBatch.h"
#include "viewer/RedrawTickedRows.h"

namespace varst {
namespace {

// Answers every question with Yes: these inputs are about what the readers survive, so any
// number of the loader's own messages may come, but nothing else (no dialog, no other text).
class AnsweringPrompter final : public Prompter {
 public:
  void PlaceNextMessageBox(int, int) override {}
  std::string OpenFileDialog(const std::string&, const std::string&, const std::string&, const std::string&) override {
    return Unexpected("an open dialog");
  }
  std::string SaveFileDialog(const std::string&, const std::string&, const std::string&, const std::string&) override {
    return Unexpected("a save dialog");
  }
  Colour ChooseColorDialog(Colour) override {
    Unexpected("a colour dialog");
    return kNoColour;
  }
  std::string BrowseFolderDialog(const std::string&, const std::string&) override { return Unexpected("a folder dialog"); }
  int ExecDialog(QDialog&) override {
    Unexpected("a dialog");
    return 0;
  }

 protected:
  Answer ShowMessage(const std::string& text, MessageIcon, MessageButtons buttons, const std::string*) override {
    const char* known[] = {kInvalidDataMessage.data(), kKindDiffersMessage, kAddDataQuestion, kTooManyFilesMessage,
                           kTooManySeriesMessage, kNoDataMessage};
    bool expected = false;
    for (const char* message : known) expected = expected || text == message;
    EXPECT_TRUE(expected) << "an unexpected message: " << text;
    return buttons == MessageButtons::Ok ? Answer::Ok : Answer::Yes;
  }

 private:
  static std::string Unexpected(const char* what) {
    ADD_FAILURE() << "unexpected " << what;
    return {};
  }
};

std::vector<std::string> RegressionFiles() {
  std::vector<std::string> files;
  const std::filesystem::path folder = std::filesystem::path(VARST_SOURCE_DIR) / "tests/reliability/regressions";
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.is_regular_file() && entry.path().filename() != "README.md") files.push_back(entry.path().string());
  }
  return files;
}

// A small range chart, the first of the two files the load-and-draw fuzz target loads.
constexpr char kSmallRangeChart[] =
    "MODEL-F1,SNF001,156301488,ATA,FW1.00,512,7200,SATA,64MB,00\r\n"
    "0,0,1000,0,0,256,100,100,0,0,0,0,5\r\n"
    "W,0,0,10.5,1\r\n"
    "W,500,1,20.25,3\r\n"
    "RE,1000,2,30,12\r\n";

void AsDataFile(const std::string& path, const test::TempDir& scratch) {
  const std::string workFolder = scratch.Path();
  const std::string smallRange = scratch.Write("small-range.dat", kSmallRangeChart);
  // Alone, after a time chart and after a small range chart.
  for (const std::string& first : {std::string(), test::ExamplePath("time_rate.dat"), smallRange}) {
    AnsweringPrompter prompter;
    HeadlessOptions options;
    options.files = first.empty() ? std::vector<std::string>{path} : std::vector<std::string>{first, path};
    HeadlessSession session(options, prompter);
    session.CurrentSettings().WorkFolder = workFolder;
    session.LoadFiles();
    LoadContext context = session.Context();
    DataSet& dataSet = session.Data();
    if (dataSet.Grf_Hist_Ptr > 0) {
      const SeriesKeyParts key = ParseSeriesKey(dataSet.SeriesInfo[0]);
      context.drawer.ClearChart();
      std::int32_t co = 0;
      DrawFile(context, 0, key.path, {}, 0, DrawRequest{"", key.driveLine, key.label, 1}, co);
      AvrData(context, dataSet.AvrLines, dataSet.AvrLineCount, 5, 10, 0, kOffsetPercent);
    }
    RedrawTickedRows(context);
    static_cast<void>(DumpDisplayList(session.Drawing()));
    DataSet fresh;
    static_cast<void>(CheckCompatibility({path}, true, fresh, prompter));
  }
}

void AsOtherFiles(const std::string& path, const std::string& scratch) {
  Settings settings;
  LoadSettings(settings, path);
  static_cast<void>(SaveSettings(settings, scratch + "/saved.ini"));
  static_cast<void>(ReadDataFileList(path));
  if (IsFileListBatch(path)) {
    for (const std::string& line : ReadFileListBatchLines(path)) static_cast<void>(ExistingBatchFile(line));
  }
  std::string convert;
  DriveInfo drive;
  if (MkFileName(path, convert, drive)) {
    static_cast<void>(GetSaveFolder(scratch, "DRV,DATE", FolderInfo{drive.modelName, drive.serialNumber}));
  }
}

TEST(RegressionInputs, EveryReaderSurvivesThem) {
  const std::vector<std::string> files = RegressionFiles();
  ASSERT_FALSE(files.empty());
  for (const std::string& file : files) {
    test::TempDir scratch;
    test::WithinSeconds(10, file, [&] {
      AsDataFile(file, scratch);
      AsOtherFiles(file, scratch.Path());
    });
  }
}

}  // namespace
}  // namespace varst
