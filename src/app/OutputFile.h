#pragma once
// Files that the command line names for output.

#include <functional>
#include <string>
#include <vector>

#include "common/FileWrite.h"

namespace varst {

// True when `output` is the same file as one of `inputs`: same device and inode, so a link,
// a hard link, ".." or a relative spelling of an input counts. A missing output is none.
[[nodiscard]] bool IsOneOfTheFiles(const std::string& output, const std::vector<std::string>& inputs);

// Writes an output file. An existing link is followed to the file it names; an existing
// file that is not a regular file (a device, a named pipe, /dev/stdout) cannot be replaced
// and is written in place; anything else is written to a temporary beside the target and
// renamed into place, so a failure leaves an older file as it was and no stray file.
[[nodiscard]] WriteResult WriteOutputFile(const std::string& path,
                                          const std::function<bool(const ChunkWriter& write)>& produce);

}  // namespace varst
