#include "data/RecordIndex.h"

#include <algorithm>
#include <cmath>
#include <system_error>

namespace varst {

bool StampOf(const std::string& path, FileStamp& stamp) {
  std::error_code error;
  stamp.size = std::filesystem::file_size(path, error);
  if (error) return false;
  stamp.written = std::filesystem::last_write_time(path, error);
  return !error;
}

void RecordIndexBuilder::Line(std::uint64_t offset, const RecordFacts* facts) {
  if (run_.lines == RecordRun::kLines) Close(offset);
  const bool fits = facts != nullptr && facts->record && !facts->breakAfter && std::isfinite(facts->x) &&
                    (!facts->valueRead || std::isfinite(facts->value));
  if (run_.lines == 0) {
    run_.passable = fits;
    if (fits) {
      run_.code = std::string(facts->code);
      run_.known = facts->known;
      run_.valuesRead = facts->valueRead;
      run_.countsRead = facts->countRead;
      run_.minX = run_.maxX = facts->x;
    }
  } else if (run_.passable) {
    run_.passable = fits && facts->code == run_.code;
    if (run_.passable) {
      run_.valuesRead = run_.valuesRead && facts->valueRead;
      run_.countsRead = run_.countsRead && facts->countRead;
      run_.minX = std::min(run_.minX, facts->x);
      run_.maxX = std::max(run_.maxX, facts->x);
    }
  }
  if (run_.passable) {
    run_.lastX = facts->x;
    run_.lastValue = facts->value;
  }
  ++run_.lines;
}

void RecordIndexBuilder::Close(std::uint64_t endOffset) {
  run_.end = endOffset;
  if (!run_.passable) run_.code.clear();
  runs_.push_back(std::move(run_));
  run_ = RecordRun{};
}

RecordIndex RecordIndexBuilder::Finish(const FileStamp& stamp, std::uint64_t endOffset) {
  if (run_.lines > 0) Close(endOffset);
  RecordIndex index{stamp, std::move(runs_)};
  runs_.clear();
  return index;
}

const RecordIndex* RecordIndexes::Find(const std::string& path, const FileStamp& stamp) const {
  const auto found = indexes_.find(path);
  return found != indexes_.end() && found->second.stamp == stamp ? &found->second : nullptr;
}

void RecordIndexes::Store(const std::string& path, RecordIndex index) { indexes_[path] = std::move(index); }

}  // namespace varst
