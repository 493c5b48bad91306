#include "convert/RunSummary.h"

#include <string>

#include "convert/ConversionRun.h"
#include "convert/StatusCounts.h"

namespace varst {
namespace {

constexpr char kAllConverted[] = "全てのファイル名が正常に変換されました";
constexpr char kNotAllConverted[] = "全てのファイル名が正常に変換されていません。確認してください";
constexpr char kAborted[] = "中断されました";
constexpr char kNothingListed[] = "設定されたファイルがありません";

}  // namespace

int SummaryModeOf(int runResult) {
  switch (runResult) {
    case kRunNothingListed:
      return kSummaryNothingListed;
    case kRunFinished:
      return kSummaryFinished;
    default:
      return kSummaryAborted;
  }
}

void ShowRunSummary(int mode, const Grid& grid, int ListedCount, Prompter& prompter) {
  const StatusCounts counts = CountStatuses(grid, ListedCount);
  switch (mode) {
    case kSummaryFinished:
      if (counts.copied == ListedCount) {
        prompter.Message(kAllConverted, MessageIcon::Information);
      } else {
        prompter.Message(kNotAllConverted, MessageIcon::Critical);
      }
      return;
    case kSummaryNothingListed:
      prompter.Message(kNothingListed, MessageIcon::Information);
      return;
    default:
      prompter.Message(std::string(kAborted) + "\n" + kNotAllConverted, MessageIcon::Critical);
      return;
  }
}

}  // namespace varst
