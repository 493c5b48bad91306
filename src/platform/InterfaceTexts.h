#pragma once
// The catalogue of interface texts: every Japanese text the windows, dialogs, message boxes
// and command-line messages show, as written in the source. The Japanese texts are the source
// texts of the translation; translations/varst_en.ts holds their English.

#include <vector>

namespace varst {

// The one translation context of the interface texts.
inline constexpr char kTextContext[] = "Varst";

// Every catalogued source text (UTF-8). Texts with "%1", "%2" are patterns: the runtime text
// carries a number or a path in their place.
[[nodiscard]] const std::vector<const char*>& InterfaceTextSources();

}  // namespace varst
