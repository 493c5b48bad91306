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

std::string ReadDataFileList(const std::string& path) {
  if (!FileExists(std::string_view(path))) return {};
  std::string bytes;
  if (!ReadSmallFile(path, kMaxDataFileListSize, bytes)) return {};
  bool marker = false;
  std::string result;
  for (const std::string& line : SplitLines(bytes)) {
    if (StartsWith(line, "DATA FILE LIST")) {
      marker = true;
    } else if (FileExists(std::string_view(line))) {
      result += line + ",";
    }
  }
  if (!marker) return {};
  if (!result.empty()) result.pop_back();
  return result;
}

}  // namespace varst
