#pragma once
// Path operations and file-system probes. Paths are byte strings in the platform's native
// encoding. Both "\" and "/" separate folders, so paths written on Windows split the same
// way; paths built here use "/". The probes never raise: they answer false.

#include <string>
#include <string_view>

namespace varst {

inline constexpr char kPathSeparator = '/';

[[nodiscard]] bool IsPathSeparator(char c);

// True when the path names an existing regular file that can be opened for reading (a
// folder, a named pipe or a device is not a file). Empty: false. A trailing separator is
// removed from the caller's text first.
[[nodiscard]] bool FileExists(std::string& path);
[[nodiscard]] bool FileExists(std::string_view path);

// True when the path names a folder the process could make its current folder.
[[nodiscard]] bool FolderExists(std::string_view path);

// The text after the last separator; the whole text without one; empty when the text is
// empty or ends in a separator.
[[nodiscard]] std::string GetFileName(std::string_view path);

// The path without its file name: "C:\d\a.r01" gives "C:\d", "C:\a.r01" gives "C:",
// "a.r01" gives "".
[[nodiscard]] std::string GetFolderPart(std::string_view path);

// The text after the last "." anywhere in the text; empty without a ".".
[[nodiscard]] std::string GetExtension(std::string_view text);

// The file name without "." and extension ("archive.tar.gz" gives "archive.tar").
[[nodiscard]] std::string GetBaseName(std::string_view path);

// Removes trailing blanks from the caller's text and returns it with a separator appended
// unless it already ends in one. Empty stays empty.
std::string AddBackslash(std::string& folder);
[[nodiscard]] std::string WithSeparator(std::string_view folder);

// folder & separator & name, without doubling a separator the folder already ends in.
[[nodiscard]] std::string JoinPath(std::string_view folder, std::string_view name);

// False when the folder exists already; otherwise creates it with every missing parent and
// answers whether that worked.
bool EnsureFolder(std::string_view folder);

// Makes the folder, its missing parents first; true when it exists as a folder at the end.
bool MakeFolderTree(std::string_view folder);

// Creates one folder; every failure is ignored.
void MakeFolder(std::string_view path);

}  // namespace varst
