#include "data/LineReader.h"

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>

#include "common/Text.h"
#include "data/FileBuffer.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

namespace varst {
namespace {

using test::ScriptedPrompter;
using test::TempDir;

// Every line of the buffer as the reader returns it, up to and including the one with the
// at-end flag.
std::vector<std::string> ReadAll(std::string_view buffer, Prompter* prompter = nullptr) {
  std::vector<std::string> lines;
  std::size_t position = 0;
  bool atEnd = false;
  while (!atEnd) {
    const std::string_view line = ReadLine(buffer, position, atEnd, prompter);
    lines.emplace_back(line);
    if (line == kEndMarker) break;
  }
  return lines;
}

TEST(ReadLine, LineEnds) {
  using Lines = std::vector<std::string>;
  struct Case {
    const char* name;
    std::string bytes;
    Lines lines;
  };
  const Case cases[] = {
      {"CR LF throughout", "a,1\r\nb,2\r\n", Lines{"a,1", "b,2"}},
      {"last line without a line end keeps its last character", "a\r\nbc", Lines{"a", "bc"}},
      {"a single line without end", "xyz", Lines{"xyz"}},
      {"lone LF", "a\nb\n", Lines{"a", "b"}},
      {"lone CR ends a line and keeps the next byte", "a\rbc\r", Lines{"a", "bc"}},
      {"mixed", "a\r\nb\nc\rd", Lines{"a", "b", "c", "d"}},
      {"empty lines", "\r\n\r\nx\r\n", Lines{"", "", "x"}},
      {"one line end only", "\r\n", Lines{""}},
      {"blanks around the line go", "  a , b  \r\n", Lines{"a , b"}},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadAll(c.bytes), c.lines) << c.name;
}

TEST(ReadLine, LongLinesAreCutToTheirFirst1000Bytes) {
  const std::string line(5000, 'x');
  const auto lines = ReadAll(line + "\r\nnext\r\n");
  ASSERT_EQ(lines.size(), 2U);
  EXPECT_EQ(lines[0].size(), 1000U);
  EXPECT_EQ(lines[1], "next");
}

TEST(ReadLine, EmptyFileIsInvalid) {
  ScriptedPrompter prompter;
  prompter.ExpectMessage("データが不正です");
  EXPECT_EQ(ReadAll("", &prompter), std::vector<std::string>{"error error"});
  EXPECT_EQ(prompter.History().at(0).icon, MessageIcon::Critical);
}

TEST(ReadLine, NeverLooksPastTheBuffer) {
  // The view ends before a byte that would otherwise be read as part of the line.
  const std::string storage = "ab\rX";
  const auto lines = ReadAll(std::string_view(storage).substr(0, 3));
  EXPECT_EQ(lines, std::vector<std::string>{"ab"});
}

TEST(ReadLine, LoneCrLinesAreCountedWhole) {
  std::string bytes;
  for (int i = 0; i < 5000; ++i) bytes += "R," + std::to_string(i) + ",0,1,1\r";
  const auto lines = ReadAll(bytes);
  ASSERT_EQ(lines.size(), 5000U);
  EXPECT_EQ(lines.back(), "R,4999,0,1,1");
}

// The cost of reading stays linear in the file's size only if finding a line's end looks at
// no more than a few bytes after it. The lines fill a page that an unreadable page follows,
// and the view runs on into it: a reader that looks past a lone CR for an LF touches that
// page and faults.
TEST(ReadLine, FindsALineEndWithoutLookingPastIt) {
  const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  void* const mapped = mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(mapped, MAP_FAILED);
  ASSERT_EQ(mprotect(static_cast<char*>(mapped) + page, page, PROT_NONE), 0);
  char* const bytes = static_cast<char*>(mapped);
  const std::string line = "R,1,0,1,1\r";  // ten bytes; blanks without a line end fill the rest
  const std::size_t lineCount = (page - 32) / line.size();
  for (std::size_t i = 0; i < lineCount; ++i) line.copy(bytes + i * line.size(), line.size());
  std::fill(bytes + lineCount * line.size(), bytes + page, ' ');
  const std::string_view view(bytes, 2 * page);
  std::size_t position = 0;
  bool atEnd = false;
  for (std::size_t i = 0; i < lineCount; ++i) EXPECT_EQ(ReadLine(view, position, atEnd, nullptr), "R,1,0,1,1");
  EXPECT_EQ(position, lineCount * line.size());
  munmap(mapped, 2 * page);
}

TEST(StripTrailingCommas, RemovesOnlyTheEnd) {
  EXPECT_EQ(StripTrailingCommas("R,1,2,3,4,,,"), "R,1,2,3,4");
  EXPECT_EQ(StripTrailingCommas(",a,"), ",a");
  EXPECT_EQ(StripTrailingCommas(",,,"), "");
}

TEST(ClassifyLine, ByFieldCount) {
  struct Case {
    int fields;
    bool first;
    LineKind kind;
  };
  const Case cases[] = {
      {10, true, LineKind::DriveLine},     {12, true, LineKind::DriveLine},     {13, true, LineKind::DriveLine},
      {12, false, LineKind::Ignored},      {13, false, LineKind::ConditionLine}, {14, false, LineKind::ConditionLine},
      {600, false, LineKind::ConditionLine}, {5, false, LineKind::DataRecord}, {6, true, LineKind::DataRecord},
      {7, false, LineKind::Ignored},       {0, false, LineKind::Ignored},       {4, false, LineKind::Ignored},
      {10, false, LineKind::DriveLine},    {11, false, LineKind::Ignored},
  };
  for (const Case& c : cases) EXPECT_EQ(ClassifyLine(c.fields, c.first), c.kind) << c.fields << " " << c.first;
}

TEST(FileBuffer, ReadsRealFilesWhole) {
  TempDir dir;
  FileBuffer buffer;
  const std::string big(3'000'000, 'x');
  ASSERT_TRUE(buffer.ReadWholeFile(dir.Write("big.dat", big)));
  EXPECT_EQ(buffer.Size(), big.size());
  ASSERT_TRUE(buffer.ReadWholeFile(dir.Write("small.dat", "a,b\r\n")));
  EXPECT_EQ(buffer.View(), "a,b\r\n") << "the buffer is reused without stale bytes in view";
  ASSERT_TRUE(buffer.ReadWholeFile(dir.Write("empty.dat", "")));
  EXPECT_EQ(buffer.Size(), 0U);
  EXPECT_FALSE(buffer.ReadWholeFile(dir.File("missing.dat")));
  EXPECT_FALSE(buffer.ReadWholeFile(dir.Path())) << "a folder is not a file";
}

TEST(ReadLine, ClassifiesASampleFile) {
  const std::string file =
      "MODEL-X100,SN0001,156301488,ATA,FW1.00,512,7200,SATA,64MB,00,,\r\n"
      "0,0,156301487,0,0,256,100,100,0,0,0,0,-1,,,\r\n"
      "R,0,0,50.00,1,x\r\n"
      "R,785434,1,51.00,1,,,\r\n";
  std::size_t position = 0;
  bool atEnd = false;
  std::vector<LineKind> kinds;
  for (bool first = true; !atEnd; first = false) {
    const std::string_view line = StripTrailingCommas(ReadLine(file, position, atEnd, nullptr));
    kinds.push_back(ClassifyLine(static_cast<int>(SplitFields(std::string(line)).size()), first));
  }
  EXPECT_EQ(kinds, (std::vector<LineKind>{LineKind::DriveLine, LineKind::ConditionLine, LineKind::DataRecord,
                                          LineKind::DataRecord}));
}

}  // namespace
}  // namespace varst
