#pragma once
// Memory for big arrays that are written front to back (the points of a drawing), in blocks of
// 2 MB. Where the system has large pages, a block asked for with them is backed by one: filling
// it costs one page fault instead of 512.

#include <cstddef>

namespace varst {

inline constexpr std::size_t kLargeBlockBytes = std::size_t{2} << 20;

// A block of kLargeBlockBytes, or null when there is no memory; release it with FreeLargeBlock.
// With largePages it is aligned to 2 MB (a large page); without, it is an ordinary allocation,
// which costs less address space and leaves the allocator freer to reuse it.
[[nodiscard]] void* AllocateLargeBlock(bool largePages);
void FreeLargeBlock(void* block);

// Asks for large pages under the whole 2 MB pieces of [begin, begin + bytes).
void UseLargePages(void* begin, std::size_t bytes);

}  // namespace varst
