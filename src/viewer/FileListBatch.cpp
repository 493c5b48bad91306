#include "viewer/FileListBatch.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "common/Paths.h"
#include "common/Text.h"

namespace varst {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// Only regular files are read: a pipe or a device could block or never end.
std::unique_ptr<std::FILE, FileCloser> OpenRegularFile(const std::string& path) {
  if (path.find('\0') != std::string::npos) return nullptr;
  std::error_code error;
  if (!std::filesystem::is_regular_file(std::filesystem::path(path), error)) return nullptr;
  return std::unique_ptr<std::FILE, FileCloser>(std::fopen(path.c_str(), "rb"));
}

// The head of a file: up to `limit` bytes. The buffer grows with what is read, so a short
// file costs its own size, not the limit.
std::string ReadHead(const std::string& path, std::size_t limit) {
  std::string bytes;
  const auto file = OpenRegularFile(path);
  if (!file) return bytes;
  char chunk[65536];
  while (bytes.size() < limit) {
    const std::size_t got = std::fread(chunk, 1, std::min(sizeof chunk, limit - bytes.size()), file.get());
    if (got == 0) break;
    bytes.append(chunk, got);
  }
  return bytes;
}

std::string ReadAll(const std::string& path) { return ReadHead(path, std::string::npos); }

}  // namespace

bool HasFileListMarker(std::string_view head) {
  std::vector<std::string> lines = SplitLines(head);
  if (lines.size() > kBatchHeadLines) lines.resize(kBatchHeadLines);
  for (const std::string& line : lines) {
    if (ToUpperAscii(line).find("[FILE LIST]") != std::string::npos) return true;
  }
  return false;
}

bool IsFileListBatch(const std::string& path) { return HasFileListMarker(ReadHead(path, kBatchHeadBytes)); }

std::vector<std::string> ReadFileListBatchLines(const std::string& path) { return SplitLines(ReadAll(path)); }

std::string ExistingBatchFile(const std::string& line) {
  // FileExists takes a trailing separator off the text it was given.
  std::string asWritten = line;
  if (FileExists(asWritten)) return asWritten;
  std::string upper = ToUpperAscii(line);
  if (FileExists(upper)) return upper;
  return {};
}

}  // namespace varst
