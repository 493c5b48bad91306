#include "convert/NameRules.h"

#include <vector>

#include "common/Numbers.h"
#include "common/Paths.h"
#include "common/Text.h"
#include "common/TextEncoding.h"

namespace varst {
namespace {

constexpr std::string_view kDisallowed = "\\/:,;*?<>|\"";
constexpr std::size_t kMaxLevelCodes = 11;

bool IsControlByte(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 0x20 || byte == 0x7F;
}

void ReplaceControlBytes(std::string& text) {
  for (char& c : text) {
    if (IsControlByte(c)) c = '_';
  }
}

bool IsShiftJisLead(unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }
bool IsShiftJisTrail(unsigned char byte) { return byte >= 0x40 && byte <= 0xFC && byte != 0x7F; }

// True when the bytes read as Shift_JIS characters: single bytes (ASCII and half-width
// katakana) and lead bytes each followed by a trail byte.
bool IsShiftJis(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (IsShiftJisLead(byte)) {
      if (i + 1 >= text.size() || !IsShiftJisTrail(static_cast<unsigned char>(text[i + 1]))) return false;
      ++i;
    } else if (byte >= 0x80 && !(byte >= 0xA1 && byte <= 0xDF)) {
      return false;
    }
  }
  return true;
}

bool NamesNoFolderOfItsOwn(std::string_view part) {
  const std::string_view trimmed = Trim(part);
  return trimmed.empty() || trimmed == "." || trimmed == "..";
}

// A date folder name may hold separators (a stamp without a time keeps its "/"), so each of
// its segments is guarded on its own: none may climb out of the base folder.
std::string GuardFolderSegments(std::string_view text) {
  std::string guarded;
  std::size_t start = 0;
  for (;;) {
    std::size_t end = start;
    while (end < text.size() && !IsPathSeparator(text[end])) ++end;
    const std::string_view segment = text.substr(start, end - start);
    const bool climbs = segment == "." || segment == "..";
    guarded += climbs ? std::string_view("_") : segment;
    if (end >= text.size()) break;
    guarded += text[end];
    start = end + 1;
  }
  ReplaceControlBytes(guarded);
  return guarded;
}

// Two characters of a yymmddnn name as a number; false when they are not numeric.
bool NamePart(std::string_view name, std::size_t at, int& value) {
  const std::string_view part = name.substr(at, 2);
  if (!IsNumeric(part)) return false;
  value = ParseInteger(part);
  return true;
}

}  // namespace

std::string LevelCode(int choiceIndex) {
  if (choiceIndex < 0 || choiceIndex >= static_cast<int>(kLevelCodes.size())) return kLevelCodes[0];
  return kLevelCodes[static_cast<std::size_t>(choiceIndex)];
}

std::string CalFileName(std::string_view filename) {
  std::string cleaned(filename);
  // Cleaned by character: the second byte of a Shift_JIS character may be "\" or "|", and
  // replacing it would leave half a character. UTF-8 needs no care (its multi-byte characters
  // hold no ASCII bytes), nor bytes in neither form.
  const bool shiftJis = !IsValidUtf8(cleaned) && IsShiftJis(cleaned);
  for (std::size_t i = 0; i < cleaned.size(); ++i) {
    if (shiftJis && IsShiftJisLead(static_cast<unsigned char>(cleaned[i]))) {
      ++i;
    } else if (kDisallowed.find(cleaned[i]) != std::string_view::npos) {
      cleaned[i] = '_';
    }
  }
  return cleaned;
}

std::string SafeNamePart(std::string_view text) {
  std::string part = CalFileName(text);
  ReplaceControlBytes(part);
  return NamesNoFolderOfItsOwn(part) ? std::string("_") : part;
}

std::string CalDate(std::string_view Date_Inf) {
  const std::vector<std::string> halves = SplitFields(Trim(Date_Inf), " ");
  if (halves.size() != 2) return std::string(Date_Inf);
  const std::vector<std::string> parts = SplitFields(Trim(halves[0]), "/");
  if (parts.size() != 3) return std::string(Date_Inf);
  return parts[0] + parts[1] + parts[2];
}

std::string GetSaveFolder(std::string path, std::string_view inf, const FolderInfo& arg) {
  std::string folder = AddBackslash(path);
  std::vector<std::string> codes = SplitFields(inf, ",");
  if (codes.size() > kMaxLevelCodes) codes.resize(kMaxLevelCodes);
  for (const std::string& code : codes) {
    const std::string upper = ToUpperAscii(code);
    if (upper == "NON") break;
    if (upper == "DRV") {
      folder += SafeNamePart(arg.modelName) + kPathSeparator;
    } else if (upper == "DATE") {
      folder += GuardFolderSegments(CalDate(arg.timeStamp)) + kPathSeparator;
    }
  }
  return folder;
}

int CheckFileDate(std::string_view fname, std::string_view stamp) {
  const std::string name = GetBaseName(fname);
  if (name.size() != 8) return kDateNotCheckable;
  int nameYear = 0;
  int nameMonth = 0;
  int nameDay = 0;
  if (!NamePart(name, 0, nameYear) || !NamePart(name, 2, nameMonth) || !NamePart(name, 4, nameDay)) {
    return kDateNotCheckable;
  }
  const std::vector<std::string> halves = SplitFields(stamp, " ");
  if (halves.size() != 2) return kDateNotCheckable;
  std::vector<std::string> date = SplitFields(halves[0], "/");
  if (date.size() != 3) return kDateNotCheckable;
  for (const std::string& part : date) {
    if (!IsNumeric(part)) return kDateNotCheckable;
  }
  if (date[0].size() > 2) date[0] = date[0].substr(date[0].size() - 2);
  const bool agrees = ParseInteger(date[0]) == nameYear && ParseInteger(date[1]) == nameMonth &&
                      ParseInteger(date[2]) == nameDay;
  return agrees ? kDateAgrees : kDateDisagrees;
}

std::string MakeNumberedName(std::string_view dest, int n) {
  // The folder is dest up to and with its last separator, so a destination at the root stays
  // there and one without a folder stays without; the extension is the file name's own, so a
  // dot in a folder name cannot move the alternative into another folder.
  const std::string name = GetFileName(dest);
  const std::string_view folder = dest.substr(0, dest.size() - name.size());
  return std::string(folder) + GetBaseName(name) + "(" + std::to_string(n) + ")." + GetExtension(name);
}

}  // namespace varst
