#include "data/LineReader.h"

#include "common/Text.h"
#include "platform/Prompter.h"

namespace varst {

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
  std::size_t end = start;
  while (end < buffer.size() && buffer[end] != '\r' && buffer[end] != '\n') ++end;
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
