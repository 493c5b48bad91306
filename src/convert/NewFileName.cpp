#include "convert/NewFileName.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <cstdio>
#include <functional>
#include <memory>
#include <string_view>

#include <sys/stat.h>

#include "common/Paths.h"
#include "common/Text.h"
#include "convert/NameRules.h"

namespace varst {
namespace {

// A line longer than this keeps only its first bytes; its fields are still all counted. A
// drive line is far shorter, and a file without line ends cannot fill the memory.
constexpr std::size_t kKeptLineBytes = 64 * 1024;
// Field counts above this all mean "12 or more"; the cap keeps the count within an int.
constexpr std::size_t kMaxCountedCommas = 1 << 20;

struct HeadLine {
  std::string kept;  // the line's first bytes, without the CR of its CR LF
  int fields = 0;    // as SplitFields counts them: 0 for an empty line
};

// Cuts a byte stream into lines at LF, dropping the CR of each CR LF, and hands every line
// to `visit` until it answers true.
class LineScanner {
 public:
  explicit LineScanner(std::function<bool(const HeadLine&)> visit) : visit_(std::move(visit)) {}

  // Feeds one chunk; true once `visit` asked to stop.
  bool Feed(std::string_view chunk) {
    for (const char c : chunk) {
      if (c == '\n') {
        if (Finish()) return true;
        continue;
      }
      if (c == ',') ++commas_;
      if (line_.kept.size() < kKeptLineBytes) line_.kept += c;
      ++length_;
      last_ = c;
    }
    return false;
  }

  // The last line when the file does not end in a line end; true when `visit` asked to stop.
  bool End() { return length_ != 0 && Finish(); }

 private:
  bool Finish() {
    std::size_t length = length_;
    if (last_ == '\r') {
      --length;
      if (length < kKeptLineBytes) line_.kept.pop_back();
    }
    line_.fields = length == 0 ? 0 : static_cast<int>(std::min<std::size_t>(commas_, kMaxCountedCommas) + 1);
    const bool stop = visit_(line_);
    line_ = HeadLine();
    commas_ = 0;
    length_ = 0;
    last_ = '\0';
    return stop;
  }

  std::function<bool(const HeadLine&)> visit_;
  HeadLine line_;
  std::size_t commas_ = 0;
  std::size_t length_ = 0;
  char last_ = '\0';
};

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

std::string Describe(const char* action, const std::string& path, int error) {
  return std::string(action) + ": " + path + " (" + std::strerror(error) + ")";
}

// Runs the scanner over the file; "" when it was read, else why it could not be. Only regular
// files are opened: a pipe could block for ever and a device could never end.
std::string ScanFile(const std::string& path, LineScanner& scanner) {
  if (path.find('\0') != std::string::npos) return "Invalid file name";
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return Describe("Cannot open", path, errno);
  if (!S_ISREG(status.st_mode)) return "Cannot open " + path + ": it is not a regular file";
  const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) return Describe("Cannot open", path, errno);
  std::array<char, 64 * 1024> buffer{};
  for (;;) {
    const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), file.get());
    if (scanner.Feed(std::string_view(buffer.data(), got))) return {};
    if (got < buffer.size()) break;
  }
  if (std::ferror(file.get())) return Describe("Cannot read", path, errno);
  scanner.End();
  return {};
}

// A UTF-16 text has a NUL beside every ASCII character; no drive line of bytes holds one.
bool HoldsNul(const DriveInfo& drive) {
  return drive.modelName.find('\0') != std::string::npos || drive.serialNumber.find('\0') != std::string::npos;
}

}  // namespace

bool MkFileName(const std::string& fname, std::string& convert, DriveInfo& drv_info, std::string* unreadable) {
  bool haveDriveLine = false;
  bool found = false;
  DriveInfo drive;
  LineScanner scanner([&](const HeadLine& line) {
    if (!haveDriveLine) {
      if (line.fields == 10) {
        drive.modelName = GetField(line.kept, 0);
        drive.serialNumber = GetField(line.kept, 1);
        haveDriveLine = true;
      }
      return false;
    }
    found = line.fields >= 12;
    return found;
  });
  std::string failure = ScanFile(fname, scanner);
  if (!failure.empty()) {
    if (unreadable != nullptr) *unreadable = std::move(failure);
    return false;
  }
  if (!found || drive.modelName.empty() || drive.serialNumber.empty() || HoldsNul(drive)) return false;
  // The extension of the file name alone: a dot in a folder name is no extension.
  const std::string extension = GetExtension(GetFileName(fname));
  convert = CalFileName(SafeNamePart(drive.modelName) + "_" + SafeNamePart(drive.serialNumber) + "." + extension);
  drv_info = std::move(drive);
  return true;
}

}  // namespace varst
