#pragma once
// A fresh folder for one test, removed with everything in it when the test ends.

#include <string>
#include <string_view>

namespace varst::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  [[nodiscard]] const std::string& Path() const { return path_; }
  // Path() & "/" & name.
  [[nodiscard]] std::string File(std::string_view name) const;
  // Writes a file under the folder (parents made as needed) and returns its path.
  std::string Write(std::string_view name, std::string_view bytes) const;

 private:
  std::string path_;
};

// The whole content of a file, or "" when it cannot be read.
[[nodiscard]] std::string ReadFileBytes(const std::string& path);

// The path of a file in the project's examples/ folder.
[[nodiscard]] std::string ExamplePath(std::string_view name);

}  // namespace varst::test
