#include "convert/RunSummary.h"

#include <gtest/gtest.h>

#include <map>

#include "convert/ConversionRun.h"
#include "convert/FileListRows.h"
#include "convert/StatusCounts.h"
#include "platform/MemoryGrid.h"
#include "support/ScriptedPrompter.h"

namespace varst {
namespace {

struct RecordedLabels : CountLabels {
  void SetCountText(int label, const std::string& text) override { texts[label] = text; }
  std::map<int, std::string> texts;
};

// Rows with the statuses given, one row per text.
MemoryGrid GridWithStatuses(const std::vector<std::string>& statuses) {
  MemoryGrid grid;
  grid.SetCols(kFileListCols);
  grid.SetRows(static_cast<int>(statuses.size()));
  for (std::size_t row = 0; row < statuses.size(); ++row) grid.SetTextMatrix(static_cast<int>(row), kColStatus, statuses[row]);
  return grid;
}

TEST(StatusCounts, CountsExactStatusTextsOfTheListedRows) {
  const MemoryGrid grid = GridWithStatuses({"Comp..", "NG", "SKIP", "Comp..", "", "comp..", "Comp.."});
  const StatusCounts counts = CountStatuses(grid, 6);
  EXPECT_EQ(counts.copied, 2);
  EXPECT_EQ(counts.failed, 1);
  EXPECT_EQ(counts.skipped, 1);

  RecordedLabels labels;
  ShowCounts(kCountsAll, grid, 6, labels);
  EXPECT_EQ(labels.texts, (std::map<int, std::string>{{0, "2"}, {1, "1"}, {2, "1"}, {3, "6"}}));
  ShowCounts(kCountsListedOnly, grid, 7, labels);
  EXPECT_EQ(labels.texts[kCountListed], "7");
  EXPECT_EQ(labels.texts[kCountSucceeded], "2");
  ShowCounts(kCountsClear, grid, 7, labels);
  EXPECT_EQ(labels.texts, (std::map<int, std::string>{{0, ""}, {1, ""}, {2, ""}, {3, ""}}));
}

TEST(RunSummary, OneMessageForEachEnding) {
  const struct {
    const char* name;
    int runResult;
    std::vector<std::string> statuses;
    const char* text;
    MessageIcon icon;
  } rows[] = {
      {"all copied", kRunFinished, {"Comp..", "Comp.."}, "全てのファイル名が正常に変換されました", MessageIcon::Information},
      {"an unchecked row", kRunFinished, {"Comp..", ""}, "全てのファイル名が正常に変換されていません。確認してください",
       MessageIcon::Critical},
      {"aborted", kRunAborted, {"Comp..", "Comp.."},
       "中断されました\n全てのファイル名が正常に変換されていません。確認してください", MessageIcon::Critical},
      {"nothing listed", kRunNothingListed, {}, "設定されたファイルがありません", MessageIcon::Information},
  };
  for (const auto& row : rows) {
    test::ScriptedPrompter prompter;
    prompter.ExpectMessage(row.text);
    const MemoryGrid grid = GridWithStatuses(row.statuses);
    ShowRunSummary(SummaryModeOf(row.runResult), grid, static_cast<int>(row.statuses.size()), prompter);
    ASSERT_EQ(prompter.History().size(), 1U) << row.name;
    EXPECT_EQ(prompter.History()[0].text, row.text) << row.name;
    EXPECT_EQ(prompter.History()[0].icon, row.icon) << row.name;
    EXPECT_EQ(prompter.History()[0].buttons, MessageButtons::Ok) << row.name;
  }
}

}  // namespace
}  // namespace varst
