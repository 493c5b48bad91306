#pragma once
// A whole file in memory. The buffer is kept between files, so reading the next file of a
// load reuses the memory of the last one; it grows to the largest file read.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace varst {

class FileBuffer {
 public:
  // Reads the whole file; false (and an empty buffer) when it cannot be opened or read, or
  // when it does not fit in memory.
  bool ReadWholeFile(const std::string& path);

  [[nodiscard]] std::string_view View() const { return {data_.get(), size_}; }
  [[nodiscard]] std::size_t Size() const { return size_; }

 private:
  std::unique_ptr<char[]> data_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

}  // namespace varst
