#pragma once
// What a run writes into a list row for one file: status text and colour, converted name
// and message.

#include <string>

#include "common/Colour.h"
#include "platform/Grid.h"

namespace varst {

enum class RowOutcome {
  Copied,       // "Comp..", green, the destination actually written
  ExistsSkip,   // "SKIP", cyan, the destination that exists
  UserSkip,     // "SKIP", cyan, no converted name
  InvalidFile,  // "NG", red, converted name unchanged
  CopyFailure,  // "NG", red, converted name unchanged
};

inline constexpr char kStatusCopied[] = "Comp..";
inline constexpr char kStatusFailed[] = "NG";
inline constexpr char kStatusSkipped[] = "SKIP";

inline constexpr Colour kColourCopied = Rgb(0, 255, 0);
inline constexpr Colour kColourFailed = Rgb(255, 0, 0);
inline constexpr Colour kColourSkipped = Rgb(0, 255, 255);

// Writes the outcome into the row; `dest` is used by Copied and ExistsSkip only.
void SetRowOutcome(Grid& grid, int row, RowOutcome outcome, const std::string& dest = {});

// Empties the status and message of every row, gives the status cells the grid's own
// background and forgets copy failure details. Converted names stay.
void ClearRowOutcomes(Grid& grid);

}  // namespace varst
