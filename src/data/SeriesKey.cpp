#include "data/SeriesKey.h"

namespace varst {

std::string MakeSeriesKey(std::string_view path, std::string_view label, std::string_view driveLine) {
  std::string key;
  key.reserve(path.size() + label.size() + driveLine.size() + 3);
  key.append(path).append(",").append(label).append(",|").append(driveLine);
  return key;
}

SeriesKeyParts ParseSeriesKey(std::string_view key) {
  SeriesKeyParts parts;
  const auto bar = key.find(",|");
  const std::string_view head = bar == std::string_view::npos ? key : key.substr(0, bar);
  if (bar != std::string_view::npos) parts.driveLine = std::string(key.substr(bar + 2));
  const auto comma = head.rfind(',');
  if (comma == std::string_view::npos) {
    parts.path = std::string(head);
  } else {
    parts.path = std::string(head.substr(0, comma));
    parts.label = std::string(head.substr(comma + 1));
  }
  return parts;
}

}  // namespace varst
