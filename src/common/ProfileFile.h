#pragma once
// Our profile (INI) file layer: "[section]" lines followed by "key=value" lines. Section and
// key names match without regard to letter case (ASCII); the first matching section and key
// win, as with the system's profile services. Writing a key changes that one line in place
// and keeps every other line (comments, unknown keys, blank lines) as it was; a missing key
// is added at the end of its section and a missing section at the end of the file. The
// whole file is saved through a temporary file, so a failed save leaves the old file intact.
// Values are bytes; they hold no line ends.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/FileWrite.h"

namespace varst {

class ProfileFile {
 public:
  // The longest value that a read returns; longer stored values are cut.
  static constexpr std::size_t kMaxValueLength = 2047;

  explicit ProfileFile(std::string path);

  // Reads the file. A missing or unreadable file reads as an empty profile (false).
  bool Load();

  // The stored value with blanks around it removed, or nullopt when the section or the key
  // is missing.
  [[nodiscard]] std::optional<std::string> Value(std::string_view section,
                                                 std::string_view key) const;
  void SetValue(std::string_view section, std::string_view key, std::string_view value);

  [[nodiscard]] WriteResult Save() const;
  [[nodiscard]] std::string Text() const;
  [[nodiscard]] const std::string& Path() const { return path_; }

 private:
  struct Location {
    std::size_t sectionLine = 0;  // the "[section]" line
    std::size_t endLine = 0;      // one past the section's last key line
    std::optional<std::size_t> keyLine;
  };
  [[nodiscard]] std::optional<Location> Find(std::string_view section,
                                             std::string_view key) const;

  std::string path_;
  std::vector<std::string> lines_;
  std::string lineEnd_;
};

// The stored value (the empty text when absent), at most 2047 characters.
[[nodiscard]] std::string ReadProfileText(const std::string& file, std::string_view section,
                                          std::string_view key);

// The stored value, or default_value when it is empty or missing.
[[nodiscard]] std::string ReadIniValue(const std::string& file, std::string_view section,
                                       std::string_view key, std::string_view default_value);

// Stores one value, creating the file, the section and the key as needed.
bool WriteIniValue(const std::string& file, std::string_view section, std::string_view key,
                   std::string_view value);

}  // namespace varst
