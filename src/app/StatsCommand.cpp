#include "app/StatsCommand.h"

#include "analysis/StatisticsTable.h"
#include "chart/ViewRanges.h"

namespace varst {

bool ParseStatsFormat(const std::string& text, StatsFormat& format) {
  if (text == "csv") {
    format = StatsFormat::Csv;
  } else if (text == "json") {
    format = StatsFormat::Json;
  } else {
    return false;
  }
  return true;
}

void PrintStatistics(std::ostream& out, const HeadlessSession& session, StatsFormat format) {
  const auto rows = BuildStatisticsRows(session.Data(), session.Points(), [](std::int32_t) { return true; });
  out << (format == StatsFormat::Csv ? StatisticsCsv(rows) : StatisticsJson(rows));
}

bool ViewRangeFits(const HeadlessSession& session) {
  const ChartState& chart = session.Chart();
  return !chart.View.active || ViewInside(chart.View, TestRange(chart, session.Data().RangeEnd));
}

}  // namespace varst
