#pragma once
// The four counts beside the file list: listed files, and rows copied, failed and skipped.

#include <string>

#include "platform/Grid.h"

namespace varst {

struct StatusCounts {
  int copied = 0;   // status "Comp.."
  int failed = 0;   // status "NG"
  int skipped = 0;  // status "SKIP"
};

// Counts the statuses of rows 0 to ListedCount - 1 (exact text comparison).
[[nodiscard]] StatusCounts CountStatuses(const Grid& grid, int ListedCount);

// The count labels, by index.
inline constexpr int kCountSucceeded = 0;
inline constexpr int kCountFailed = 1;
inline constexpr int kCountSkipped = 2;
inline constexpr int kCountListed = 3;

// Where the counts are shown; the window implements it with its labels.
class CountLabels {
 public:
  virtual ~CountLabels() = default;
  virtual void SetCountText(int label, const std::string& text) = 0;
};

// ShowCounts modes.
inline constexpr int kCountsClear = 0;       // empties all four labels
inline constexpr int kCountsAll = 1;         // the three status counts and the listed count
inline constexpr int kCountsListedOnly = 2;  // the listed count alone

void ShowCounts(int mode, const Grid& grid, int ListedCount, CountLabels& labels);

}  // namespace varst
