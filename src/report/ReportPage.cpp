#include "report/ReportPage.h"

#include "common/TextEncoding.h"

namespace varst {
namespace {

constexpr char kStyle[] =
    "body{font-family:sans-serif;margin:1.5em;color:#222;background:#fff}"
    "h1{font-size:1.4em}h2{font-size:1.1em;margin-top:1.5em}"
    "figure{display:inline-block;margin:0 1em 1em 0;vertical-align:top}"
    "figure img{max-width:100%;width:560px;border:1px solid #ccc}"
    "figcaption{font-size:.9em;color:#555}"
    ".scroll{overflow-x:auto;max-width:100%}"
    "table{border-collapse:collapse;font-size:.85em}"
    "tbody tr:nth-child(even) td{background:#f7f7f7}"
    "th,td{border:1px solid #ccc;padding:2px 6px;text-align:right;white-space:nowrap}"
    "th{background:#eee;position:sticky;top:0}"
    "td.text{text-align:left}"
    "tbody tr.outlier td{background:#ffe0b3}"
    "tbody tr.error td{background:#ffd6d6}"
    ".legend span{display:inline-block;padding:0 .5em;margin-right:1em}";

// Percent-encodes what a relative link may not hold as it stands; "/" separates segments.
std::string EncodeLink(const std::string& link) {
  static const char hex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : link) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '/' ||
                       c == '.' || c == '-' || c == '_' || c == '~';
    if (plain) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  return out;
}

// Text from data files, as the page's UTF-8 (bytes that are not UTF-8 read as Latin-1).
std::string Shown(const std::string& text) { return HtmlEscape(ToDisplayUtf8(text)); }

bool LooksNumeric(const std::string& cell) {
  if (cell.empty()) return true;
  for (char c : cell) {
    if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E')) return false;
  }
  return true;
}

}  // namespace

std::string HtmlEscape(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string ReportPage(const ReportPageContent& content) {
  std::string page;
  page += "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>";
  page += HtmlEscape(content.title);
  page += "</title>\n<style>";
  page += kStyle;
  page += "</style>\n</head>\n<body>\n<h1>";
  page += HtmlEscape(content.title);
  page += "</h1>\n<p>" + HtmlEscape(content.generated) + "</p>\n";

  page += "<h2>Groups</h2>\n";
  for (const ReportPageGroup& group : content.groups) {
    page += "<figure>";
    if (!group.picture.empty()) {
      page += "<a href=\"" + HtmlEscape(EncodeLink(group.picture)) + "\"><img src=\"" +
              HtmlEscape(EncodeLink(group.picture)) + "\" alt=\"" + Shown(group.name) + "\"></a>";
    }
    page += "<figcaption>" + Shown(group.name);
    if (!group.note.empty()) page += " &mdash; " + Shown(group.note);
    page += "</figcaption></figure>\n";
  }

  page += "<h2>Summary</h2>\n<p class=\"legend\"><span style=\"background:#ffe0b3\">outlier</span>"
          "<span style=\"background:#ffd6d6\">could not be read</span></p>\n<div class=\"scroll\"><table>\n<thead><tr>";
  for (const std::string& column : content.columns) page += "<th>" + HtmlEscape(column) + "</th>";
  page += "</tr></thead>\n<tbody>\n";
  for (const ReportPageRow& row : content.rows) {
    page += row.error ? "<tr class=\"error\">" : row.outlier ? "<tr class=\"outlier\">" : "<tr>";
    for (std::size_t i = 0; i < row.cells.size(); ++i) {
      const std::string& cell = row.cells[i];
      page += LooksNumeric(cell) ? "<td>" : "<td class=\"text\">";
      if (i == row.pathColumn && !row.chart.empty()) {
        page += "<a href=\"" + HtmlEscape(EncodeLink(row.chart)) + "\">" + Shown(cell) + "</a>";
      } else {
        page += Shown(cell);
      }
      page += "</td>";
    }
    page += "</tr>\n";
  }
  page += "</tbody>\n</table></div>\n</body>\n</html>\n";
  return page;
}

}  // namespace varst
