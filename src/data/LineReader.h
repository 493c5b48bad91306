#pragma once
// The line reader of the measurement data files. A file is read whole first; lines end with
// CR LF, a lone LF or a lone CR; each line is cut to its first 1000 bytes and loses its
// leading and trailing blanks. A last line without a line end is read whole.
//
// An empty file is invalid: the reader reports "データが不正です" and hands back the end
// marker "error error" instead of a line, which every caller tests for.

#include <cstddef>
#include <string_view>
#include <vector>

namespace varst {

class Prompter;

inline constexpr std::string_view kEndMarker = "error error";
inline constexpr std::string_view kInvalidDataMessage = "データが不正です";
inline constexpr std::size_t kMaxLineLength = 1000;

// Reads the line that starts at `position` and advances it past the line end. Sets atEnd when
// the line is the file's last. The result views into buffer. For an empty buffer the message
// is shown through prompter (when given) and kEndMarker is returned.
[[nodiscard]] std::string_view ReadLine(std::string_view buffer, std::size_t& position,
                                        bool& atEnd, Prompter* prompter);

// Shows "データが不正です" with the critical icon.
void ReportInvalidData(Prompter& prompter);

// The line without the commas at its end.
[[nodiscard]] std::string_view StripTrailingCommas(std::string_view line);

enum class LineKind { DriveLine, ConditionLine, DataRecord, Ignored };

// The kind of a line by its field count: 5 or 6 a data record, 10 a drive line, 13 or more a
// condition line, any other count ignored; the first line of a file with more than 10 fields
// is the drive line.
[[nodiscard]] LineKind ClassifyLine(int fieldCount, bool firstLine);

}  // namespace varst
