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
#include <unordered_map>
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
  // Where a key's line is: a line of the file, or one added after such a line.
  struct Slot {
    std::size_t line = 0;
    std::size_t added = kNotAdded;
  };
  static constexpr std::size_t kNotAdded = static_cast<std::size_t>(-1);
  // A "[section]" line and its keys, in lower case, each at its first line.
  struct Section {
    std::size_t lastKeyLine = 0;  // the last key line, or the section line itself
    std::unordered_map<std::string, Slot> keys;
  };

  // Indexes the sections and keys once, so that reading or writing one key costs no scan of
  // the file, however long it is.
  void BuildIndex();
  [[nodiscard]] const Section* FindSection(std::string_view section) const;
  [[nodiscard]] std::string& LineAt(const Slot& slot);
  [[nodiscard]] const std::string& LineAt(const Slot& slot) const;

  std::string path_;
  std::vector<std::string> lines_;
  // Lines added by SetValue after each line of the file, in the order they were added.
  std::vector<std::vector<std::string>> added_;
  std::vector<Section> sections_;
  std::unordered_map<std::string, std::size_t> firstSection_;  // lower-case name to section
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
