#pragma once
// The line writer and the reference files "~REF" & n through which smoothed and merged series
// become files in the work folder.

#include <string>
#include <string_view>

#include "common/FileWrite.h"
#include "common/Settings.h"
#include "data/DataSet.h"

namespace varst {

// OutputLine flags, acted on in this order.
inline constexpr int kOutputClearBuffer = 1;  // AvrLineCount := 0
inline constexpr int kOutputToBuffer = 2;     // the line goes to AvrLines
inline constexpr int kOutputDeleteFile = 4;   // the file at path is deleted
inline constexpr int kOutputAppendFile = 8;   // the line and CR LF are appended to the file

// The line writer. Errors of the file steps are ignored, one step at a time.
void OutputLine(DataSet& dataSet, const std::string& path, std::string_view line, int flags);

// The path of the next reference file: the work folder & "~REF" & RefFileSeq.
[[nodiscard]] std::string RefFilePath(const Settings& settings, const DataSet& dataSet);

// Moves RefFileSeq past numbers whose file is already listed in the data set, so that a new
// reference file never replaces the file of a loaded series.
void SkipListedRefFiles(const Settings& settings, DataSet& dataSet);

// Writes RefLines, each line followed by CR LF, to the next reference file and advances
// RefFileSeq. The whole text goes through a temporary file, so a failure leaves any older
// file of that name as it was.
WriteResult WriteRefFile(const Settings& settings, DataSet& dataSet);

// Stores text at entry count of list unless an entry before it equals it exactly.
void AddUnique(const std::string& text, std::vector<std::string>& list, std::int32_t& count);

}  // namespace varst
