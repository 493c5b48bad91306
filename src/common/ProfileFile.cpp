#include "common/ProfileFile.h"

#include <fstream>
#include <iterator>

namespace varst {
namespace {

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// The name of a "[name]" line, or nullopt for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = TrimBlanks(line);
  if (line.size() < 2 || line.front() != '[') return std::nullopt;
  const auto close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return TrimBlanks(line.substr(1, close - 1));
}

// The key of a "key=value" line, or nullopt (comments start with ";").
std::optional<std::string_view> KeyName(std::string_view line) {
  const std::string_view trimmed = TrimBlanks(line);
  if (trimmed.empty() || trimmed.front() == ';') return std::nullopt;
  const auto equals = line.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  return TrimBlanks(line.substr(0, equals));
}

std::string Sanitised(std::string_view text) {
  std::string clean(text);
  for (char& c : clean) {
    if (c == '\r' || c == '\n' || c == '\0') c = ' ';
  }
  return clean;
}

}  // namespace

ProfileFile::ProfileFile(std::string path) : path_(std::move(path)) {
#ifdef _WIN32
  lineEnd_ = "\r\n";
#else
  lineEnd_ = "\n";
#endif
}

bool ProfileFile::Load() {
  lines_.clear();
  std::ifstream input(path_, std::ios::binary);
  if (!input) return false;
  const std::string text((std::istreambuf_iterator<char>(input)), std::istreambuf_iterator<char>());
  if (text.find("\r\n") != std::string::npos) lineEnd_ = "\r\n";
  std::size_t start = 0;
  while (start < text.size()) {
    auto end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    lines_.push_back(text.substr(start, end - start));
    if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
    start = end + 1;
  }
  return true;
}

std::optional<ProfileFile::Location> ProfileFile::Find(std::string_view section,
                                                       std::string_view key) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const auto name = SectionName(lines_[i]);
    if (!name || !EqualsIgnoringCase(*name, TrimBlanks(section))) continue;
    Location location;
    location.sectionLine = i;
    location.endLine = i + 1;
    for (std::size_t j = i + 1; j < lines_.size() && !SectionName(lines_[j]); ++j) {
      const auto keyName = KeyName(lines_[j]);
      if (!keyName) continue;
      location.endLine = j + 1;
      if (!location.keyLine && EqualsIgnoringCase(*keyName, TrimBlanks(key))) location.keyLine = j;
    }
    return location;
  }
  return std::nullopt;
}

std::optional<std::string> ProfileFile::Value(std::string_view section, std::string_view key) const {
  const auto location = Find(section, key);
  if (!location || !location->keyLine) return std::nullopt;
  const std::string& line = lines_[*location->keyLine];
  std::string_view value = TrimBlanks(std::string_view(line).substr(line.find('=') + 1));
  if (const auto nul = value.find('\0'); nul != std::string_view::npos) value = value.substr(0, nul);
  if (value.size() > kMaxValueLength) value = value.substr(0, kMaxValueLength);
  return std::string(value);
}

void ProfileFile::SetValue(std::string_view section, std::string_view key, std::string_view value) {
  const std::string entry = Sanitised(TrimBlanks(key)) + "=" + Sanitised(value);
  const auto location = Find(section, key);
  if (!location) {
    lines_.push_back("[" + Sanitised(TrimBlanks(section)) + "]");
    lines_.push_back(entry);
  } else if (location->keyLine) {
    lines_[*location->keyLine] = entry;
  } else {
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(location->endLine), entry);
  }
}

std::string ProfileFile::Text() const {
  std::string text;
  for (const std::string& line : lines_) text += line + lineEnd_;
  return text;
}

WriteResult ProfileFile::Save() const { return WriteFileAtomically(path_, Text()); }

std::string ReadProfileText(const std::string& file, std::string_view section, std::string_view key) {
  ProfileFile profile(file);
  profile.Load();
  return profile.Value(section, key).value_or(std::string());
}

std::string ReadIniValue(const std::string& file, std::string_view section, std::string_view key,
                         std::string_view default_value) {
  const std::string value = ReadProfileText(file, section, key);
  return value.empty() ? std::string(default_value) : value;
}

bool WriteIniValue(const std::string& file, std::string_view section, std::string_view key,
                   std::string_view value) {
  ProfileFile profile(file);
  profile.Load();
  profile.SetValue(section, key, value);
  return profile.Save().ok;
}

}  // namespace varst
