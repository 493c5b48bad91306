#include "common/Text.h"

#include <algorithm>
#include <cstring>

namespace varst {

std::string_view TrimLeft(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

std::string_view TrimRight(std::string_view text) {
  const auto last = text.find_last_not_of(' ');
  return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

std::string_view Trim(std::string_view text) {
  // Most texts have no blank at either end.
  if (!text.empty() && text.front() != ' ' && text.back() != ' ') return text;
  return TrimRight(TrimLeft(text));
}

std::string ToUpperAscii(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

bool EndsWith(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

int SplitFields(std::string_view text, std::vector<std::string_view>& pieces,
                std::string_view delimiter) {
  pieces.clear();
  if (text.empty()) return 0;
  if (delimiter.empty()) {
    pieces.push_back(text);
    return 1;
  }
  if (delimiter.size() == 1) {
    // The common case, on every line of a data file: one delimiter character. Fields of data
    // records are short, so they are scanned directly; long fields go through memchr.
    const char separator = delimiter.front();
    const char* first = text.data();
    const char* const end = first + text.size();
    if (text.size() <= 96) {
      const char* start = first;
      for (const char* p = first; p < end; ++p) {
        if (*p != separator) continue;
        pieces.emplace_back(start, static_cast<std::size_t>(p - start));
        start = p + 1;
      }
      pieces.emplace_back(start, static_cast<std::size_t>(end - start));
      return static_cast<int>(pieces.size());
    }
    for (;;) {
      const auto* at = static_cast<const char*>(std::memchr(first, separator, static_cast<std::size_t>(end - first)));
      if (at == nullptr) {
        pieces.emplace_back(first, static_cast<std::size_t>(end - first));
        break;
      }
      pieces.emplace_back(first, static_cast<std::size_t>(at - first));
      first = at + 1;
    }
    return static_cast<int>(pieces.size());
  }
  std::size_t start = 0;
  for (;;) {
    const auto at = text.find(delimiter, start);
    if (at == std::string_view::npos) {
      pieces.push_back(text.substr(start));
      break;
    }
    pieces.push_back(text.substr(start, at - start));
    start = at + delimiter.size();
  }
  return static_cast<int>(pieces.size());
}

int LineFields::Split(std::string_view line) {
  count_ = 0;
  if (line.empty()) return 0;
  const char* start = line.data();
  const char* const end = start + line.size();
  for (const char* p = start; p < end; ++p) {
    if (*p != ',') continue;
    if (count_ < kKept) fields_[static_cast<std::size_t>(count_)] = std::string_view(start, static_cast<std::size_t>(p - start));
    ++count_;
    start = p + 1;
  }
  if (count_ < kKept) fields_[static_cast<std::size_t>(count_)] = std::string_view(start, static_cast<std::size_t>(end - start));
  return ++count_;
}

std::vector<std::string> SplitFields(std::string_view text, std::string_view delimiter) {
  std::vector<std::string_view> views;
  SplitFields(text, views, delimiter);
  return {views.begin(), views.end()};
}

std::string GetField(std::string_view text, int index, std::string_view delimiter) {
  std::vector<std::string_view> pieces;
  SplitFields(text, pieces, delimiter);
  if (index < 0 || index >= static_cast<int>(pieces.size())) return {};
  return std::string(pieces[static_cast<std::size_t>(index)]);
}

std::string SetField(std::string_view text, int index, std::string_view value,
                     std::string_view delimiter) {
  if (index < 0) return std::string(text);
  std::vector<std::string> pieces = SplitFields(text, delimiter);
  const std::size_t count = std::max(pieces.size(), static_cast<std::size_t>(index) + 1);
  pieces.resize(count);
  pieces[static_cast<std::size_t>(index)] = std::string(value);
  std::string joined = Join(pieces, ",");
  return joined.empty() ? std::string(value) : joined;
}

int ReplaceAll(std::string& text, std::string_view find, std::string_view replacement) {
  if (find.empty()) return 0;
  int count = 0;
  std::size_t at = 0;
  while ((at = text.find(find, at)) != std::string::npos) {
    text.replace(at, find.size(), replacement);
    at += replacement.size();
    ++count;
  }
  return count;
}

int FindLast(std::string_view text, std::string_view find, int start) {
  if (text.empty()) return 0;
  const int length = static_cast<int>(text.size());
  if (start < 0 || start > length) start = length;
  if (find.empty()) return start;
  if (start < 1) return 0;
  // A match that begins at 1-based position p occupies p .. p + find.size() - 1.
  const auto at = text.rfind(find, static_cast<std::size_t>(start - 1));
  return at == std::string_view::npos ? 0 : static_cast<int>(at) + 1;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    auto end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    lines.emplace_back(text.substr(start, end - start));
    if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ++end;
    start = end + 1;
  }
  return lines;
}

std::string Join(const std::vector<std::string>& items, std::string_view separator) {
  std::string joined;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i != 0) joined += separator;
    joined += items[i];
  }
  return joined;
}

}  // namespace varst
