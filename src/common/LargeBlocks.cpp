#include "common/LargeBlocks.h"

#include <cstdint>
#include <cstdlib>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace varst {

void* AllocateLargeBlock(bool largePages) {
  void* block = largePages ? std::aligned_alloc(kLargeBlockBytes, kLargeBlockBytes) : std::malloc(kLargeBlockBytes);
  if (block != nullptr && largePages) UseLargePages(block, kLargeBlockBytes);
  return block;
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
