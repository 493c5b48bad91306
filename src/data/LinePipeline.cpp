#include "data/LinePipeline.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

#include "common/Numbers.h"
#include "data/LineReader.h"

namespace varst {

namespace {

// Notes the places of the commas of line in ends, up to six of them; returns how many there
// are (7 standing for more than six).
std::size_t FindCommas(std::string_view line, std::array<std::uint16_t, 6>& ends) {
  const char* const bytes = line.data();
  const std::size_t size = line.size();
  std::size_t commas = 0;
  std::size_t i = 0;
#if defined(__SSE2__)
  // Sixteen bytes at a time, the lowest bit of a mask for the first of them; the rest of a line
  // of sixteen bytes or more is the sixteen that end it, less those seen.
  const __m128i comma = _mm_set1_epi8(',');
  const auto commasIn = [&](std::size_t at) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + at));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, comma)));
  };
  const auto take = [&](std::size_t at, unsigned mask) {
    while (mask != 0) {
      if (commas == 6) return false;
      ends[commas++] = static_cast<std::uint16_t>(at + static_cast<std::size_t>(__builtin_ctz(mask)));
      mask &= mask - 1;
    }
    return true;
  };
  for (; i + 16 <= size; i += 16) {
    if (!take(i, commasIn(i))) return 7;
  }
  if (i < size && size >= 16) {
    if (!take(i, commasIn(size - 16) >> (i + 16 - size))) return 7;
    i = size;
  }
#endif
  for (; i < size; ++i) {
    if (bytes[i] != ',') continue;
    if (commas == 6) return 7;
    ends[commas++] = static_cast<std::uint16_t>(i);
  }
  return commas;
}

}  // namespace

void ParseLine(std::string_view line, ParsedLine& parsed) {
  parsed.fields = 0;
  parsed.xRead = parsed.valueRead = false;
  std::array<std::uint16_t, 6>& ends = parsed.ends;
  const std::size_t commas = FindCommas(line, ends);
  // Five or six fields make a data record.
  if (commas < 4 || commas > 5) return;
  parsed.fields = static_cast<std::uint16_t>(commas + 1);
  parsed.xRead = TryParseDouble(parsed.Field(line, 1), parsed.x);
  parsed.valueRead = TryParseDouble(parsed.Field(line, 3), parsed.value);
}

std::string_view LinePipeline::TakeLine(std::string_view raw, bool first, double progress, ParsedLine& parsed) const {
  const std::string_view line = StripTrailingCommas(raw);
  parsed.offset = reader_.LineOffset();
  parsed.progress = progress;
  parsed.first = first;
  parsed.length = static_cast<std::uint16_t>(line.size());
  ParseLine(line, parsed);
  return line;
}

ChunkedRead LinePipeline::ReadHere(const std::string& path, void* target, Visitor visitor) {
  ParsedLine parsed;
  return reader_.ForEachLine(path, [&](std::string_view raw, bool first, double progress) {
    return visitor(target, TakeLine(raw, first, progress, parsed), parsed);
  });
}

ChunkedRead LinePipeline::ForEach(const std::string& path, void* target, Visitor visitor) {
  std::mutex mutex;
  std::condition_variable changed;
  bool done = false;     // the reader has handed over its last batch
  bool stop = false;     // the drawing wants no more lines
  ChunkedRead outcome = ChunkedRead::Complete;
  std::exception_ptr failure;
  for (Batch& batch : batches_) batch.ready = false;

  const auto work = [&] {
    try {
      std::size_t slot = 0;
      Batch* batch = &batches_[slot];
      batch->text.clear();
      batch->lines.clear();
      const auto handOver = [&] {
        std::unique_lock<std::mutex> lock(mutex);
        batch->ready = true;
        changed.notify_all();
        slot = (slot + 1) % kBatches;
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
        ParsedLine& parsed = batch->lines.emplace_back();
        parsed.at = static_cast<std::uint32_t>(batch->text.size());
        const std::string_view line = TakeLine(raw, first, progress, parsed);
        batch->text.insert(batch->text.end(), line.begin(), line.end());
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
  };
  std::thread reader;
  try {
    reader = std::thread(work);
  } catch (const std::system_error&) {
    // No thread to be had (a limit on threads or on memory): the lines are read here.
    return ReadHere(path, target, visitor);
  }

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
    for (std::size_t slot = 0; !stopped; slot = (slot + 1) % kBatches) {
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
