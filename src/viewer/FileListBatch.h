#pragma once
// Batch list files: a text file whose first 101 lines hold "[FILE LIST]" somewhere, in any
// letter case. Every other line that names an existing file is one entry of the batch, which
// the main window shows one after the other. This is the reading part; running the batch is
// the window's.

#include <string>
#include <string_view>
#include <vector>

namespace varst {

// The lines of a file that are searched for the marker.
inline constexpr std::size_t kBatchHeadLines = 101;
// At most this much of the file's head is read for the search.
inline constexpr std::size_t kBatchHeadBytes = 1 << 20;

// Whether one of the first 101 lines of the text holds "[FILE LIST]" in any letter case.
[[nodiscard]] bool HasFileListMarker(std::string_view head);

// Whether the file is a batch list; false when it cannot be read.
[[nodiscard]] bool IsFileListBatch(const std::string& path);

// The lines of a batch list file, in file order (CR LF, LF or CR ends a line); none when it
// cannot be read.
[[nodiscard]] std::vector<std::string> ReadFileListBatchLines(const std::string& path);

// The file a batch line names: the line as written when such a file exists, else its
// upper-case form when that exists, else "". A separator at the end of the line is dropped.
[[nodiscard]] std::string ExistingBatchFile(const std::string& line);

}  // namespace varst
