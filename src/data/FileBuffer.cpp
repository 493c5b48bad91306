#include "data/FileBuffer.h"

#include <cstdio>
#include <filesystem>
#include <limits>
#include <new>
#include <system_error>

namespace varst {
namespace {

// What the file is now: its size and modification time, or nothing when it cannot be seen.
bool Identify(const std::string& path, std::uint64_t& size, std::int64_t& modified) {
  std::error_code error;
  const std::filesystem::path file(path);
  if (!std::filesystem::is_regular_file(file, error) || error) return false;
  size = std::filesystem::file_size(file, error);
  if (error) return false;
  modified = std::filesystem::last_write_time(file, error).time_since_epoch().count();
  return !error;
}

}  // namespace

bool FileBuffer::ReadWholeFile(const std::string& path) { return Read(path, static_cast<std::size_t>(-1)); }

bool FileBuffer::ReadFileHead(const std::string& path, std::size_t maxBytes) { return Read(path, maxBytes); }

bool FileBuffer::Read(const std::string& path, std::size_t maxBytes) {
  Identity now{path, 0, 0};
  if (!Identify(path, now.size, now.modified)) {
    size_ = 0;
    complete_ = false;
    held_ = {};
    return false;
  }
  if (now == held_ && (complete_ || size_ >= std::min<std::uint64_t>(maxBytes, now.size))) return true;

  size_ = 0;
  complete_ = false;
  held_ = {};
  const std::uint64_t wanted = std::min<std::uint64_t>(maxBytes, now.size);
  if (wanted > capacity_) {
    // Left uninitialised on purpose: every byte up to the length is overwritten by the read.
    // A file that does not fit in memory throws std::bad_alloc: the command says that memory
    // ran out, not that the file is invalid.
    data_.reset();
    capacity_ = 0;
    if (wanted > std::numeric_limits<std::size_t>::max()) throw std::bad_alloc();
    data_.reset(new char[static_cast<std::size_t>(wanted)]);
    capacity_ = static_cast<std::size_t>(wanted);
  }
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  const std::size_t got = wanted == 0 ? 0 : std::fread(data_.get(), 1, static_cast<std::size_t>(wanted), file);
  // A file that grew since it was measured is taken as far as it was measured.
  const bool ok = got == wanted && std::ferror(file) == 0;
  std::fclose(file);
  if (!ok) return false;
  size_ = got;
  complete_ = wanted == now.size;
  held_ = now;
  return true;
}

}  // namespace varst
