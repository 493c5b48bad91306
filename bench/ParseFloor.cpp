// varst-parse-floor: the least work any viewer must do with a result file, as a yardstick for
// the benchmark table. Reads the whole file into memory and, for every record line (exactly
// five fields), parses the X position (field 1) and the value (field 3) with std::from_chars.
// Prints the record count and the sums, so that the work cannot be optimised away.

#include <charconv>
#include <cstdio>
#include <string_view>
#include <vector>

namespace {

bool ReadWhole(const char* path, std::vector<char>& bytes) {
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return false;
  std::fseek(file, 0, SEEK_END);
  const long size = std::ftell(file);
  std::fseek(file, 0, SEEK_SET);
  bytes.resize(size > 0 ? static_cast<std::size_t>(size) : 0);
  const bool ok = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
  std::fclose(file);
  return ok;
}

// The fields of a line, cut at ","; false unless there are exactly five.
bool FiveFields(std::string_view line, std::string_view (&fields)[5]) {
  std::size_t count = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= line.size(); ++i) {
    if (i < line.size() && line[i] != ',') continue;
    if (count == 5) return false;
    fields[count++] = line.substr(start, i - start);
    start = i + 1;
  }
  return count == 5;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "Usage: varst-parse-floor FILE\n");
    return 2;
  }
  std::vector<char> bytes;
  if (!ReadWhole(argv[1], bytes)) {
    std::fprintf(stderr, "varst-parse-floor: cannot read %s\n", argv[1]);
    return 1;
  }
  const std::string_view text(bytes.data(), bytes.size());
  long long records = 0;
  double sumX = 0;
  double sumY = 0;
  std::size_t position = 0;
  while (position < text.size()) {
    std::size_t end = text.find('\n', position);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(position, end - position);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    position = end + 1;
    std::string_view fields[5];
    if (!FiveFields(line, fields)) continue;
    double x = 0;
    double y = 0;
    std::from_chars(fields[1].data(), fields[1].data() + fields[1].size(), x);
    std::from_chars(fields[3].data(), fields[3].data() + fields[3].size(), y);
    sumX += x;
    sumY += y;
    ++records;
  }
  std::printf("%lld records, sums %.6g %.6g\n", records, sumX, sumY);
  return 0;
}
