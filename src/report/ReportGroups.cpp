#include "report/ReportGroups.h"

#include <cmath>

#include "common/Numbers.h"
#include "convert/NameRules.h"

namespace varst {

namespace {

// A range end as a name part: whole numbers in full ("100000", not "1e+05").
std::string EndText(double value) {
  if (value == std::floor(value) && std::fabs(value) < 1e15) return std::to_string(static_cast<long long>(value));
  return ShortestText(value);
}

}  // namespace

std::string GroupName(const GroupKey& key) {
  std::string name = key.kind + "_" + EndText(key.start) + "-" + EndText(key.end) + "_" + key.label;
  for (char& c : name) {
    if (c == ' ') c = '_';
  }
  return SafeNamePart(name);
}

std::vector<ReportGroup> GroupSeries(const std::vector<ReportSeries>& series, const BandSettings& settings) {
  std::vector<ReportGroup> groups;
  for (std::size_t i = 0; i < series.size(); ++i) {
    if (!series[i].comparable) continue;
    ReportGroup* group = nullptr;
    for (ReportGroup& candidate : groups) {
      if (candidate.key == series[i].key) group = &candidate;
    }
    if (group == nullptr) {
      groups.push_back(ReportGroup{series[i].key, GroupName(series[i].key), {}, {}});
      group = &groups.back();
    }
    group->members.push_back(i);
  }
  for (ReportGroup& group : groups) {
    std::vector<BinValues> bins;
    bins.reserve(group.members.size());
    for (std::size_t member : group.members) bins.push_back(series[member].bins);
    group.band = ComputeReferenceBandFromBins(bins, group.key.start, group.key.end, settings);
  }
  return groups;
}

}  // namespace varst
