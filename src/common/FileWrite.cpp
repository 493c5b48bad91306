#include "common/FileWrite.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "common/Paths.h"
#include "common/TemporaryFiles.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace varst {
namespace {

// The hook is process-wide only so that tests can reach the writes made deep inside a
// command; production code never sets it.
WriteFaultHook& FaultHook() {
  static WriteFaultHook hook;
  return hook;
}

bool Faulted(WriteStep step, const std::string& target) {
  const WriteFaultHook& hook = FaultHook();
  return hook && hook(step, target);
}

std::string Describe(const std::string& action, const std::string& path, int error) {
  return action + ": " + path + " (" + std::strerror(error) + ")";
}

std::string TemporaryNameFor(const std::string& target) {
  static std::atomic<unsigned> counter{0};
  const auto separator = target.find_last_of("\\/");
  const std::string folder = separator == std::string::npos ? "" : target.substr(0, separator + 1);
  std::string name = "." + target.substr(folder.size()) + ".tmp";
#ifndef _WIN32
  name += std::to_string(::getpid()) + "_";
#endif
  name += std::to_string(counter++);
  return folder + name;
}

// The path a write lands on: with FollowLinks the end of a chain of symbolic links (a
// relative link is taken from the folder of the link), else the target itself. A chain
// longer than the system itself follows is refused like a loop.
bool FinalTarget(const std::string& target, LinkPolicy links, std::string& final, std::string& failure) {
  namespace fs = std::filesystem;
  fs::path path(target);
  for (int hops = 0; links == LinkPolicy::FollowLinks; ++hops) {
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(path, error))) break;
    const fs::path next = fs::read_symlink(path, error);
    if (error || hops == 40) {
      failure = Describe("Cannot follow the link", target, error ? error.value() : ELOOP);
      return false;
    }
    path = next.is_absolute() ? next : path.parent_path() / next;
  }
  std::error_code error;
  // A link that is replaced, not followed, is a name like any other.
  const fs::file_status status = fs::symlink_status(path, error);
  if (fs::exists(status) && !fs::is_regular_file(status) && !fs::is_symlink(status)) {
    failure = "Cannot replace " + target + " (not a regular file)";
    return false;
  }
  final = path.string();
  return true;
}

// Writes a temporary file through `produce`, which returns false (setting errno) when the
// source of the bytes fails, then renames it over target.
template <typename Producer>
WriteResult WriteThroughTemporary(const std::string& named, LinkPolicy links, Producer produce) {
  if (named.empty() || named.find('\0') != std::string::npos) {
    return {false, "Invalid file name"};
  }
  std::string target;
  if (std::string failure; !FinalTarget(named, links, target, failure)) return {false, failure};
  const std::string temporary = TemporaryNameFor(target);
  // Registered before it exists and until it is renamed or removed, so that an interrupt
  // at any moment in between leaves no temporary behind.
  const RegisteredTemporary registered(temporary);
  std::FILE* file = Faulted(WriteStep::Open, target) ? nullptr : std::fopen(temporary.c_str(), "wbx");
  if (file == nullptr) {
    const int error = errno != 0 ? errno : EACCES;
    return {false, Describe("Cannot create", target, error)};
  }
  std::string failure;
  auto writeChunk = [&](const char* data, std::size_t size) {
    if (!failure.empty()) return false;
    if (Faulted(WriteStep::Write, target)) {
      std::fwrite(data, 1, size / 2, file);  // a write that stops halfway
      failure = Describe("Cannot write", target, ENOSPC);
      return false;
    }
    if (size != 0 && std::fwrite(data, 1, size, file) != size) {
      failure = Describe("Cannot write", target, errno);
      return false;
    }
    return true;
  };
  const bool produced = produce(writeChunk, failure);
  if (std::fflush(file) != 0 && failure.empty()) failure = Describe("Cannot write", target, errno);
#ifndef _WIN32
  if (failure.empty() && ::fsync(::fileno(file)) != 0) failure = Describe("Cannot write", target, errno);
#endif
  if (std::fclose(file) != 0 && failure.empty()) failure = Describe("Cannot write", target, errno);
  if (!produced && failure.empty()) failure = "Cannot write " + target;
  std::error_code ignored;
  if (failure.empty()) {
    std::error_code error;
    const std::filesystem::path targetPath(target);
    if (std::filesystem::exists(targetPath, ignored)) {
      const auto permissions = std::filesystem::status(targetPath, ignored).permissions();
      std::filesystem::permissions(temporary, permissions, ignored);
    }
    if (Faulted(WriteStep::Rename, target)) {
      error = std::make_error_code(std::errc::permission_denied);
    } else {
      std::filesystem::rename(temporary, targetPath, error);
    }
    if (!error) return {true, {}};
    failure = "Cannot replace " + target + " (" + error.message() + ")";
  }
  std::filesystem::remove(temporary, ignored);
  return {false, failure};
}

WriteFaultHook Exchange(WriteFaultHook hook) {
  WriteFaultHook previous = std::move(FaultHook());
  FaultHook() = std::move(hook);
  return previous;
}

}  // namespace

WriteResult WriteFileAtomically(const std::string& path, std::string_view bytes, LinkPolicy links) {
  return WriteThroughTemporary(path, links, [&](auto& writeChunk, std::string&) {
    return writeChunk(bytes.data(), bytes.size());
  });
}

WriteResult WriteFileAtomicallyFrom(const std::string& path,
                                   const std::function<bool(const ChunkWriter& write)>& produce) {
  return WriteThroughTemporary(path, LinkPolicy::ReplaceLinks, [&](auto& writeChunk, std::string&) {
    const ChunkWriter write = [&writeChunk](const char* data, std::size_t size) { return writeChunk(data, size); };
    return produce(write);
  });
}

WriteResult CopyFileAtomically(const std::string& source, const std::string& destination, LinkPolicy links) {
  std::FILE* input = std::fopen(source.c_str(), "rb");
  if (input == nullptr) return {false, Describe("Cannot open", source, errno)};
  WriteResult result = WriteThroughTemporary(destination, links, [&](auto& writeChunk, std::string& failure) {
    std::string chunk(1 << 20, '\0');
    for (;;) {
      const std::size_t got = std::fread(chunk.data(), 1, chunk.size(), input);
      if (got != 0 && !writeChunk(chunk.data(), got)) return false;
      if (got < chunk.size()) {
        if (std::ferror(input)) {
          failure = Describe("Cannot read", source, errno);
          return false;
        }
        return true;
      }
    }
  });
  std::fclose(input);
  return result;
}

WriteResult AppendLine(const std::string& path, std::string_view line) {
  if (path.empty() || Faulted(WriteStep::Open, path)) return {false, "Cannot open " + path};
  std::FILE* file = std::fopen(path.c_str(), "ab");
  if (file == nullptr) return {false, Describe("Cannot open", path, errno)};
  bool ok = std::fwrite(line.data(), 1, line.size(), file) == line.size() &&
            std::fwrite("\r\n", 1, 2, file) == 2;
  ok = std::fclose(file) == 0 && ok;
  return {ok, ok ? std::string() : Describe("Cannot write", path, errno)};
}

bool RemoveFile(const std::string& path) {
  std::error_code error;
  std::filesystem::remove(std::filesystem::path(path), error);
  return !error;
}

bool WriteFaultRequested(WriteStep step, const std::string& target) { return Faulted(step, target); }

ScopedWriteFault::ScopedWriteFault(WriteFaultHook hook) : previous_(Exchange(std::move(hook))) {}

ScopedWriteFault::~ScopedWriteFault() { Exchange(std::move(previous_)); }

}  // namespace varst
