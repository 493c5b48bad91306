#include "convert/CopyTarget.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include <sys/stat.h>

namespace varst {
namespace {

CopyResult RefuseSource(const std::string& destination) {
  return {CopyResult::Kind::Failed, "The destination is one of the source files: " + destination};
}

// The folder a copy's temporary goes to: the destination's folder as the system sees it.
std::string SystemFolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace

void FileIdentities::Add(const std::string& path) {
  struct stat status {};
  if (path.find('\0') == std::string::npos && ::stat(path.c_str(), &status) == 0) {
    ids_.emplace(status.st_dev, status.st_ino);
  }
}

bool FileIdentities::Holds(const std::string& path) const {
  if (ids_.empty() || path.find('\0') != std::string::npos) return false;
  struct stat status {};
  if (::lstat(path.c_str(), &status) == 0 && ids_.count({status.st_dev, status.st_ino}) != 0) return true;
  return ::stat(path.c_str(), &status) == 0 && ids_.count({status.st_dev, status.st_ino}) != 0;
}

bool FileSystemTarget::Exists(const std::string& path) const { return DestinationExists(path); }

void FileSystemTarget::MakeFolders(const std::string& folder) {
  // Split at the system's separator only: a "\" here is part of a name (the second byte of a
  // Shift_JIS character, or a date text), and splitting there would make stray folders.
  if (folder.empty() || folder.find('\0') != std::string::npos) return;
  std::error_code ignored;
  std::filesystem::create_directories(std::filesystem::path(folder), ignored);
}

void FileSystemTarget::ProtectSources(const std::vector<std::string>& sources) {
  for (const std::string& source : sources) sources_.Add(source);
}

CopyResult FileSystemTarget::Copy(const std::string& source, const std::string& destination, Placement placement) {
  const std::string folder = SystemFolderOf(destination);
  if (cleanedFolders_.insert(folder).second) RemoveStaleCopyTemporaries(folder);
  if (sources_.Holds(destination)) return RefuseSource(destination);
  FileIdentities self;
  self.Add(source);
  if (self.Holds(destination)) return RefuseSource(destination);
  return CopyToDestination(source, destination, placement);
}

bool DryRunTarget::Exists(const std::string& path) const {
  return planned_.count(path) != 0 || DestinationExists(path);
}

void DryRunTarget::ProtectSources(const std::vector<std::string>& sources) {
  for (const std::string& source : sources) sources_.Add(source);
}

CopyResult DryRunTarget::Copy(const std::string& source, const std::string& destination, Placement placement) {
  if (destination.empty() || destination.find('\0') != std::string::npos) {
    return {CopyResult::Kind::Failed, "Invalid file name"};
  }
  if (placement == Placement::Claim && Exists(destination)) return {CopyResult::Kind::NameTaken, {}};
  if (sources_.Holds(destination)) return RefuseSource(destination);
  if (placement == Placement::Replace) {
    std::string refusal = WhyNotReplaceable(destination);
    if (!refusal.empty()) return {CopyResult::Kind::Failed, std::move(refusal)};
  }
  std::FILE* file = source.find('\0') == std::string::npos ? std::fopen(source.c_str(), "rb") : nullptr;
  if (file == nullptr) return {CopyResult::Kind::Failed, "Cannot open " + source};
  std::fclose(file);
  planned_.insert(destination);
  return {CopyResult::Kind::Copied, {}};
}

}  // namespace varst
