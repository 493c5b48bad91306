#include "data/ChunkedLines.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <new>
#include <system_error>

#ifndef _WIN32
#include <sys/types.h>
#endif

#include "data/LineReader.h"

namespace varst {

ChunkedRead ChunkedLines::ForEach(const std::string& path, void* target, Visitor visitor) {
  if (!Open(path)) return ChunkedRead::Empty;
  bool first = true;
  while (true) {
    if (!ReadChunk()) {
      Close();
      return ChunkedRead::Failed;
    }
    const bool last = consumed_ >= fileSize_;
    const std::size_t length = last ? held_ : CertainLength();
    const std::string_view lines(buffer_.get(), length);
    std::size_t position = 0;
    bool atEnd = false;
    const double progress = static_cast<double>(consumed_) / static_cast<double>(fileSize_);
    bool seeked = false;
    while (position < length) {
      skipTo_ = kNoSkip;
      lineAt_ = position;
      if (!visitor(target, ReadLine(lines, position, atEnd, nullptr), first, progress)) {
        Close();
        return ChunkedRead::Complete;
      }
      first = false;
      if (skipTo_ == kNoSkip) continue;
      // A line start in the bytes still held is reached in place; one further on by a seek.
      if (length >= newAt_ && skipTo_ >= newOffset_ && skipTo_ - newOffset_ <= length - newAt_) {
        position = newAt_ + static_cast<std::size_t>(skipTo_ - newOffset_);
        continue;
      }
      if (!Seek(skipTo_)) {
        Close();
        return ChunkedRead::Failed;
      }
      seeked = true;
      break;
    }
    if (seeked) continue;
    if (last) break;
    KeepTail(length);
  }
  Close();
  return ChunkedRead::Complete;
}

bool ChunkedLines::Seek(std::uint64_t offset) {
  if (offset > fileSize_) return false;
#ifdef _WIN32
  if (_fseeki64(file_, static_cast<__int64>(offset), SEEK_SET) != 0) return false;
#else
  if (fseeko(file_, static_cast<off_t>(offset), SEEK_SET) != 0) return false;
#endif
  held_ = 0;
  consumed_ = static_cast<std::size_t>(offset);
  tailOffset_ = offset;
  return true;
}

bool ChunkedLines::Open(const std::string& path) {
  Close();
  held_ = 0;
  consumed_ = 0;
  tailOffset_ = 0;
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error) || error) return false;
  const auto size = std::filesystem::file_size(path, error);
  if (error || size == 0) return false;
  fileSize_ = static_cast<std::size_t>(size);
  // A kept tail is at most one line's worth: the chunk and a line always fit. A file smaller
  // than a chunk needs no more than its own size.
  const std::size_t wanted = std::min(chunkBytes_, fileSize_) + kMaxLineLength + 2;
  if (capacity_ < wanted) {
    // A buffer that cannot be had is memory running out, not a file that cannot be read.
    buffer_.reset();
    capacity_ = 0;
    buffer_.reset(new char[wanted]);
    capacity_ = wanted;
  }
  file_ = std::fopen(path.c_str(), "rb");
  return file_ != nullptr;
}

bool ChunkedLines::ReadChunk() {
  const std::size_t wanted = std::min(chunkBytes_, fileSize_ - consumed_);
  newAt_ = held_;
  newOffset_ = consumed_;
  const std::size_t got = wanted == 0 ? 0 : std::fread(buffer_.get() + held_, 1, wanted, file_);
  held_ += got;
  consumed_ += got;
  return got == wanted && std::ferror(file_) == 0;
}

std::size_t ChunkedLines::CertainLength() const {
  const char* const bytes = buffer_.get();
  std::size_t end = held_;
  // A CR as the very last byte may be followed by an LF in the next chunk.
  if (end > 0 && bytes[end - 1] == '\r') --end;
  while (end > 0 && bytes[end - 1] != '\n' && bytes[end - 1] != '\r') --end;
  return end;
}

void ChunkedLines::KeepTail(std::size_t from) {
  char* const bytes = buffer_.get();
  tailOffset_ = OffsetAt(from);
  std::size_t tail = held_ - from;
  std::memmove(bytes, bytes + from, tail);
  // The tail is the start of one line, with no line end but perhaps a CR as its last byte: the
  // reader keeps the line's first bytes only, and the CR may still begin the line end.
  const bool endsInCr = tail > 0 && bytes[tail - 1] == '\r';
  const std::size_t keep = kMaxLineLength + 1;
  if (tail > keep + (endsInCr ? 1 : 0)) {
    if (endsInCr) bytes[keep] = '\r';
    tail = keep + (endsInCr ? 1 : 0);
  }
  held_ = tail;
}

void ChunkedLines::Close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
}

}  // namespace varst
