#pragma once
// Text operations on byte strings: field splitting and editing of comma-separated text,
// search and replace, trimming. Texts are bytes (single-byte data files, UTF-8 interface
// texts); nothing here decodes characters.

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace varst {

// Removes leading and trailing blanks (the space character only, as the data files use it).
[[nodiscard]] std::string_view Trim(std::string_view text);
[[nodiscard]] std::string_view TrimLeft(std::string_view text);
[[nodiscard]] std::string_view TrimRight(std::string_view text);

// Upper-cases the ASCII letters; other bytes (UTF-8 sequences in paths) stay as they are.
[[nodiscard]] std::string ToUpperAscii(std::string_view text);

[[nodiscard]] bool StartsWith(std::string_view text, std::string_view prefix);
[[nodiscard]] bool EndsWith(std::string_view text, std::string_view suffix);

// Cuts text at every occurrence of delimiter into `pieces` (cleared first) and returns the
// count: 0 for an empty text, 1 for a text without the delimiter; a trailing delimiter
// yields an empty last piece that is counted. The pieces view into `text`, which must
// outlive them. The vector grows as needed, so any number of pieces is kept.
int SplitFields(std::string_view text, std::vector<std::string_view>& pieces,
                std::string_view delimiter = ",");
[[nodiscard]] std::vector<std::string> SplitFields(std::string_view text,
                                                   std::string_view delimiter = ",");

// The fields of one comma-separated line as the chart reads them: the count of all fields and
// the first kKept of them, without allocating. A field beyond the line reads as empty. The
// fields view into the line.
class LineFields {
 public:
  static constexpr int kKept = 16;

  // Cuts the line at every ","; returns the number of fields (0 for an empty line).
  int Split(std::string_view line);
  [[nodiscard]] int Count() const { return count_; }
  [[nodiscard]] std::string_view operator[](int index) const {
    return index >= 0 && index < count_ && index < kKept ? fields_[static_cast<std::size_t>(index)] : std::string_view();
  }

 private:
  std::array<std::string_view, kKept> fields_{};
  int count_ = 0;
};

// The piece at index (0-based), or empty when the text has fewer pieces.
[[nodiscard]] std::string GetField(std::string_view text, int index,
                                   std::string_view delimiter = ",");

// Puts value at index (pieces beyond the text count as empty) and joins the pieces
// 0..max(count, index + 1) - 1 again with ","; an empty join gives value.
[[nodiscard]] std::string SetField(std::string_view text, int index, std::string_view value,
                                   std::string_view delimiter = ",");

// Replaces every occurrence of find (not empty), scanning left to right and going on after
// each inserted replacement; returns the number of replacements.
int ReplaceAll(std::string& text, std::string_view find, std::string_view replacement);

// 1-based position of the last occurrence of find that begins at or before start (-1 =
// end of text); 0 when there is none or the text is empty; start itself when find is empty.
[[nodiscard]] int FindLast(std::string_view text, std::string_view find, int start = -1);

// The lines of a text: CR LF, a lone LF or a lone CR ends a line; the line ends are not part
// of the lines, and a text that ends with a line end has no empty last line.
[[nodiscard]] std::vector<std::string> SplitLines(std::string_view text);

// Joins the items with the separator between them.
[[nodiscard]] std::string Join(const std::vector<std::string>& items, std::string_view separator);

}  // namespace varst
