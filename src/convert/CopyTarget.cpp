#include "convert/CopyTarget.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "common/Paths.h"

namespace varst {
namespace {

WriteResult RefuseSource(const std::string& destination) {
  return {false, "The destination is the source file itself: " + destination};
}

}  // namespace

bool IsSameFile(const std::string& a, const std::string& b) {
  if (a.find('\0') != std::string::npos || b.find('\0') != std::string::npos) return false;
  std::error_code error;
  return std::filesystem::equivalent(std::filesystem::path(a), std::filesystem::path(b), error) && !error;
}

bool FileSystemTarget::Exists(const std::string& path) const { return FileExists(std::string_view(path)); }

void FileSystemTarget::MakeFolders(const std::string& folder) {
  if (!FolderExists(folder)) EnsureFolder(folder);
}

WriteResult FileSystemTarget::Copy(const std::string& source, const std::string& destination) {
  if (IsSameFile(source, destination)) return RefuseSource(destination);
  return CopyFileAtomically(source, destination);
}

bool DryRunTarget::Exists(const std::string& path) const {
  return planned_.count(path) != 0 || FileExists(std::string_view(path));
}

WriteResult DryRunTarget::Copy(const std::string& source, const std::string& destination) {
  if (destination.empty() || destination.find('\0') != std::string::npos) return {false, "Invalid file name"};
  if (IsSameFile(source, destination)) return RefuseSource(destination);
  std::FILE* file = source.find('\0') == std::string::npos ? std::fopen(source.c_str(), "rb") : nullptr;
  if (file == nullptr) return {false, "Cannot open " + source};
  std::fclose(file);
  planned_.insert(destination);
  return {true, {}};
}

}  // namespace varst
