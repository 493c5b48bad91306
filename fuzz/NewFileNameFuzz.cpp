// The conversion tool's name rules over a data file of any bytes: MkFileName answers, the new
// name is one plain file name, and the destination built from the file's model name (and a
// time stamp text taken from its serial number) stays inside the base folder at every level
// choice.

#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "convert/NameRules.h"
#include "convert/NewFileName.h"

using namespace varst;

namespace {

constexpr char kBase[] = "/base/out";

// A Shift_JIS lead byte: with the byte after it one character, whose second byte may be 0x5C
// ("\"), which is then no separator.
bool IsShiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

bool IsPlainName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (IsShiftJisLead(c) && i + 1 < name.size() && name[i + 1] != '/' && static_cast<unsigned char>(name[i + 1]) >= 0x40) {
      ++i;
      continue;
    }
    if (c == '/' || c == '\\' || c < 0x20 || c == 0x7F) return false;
  }
  return true;
}

// One folder below the base: never empty, "." or "..", and no control bytes. "\\" is an
// ordinary byte in a folder name here, as the folders are made by splitting at "/" only.
bool IsSafeSegment(const std::string& segment) {
  if (segment == "." || segment == "..") return false;
  for (const char c : segment) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
  }
  return true;
}

// Every folder the path names below the base is a safe segment: nothing climbs out.
bool StaysInsideBase(const std::string& folder) {
  const std::string base = std::string(kBase) + "/";
  if (folder.compare(0, base.size(), base) != 0) return false;
  std::size_t start = base.size();
  while (start < folder.size()) {
    const std::size_t end = folder.find('/', start);
    if (end == std::string::npos) return false;  // the folder ends in a separator
    const std::string segment = folder.substr(start, end - start);
    if (!segment.empty() && !IsSafeSegment(segment)) return false;
    start = end + 1;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = fuzz::WriteFile("05040101.csv", data, size);
  std::string convert = "unchanged";
  DriveInfo drive{"unchanged", "unchanged"};
  if (!MkFileName(path, convert, drive)) {
    fuzz::Require(convert == "unchanged" && drive.modelName == "unchanged", "a refusal fills nothing");
    return 0;
  }
  fuzz::Require(!drive.modelName.empty() && !drive.serialNumber.empty(), "both drive texts are there");
  fuzz::Require(IsPlainName(convert), "the new name is one plain file name");
  fuzz::Require(convert.size() >= 5 && convert.compare(convert.size() - 4, 4, ".csv") == 0, "the extension stays");

  for (const char* levels : {"DRV,NON", "DATE,NON", "DRV,DATE", "DATE,DRV"}) {
    for (const std::string& stamp : {std::string("2005/04/01 12:34:56"), drive.serialNumber}) {
      const std::string folder = GetSaveFolder(kBase, levels, FolderInfo{drive.modelName, stamp});
      fuzz::Require(StaysInsideBase(folder), "the destination folder stays inside the base");
    }
  }
  return 0;
}
