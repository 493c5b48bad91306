// The compatibility check over a file of any bytes, alone and after a valid file, with the
// first condition line of each file or with every one: it answers, and a file it cannot
// read is always reported as of another kind.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "platform/ConsolePrompter.h"
#include "data/Compatibility.h"
#include "data/DataSet.h"

using namespace varst;

namespace {

constexpr char kFirstFile[] =
    "MODEL-F1,SNF001,156301488,ATA,FW1.00,512,7200,SATA,64MB,00\r\n"
    "0,0,1000,0,0,256,100,100,0,0,0,0,-1\r\n"
    "R,0,0,10,1\r\n";

void Check(const std::vector<std::string>& paths, bool scanAll) {
  ConsolePrompter prompter(fuzz::Discarded());
  DataSet dataSet;
  const CompatibilityResult result = CheckCompatibility(paths, scanAll, dataSet, prompter);
  fuzz::Require(dataSet.TimeModeFlag == -1 || dataSet.TimeModeFlag == 0 || dataSet.TimeModeFlag == 0x80,
                "the time mode is one bit");
  if (prompter.Errors() != 0) fuzz::Require(result.kindDiffers, "a file reported invalid is refused");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string first = fuzz::WriteFile("first.dat", kFirstFile);
  const std::string input = fuzz::WriteFile("input.dat", data, size);
  for (const bool scanAll : {false, true}) {
    Check({input}, scanAll);
    Check({first, input}, scanAll);
  }
  return 0;
}
