#include "FuzzSupport.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace varst::fuzz {

std::ostream& Discarded() {
  static std::ostream nowhere(nullptr);
  return nowhere;
}
namespace {

void RemovePrivateFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(PrivateFolder(), ignored);
}

}  // namespace

const std::string& PrivateFolder() {
  // Never destroyed: the exit handler that removes the folder still needs its name.
  static const std::string* const folder = [] {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/varst-fuzz-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
      std::perror("mkdtemp");
      std::abort();
    }
    auto* made = new std::string(pattern);
    std::atexit(RemovePrivateFolder);
    return made;
  }();
  return *folder;
}

std::string WriteFile(std::string_view name, const std::uint8_t* data, std::size_t size) {
  return WriteFile(name, std::string_view(reinterpret_cast<const char*>(data), size));
}

std::string WriteFile(std::string_view name, std::string_view bytes) {
  const std::string path = PrivateFolder() + "/" + std::string(name);
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() || std::fclose(file) != 0) {
    std::perror(path.c_str());
    std::abort();
  }
  return path;
}

void Require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "property broken: %s\n", what);
  std::abort();
}

}  // namespace varst::fuzz
