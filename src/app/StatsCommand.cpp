#include "app/StatsCommand.h"

#include "analysis/StatisticsTable.h"

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

}  // namespace varst
