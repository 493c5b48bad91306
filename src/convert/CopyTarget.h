#pragma once
// Where a run's copies go. The source files are only ever read: no target writes to a path
// that is the source file itself.

#include <set>
#include <string>

#include "common/FileWrite.h"

namespace varst {

class CopyTarget {
 public:
  virtual ~CopyTarget() = default;
  // Whether a file of this name is there (the existence test of every policy).
  [[nodiscard]] virtual bool Exists(const std::string& path) const = 0;
  // Makes the folder with its missing parents; a failure shows up when copying into it.
  virtual void MakeFolders(const std::string& folder) = 0;
  // Copies source to destination, replacing a file of that name only with a complete copy.
  [[nodiscard]] virtual WriteResult Copy(const std::string& source, const std::string& destination) = 0;
};

// The file system: copies go to a temporary file beside the destination and are renamed
// into place, so a failed copy leaves an existing destination as it was and nothing behind.
class FileSystemTarget final : public CopyTarget {
 public:
  [[nodiscard]] bool Exists(const std::string& path) const override;
  void MakeFolders(const std::string& folder) override;
  [[nodiscard]] WriteResult Copy(const std::string& source, const std::string& destination) override;
};

// Writes nothing: a copy only checks that the source can be read and remembers the
// destination, which counts as existing from then on, so that later files of the same run
// see the names earlier ones would have taken.
class DryRunTarget final : public CopyTarget {
 public:
  [[nodiscard]] bool Exists(const std::string& path) const override;
  void MakeFolders(const std::string& /*folder*/) override {}
  [[nodiscard]] WriteResult Copy(const std::string& source, const std::string& destination) override;

 private:
  std::set<std::string> planned_;
};

// True when both paths name one existing file (also through links).
[[nodiscard]] bool IsSameFile(const std::string& a, const std::string& b);

}  // namespace varst
