#include "data/LinePipeline.h"

#include <condition_variable>
#include <mutex>
#include <thread>

#include "common/Numbers.h"
#include "data/LineReader.h"

namespace varst {

void ParseLine(std::string_view line, ParsedLine& parsed) {
  parsed.fields = 0;
  parsed.xRead = parsed.valueRead = false;
  std::array<std::uint16_t, 6> ends{};
  std::size_t commas = 0;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] != ',') continue;
    if (++commas > 5) return;  // seven fields or more: not a data record
    ends[commas - 1] = static_cast<std::uint16_t>(i);
  }
  if (line.empty() || commas < 4) return;
  parsed.fields = static_cast<std::uint16_t>(commas + 1);
  std::copy(ends.begin(), ends.begin() + 5, parsed.ends.begin());
  const auto field = [&](std::size_t i) {
    const std::size_t start = ends[i - 1] + 1U;
    const std::size_t end = i < commas ? ends[i] : line.size();
    return line.substr(start, end - start);
  };
  parsed.xRead = TryParseDouble(field(1), parsed.x);
  parsed.valueRead = TryParseDouble(field(3), parsed.value);
}

ChunkedRead LinePipeline::ForEach(const std::string& path, void* target, Visitor visitor) {
  std::mutex mutex;
  std::condition_variable changed;
  bool done = false;     // the reader has handed over its last batch
  bool stop = false;     // the drawing wants no more lines
  ChunkedRead outcome = ChunkedRead::Complete;
  std::exception_ptr failure;
  for (Batch& batch : batches_) batch.ready = false;

  std::thread reader([&] {
    try {
      std::size_t slot = 0;
      Batch* batch = &batches_[slot];
      batch->text.clear();
      batch->lines.clear();
      const auto handOver = [&] {
        std::unique_lock<std::mutex> lock(mutex);
        batch->ready = true;
        changed.notify_all();
        slot ^= 1U;
        batch = &batches_[slot];
        changed.wait(lock, [&] { return stop || !batch->ready; });
        if (stop) return false;
        lock.unlock();
        batch->text.clear();
        batch->lines.clear();
        return true;
      };
      const ChunkedRead read = reader_.ForEachLine(path, [&](std::string_view raw, bool first, double progress) {
        if (batch->text.size() >= batchBytes_ && !handOver()) return false;
        const std::string_view line = StripTrailingCommas(raw);
        ParsedLine& parsed = batch->lines.emplace_back();
        parsed.offset = reader_.LineOffset();
        parsed.progress = progress;
        parsed.first = first;
        parsed.at = static_cast<std::uint32_t>(batch->text.size());
        parsed.length = static_cast<std::uint16_t>(line.size());
        batch->text.insert(batch->text.end(), line.begin(), line.end());
        ParseLine(line, parsed);
        return true;
      });
      std::lock_guard<std::mutex> lock(mutex);
      outcome = read;
      if (!batch->lines.empty()) batch->ready = true;
    } catch (...) {
      std::lock_guard<std::mutex> lock(mutex);
      failure = std::current_exception();
    }
    std::lock_guard<std::mutex> lock(mutex);
    done = true;
    changed.notify_all();
  });

  // The reader stops and is waited for however the drawing ends, an exception too.
  struct Join {
    std::thread& reader;
    std::mutex& mutex;
    std::condition_variable& changed;
    bool& stop;
    ~Join() {
      {
        std::lock_guard<std::mutex> lock(mutex);
        stop = true;
        changed.notify_all();
      }
      reader.join();
    }
  };
  bool stopped = false;
  {
    const Join join{reader, mutex, changed, stop};
    for (std::size_t slot = 0; !stopped; slot ^= 1U) {
      Batch& batch = batches_[slot];
      {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [&] { return batch.ready || done; });
        if (!batch.ready) break;
      }
      const char* const text = batch.text.data();
      for (const ParsedLine& parsed : batch.lines) {
        if (!visitor(target, std::string_view(text + parsed.at, parsed.length), parsed)) {
          stopped = true;
          break;
        }
      }
      std::lock_guard<std::mutex> lock(mutex);
      batch.ready = false;
      changed.notify_all();
    }
  }
  if (failure) std::rethrow_exception(failure);
  return stopped ? ChunkedRead::Complete : outcome;
}

}  // namespace varst
