#pragma once
// A file in memory. The buffer is kept between files, so reading the next file of a load
// reuses the memory of the last one; it grows to the largest file read. Reading the file it
// already holds, unchanged since (same size and modification time), costs nothing.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace varst {

class FileBuffer {
 public:
  // Reads the whole file; false (and an empty buffer) when it cannot be opened or read, or
  // when it does not fit in memory.
  bool ReadWholeFile(const std::string& path);

  // Reads at most the first maxBytes of the file (all of it when it is not longer).
  bool ReadFileHead(const std::string& path, std::size_t maxBytes);

  [[nodiscard]] std::string_view View() const { return {data_.get(), size_}; }
  [[nodiscard]] std::size_t Size() const { return size_; }
  // Whether the buffer holds the whole file rather than its head.
  [[nodiscard]] bool Complete() const { return complete_; }

 private:
  struct Identity {
    std::string path;
    std::uint64_t size = 0;
    std::int64_t modified = 0;
    bool operator==(const Identity& other) const {
      return path == other.path && size == other.size && modified == other.modified;
    }
  };
  bool Read(const std::string& path, std::size_t maxBytes);

  std::unique_ptr<char[]> data_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
  bool complete_ = false;
  Identity held_;
};

}  // namespace varst
