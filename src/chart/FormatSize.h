#pragma once
// Sector counts as readable sizes for the X labels and the legend.

#include <cstdint>
#include <string>

namespace varst {

// The size of `sectors` 512-byte sectors in decimal units (GB, MB, KB; "B" for zero) with one
// decimal for digits 1, two for digits 2, none otherwise: 156301488 sectors give "80.03GB".
[[nodiscard]] std::string FormatSize(double sectors, std::int16_t digits);

}  // namespace varst
