#pragma once
// Every file the program writes (settings, saved copies, reference files, conversion copies)
// goes through here: the bytes go to a temporary file in the target's folder, which is
// renamed over the target only when it is complete. A failure at any step leaves an existing
// target exactly as it was and removes the temporary file.

#include <functional>
#include <string>
#include <string_view>

namespace varst {

struct WriteResult {
  bool ok = false;
  std::string error;  // a sentence for the user when !ok
  explicit operator bool() const { return ok; }
};

// What a write does when the target's name is a symbolic link. FollowLinks writes the file the
// link points to (the temporary file beside that file), so that a file the user keeps
// elsewhere and links into place is updated and the link stays. ReplaceLinks puts a plain
// file in place of the link and never writes outside the target's folder. Either way an
// existing target that is not a regular file (a folder, a device) is refused.
enum class LinkPolicy { ReplaceLinks, FollowLinks };

[[nodiscard]] WriteResult WriteFileAtomically(const std::string& path, std::string_view bytes,
                                              LinkPolicy links = LinkPolicy::ReplaceLinks);

// The same for bytes made while they are written: `produce` hands each piece to `write`
// (which answers false once the write has failed) and returns false when its own source of
// bytes fails. Formats that stream their output (an encoder writing to a device) use this.
using ChunkWriter = std::function<bool(const char* data, std::size_t size)>;
[[nodiscard]] WriteResult WriteFileAtomicallyFrom(const std::string& path,
                                                  const std::function<bool(const ChunkWriter& write)>& produce);

// Copies source byte for byte to destination, replacing an existing destination.
[[nodiscard]] WriteResult CopyFileAtomically(const std::string& source,
                                             const std::string& destination,
                                             LinkPolicy links = LinkPolicy::ReplaceLinks);

// Appends one line and CR LF to a file, creating it when missing. Used only where the
// program extends a file it is writing line by line.
[[nodiscard]] WriteResult AppendLine(const std::string& path, std::string_view line);

// Deletes a file; a missing file is not an error.
bool RemoveFile(const std::string& path);

// The test seam: a hook asked before each step of a write; when it answers true the step
// fails as if the disk were full or access were denied. Tests install it for one scope.
enum class WriteStep { Open, Write, Rename };
using WriteFaultHook = std::function<bool(WriteStep step, const std::string& target)>;

// True when a test's hook asks the step to fail; writers outside this file ask it at the same
// steps, so that one hook reaches every write of the program.
[[nodiscard]] bool WriteFaultRequested(WriteStep step, const std::string& target);

class ScopedWriteFault {
 public:
  explicit ScopedWriteFault(WriteFaultHook hook);
  ~ScopedWriteFault();
  ScopedWriteFault(const ScopedWriteFault&) = delete;
  ScopedWriteFault& operator=(const ScopedWriteFault&) = delete;

 private:
  WriteFaultHook previous_;
};

}  // namespace varst
