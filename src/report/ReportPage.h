#pragma once
// The batch report's page: one self-contained HTML file (inline style, no script, nothing
// fetched from elsewhere) that shows the overlay pictures and the summary table, with outliers
// and unreadable files highlighted and each file linked to its own chart.

#include <string>
#include <vector>

namespace varst {

struct ReportPageRow {
  std::vector<std::string> cells;  // in the order of ReportPageContent::columns
  std::string chart;               // the file's chart, relative to the page; empty when none
  std::size_t pathColumn = 1;      // the cell that links to the chart
  bool outlier = false;
  bool error = false;
};

struct ReportPageGroup {
  std::string name;     // the group's key as the summary shows it
  std::string picture;  // the overlay picture, relative to the page
  std::string note;     // e.g. why the group has no band
};

struct ReportPageContent {
  std::string title;
  std::string generated;  // a line about the run: files, series, outliers, errors, settings
  std::vector<ReportPageGroup> groups;
  std::vector<std::string> columns;
  std::vector<ReportPageRow> rows;
};

// `text` with &, <, >, " and ' replaced by their character references.
[[nodiscard]] std::string HtmlEscape(const std::string& text);

// The page; a relative link is escaped and its path segments percent-encoded where needed.
[[nodiscard]] std::string ReportPage(const ReportPageContent& content);

}  // namespace varst
