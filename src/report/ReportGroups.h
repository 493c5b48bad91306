#pragma once
// The batch report's series and groups: every series row of every file with its figures,
// the group of comparable series it belongs to (chart kind, test range and label), and each
// group's reference band with the verdict on each of its members.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/ReferenceBand.h"
#include "analysis/StatisticsTable.h"

namespace varst {

// What makes series comparable.
struct GroupKey {
  std::string kind;  // "LBA", "time" or "count"
  double start = 0;  // the test range, in the file's units
  double end = 0;
  std::string label;  // trimmed ("Read", "Write", ...)

  bool operator==(const GroupKey& other) const {
    return kind == other.kind && start == other.start && end == other.end && label == other.label;
  }
};

// One series row of one file as the report sees it.
struct ReportSeries {
  std::size_t file = 0;  // index into the report's file list
  StatisticsRow stats;
  bool comparable = false;  // false for smoothed and merged series, which never count
  GroupKey key;
  BinValues bins;  // SeriesBinValues over the test range, when comparable
};

struct ReportGroup {
  GroupKey key;
  std::string name;                  // for texts and file names: "LBA_0-1000_Read"
  std::vector<std::size_t> members;  // indexes into the series, in their order
  ReferenceBand band;                // band.series[i] is the verdict on members[i]
};

// The group name of a key, made of characters safe in a file name.
[[nodiscard]] std::string GroupName(const GroupKey& key);

// The groups of the comparable series, in the order of their first member, each with its band.
[[nodiscard]] std::vector<ReportGroup> GroupSeries(const std::vector<ReportSeries>& series,
                                                   const BandSettings& settings);

}  // namespace varst
