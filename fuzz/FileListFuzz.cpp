// The list files over any bytes: the plain file list ("DATA FILE LIST"), the batch list
// ("[FILE LIST]") with the files its lines name, and the loader's list text. The process
// works in its private folder, where the files a list may name exist, so that relative
// names in the input can find them.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzSupport.h"
#include "common/Paths.h"
#include "data/DataFileList.h"
#include "data/LoadFiles.h"
#include "viewer/FileListBatch.h"

using namespace varst;

namespace {

void PrepareFolder() {
  fuzz::WriteFile("a.dat", "M,S,1,2,3,4,5,6,7,8\r\n");
  fuzz::WriteFile("B.DAT", "M,S,1,2,3,4,5,6,7,8\r\n");
  if (::chdir(fuzz::PrivateFolder().c_str()) != 0) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool prepared = (PrepareFolder(), true);
  static_cast<void>(prepared);
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::string list = fuzz::WriteFile("list.txt", bytes);

  const std::string joined = ReadDataFileList(list);
  if (size > kMaxDataFileListSize) fuzz::Require(joined.empty(), "a long file is no plain list");

  fuzz::Require(IsFileListBatch(list) == HasFileListMarker(bytes.substr(0, kBatchHeadBytes)),
                "the file and its text agree");
  for (const std::string& line : ReadFileListBatchLines(list)) {
    const std::string file = ExistingBatchFile(line);
    fuzz::Require(file.empty() || FileExists(std::string_view(file)), "a batch entry exists");
  }

  for (const std::string& path : ParseFileList(bytes)) {
    fuzz::Require(path.find_first_of(std::string(",\0", 2)) == std::string::npos, "a listed path holds no separator");
  }
  return 0;
}
