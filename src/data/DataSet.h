#pragma once
// The data set: what the viewer has loaded. The files, the series that the chart drawing
// registered while reading them, the colour of each series row, the error counters of the
// legend, and the two line buffers through which smoothed and merged series are built.
// One object lives for the run, owned with the settings and the chart state.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/Colour.h"
#include "common/Settings.h"
#include "data/ChunkedLines.h"
#include "data/FileBuffer.h"
#include "data/LinePipeline.h"
#include "data/RecordIndex.h"

namespace varst {

// "ERR Cnt:" label records kept per file (one per legend line, the rest are not counted).
inline constexpr int kErrLabelRecords = 17;

struct DataSet {
  // Full paths of the loaded files, each at most once, in load order (at most 513).
  std::vector<std::string> FileList;
  std::int32_t FileCount = 0;
  std::int32_t DrawnFileCount = 0;

  // One key per series: path & "," & label & ",|" & drive line. Grf_Hist_Ptr keys are used;
  // grid row k shows series k.
  std::vector<std::string> SeriesInfo;
  std::int32_t Grf_Hist_Ptr = 0;
  std::array<std::int32_t, kTableSize> SeriesKeyColorNo{};

  // Colour state of each series row: the colour it is drawn in, and the colour number the
  // user or the drawing gave it (-1 = none yet, take the palette).
  std::array<Colour, kTableSize> SeriesColor{};
  std::array<std::int32_t, kTableSize> SeriesColorSel = FilledSelection();

  std::int32_t TimeModeFlag = -1;  // -1 unset, else bit &H80 of the first condition line
  double RangeEnd = 0;             // the largest test range end over the loaded files
  std::int32_t SeriesIndex = 0;    // the slot being drawn

  FileBuffer ReadBuffer;    // the head (or the whole) of a file being checked
  ChunkedLines DrawnLines;  // the lines of a file being drawn, a chunk at a time
  LinePipeline DrawnPipeline;  // the same, read and taken apart on a second thread
  // Files from this size on are drawn through DrawnPipeline (a thread costs more than a
  // small file's reading).
  std::uintmax_t PipelineFromBytes = std::uintmax_t{1} << 20;
  RecordIndexes DrawnRuns;  // where a redraw may pass over lines unread (the window's)

  // Per slot and error label record: error records counted while drawing the slot's file.
  std::vector<std::array<std::int32_t, kErrLabelRecords>> ErrCount =
      std::vector<std::array<std::int32_t, kErrLabelRecords>>(kTableSize);
  std::int32_t ErrKindCount = 0;
  std::array<std::int32_t, kErrLabelRecords> ErrLabelX{};
  std::array<std::int32_t, kErrLabelRecords> ErrLabelY{};
  std::array<Colour, kErrLabelRecords> ErrLabelColor{};
  std::array<std::int32_t, kErrLabelRecords> ErrLabelFontSize{};

  // The lines of the next reference file, and the sequence number of that file.
  std::vector<std::string> RefLines;
  std::int32_t RefLineCount = 0;
  std::int32_t RefFileSeq = 0;

  // A new series found no room in the tables; the loader tells the user once.
  bool SeriesLimitReached = false;

  // The line buffer filled while one series is redrawn with capture on.
  std::vector<std::string> AvrLines;
  std::int32_t AvrLineCount = 0;

  [[nodiscard]] static std::array<std::int32_t, kTableSize> FilledSelection() {
    std::array<std::int32_t, kTableSize> selection{};
    selection.fill(kNoColour);
    return selection;
  }
};

// Starts an empty data set: no files, no series, reference numbers from 0 again. The grid
// and the chart are the caller's to clear.
void ResetDataSet(DataSet& dataSet);

}  // namespace varst
