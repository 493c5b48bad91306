#pragma once
// The temporary file a conversion copy is written to before it takes its destination name.
//
// Its name is short and fixed in form, whatever the destination's name: ".varst-tmp-" then the
// process id, "-" and a counter. So a destination name may use all 255 bytes a folder entry
// allows, and the name never equals a destination name (those always hold a "_"). A temporary
// left behind by a run that was killed is recognised by its form and its dead process id, and
// removed by a later run.
//
// While a copy is being written, SIGINT, SIGTERM and SIGHUP remove the temporary file before
// the program ends as the signal wants; SIGXFSZ is ignored so that a file size limit makes the
// write fail with a message instead of killing the program halfway.

#include <string>
#include <string_view>

namespace varst {

inline constexpr std::string_view kCopyTemporaryPrefix = ".varst-tmp-";

// True for a name of the temporary form (name only, no folder).
[[nodiscard]] bool IsCopyTemporaryName(std::string_view name);

// Removes the temporaries in the folder whose process has ended; the run's own and those of
// live processes stay. Costs one pass over the folder's entries.
void RemoveStaleCopyTemporaries(const std::string& folder);

// Installs the signal handlers for as long as it lives; handlers that were set to ignore a
// signal are left alone. Several may be alive at once (nested runs): the outermost installs.
class CopySignalGuard {
 public:
  CopySignalGuard();
  ~CopySignalGuard();
  CopySignalGuard(const CopySignalGuard&) = delete;
  CopySignalGuard& operator=(const CopySignalGuard&) = delete;
};

// One temporary file, created exclusively in a folder with the given permission bits (less the
// umask). Removed when destroyed unless Release was called after it took its final name.
class CopyTemporary {
 public:
  CopyTemporary() = default;
  ~CopyTemporary();
  CopyTemporary(const CopyTemporary&) = delete;
  CopyTemporary& operator=(const CopyTemporary&) = delete;

  // Creates the file; false with errno set when it could not be made.
  bool Create(const std::string& folder, unsigned mode);
  [[nodiscard]] int Descriptor() const { return descriptor_; }
  [[nodiscard]] const std::string& Path() const { return path_; }
  // Closes the file; false with errno set when the close reported an error.
  bool Close();
  // The file has been renamed or linked to its destination: it is no longer ours to remove.
  void Release();

 private:
  std::string path_;
  int descriptor_ = -1;
  bool owned_ = false;
};

}  // namespace varst
