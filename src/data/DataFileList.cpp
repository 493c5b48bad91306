#include "data/DataFileList.h"

#include <cstdio>

#include "common/Paths.h"
#include "common/Text.h"

namespace varst {
namespace {

// The file's bytes when it is at most `limit` bytes long.
bool ReadSmallFile(const std::string& path, std::size_t limit, std::string& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  bytes.assign(limit + 1, '\0');
  const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  bytes.resize(got);
  return !failed && got <= limit;
}

}  // namespace

std::string ReadDataFileList(const std::string& path) { return DataFileListText(path).value_or(std::string()); }

std::optional<std::string> DataFileListText(const std::string& path) {
  if (!FileExists(std::string_view(path))) return std::nullopt;
  std::string bytes;
  if (!ReadSmallFile(path, kMaxDataFileListSize, bytes)) return std::nullopt;
  bool marker = false;
  std::string result;
  for (const std::string& line : SplitLines(bytes)) {
    if (StartsWith(line, "DATA FILE LIST")) {
      marker = true;
    } else {
      // The probe drops a trailing separator from the text, and that text is what loads.
      std::string item = line;
      if (FileExists(item)) result += item + ",";
    }
  }
  if (!marker) return std::nullopt;
  if (!result.empty()) result.pop_back();
  return result;
}

}  // namespace varst
