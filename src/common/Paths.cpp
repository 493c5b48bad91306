#include "common/Paths.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace varst {
namespace {

std::size_t LastSeparator(std::string_view path) { return path.find_last_of("\\/"); }

bool IsDirectory(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_directory(std::filesystem::path(path), error);
}

// Only a regular file (or a link to one) is a file: opening a named pipe waits for a writer,
// and a device may never end.
bool IsRegularFile(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(std::filesystem::path(path), error);
}

bool CreateOneFolder(const std::string& path, bool& parentMissing) {
  std::error_code error;
  std::filesystem::create_directory(std::filesystem::path(path), error);
  parentMissing = error == std::errc::no_such_file_or_directory;
  return !error;
}

}  // namespace

bool IsPathSeparator(char c) { return c == '\\' || c == '/'; }

bool FileExists(std::string& path) {
  if (path.empty()) return false;
  if (IsPathSeparator(path.back())) path.pop_back();
  return FileExists(std::string_view(path));
}

bool FileExists(std::string_view path) {
  if (path.empty()) return false;
  if (IsPathSeparator(path.back())) path.remove_suffix(1);
  if (path.empty() || path.find('\0') != std::string_view::npos) return false;
  const std::string native(path);
  if (!IsRegularFile(native)) return false;
  std::FILE* file = std::fopen(native.c_str(), "rb");
  if (file == nullptr) return false;
  std::fclose(file);
  return true;
}

bool FolderExists(std::string_view path) {
  if (path.empty() || path.find('\0') != std::string_view::npos) return false;
  const std::string native(path);
#ifdef _WIN32
  return IsDirectory(native);
#else
  return IsDirectory(native) && ::access(native.c_str(), X_OK) == 0;
#endif
}

std::string GetFileName(std::string_view path) {
  const auto at = LastSeparator(path);
  return std::string(at == std::string_view::npos ? path : path.substr(at + 1));
}

std::string GetFolderPart(std::string_view path) {
  const std::string name = GetFileName(path);
  std::string_view rest = path.substr(0, path.size() - name.size());
  if (!rest.empty() && IsPathSeparator(rest.back())) {
    rest.remove_suffix(1);
    return std::string(rest);
  }
  if (!rest.empty() && rest.back() == ':') return std::string(rest);
  return {};
}

std::string GetExtension(std::string_view text) {
  const auto at = text.rfind('.');
  return at == std::string_view::npos ? std::string() : std::string(text.substr(at + 1));
}

std::string GetBaseName(std::string_view path) {
  std::string name = GetFileName(path);
  if (!name.empty()) {
    const std::string extension = GetExtension(name);
    if (!extension.empty()) name.resize(name.size() - extension.size() - 1);
  }
  return name;
}

std::string AddBackslash(std::string& folder) {
  if (folder.empty()) return {};
  while (!folder.empty() && folder.back() == ' ') folder.pop_back();
  if (folder.empty() || !IsPathSeparator(folder.back())) return folder + kPathSeparator;
  return folder;
}

std::string WithSeparator(std::string_view folder) {
  std::string copy(folder);
  return AddBackslash(copy);
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  if (folder.empty()) return std::string(1, kPathSeparator) + std::string(name);
  std::string joined(folder);
  if (!IsPathSeparator(joined.back())) joined += kPathSeparator;
  return joined + std::string(name);
}

bool EnsureFolder(std::string_view folder) {
  if (FolderExists(WithSeparator(folder))) return false;
  return MakeFolderTree(folder);
}

bool MakeFolderTree(std::string_view folder) {
  std::string path(folder);
  while (path.size() > 1 && IsPathSeparator(path.back())) path.pop_back();
  if (path.empty() || path.find('\0') != std::string::npos) return false;
  bool parentMissing = false;
  if (!CreateOneFolder(path, parentMissing) && parentMissing) {
    const std::string parent = GetFolderPart(path);
    if (!parent.empty() && parent != path && MakeFolderTree(parent)) {
      CreateOneFolder(path, parentMissing);
    }
  }
  return IsDirectory(path);
}

void MakeFolder(std::string_view path) {
  std::string native(path);
  while (native.size() > 1 && IsPathSeparator(native.back())) native.pop_back();
  if (native.empty() || native.find('\0') != std::string::npos) return;
  bool parentMissing = false;
  CreateOneFolder(native, parentMissing);
}

}  // namespace varst
