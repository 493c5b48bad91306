#pragma once
// The time stamp text of a listed file: its last-modification time in local time as
// "yyyy/MM/dd hh:mm:ss", every part zero-padded (2005/04/01 09:05:00). The date part is what
// the "DATE" folder level and the file name check read.

#include <ctime>
#include <filesystem>
#include <string>

namespace varst {

// The text of a broken-down local time.
[[nodiscard]] std::string FormatTimeStamp(const std::tm& local);

// A file clock time as the seconds of the system clock, and back.
[[nodiscard]] std::time_t ToTimeT(std::filesystem::file_time_type time);
[[nodiscard]] std::filesystem::file_time_type FromTimeT(std::time_t time);

// The text of a file time in the local time zone; "" when it cannot be represented.
[[nodiscard]] std::string TimeStampText(std::filesystem::file_time_type time);

// The time stamp text of a file; "" when the file has no readable time stamp.
[[nodiscard]] std::string FileTimeStampText(const std::string& path);

}  // namespace varst
