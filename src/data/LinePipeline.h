#pragma once
// A file's lines read and taken apart on a second thread while the first one draws them. The
// reader thread cuts the lines exactly as ChunkedLines does, removes their trailing commas, and
// for a data record (five or six fields) notes where its fields end and reads its X and value
// as numbers, the very reading the drawing would do; the drawing thread is handed the lines in
// order with what was worked out of them. The lines go over in batches of about a quarter of a
// megabyte, eight of which exist at a time, so memory stays bound whatever the file's size;
// small batches let the drawing start early and wait little when the reader falls behind (as
// it does while a third thread takes its turn on two cores).

#include <array>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "data/ChunkedLines.h"

namespace varst {

struct ParsedLine {
  std::uint64_t offset = 0;  // where the line starts in the file
  double progress = 0;       // the share of the file read when the line was cut
  double x = 0;              // field 1 of a data record, when xRead
  double value = 0;          // field 3 of a data record, when valueRead
  std::uint32_t at = 0;      // the line, without trailing commas, in its batch's text
  std::uint16_t length = 0;
  std::uint16_t fields = 0;  // 5 or 6 for a data record, whose field ends are noted; else 0
  // Where field i ends, for i below fields - 1 (the last one ends with the line); the sixth
  // place only serves the search.
  std::array<std::uint16_t, 6> ends{};
  bool first = false;
  bool xRead = false;
  bool valueRead = false;

  // Field i of a data record, line being the record's text; empty beyond its fields.
  [[nodiscard]] std::string_view Field(std::string_view line, int i) const {
    if (i < 0 || i >= fields) return {};
    const std::size_t start = i == 0 ? 0 : ends[static_cast<std::size_t>(i - 1)] + 1U;
    const std::size_t end = i + 1 < fields ? ends[static_cast<std::size_t>(i)] : line.size();
    return line.substr(start, end - start);
  }
};

// Works out of a line (trailing commas removed) what ParsedLine holds of it, but its place.
void ParseLine(std::string_view line, ParsedLine& parsed);

class LinePipeline {
 public:
  static constexpr std::size_t kDefaultBatchBytes = std::size_t{1} << 18;

  explicit LinePipeline(std::size_t chunkBytes = ChunkedLines::kDefaultChunkBytes,
                        std::size_t batchBytes = kDefaultBatchBytes)
      : reader_(chunkBytes), batchBytes_(batchBytes) {}

  // Hands every line of the file at path, in order, to visit(line, parsed), where line has no
  // trailing commas and parsed is what ParseLine worked out of it with its place in the file;
  // visit returns false to stop. The outcomes are those of ChunkedLines::ForEachLine, and an
  // exception of the reader thread (memory ran out) comes out of this call.
  template <typename Visit>
  ChunkedRead ForEachLine(const std::string& path, Visit&& visit);

  // The size of the file read last, as it was when the read began.
  [[nodiscard]] std::uint64_t ReadSize() const { return reader_.ReadSize(); }

 private:
  using Visitor = bool (*)(void* target, std::string_view line, const ParsedLine& parsed);
  ChunkedRead ForEach(const std::string& path, void* target, Visitor visitor);
  // Fills parsed from a line the reader hands on; the line without its trailing commas.
  std::string_view TakeLine(std::string_view raw, bool first, double progress, ParsedLine& parsed) const;
  // The same without a second thread.
  ChunkedRead ReadHere(const std::string& path, void* target, Visitor visitor);

  struct Batch {
    std::vector<char> text;
    std::vector<ParsedLine> lines;
    bool ready = false;  // filled by the reader and not yet drawn
  };
  ChunkedLines reader_;
  std::size_t batchBytes_;
  static constexpr std::size_t kBatches = 8;
  std::array<Batch, kBatches> batches_;
};

template <typename Visit>
ChunkedRead LinePipeline::ForEachLine(const std::string& path, Visit&& visit) {
  return ForEach(path, &visit, [](void* target, std::string_view line, const ParsedLine& parsed) {
    return (*static_cast<std::remove_reference_t<Visit>*>(target))(line, parsed);
  });
}

}  // namespace varst
