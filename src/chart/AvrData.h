#pragma once
// The smoothing step: turns the captured lines of one series (drive line, condition line,
// data records) into a derived series and draws it as a new series.
//
// Every data record (five or six fields) gets the forward moving average of field 3 over the
// next avr_cnt five-field records, starting with itself: six-field records and header lines
// in between do not count and do not use up the window, and the window shrinks at the end of
// the lines. The average is then lowered by an absolute offset, by a percentage, or replaced
// by a constant level, depending on offmode. A value that comes out negative or not a finite
// number, and a window without any record, give 0. Every derived record has five fields
// (a six-field record loses its field 5), its field 3 in the "0.00" format.
//
// A condition line (13 or more fields) gains the field avr_cnt & "_" & offset, both in
// shortest decimal text, in datainfo itself as well as in the output, so the derived series
// is drawn labelled "Threshold". Every other line is copied as it stands.

#include <cstdint>
#include <string>
#include <vector>

#include "data/LoadContext.h"

namespace varst {

// offmode values; they match the window's option buttons "MB"/"ms", "%" and "一定".
inline constexpr std::int32_t kOffsetSubtract = 0;  // average - offset
inline constexpr std::int32_t kOffsetPercent = 1;   // average x (100 - offset) / 100
inline constexpr std::int32_t kOffsetConstant = 2;  // offset itself, no averaging

// Builds the derived lines of datainfo[0 .. datacount - 1] into RefLines (replaced, grown as
// needed) and RefLineCount. datacount beyond the lines given is taken as their number. A
// five-field record whose field 3 is not a number cannot be averaged: it counts like a
// six-field record (it does not enter any window) but still gets its derived value. Any
// offmode other than the three above gives 0 for every record.
void BuildAveragedLines(std::vector<std::string>& datainfo, std::int32_t datacount, std::int32_t avr_cnt,
                        double offset, std::int32_t offmode, std::vector<std::string>& RefLines,
                        std::int32_t& RefLineCount);


// BuildAveragedLines into context.dataSet.RefLines / RefLineCount, then draws those lines as
// the next series (SeriesIndex := Grf_Hist_Ptr; DrawFile with an empty path and no series
// selector). Afterwards the new series is the last entry of SeriesInfo, as long as the
// tables had room for it. drawflg is accepted for the callers' sake and not used.
void AvrData(LoadContext& context, std::vector<std::string>& datainfo, std::int32_t datacount,
             std::int32_t avr_cnt, double offset, std::uint8_t drawflg, std::int32_t offmode);

}  // namespace varst
