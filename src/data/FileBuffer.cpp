#include "data/FileBuffer.h"

#include <cstdio>
#include <new>

namespace varst {

bool FileBuffer::ReadWholeFile(const std::string& path) {
  size_ = 0;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  bool ok = std::fseek(file, 0, SEEK_END) == 0;
  const long length = ok ? std::ftell(file) : -1;
  ok = ok && length >= 0 && std::fseek(file, 0, SEEK_SET) == 0;
  if (ok && static_cast<std::size_t>(length) > capacity_) {
    // Left uninitialised on purpose: every byte up to the length is overwritten by the read.
    data_.reset(new (std::nothrow) char[static_cast<std::size_t>(length)]);
    capacity_ = data_ ? static_cast<std::size_t>(length) : 0;
    ok = data_ != nullptr;
  }
  if (ok && length > 0) {
    ok = std::fread(data_.get(), 1, static_cast<std::size_t>(length), file) == static_cast<std::size_t>(length);
  }
  std::fclose(file);
  size_ = ok ? static_cast<std::size_t>(length) : 0;
  return ok;
}

}  // namespace varst
