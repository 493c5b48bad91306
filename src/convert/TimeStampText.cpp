#include "convert/TimeStampText.h"

#include <cstdio>

#include <sys/stat.h>

namespace varst {

std::string FormatTimeStamp(const std::tm& local) {
  char text[64];
  std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", local.tm_year + 1900, local.tm_mon + 1,
                local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
  return text;
}

std::string TimeStampText(std::time_t time) {
  std::tm local{};
  if (localtime_r(&time, &local) == nullptr) return {};
  // Four digits are what the rules read as a year; a year beyond them has no date folder.
  if (local.tm_year < 1 - 1900 || local.tm_year > 9999 - 1900) return {};
  return FormatTimeStamp(local);
}

std::string FileTimeStampText(const std::string& path) {
  if (path.empty() || path.find('\0') != std::string::npos) return {};
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return {};
  return TimeStampText(status.st_mtime);
}

}  // namespace varst
