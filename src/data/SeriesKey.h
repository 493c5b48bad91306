#pragma once
// A series key is the file path & "," & the test label & ",|" & the whole drive line, so a
// file with write and read records has two series and two files of one drive stay apart.

#include <string>
#include <string_view>
#include <vector>

namespace varst {

struct SeriesKeyParts {
  std::string path;
  std::string label;
  std::string driveLine;
};

[[nodiscard]] std::string MakeSeriesKey(std::string_view path, std::string_view label, std::string_view driveLine);

// Takes a key apart. The labels hold no comma, so a path with commas in it survives.
[[nodiscard]] SeriesKeyParts ParseSeriesKey(std::string_view key);

}  // namespace varst
