#pragma once
// Data files are bytes in whatever single-byte code page wrote them. Text shown on screen or
// printed is taken as UTF-8 when the bytes are valid UTF-8, else as Latin-1.

#include <string>
#include <string_view>

namespace varst {

[[nodiscard]] bool IsValidUtf8(std::string_view bytes);

// The bytes as UTF-8: unchanged when valid, else each byte read as Latin-1.
[[nodiscard]] std::string ToDisplayUtf8(std::string_view bytes);

}  // namespace varst
