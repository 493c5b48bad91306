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

// Names match without regard to the case of ASCII letters: they are compared lower-cased.
std::string Lower(std::string_view name) {
  std::string lower(name);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
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
  if (!input) {
    BuildIndex();
    return false;
  }
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
  BuildIndex();
  return true;
}

void ProfileFile::BuildIndex() {
  added_.assign(lines_.size(), {});
  sections_.clear();
  firstSection_.clear();
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (const auto name = SectionName(lines_[i])) {
      firstSection_.emplace(Lower(*name), sections_.size());
      sections_.push_back(Section{i, {}});
      continue;
    }
    // Key lines before the first section belong to none.
    if (sections_.empty()) continue;
    if (const auto key = KeyName(lines_[i])) {
      Section& section = sections_.back();
      section.lastKeyLine = i;
      section.keys.emplace(Lower(*key), Slot{i, kNotAdded});
    }
  }
}

const ProfileFile::Section* ProfileFile::FindSection(std::string_view section) const {
  const auto found = firstSection_.find(Lower(TrimBlanks(section)));
  return found == firstSection_.end() ? nullptr : &sections_[found->second];
}

std::string& ProfileFile::LineAt(const Slot& slot) {
  return slot.added == kNotAdded ? lines_[slot.line] : added_[slot.line][slot.added];
}

const std::string& ProfileFile::LineAt(const Slot& slot) const {
  return slot.added == kNotAdded ? lines_[slot.line] : added_[slot.line][slot.added];
}

std::optional<std::string> ProfileFile::Value(std::string_view section, std::string_view key) const {
  const Section* found = FindSection(section);
  if (found == nullptr) return std::nullopt;
  const auto slot = found->keys.find(Lower(TrimBlanks(key)));
  if (slot == found->keys.end()) return std::nullopt;
  const std::string& line = LineAt(slot->second);
  std::string_view value = std::string_view(line).substr(line.find('=') + 1);
  if (const auto nul = value.find('\0'); nul != std::string_view::npos) value = value.substr(0, nul);
  // Blanks are trimmed after the cuts, so that a value read, written and read again is the
  // same text.
  value = TrimBlanks(TrimBlanks(value).substr(0, kMaxValueLength));
  return std::string(value);
}

void ProfileFile::SetValue(std::string_view section, std::string_view key, std::string_view value) {
  const std::string entry = Sanitised(TrimBlanks(key)) + "=" + Sanitised(value);
  const std::string lowerKey = Lower(TrimBlanks(key));
  const auto found = firstSection_.find(Lower(TrimBlanks(section)));
  if (found == firstSection_.end()) {
    // A new section at the end of the file, holding the key.
    const std::string header = "[" + Sanitised(TrimBlanks(section)) + "]";
    lines_.push_back(header);
    lines_.push_back(entry);
    added_.resize(lines_.size());
    const std::size_t headerLine = lines_.size() - 2;
    firstSection_.emplace(Lower(*SectionName(header)), sections_.size());
    sections_.push_back(Section{headerLine + 1, {{lowerKey, Slot{headerLine + 1, kNotAdded}}}});
    return;
  }
  Section& target = sections_[found->second];
  if (const auto slot = target.keys.find(lowerKey); slot != target.keys.end()) {
    LineAt(slot->second) = entry;
    return;
  }
  // A new key after the section's last key line (and after the keys added there before).
  auto& after = added_[target.lastKeyLine];
  after.push_back(entry);
  target.keys.emplace(lowerKey, Slot{target.lastKeyLine, after.size() - 1});
}

std::string ProfileFile::Text() const {
  std::string text;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    text += lines_[i];
    text += lineEnd_;
    for (const std::string& line : added_[i]) {
      text += line;
      text += lineEnd_;
    }
  }
  return text;
}

WriteResult ProfileFile::Save() const { return WriteFileAtomically(path_, Text(), LinkPolicy::FollowLinks); }

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
