#include "convert/StatusCounts.h"

#include "convert/FileListRows.h"
#include "convert/RowOutcome.h"

namespace varst {

StatusCounts CountStatuses(const Grid& grid, int ListedCount) {
  StatusCounts counts;
  for (int row = 0; row < ListedCount; ++row) {
    const std::string status = grid.TextMatrix(row, kColStatus);
    if (status == kStatusCopied) ++counts.copied;
    if (status == kStatusFailed) ++counts.failed;
    if (status == kStatusSkipped) ++counts.skipped;
  }
  return counts;
}

void ShowCounts(int mode, const Grid& grid, int ListedCount, CountLabels& labels) {
  if (mode == kCountsClear) {
    for (const int label : {kCountSucceeded, kCountFailed, kCountSkipped, kCountListed}) {
      labels.SetCountText(label, std::string());
    }
    return;
  }
  if (mode == kCountsAll) {
    const StatusCounts counts = CountStatuses(grid, ListedCount);
    labels.SetCountText(kCountSucceeded, std::to_string(counts.copied));
    labels.SetCountText(kCountFailed, std::to_string(counts.failed));
    labels.SetCountText(kCountSkipped, std::to_string(counts.skipped));
  }
  labels.SetCountText(kCountListed, std::to_string(ListedCount));
}

}  // namespace varst
