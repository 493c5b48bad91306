#pragma once
// A file's lines read in fixed chunks into one buffer that is kept between files, so a file of
// any size costs a few megabytes of memory and no fresh pages per file. The lines are exactly
// those the line reader cuts from the whole file: a chunk is handed on up to its last line end
// whose kind is certain (a CR at a chunk's end may be the first half of a CR LF pair), and a
// line longer than a chunk keeps only the bytes the reader would keep of it.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

namespace varst {

enum class ChunkedRead {
  Complete,  // every line was handed on, or the visitor stopped
  Empty,     // the file is empty or cannot be opened: not one line
  Failed,    // the file could not be read to the end (it shrank, or a read error)
};

class ChunkedLines {
 public:
  static constexpr std::size_t kDefaultChunkBytes = std::size_t{4} << 20;

  explicit ChunkedLines(std::size_t chunkBytes = kDefaultChunkBytes) : chunkBytes_(chunkBytes) {}

  // Hands every line of the file at path, in order, to visit(line, first, progress), where
  // first is true for the file's first line and progress is the share of the file read so far;
  // visit returns false to stop. The file is read as far as its size when it was opened.
  template <typename Visit>
  ChunkedRead ForEachLine(const std::string& path, Visit&& visit);

  // While a visit runs: where in the file the line handed on starts.
  [[nodiscard]] std::uint64_t LineOffset() const { return OffsetAt(lineAt_); }
  // While a visit runs: the next line handed on is the one that starts at offset, a line start
  // that lies after the current line (one that an earlier read found); the lines between are
  // passed over unread.
  void SkipTo(std::uint64_t offset) { skipTo_ = offset; }
  // The size of the file being read, as it was when the read began.
  [[nodiscard]] std::uint64_t ReadSize() const { return fileSize_; }

 private:
  using Visitor = bool (*)(void* target, std::string_view line, bool first, double progress);
  ChunkedRead ForEach(const std::string& path, void* target, Visitor visitor);
  // Opens the file and measures it; false when it cannot be read or is empty.
  bool Open(const std::string& path);
  // Reads the next chunk after the kept tail; false on a read error or a short read.
  bool ReadChunk();
  // Drops what the buffer holds and goes on reading at offset.
  bool Seek(std::uint64_t offset);
  [[nodiscard]] std::uint64_t OffsetAt(std::size_t at) const {
    return at < newAt_ ? tailOffset_ + at : newOffset_ + (at - newAt_);
  }
  // The length of the buffer's front that ends with a line end whose kind is certain.
  [[nodiscard]] std::size_t CertainLength() const;
  // Keeps the bytes from `from` on at the buffer's front, or of an unfinished line without an
  // end, only what the reader keeps of a line.
  void KeepTail(std::size_t from);
  void Close();

  std::size_t chunkBytes_;
  std::unique_ptr<char[]> buffer_;
  std::size_t capacity_ = 0;
  std::size_t held_ = 0;       // bytes in the buffer
  std::size_t fileSize_ = 0;   // as measured when the file was opened
  std::size_t consumed_ = 0;   // bytes read from the file so far
  // Where the buffer's bytes lie in the file: its kept tail (one line's start, perhaps shorter
  // than in the file) starts at tailOffset_, the bytes from newAt_ on at newOffset_.
  std::uint64_t tailOffset_ = 0;
  std::size_t newAt_ = 0;
  std::uint64_t newOffset_ = 0;
  std::size_t lineAt_ = 0;  // where the line being visited starts in the buffer
  std::uint64_t skipTo_ = kNoSkip;
  static constexpr std::uint64_t kNoSkip = ~std::uint64_t{0};
  std::FILE* file_ = nullptr;
};

template <typename Visit>
ChunkedRead ChunkedLines::ForEachLine(const std::string& path, Visit&& visit) {
  return ForEach(path, &visit, [](void* target, std::string_view line, bool first, double progress) {
    return (*static_cast<std::remove_reference_t<Visit>*>(target))(line, first, progress);
  });
}

}  // namespace varst
