#include "data/LineReader.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "common/Text.h"
#include "platform/Prompter.h"

namespace varst {

namespace {

// The position of the first CR or LF at or after start, or the buffer's size. The search
// stops at the line end (reading at most 15 bytes beyond it, within the buffer): a search for
// LF alone would run to the file's end on every line of a file with lone CR line ends and
// cost the square of the file's size.
std::size_t LineEnd(std::string_view buffer, std::size_t start) {
  const char* const begin = buffer.data();
  const std::size_t size = buffer.size();
  std::size_t at = start;
#if defined(__SSE2__)
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  for (; at + 16 <= size; at += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(begin + at));
    const int ends = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(block, lf)));
    if (ends != 0) return at + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(ends)));
  }
#endif
  while (at < size && begin[at] != '\r' && begin[at] != '\n') ++at;
  return at;
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
