#pragma once
// The file reader that feeds the chart: every line of a file, or of an in-memory series, goes
// to DrawBarChart in order.

#include <string>
#include <vector>

#include "data/LoadContext.h"

namespace varst {

// With a path: reads that file and draws every line, then prints the "ERR Cnt:" label of each
// legend line. A line the chart cannot map shows "データが不正です" once and ends the file;
// what was drawn stays. With an empty path: draws the first lineCount lines as the in-memory
// reference series (named after the next reference file) and lists that name as a file.
void DrawFile(LoadContext& context, std::int16_t slot, const std::string& path,
              const std::vector<std::string>& lines, std::int32_t lineCount, const DrawRequest& request,
              std::int32_t& co);

}  // namespace varst
