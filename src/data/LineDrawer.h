#pragma once
// What the file reader hands every line to: the chart drawing. The chart lives above the data
// layer, so the data layer sees it only through this interface.

#include <cstdint>
#include <string>
#include <string_view>

#include "data/LinePipeline.h"
#include "data/RecordIndex.h"

namespace varst {

// The series selector and options passed with every line of one DrawFile call.
struct DrawRequest {
  std::string tit;         // not used by the drawing
  std::string draw_info;   // "" draws every series; else the drive line of the one to draw
  std::string draw_info2;  // with draw_info: the test label of the one to draw
  std::uint8_t drawflg = 1;  // 1 plots data points; 0 only stores condition lines
  // With draw_info: the drawn series' lines are kept for smoothing and merging. A plain
  // redraw of the chart needs none of them.
  bool keepLines = true;
};

enum class DrawOutcome {
  Drawn,
  InvalidData,  // a value the chart cannot convert or map: the rest of the file is skipped
};

class LineDrawer {
 public:
  virtual ~LineDrawer() = default;
  // Starts a new chart: the next condition line draws the frame.
  virtual void ClearChart() = 0;
  // One line of a file (trailing commas already removed for files). co becomes 255 when the
  // line is a data record with a known type code. fst is true for the file's first line.
  virtual DrawOutcome DrawBarChart(std::int16_t Index, const std::string& fname, std::string_view idat,
                                   const DrawRequest& request, std::int32_t& co, bool fst) = 0;
  // The same for a line that a reader thread took apart ahead (see LinePipeline): the drawing
  // may use what parsed holds of idat instead of reading it again.
  virtual DrawOutcome DrawParsedLine(std::int16_t Index, const std::string& fname, std::string_view idat,
                                     const ParsedLine& parsed, const DrawRequest& request, std::int32_t& co) {
    static_cast<void>(parsed);
    return DrawBarChart(Index, fname, idat, request, co, parsed.first);
  }
  // Whether PassOver may pass over anything at all in the chart as it is now.
  [[nodiscard]] virtual bool MayPassOver() const { return false; }
  // Returns the chart to the whole test range; true when it showed a part of it (zoom), so
  // that what is drawn must be drawn again.
  virtual bool LeaveViewRange() { return false; }
  // What the last DrawBarChart call saw, for a file's record index.
  [[nodiscard]] virtual const RecordFacts* LastRecord() const { return nullptr; }
  // Passes over a run of lines, as drawing them would, when drawing them would add nothing to
  // the picture; false, having changed nothing, when the run must be drawn.
  virtual bool PassOver(const RecordRun& run, const DrawRequest& request, std::int32_t& co) {
    static_cast<void>(run);
    static_cast<void>(request);
    static_cast<void>(co);
    return false;
  }
};

}  // namespace varst
