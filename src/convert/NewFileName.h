#pragma once
// The new name of a data file, made from the drive it describes: model name, "_", serial
// number, "." and the source file's extension.

#include <string>

namespace varst {

// The drive's model name and serial number as the drive line holds them (uncleaned).
struct DriveInfo {
  std::string modelName;
  std::string serialNumber;
};

// Reads the head of the data file `fname`: its first line of exactly 10 comma-separated
// fields is the drive line (fields are counted as they stand: blanks kept, trailing commas
// count as empty fields), and the first line of 12 or more fields after it ends the reading.
// Only the head is read, however large the file.
//
// True when such a drive line with a non-empty model name and serial number was found before
// a line of 12 or more fields; then `convert` holds the new file name (name only) and
// `drv_info` the two texts. False, leaving both untouched, for any other file: one whose drive
// line holds NUL bytes (a UTF-16 text) is no data file either. When the file could not be
// opened or read, `unreadable` (when given) receives the reason, so that it is not taken for a
// file of bad data.
[[nodiscard]] bool MkFileName(const std::string& fname, std::string& convert, DriveInfo& drv_info,
                              std::string* unreadable = nullptr);

}  // namespace varst
