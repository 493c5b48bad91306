#pragma once
// Plain file list files: a text file of at most 8192 bytes in which a line beginning with
// "DATA FILE LIST" marks it as a list and every other line is the full path of a data file.

#include <optional>
#include <string>

namespace varst {

inline constexpr std::size_t kMaxDataFileListSize = 8192;

// The comma-joined paths of the listed files that exist, or "" when the file is not a list
// (missing, unreadable, too large, or without a marker line).
[[nodiscard]] std::string ReadDataFileList(const std::string& path);

// The same, but a list none of whose files exists gives "" and a file that is not a list
// gives nullopt, so that a caller does not take such a list for a data file.
[[nodiscard]] std::optional<std::string> DataFileListText(const std::string& path);

}  // namespace varst
