// The line reader and the classification of lines, over any bytes: every line lies inside
// the buffer, is at most 1000 bytes long and has no blank at either end; reading always moves
// forward and ends; both field splitters count alike; and every field converts to the number
// the C library reads from it, or is refused when that is not a finite number.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "platform/ConsolePrompter.h"
#include "common/Numbers.h"
#include "common/Text.h"
#include "data/LineReader.h"

using namespace varst;

namespace {

// The field's number as strtod reads it, when the whole field is a number of the grammar.
void CheckNumber(std::string_view field) {
  double value = 0;
  const bool parsed = TryParseDouble(field, value);
  if (!IsNumeric(field)) {
    fuzz::Require(!parsed, "only numbers convert");
    return;
  }
  std::string text(field);
  const char* start = text.c_str();
  while (*start == ' ' || *start == '\t') ++start;
  char* end = nullptr;
  const double expected = std::strtod(start, &end);
  if (!std::isfinite(expected)) {
    fuzz::Require(!parsed, "a number beyond the double range is refused");
    return;
  }
  fuzz::Require(parsed, "a number in range converts");
  fuzz::Require(std::memcmp(&value, &expected, sizeof value) == 0, "the conversion is exact");
  std::int32_t integer = 0;
  if (TryParseInt32(field, integer)) {
    fuzz::Require(static_cast<double>(integer) == std::nearbyint(expected), "an integer rounds halves to even");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view buffer(reinterpret_cast<const char*>(data), size);
  ConsolePrompter prompter(fuzz::Discarded());
  std::vector<std::string_view> fields;
  LineFields lineFields;
  std::size_t position = 0;
  bool atEnd = false;
  std::size_t lines = 0;
  for (bool first = true; !atEnd; first = false) {
    const std::size_t before = position;
    const std::string_view line = ReadLine(buffer, position, atEnd, &prompter);
    if (line == kEndMarker && buffer.empty()) break;
    fuzz::Require(position > before || atEnd, "the reader moves forward");
    fuzz::Require(position <= buffer.size(), "the position stays inside the buffer");
    fuzz::Require(line.size() <= kMaxLineLength, "a line is at most 1000 bytes");
    fuzz::Require(line.empty() || (line.front() != ' ' && line.back() != ' '), "a line is trimmed");
    fuzz::Require(line.empty() || (line.data() >= buffer.data() && line.data() + line.size() <= buffer.data() + size),
                  "a line views into the buffer");
    fuzz::Require(++lines <= size + 1, "at most one line per byte");

    const std::string_view stripped = StripTrailingCommas(line);
    fuzz::Require(stripped.empty() || stripped.back() != ',', "no comma at the end");
    const int count = SplitFields(stripped, fields);
    fuzz::Require(count == lineFields.Split(stripped), "both splitters count alike");
    for (int i = 0; i < count && i < LineFields::kKept; ++i) {
      fuzz::Require(lineFields[i] == fields[static_cast<std::size_t>(i)], "both splitters cut alike");
      CheckNumber(fields[static_cast<std::size_t>(i)]);
    }
    static_cast<void>(ClassifyLine(count, first));
  }
  fuzz::Require(prompter.Errors() == (buffer.empty() ? 1 : 0), "only an empty file is invalid to the reader");
  return 0;
}
