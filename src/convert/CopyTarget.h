#pragma once
// Where a run's copies go. The source files are only ever read: no target replaces a file
// that is one of the run's sources.

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "convert/CopyTemporary.h"
#include "convert/DestinationCopy.h"

namespace varst {

class CopyTarget {
 public:
  virtual ~CopyTarget() = default;
  // Whether anything stands at the name (the existence test of every policy): a file readable
  // or not, a folder, a link.
  [[nodiscard]] virtual bool Exists(const std::string& path) const = 0;
  // Makes the folder with its missing parents; a failure shows up when copying into it.
  virtual void MakeFolders(const std::string& folder) = 0;
  // The run's source files, which no copy may replace, whatever name leads to them.
  virtual void ProtectSources(const std::vector<std::string>& sources) = 0;
  // Copies source to destination (see DestinationCopy.h for the two placements).
  [[nodiscard]] virtual CopyResult Copy(const std::string& source, const std::string& destination,
                                        Placement placement) = 0;
};

// The identities (device, inode) of files, to tell a file by any of its names.
class FileIdentities {
 public:
  void Add(const std::string& path);
  // True when the entry at the path, or the file a link there leads to, is one of them.
  [[nodiscard]] bool Holds(const std::string& path) const;

 private:
  std::set<std::pair<unsigned long long, unsigned long long>> ids_;
};

// The file system. Folders get their stale temporaries removed the first time a run copies
// into them; SIGINT and SIGTERM remove the temporary of a copy that is being written.
class FileSystemTarget final : public CopyTarget {
 public:
  [[nodiscard]] bool Exists(const std::string& path) const override;
  void MakeFolders(const std::string& folder) override;
  void ProtectSources(const std::vector<std::string>& sources) override;
  [[nodiscard]] CopyResult Copy(const std::string& source, const std::string& destination,
                                Placement placement) override;

 private:
  CopySignalGuard signals_;
  FileIdentities sources_;
  std::set<std::string> cleanedFolders_;
};

// Writes nothing: a copy checks what the real one would (the source can be read, the name is
// free or may be replaced) and remembers the destination, which counts as existing from then
// on, so that later files of the same run see the names earlier ones would have taken.
class DryRunTarget final : public CopyTarget {
 public:
  [[nodiscard]] bool Exists(const std::string& path) const override;
  void MakeFolders(const std::string& /*folder*/) override {}
  void ProtectSources(const std::vector<std::string>& sources) override;
  [[nodiscard]] CopyResult Copy(const std::string& source, const std::string& destination,
                                Placement placement) override;

 private:
  FileIdentities sources_;
  std::set<std::string> planned_;
};

}  // namespace varst
