#include "data/ChunkedLines.h"

#include <gtest/gtest.h>

#include "data/LineReader.h"
#include "support/TempDir.h"

namespace varst {
namespace {

using test::TempDir;
using Lines = std::vector<std::string>;

// The lines as the reader cuts them from the whole buffer, and whether each is the first.
Lines WholeBuffer(std::string_view bytes) {
  Lines lines;
  std::size_t position = 0;
  bool atEnd = false;
  while (!atEnd) lines.emplace_back(ReadLine(bytes, position, atEnd, nullptr));
  return lines;
}

Lines Chunked(ChunkedLines& reader, const std::string& path, ChunkedRead& result) {
  Lines lines;
  result = reader.ForEachLine(path, [&](std::string_view line, bool first, double progress) {
    EXPECT_EQ(first, lines.empty());
    EXPECT_GT(progress, 0.0);
    EXPECT_LE(progress, 1.0);
    lines.emplace_back(line);
    return true;
  });
  return lines;
}

TEST(ChunkedLines, CutsTheLinesTheWholeFileWouldGiveAtEveryChunkSize) {
  const std::string longLine = "  " + std::string(1500, 'x') + "  ";
  const std::string blanksAtTheCut = std::string(999, 'y') + std::string(10, ' ') + "z";
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"CR LF", "D,1,2\r\n0,0,9\r\nR,1,0,5,1\r\nR,2,1,6,1\r\n"},
      {"lone CR", "D,1,2\r0,0,9\rR,1,0,5,1\rR,2,1,6,1\r"},
      {"lone LF", "D,1,2\n0,0,9\nR,1,0,5,1\n"},
      {"mixed, and CR LF split in every way", "a\r\n\rb\n\r\r\nc\r"},
      {"last line without a line end", "a\r\nbc"},
      {"empty lines", "\r\n\r\n\r\nx"},
      {"lines longer than a chunk and than the reader keeps", longLine + "\r\n" + longLine + "\rtail"},
      {"a long line cut where blanks end its kept part", blanksAtTheCut + "\r\nnext"},
      {"a long last line ending in a lone CR", longLine + "\r"},
  };
  TempDir dir;
  for (const auto& c : cases) {
    const std::string path = dir.Write("file.dat", c.bytes);
    const Lines expected = WholeBuffer(c.bytes);
    for (const std::size_t chunk : {1, 2, 3, 5, 7, 64, 1001, 4096}) {
      ChunkedLines reader(chunk);
      ChunkedRead result = ChunkedRead::Failed;
      EXPECT_EQ(Chunked(reader, path, result), expected) << c.name << ", chunk " << chunk;
      EXPECT_EQ(result, ChunkedRead::Complete) << c.name;
      // Each line's offset, and a skip from the first line to it gives the lines from it on.
      std::vector<std::uint64_t> offsets;
      reader.ForEachLine(path, [&](std::string_view, bool, double) {
        offsets.push_back(reader.LineOffset());
        return true;
      });
      ASSERT_EQ(offsets.size(), expected.size()) << c.name;
      for (std::size_t to = 1; to < offsets.size(); ++to) {
        Lines got;
        reader.ForEachLine(path, [&](std::string_view line, bool first, double) {
          got.emplace_back(line);
          if (first) reader.SkipTo(offsets[to]);
          return true;
        });
        Lines want{expected.front()};
        want.insert(want.end(), expected.begin() + static_cast<std::ptrdiff_t>(to), expected.end());
        EXPECT_EQ(got, want) << c.name << ", chunk " << chunk << ", skip to line " << to;
      }
    }
  }
}

TEST(ChunkedLines, EmptyOrMissingFilesGiveNoLine) {
  TempDir dir;
  ChunkedLines reader(8);
  for (const std::string& path : {dir.Write("empty.dat", ""), dir.File("missing.dat"), dir.Path()}) {
    ChunkedRead result = ChunkedRead::Complete;
    EXPECT_TRUE(Chunked(reader, path, result).empty()) << path;
    EXPECT_EQ(result, ChunkedRead::Empty) << path;
  }
}

TEST(ChunkedLines, TheVisitorStopsTheRead) {
  TempDir dir;
  const std::string path = dir.Write("file.dat", "a\r\nb\r\nc\r\n");
  ChunkedLines reader(2);
  Lines seen;
  const ChunkedRead result = reader.ForEachLine(path, [&](std::string_view line, bool, double) {
    seen.emplace_back(line);
    return line != "b";
  });
  EXPECT_EQ(result, ChunkedRead::Complete);
  EXPECT_EQ(seen, (Lines{"a", "b"}));
}

}  // namespace
}  // namespace varst
