#pragma once
// What a drawing needs to pass over a stretch of a file's lines unread. A zoomed chart draws
// nothing of the records that lie left or right of its range, and the lines of a series it
// does not draw draw nothing at all; only the last point before the range matters, for the
// segment that enters it. The index is made while a file is drawn whole and kept while the
// file's size and time stamp stay the same.

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace varst {

// What the drawing saw of the line it was just given, when that was a data record it drew.
struct RecordFacts {
  bool record = false;      // a data record (five or six fields) that was drawn
  bool known = false;       // its type code is a known one
  bool breakAfter = false;  // the record ends the series' line
  bool valueRead = false;   // the value field was read as a number (the series is drawn)
  bool countRead = false;   // the count field was checked (a threshold is on)
  std::string_view code;    // the type code, viewing into the line
  double x = 0;
  double value = 0;
};

// A run of kLines lines (fewer at the end of a file).
struct RecordRun {
  static constexpr std::uint32_t kLines = 4096;
  std::uint64_t end = 0;     // where the line after the run starts
  std::uint32_t lines = 0;
  // Every line is a data record drawn without a break, of this type code, with a finite X
  // (and value, where read); only such a run can be passed over.
  bool passable = false;
  bool known = false;
  bool valuesRead = false;
  bool countsRead = false;
  std::string code;
  double minX = 0, maxX = 0, lastX = 0, lastValue = 0;
};

struct FileStamp {
  std::uintmax_t size = 0;
  std::filesystem::file_time_type written{};
  bool operator==(const FileStamp& other) const { return size == other.size && written == other.written; }
};

// The file's stamp now; false when it cannot be read.
[[nodiscard]] bool StampOf(const std::string& path, FileStamp& stamp);

struct RecordIndex {
  FileStamp stamp;
  std::vector<RecordRun> runs;  // run k holds lines k * kLines on
};

// Builds a file's index from the lines of one whole drawing of it, in order.
class RecordIndexBuilder {
 public:
  // A line that starts at offset; facts is null (or not a record) for any other line.
  void Line(std::uint64_t offset, const RecordFacts* facts);
  // The index of the lines given, the last of which ends at endOffset.
  [[nodiscard]] RecordIndex Finish(const FileStamp& stamp, std::uint64_t endOffset);

 private:
  void Close(std::uint64_t endOffset);
  std::vector<RecordRun> runs_;
  RecordRun run_;
};

// The indexes of the files drawn, by path. Off until switched on (a single drawing of a file
// has no use for one).
class RecordIndexes {
 public:
  void SwitchOn() { on_ = true; }
  [[nodiscard]] bool On() const { return on_; }
  // The index of the file, when it was made from the file as it is now.
  [[nodiscard]] const RecordIndex* Find(const std::string& path, const FileStamp& stamp) const;
  void Store(const std::string& path, RecordIndex index);
  // Runs passed over so far.
  void NotePassedOver() { ++passedOver_; }
  [[nodiscard]] std::uint64_t PassedOver() const { return passedOver_; }

 private:
  bool on_ = false;
  std::uint64_t passedOver_ = 0;
  std::map<std::string, RecordIndex> indexes_;
};

}  // namespace varst
