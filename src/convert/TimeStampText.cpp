#include "convert/TimeStampText.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <system_error>

namespace varst {
namespace {

using FileClock = std::filesystem::file_time_type::clock;
using SystemClock = std::chrono::system_clock;

// C++17 has no conversion between the file clock and the system clock. The standard
// libraries' file clocks differ from the system clock by a fixed whole number of seconds
// (libstdc++: the years 1970 to 2174; others: 0 or 1601 to 1970), so the offset measured
// from the two clocks' current times, rounded to whole seconds, is exact.
std::chrono::seconds FileClockOffset() {
  const auto file = std::chrono::duration_cast<std::chrono::duration<double>>(FileClock::now().time_since_epoch());
  const auto system = std::chrono::duration_cast<std::chrono::duration<double>>(SystemClock::now().time_since_epoch());
  return std::chrono::seconds(static_cast<std::int64_t>(std::llround(system.count() - file.count())));
}

bool ToLocal(std::time_t time, std::tm& local) {
#ifdef _WIN32
  return localtime_s(&local, &time) == 0;
#else
  return localtime_r(&time, &local) != nullptr;
#endif
}

}  // namespace

std::string FormatTimeStamp(const std::tm& local) {
  char text[64];
  std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", local.tm_year + 1900, local.tm_mon + 1,
                local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
  return text;
}

std::time_t ToTimeT(std::filesystem::file_time_type time) {
  const auto seconds = std::chrono::floor<std::chrono::seconds>(time.time_since_epoch()) + FileClockOffset();
  return static_cast<std::time_t>(seconds.count());
}

std::filesystem::file_time_type FromTimeT(std::time_t time) {
  const std::chrono::seconds sinceFileEpoch = std::chrono::seconds(time) - FileClockOffset();
  return std::filesystem::file_time_type(std::chrono::duration_cast<FileClock::duration>(sinceFileEpoch));
}

std::string TimeStampText(std::filesystem::file_time_type time) {
  std::tm local{};
  if (!ToLocal(ToTimeT(time), local)) return {};
  return FormatTimeStamp(local);
}

std::string FileTimeStampText(const std::string& path) {
  if (path.empty() || path.find('\0') != std::string::npos) return {};
  std::error_code error;
  const auto time = std::filesystem::last_write_time(std::filesystem::path(path), error);
  return error ? std::string() : TimeStampText(time);
}

}  // namespace varst
