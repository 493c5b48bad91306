#include "common/LargeBlocks.h"

#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace varst {
namespace {

void* NewLargePageBlock() {
  void* block = std::aligned_alloc(kLargeBlockBytes, kLargeBlockBytes);
  if (block != nullptr) UseLargePages(block, kLargeBlockBytes);
  return block;
}

// Large-page blocks made ahead on a thread of their own. The system gives a fresh page its
// memory, zeroed, where it is first written; for the hundreds of megabytes of points a big file
// leaves that costs the drawing thread about as much as the drawing. Blocks made here are
// written once a page beforehand, while the drawing fills the blocks before them, so the
// zeroing runs beside it on the core the reading thread leaves free. The thread starts with
// the first block asked for and keeps a few blocks ready from then on.
class BlockReserve {
 public:
  ~BlockReserve() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      closing_ = true;
    }
    wanted_.notify_all();
    if (maker_.joinable()) maker_.join();
    for (void* block : ready_) std::free(block);
  }

  // A block made ahead, or null when none is ready (the caller then makes one itself).
  void* Take() {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!started_) {
      started_ = true;
      try {
        maker_ = std::thread([this] { Make(); });
      } catch (const std::system_error&) {
        // No thread to be had: every block is made where it is asked for.
      }
    }
    void* block = nullptr;
    if (!ready_.empty()) {
      block = ready_.back();
      ready_.pop_back();
    }
    lock.unlock();
    wanted_.notify_one();
    return block;
  }

 private:
  static constexpr std::size_t kAhead = 8;  // 16 MB

  void Make() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (true) {
      wanted_.wait(lock, [this] { return closing_ || ready_.size() < kAhead; });
      if (closing_) return;
      lock.unlock();
      void* block = NewLargePageBlock();
      if (block != nullptr) Touch(block);
      lock.lock();
      // Out of memory: the drawing thread finds none ready and says so itself.
      if (block == nullptr) return;
      ready_.push_back(block);
    }
  }

  static void Touch(void* block) {
    auto* bytes = static_cast<volatile char*>(block);
    for (std::size_t at = 0; at < kLargeBlockBytes; at += 4096) bytes[at] = 0;
  }

  std::mutex mutex_;
  std::condition_variable wanted_;
  std::vector<void*> ready_;
  std::thread maker_;
  bool started_ = false;
  bool closing_ = false;
};

BlockReserve& Reserve() {
  static BlockReserve reserve;
  return reserve;
}

}  // namespace

void* AllocateLargeBlock(bool largePages) {
  if (!largePages) return std::malloc(kLargeBlockBytes);
  void* block = Reserve().Take();
  return block != nullptr ? block : NewLargePageBlock();
}

void FreeLargeBlock(void* block) { std::free(block); }

void UseLargePages(void* begin, std::size_t bytes) {
#ifdef __linux__
  const auto start = reinterpret_cast<std::uintptr_t>(begin);
  const std::uintptr_t first = (start + kLargeBlockBytes - 1) & ~(kLargeBlockBytes - 1);
  const std::uintptr_t end = (start + bytes) & ~(kLargeBlockBytes - 1);
  // Only advice: where the system has no large pages the memory stays as it is.
  if (end > first) static_cast<void>(madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE));
#else
  static_cast<void>(begin);
  static_cast<void>(bytes);
#endif
}

}  // namespace varst
