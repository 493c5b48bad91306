#include "data/Compatibility.h"

#include <optional>

#include "common/Numbers.h"
#include "common/Text.h"
#include "data/LineReader.h"

namespace varst {
namespace {

// The values of the first condition lines seen so far.
struct Seen {
  std::optional<double> firstStart;
  std::optional<double> firstEnd;
  std::optional<double> largestEnd;
};

enum class FileVerdict { Readable, Invalid, NeedsWholeFile };

// The first condition line of a file is normally its second line: the head of the file is
// read first, and the whole file only when the head does not hold one.
constexpr std::size_t kHeadBytes = 64 * 1024;

// Compares one condition line with what was seen; false when a field does not convert.
bool CompareCondition(const std::vector<std::string_view>& fields, Seen& seen, DataSet& dataSet,
                      CompatibilityResult& result) {
  double end = 0;
  double start = 0;
  std::int32_t flags = 0;
  if (!TryParseDouble(fields[2], end) || !TryParseInt32(fields[4], flags) || !TryParseDouble(fields[0], start)) {
    return false;
  }
  if (!seen.firstEnd) {
    seen.firstEnd = end;
  } else if (*seen.firstEnd != end) {
    result.rangeDiffers = true;
  }
  if (!seen.largestEnd || end > *seen.largestEnd) seen.largestEnd = end;
  if (!seen.firstStart) {
    seen.firstStart = start;
  } else if (*seen.firstStart != start) {
    result.rangeDiffers = true;
  }
  const std::int32_t timeMode = flags & 0x80;
  if (dataSet.TimeModeFlag == -1) {
    dataSet.TimeModeFlag = timeMode;
  } else if (dataSet.TimeModeFlag != timeMode) {
    result.kindDiffers = true;
  }
  return true;
}

FileVerdict ScanLines(const FileBuffer& buffer, bool scanAll, Seen& seen, DataSet& dataSet, Prompter& prompter,
                      CompatibilityResult& result) {
  const std::string_view bytes = buffer.View();
  std::vector<std::string_view> fields;
  std::size_t position = 0;
  bool atEnd = false;
  for (int lineNumber = 0; !atEnd; ++lineNumber) {
    const std::string_view line = ReadLine(bytes, position, atEnd, &prompter);
    if (line == kEndMarker) return FileVerdict::Invalid;
    int count = SplitFields(StripTrailingCommas(line), fields);
    if (lineNumber == 0 && count > 10) count = 10;
    if (count <= 12) continue;
    if (!CompareCondition(fields, seen, dataSet, result)) {
      ReportInvalidData(prompter);
      return FileVerdict::Invalid;
    }
    if (!scanAll) return FileVerdict::Readable;
  }
  return buffer.Complete() ? FileVerdict::Readable : FileVerdict::NeedsWholeFile;
}

FileVerdict CheckFile(const std::string& path, bool scanAll, Seen& seen, DataSet& dataSet, Prompter& prompter,
                      CompatibilityResult& result) {
  FileBuffer& buffer = dataSet.ReadBuffer;
  // An unreadable file reads as empty, which the reader refuses.
  if (scanAll) {
    buffer.ReadWholeFile(path);
  } else {
    buffer.ReadFileHead(path, kHeadBytes);
  }
  FileVerdict verdict = ScanLines(buffer, scanAll, seen, dataSet, prompter, result);
  if (verdict == FileVerdict::NeedsWholeFile) {
    // No condition line in the head (the lines before it were seen and counted nothing).
    buffer.ReadWholeFile(path);
    verdict = ScanLines(buffer, scanAll, seen, dataSet, prompter, result);
  }
  return verdict == FileVerdict::Invalid ? FileVerdict::Invalid : FileVerdict::Readable;
}

}  // namespace

CompatibilityResult CheckCompatibility(const std::vector<std::string>& paths, bool scanAll, DataSet& dataSet,
                                       Prompter& prompter) {
  CompatibilityResult result;
  Seen seen;
  for (const std::string& path : paths) {
    if (CheckFile(path, scanAll, seen, dataSet, prompter, result) == FileVerdict::Invalid) {
      result.kindDiffers = true;
      result.rangeEnd = 0;
      return result;
    }
  }
  result.rangeEnd = seen.largestEnd.value_or(-1.0);
  return result;
}

}  // namespace varst
