#include "data/LineReader.h"

#include <cstring>

#include "common/Text.h"
#include "platform/Prompter.h"

namespace varst {

namespace {

// The position of the first CR or LF at or after start, or the buffer's size. memchr finds
// the LF of a line quickly; a lone CR before it is looked for in that stretch only.
std::size_t LineEnd(std::string_view buffer, std::size_t start) {
  const char* const first = buffer.data() + start;
  const std::size_t rest = buffer.size() - start;
  const auto* lf = static_cast<const char*>(std::memchr(first, '\n', rest));
  const std::size_t stretch = lf == nullptr ? rest : static_cast<std::size_t>(lf - first);
  const auto* cr = static_cast<const char*>(std::memchr(first, '\r', stretch));
  if (cr != nullptr) return start + static_cast<std::size_t>(cr - first);
  return start + stretch;
}

}  // namespace

void ReportInvalidData(Prompter& prompter) {
  prompter.Message(std::string(kInvalidDataMessage), MessageIcon::Critical);
}

std::string_view ReadLine(std::string_view buffer, std::size_t& position, bool& atEnd,
                          Prompter* prompter) {
  atEnd = false;
  if (buffer.empty()) {
    if (prompter != nullptr) ReportInvalidData(*prompter);
    atEnd = true;
    return kEndMarker;
  }
  if (position >= buffer.size()) {
    atEnd = true;
    return {};
  }
  const std::size_t start = position;
  const std::size_t end = LineEnd(buffer, start);
  position = end;
  if (position < buffer.size()) {
    // A CR LF pair, a lone LF or a lone CR ends the line.
    if (buffer[position] == '\r' && position + 1 < buffer.size() && buffer[position + 1] == '\n') ++position;
    ++position;
  }
  atEnd = position >= buffer.size();
  std::string_view line = buffer.substr(start, end - start);
  if (line.size() > kMaxLineLength) line = line.substr(0, kMaxLineLength);
  return Trim(line);
}

std::string_view StripTrailingCommas(std::string_view line) {
  while (!line.empty() && line.back() == ',') line.remove_suffix(1);
  return line;
}

LineKind ClassifyLine(int fieldCount, bool firstLine) {
  if (firstLine && fieldCount > 10) return LineKind::DriveLine;
  if (fieldCount == 5 || fieldCount == 6) return LineKind::DataRecord;
  if (fieldCount == 10) return LineKind::DriveLine;
  if (fieldCount >= 13) return LineKind::ConditionLine;
  return LineKind::Ignored;
}

}  // namespace varst
