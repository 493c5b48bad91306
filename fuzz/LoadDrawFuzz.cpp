// The viewer's whole road for a file: the input is written to a file, loaded the way the
// window loads its command line (alone, then as the second of two files, read on a second
// thread as a big file is), drawn onto the recording surface, smoothed, redrawn from the
// ticked rows and dumped as text. The smoothing and the redraw read on one thread: a thread
// started for each of them would cost more than the rest of the run and reach no other code.

#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "platform/ConsolePrompter.h"
#include "app/HeadlessSession.h"
#include "chart/AvrData.h"
#include "data/DrawFile.h"
#include "data/ReferenceFiles.h"
#include "data/SeriesKey.h"
#include "platform/DisplayList.h"
#include "viewer/RedrawTickedRows.h"

using namespace varst;

namespace {

// A small, valid range chart: the first file of the two-file load.
constexpr char kFirstFile[] =
    "MODEL-F1,SNF001,156301488,ATA,FW1.00,512,7200,SATA,64MB,00\r\n"
    "0,0,1000,0,0,256,100,100,0,0,0,0,5\r\n"
    "W,0,0,10.5,1\r\n"
    "W,500,1,20.25,3\r\n"
    "RE,1000,2,30,12\r\n";

void Run(const std::vector<std::string>& files, bool readerThread) {
  ConsolePrompter prompter(fuzz::Discarded());
  HeadlessOptions options;
  options.files = files;
  HeadlessSession session(options, prompter);
  session.CurrentSettings().WorkFolder = fuzz::PrivateFolder();
  // Files of a megabyte or more are read on a second thread; small ones may be too.
  const std::uintmax_t pipelineFrom = session.Data().PipelineFromBytes;
  if (readerThread) session.Data().PipelineFromBytes = 0;
  session.LoadFiles();
  session.Data().PipelineFromBytes = pipelineFrom;

  // Smooth the first series, as the window's command does, and write its reference file.
  LoadContext context = session.Context();
  DataSet& dataSet = session.Data();
  if (dataSet.Grf_Hist_Ptr > 0 && !dataSet.FileList.empty()) {
    const SeriesKeyParts key = ParseSeriesKey(dataSet.SeriesInfo[0]);
    context.drawer.ClearChart();
    std::int32_t co = 0;
    DrawFile(context, 0, key.path, {}, 0, DrawRequest{"", key.driveLine, key.label, 1}, co);
    AvrData(context, dataSet.AvrLines, dataSet.AvrLineCount, 3, 1.5, 0, kOffsetPercent);
    static_cast<void>(WriteRefFile(session.CurrentSettings(), dataSet));
  }
  RedrawTickedRows(context);
  static_cast<void>(DumpDisplayList(session.Drawing()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string first = fuzz::WriteFile("first.dat", kFirstFile);
  const std::string input = fuzz::WriteFile("input.dat", data, size);
  Run({input}, false);
  Run({first, input}, true);
  return 0;
}
