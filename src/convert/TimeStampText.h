#pragma once
// The time stamp text of a listed file: its last-modification time in local time as
// "yyyy/MM/dd hh:mm:ss", every part zero-padded (2005/04/01 09:05:00). The date part is what
// the "DATE" folder level and the file name check read.

#include <ctime>
#include <string>

namespace varst {

// The text of a broken-down local time.
[[nodiscard]] std::string FormatTimeStamp(const std::tm& local);

// The text of a time in the local time zone; "" when it has no local date (beyond the years
// the calendar functions can hold).
[[nodiscard]] std::string TimeStampText(std::time_t time);

// The time stamp text of a file, read from the system in whole seconds, so every time the file
// system can hold is shown as it is, also long after 2262; "" when the file has no readable
// time stamp.
[[nodiscard]] std::string FileTimeStampText(const std::string& path);

}  // namespace varst
