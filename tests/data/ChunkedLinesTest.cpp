#include "data/ChunkedLines.h"
#include "data/LinePipeline.h"

#include <gtest/gtest.h>

#include <cstring>
#include <new>

#include "common/Numbers.h"
#include "common/Text.h"
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
      {"records, odd ones too", "R,1,0,5,1\r\nR, 2 ,1,6.5,1,,,\r\n,,,,\r\nR,x,0,5,1\r\nR,1,0,y,1\r\nR,1,0,5,1,0\r\n"
                                "R,1,0,5,1,0,7\r\nR,1,0\r\n,\r\nR,1e999,0,-0,1\r\n"
                                "RA,   123456789012,  1234567,  80.123456789,  123456789,  1\r\n"
                                "R,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17\r\n,,,,,,,,,,,,,,,,,,\r\n"
                                "WR,18446744073709551616,0,0.000000000000000000001,1\r\n"
                                // Commas in the last bytes of a line of 16 bytes or more.
                                "R,12345,0,80.4,1\r\nR,1234567,89,80.46,1\r\nW,1234567,89,80.46,1,0\r\n"
                                "R,1,2,3,4,5,6789012345,7\r\nR,1,2,3,4567890123456789,5\r\n"},
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
      // Through the reader thread: the same lines without trailing commas, at the same
      // offsets, each taken apart as the drawing would, whatever the batches.
      for (const std::size_t batch : {1, 9, 4096}) {
        LinePipeline pipeline(chunk, batch);
        std::size_t at = 0;
        const ChunkedRead read = pipeline.ForEachLine(path, [&](std::string_view line, const ParsedLine& parsed) {
          const std::string where = std::string(c.name) + ", line " + std::to_string(at);
          EXPECT_LT(at, expected.size()) << where;
          if (at >= expected.size()) return false;
          EXPECT_EQ(line, StripTrailingCommas(expected[at])) << where;
          EXPECT_EQ(parsed.offset, offsets[at]) << where;
          EXPECT_EQ(parsed.first, at == 0) << where;
          LineFields fields;
          const int n = fields.Split(line);
          EXPECT_EQ(parsed.fields, n == 5 || n == 6 ? n : 0) << where;
          if (parsed.fields != 0) {
            for (int i = 0; i + 1 < n; ++i) {
              EXPECT_EQ(parsed.ends[static_cast<std::size_t>(i)], fields[i].data() + fields[i].size() - line.data())
                  << where << ", field " << i;
            }
            double x = 0, value = 0;
            EXPECT_EQ(parsed.xRead, TryParseDouble(fields[1], x)) << where;
            EXPECT_EQ(parsed.valueRead, TryParseDouble(fields[3], value)) << where;
            // The very same doubles, a negative zero too.
            EXPECT_EQ(std::memcmp(&parsed.x, &x, sizeof x) == 0 || !parsed.xRead, true) << where;
            EXPECT_EQ(std::memcmp(&parsed.value, &value, sizeof value) == 0 || !parsed.valueRead, true) << where;
          }
          ++at;
          return true;
        });
        EXPECT_EQ(read, ChunkedRead::Complete) << c.name;
        EXPECT_EQ(at, expected.size()) << c.name << ", chunk " << chunk << ", batch " << batch;
      }
    }
  }
}

TEST(ChunkedLines, EmptyOrMissingFilesGiveNoLine) {
  TempDir dir;
  ChunkedLines reader(8);
  LinePipeline pipeline(8, 8);
  for (const std::string& path : {dir.Write("empty.dat", ""), dir.File("missing.dat"), dir.Path()}) {
    ChunkedRead result = ChunkedRead::Complete;
    EXPECT_TRUE(Chunked(reader, path, result).empty()) << path;
    EXPECT_EQ(result, ChunkedRead::Empty) << path;
    int lines = 0;
    EXPECT_EQ(pipeline.ForEachLine(path, [&](std::string_view, const ParsedLine&) { return ++lines > 0; }),
              ChunkedRead::Empty);
    EXPECT_EQ(lines, 0);
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
  // The reader thread stops too, whether it waits for the drawing or is still reading, and an
  // exception of the drawing leaves no thread behind.
  for (const std::size_t batch : {1, 4096}) {
    LinePipeline pipeline(2, batch);
    seen.clear();
    EXPECT_EQ(pipeline.ForEachLine(path, [&](std::string_view line, const ParsedLine&) {
      seen.emplace_back(line);
      return line != "b";
    }), ChunkedRead::Complete);
    EXPECT_EQ(seen, (Lines{"a", "b"}));
    EXPECT_THROW(pipeline.ForEachLine(path, [](std::string_view, const ParsedLine&) -> bool { throw std::bad_alloc(); }),
                 std::bad_alloc);
  }
}

}  // namespace
}  // namespace varst
