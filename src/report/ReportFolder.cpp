#include "report/ReportFolder.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

namespace varst {
namespace fs = std::filesystem;

namespace {

fs::path Beside(const fs::path& dir, const std::string& suffix) {
  fs::path clean = dir.lexically_normal();
  if (!clean.has_filename()) clean = clean.parent_path();
  const fs::path parent = clean.has_parent_path() ? clean.parent_path() : fs::path(".");
  return parent / ("." + clean.filename().string() + suffix);
}

}  // namespace

std::string ReportFolderProblem(const std::string& dir) {
  std::error_code error;
  const fs::file_status status = fs::symlink_status(dir, error);
  if (status.type() == fs::file_type::not_found) return "";
  if (status.type() != fs::file_type::directory) return "not a folder: " + dir;
  if (fs::is_empty(dir, error)) return error ? "cannot read the folder " + dir : "";
  const fs::path base(dir);
  if (fs::is_regular_file(base / "summary.csv", error) && fs::is_regular_file(base / "index.html", error)) return "";
  return "the folder holds other files than a report: " + dir;
}

std::string MakeStagingFolder(const std::string& dir, std::string& why) {
  std::string pattern = Beside(dir, ".staging-XXXXXX").string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (mkdtemp(buffer.data()) == nullptr) {
    why = "cannot make a folder beside " + dir + ": " + std::strerror(errno);
    return "";
  }
  return buffer.data();
}

bool CommitReportFolder(const std::string& staging, const std::string& dir, std::string& why) {
  std::error_code error;
  const bool exists = fs::exists(fs::symlink_status(dir, error));
  std::string old;
  if (exists) {
    old = Beside(dir, ".old-" + std::to_string(getpid())).string();
    fs::rename(dir, old, error);
    if (error) {
      why = "cannot replace " + dir + ": " + error.message();
      return false;
    }
  }
  fs::rename(staging, dir, error);
  if (error) {
    why = "cannot move the report into " + dir + ": " + error.message();
    if (exists) fs::rename(old, dir, error);
    return false;
  }
  if (exists) fs::remove_all(old, error);
  return true;
}

}  // namespace varst
