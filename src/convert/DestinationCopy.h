#pragma once
// One conversion copy put at its destination name without harming what stands there.
//
// The bytes go to a temporary file beside the destination (CopyTemporary) and take the
// destination's name only when complete. Two ways of taking it:
// - Claim: only a free name is taken, atomically, so that two runs writing into one folder at
//   once never replace each other's copies; a name taken in between is reported as such.
// - Replace: an existing destination is replaced, but only one the user could have overwritten
//   in place (a file the user may write); a read-only or unreadable file, a folder or a special
//   file is refused and left as it was.
// The copy has the source's permission bits less the umask.

#include <string>

namespace varst {

enum class Placement { Claim, Replace };

struct CopyResult {
  enum class Kind { Copied, NameTaken, Failed };
  Kind kind = Kind::Failed;
  std::string error;  // a sentence for the user when Failed
};

// Whether the folder entry is there, whatever it is: a file readable or not, a folder, a link
// (also one that points nowhere).
[[nodiscard]] bool DestinationExists(const std::string& path);

// "" when an existing destination may be replaced (or there is none), else why not.
[[nodiscard]] std::string WhyNotReplaceable(const std::string& destination);

[[nodiscard]] CopyResult CopyToDestination(const std::string& source, const std::string& destination,
                                           Placement placement);

}  // namespace varst
