#include "app/OutputFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace varst {
namespace {

WriteResult WriteInPlace(const std::string& path, const std::function<bool(const ChunkWriter& write)>& produce) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return {false, "Cannot open: " + path + " (" + std::strerror(errno) + ")"};
  int error = 0;
  const ChunkWriter write = [&](const char* data, std::size_t size) {
    if (error == 0 && size != 0 && std::fwrite(data, 1, size, file) != size) error = errno != 0 ? errno : EIO;
    return error == 0;
  };
  const bool produced = produce(write);
  if (std::fflush(file) != 0 && error == 0) error = errno;
  if (std::fclose(file) != 0 && error == 0) error = errno;
  if (error != 0) return {false, "Cannot write: " + path + " (" + std::strerror(error) + ")"};
  if (!produced) return {false, "Cannot write " + path};
  return {true, {}};
}

}  // namespace

bool IsOneOfTheFiles(const std::string& output, const std::vector<std::string>& inputs) {
  struct stat target {};
  if (::stat(output.c_str(), &target) != 0) return false;
  for (const std::string& input : inputs) {
    struct stat file {};
    if (::stat(input.c_str(), &file) == 0 && file.st_dev == target.st_dev && file.st_ino == target.st_ino) return true;
  }
  return false;
}

WriteResult WriteOutputFile(const std::string& path, const std::function<bool(const ChunkWriter& write)>& produce) {
  struct stat existing {};
  if (::stat(path.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode) && !S_ISDIR(existing.st_mode)) {
    return WriteInPlace(path, produce);
  }
  std::error_code error;
  std::string target = path;
  if (std::filesystem::is_symlink(path, error)) {
    const std::filesystem::path resolved = std::filesystem::canonical(path, error);
    if (!error) target = resolved.string();
  }
  return WriteFileAtomicallyFrom(target, produce);
}

}  // namespace varst
