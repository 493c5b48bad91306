#include "convert/DestinationCopy.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/FileWrite.h"
#include "convert/CopyTemporary.h"

namespace varst {
namespace {

std::string Describe(const std::string& action, const std::string& path, int error) {
  return action + ": " + path + " (" + std::strerror(error) + ")";
}

CopyResult Failure(std::string error) { return {CopyResult::Kind::Failed, std::move(error)}; }

// The folder the file's entry is in, as the system sees it: "" for a bare name.
std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return {};
  return slash == 0 ? std::string("/") : path.substr(0, slash);
}

bool WriteAll(int descriptor, const char* data, std::size_t size) {
  while (size != 0) {
    const ssize_t written = ::write(descriptor, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

// Copies every byte of `input` into the temporary; "" or why not.
std::string CopyBytes(int input, const std::string& source, CopyTemporary& temporary, const std::string& destination) {
  std::array<char, 64 * 1024> chunk{};
  for (;;) {
    const ssize_t got = ::read(input, chunk.data(), chunk.size());
    if (got < 0) {
      if (errno == EINTR) continue;
      return Describe("Cannot read", source, errno);
    }
    if (got == 0) return {};
    const auto size = static_cast<std::size_t>(got);
    if (WriteFaultRequested(WriteStep::Write, destination)) {
      WriteAll(temporary.Descriptor(), chunk.data(), size / 2);  // a write that stops halfway
      return Describe("Cannot write", destination, ENOSPC);
    }
    if (!WriteAll(temporary.Descriptor(), chunk.data(), size)) return Describe("Cannot write", destination, errno);
  }
}

// Gives the finished temporary the destination name only when no entry of that name is
// there, atomically. Where the file system cannot rename that way, a hard link does the same;
// only a file system without either falls back to a check before an ordinary rename.
int ClaimName(const std::string& temporary, const std::string& destination) {
  if (::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, destination.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return errno;
  if (::link(temporary.c_str(), destination.c_str()) == 0) {
    ::unlink(temporary.c_str());
    return 0;
  }
  if (errno != EPERM && errno != EOPNOTSUPP) return errno;
  if (DestinationExists(destination)) return EEXIST;
  return ::rename(temporary.c_str(), destination.c_str()) == 0 ? 0 : errno;
}

}  // namespace

bool DestinationExists(const std::string& path) {
  if (path.empty() || path.find('\0') != std::string::npos) return false;
  struct stat status {};
  return ::lstat(path.c_str(), &status) == 0;
}

std::string WhyNotReplaceable(const std::string& destination) {
  struct stat entry {};
  if (::lstat(destination.c_str(), &entry) != 0) return {};  // nothing there to keep
  struct stat target = entry;
  if (S_ISLNK(entry.st_mode) && ::stat(destination.c_str(), &target) != 0) {
    return {};  // a link to nothing: the link itself is replaced, nothing it points at changes
  }
  if (S_ISDIR(target.st_mode)) return "Cannot replace " + destination + ": it is a folder";
  if (!S_ISREG(target.st_mode)) return "Cannot replace " + destination + ": it is not a regular file";
  // The user must be able to write the file itself, not only its folder: a read-only copy
  // stays, as it would for a copy written into it in place.
  if (::faccessat(AT_FDCWD, destination.c_str(), W_OK, AT_EACCESS) != 0) {
    return Describe("Cannot replace", destination, errno);
  }
  return {};
}

CopyResult CopyToDestination(const std::string& source, const std::string& destination, Placement placement) {
  if (destination.empty() || destination.find('\0') != std::string::npos || source.find('\0') != std::string::npos) {
    return Failure("Invalid file name");
  }
  const int input = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
  if (input < 0) return Failure(Describe("Cannot open", source, errno));
  struct stat sourceStatus {};
  std::string failure;
  if (::fstat(input, &sourceStatus) != 0 || !S_ISREG(sourceStatus.st_mode)) {
    failure = "Cannot copy " + source + ": it is not a regular file";
  }
  bool replacing = false;
  if (failure.empty() && placement == Placement::Replace) {
    failure = WhyNotReplaceable(destination);
    replacing = DestinationExists(destination);
  }
  CopyTemporary temporary;
  if (failure.empty()) {
    if (WriteFaultRequested(WriteStep::Open, destination)) {
      failure = Describe("Cannot create", destination, EACCES);
    } else if (!temporary.Create(FolderOf(destination), sourceStatus.st_mode)) {
      failure = Describe("Cannot create", destination, errno);
    }
  }
  if (failure.empty()) failure = CopyBytes(input, source, temporary, destination);
  ::close(input);
  if (temporary.Descriptor() < 0) return Failure(failure);
  // A copy that replaces a file must be on the disk before the old one goes; a copy under a
  // new name loses nothing if a crash leaves it incomplete, so it spares the wait.
  if (failure.empty() && replacing && ::fsync(temporary.Descriptor()) != 0) {
    failure = Describe("Cannot write", destination, errno);
  }
  if (!temporary.Close() && failure.empty()) failure = Describe("Cannot write", destination, errno);
  if (!failure.empty()) return Failure(failure);

  int error = 0;
  if (WriteFaultRequested(WriteStep::Rename, destination)) {
    error = EACCES;
  } else if (placement == Placement::Claim) {
    error = ClaimName(temporary.Path(), destination);
  } else if (::rename(temporary.Path().c_str(), destination.c_str()) != 0) {
    error = errno;
  }
  if (error == 0) {
    temporary.Release();
    return {CopyResult::Kind::Copied, {}};
  }
  if (error == EEXIST && placement == Placement::Claim) return {CopyResult::Kind::NameTaken, {}};
  return Failure(Describe(placement == Placement::Claim ? "Cannot create" : "Cannot replace", destination, error));
}

}  // namespace varst
