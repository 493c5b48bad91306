#pragma once
// --stats: the statistics of every series row of the loaded files, as csv or JSON lines, and
// the --range check that needs the loaded chart.

#include <ostream>
#include <string>

#include "app/HeadlessSession.h"

namespace varst {

enum class StatsFormat { Csv, Json };

// "csv" or "json"; false for anything else.
[[nodiscard]] bool ParseStatsFormat(const std::string& text, StatsFormat& format);

// Every series row in grid order.
void PrintStatistics(std::ostream& out, const HeadlessSession& session, StatsFormat format);

}  // namespace varst
