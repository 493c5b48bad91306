#include "chart/ChartDrawing.h"

#include "common/Numbers.h"
#include "common/Text.h"
#include "data/ReferenceFiles.h"

namespace varst {

ChartDrawing::ChartDrawing(Settings& settings, DataSet& dataSet, ChartState& chart, DrawingSurface& surface,
                           ChartControls& controls)
    : settings_(settings), dataSet_(dataSet), chart_(chart), surface_(surface), controls_(controls) {}

void ChartDrawing::ClearChart() {
  chart_.AxesDrawn = 0;
  chart_.LegendLineCount = 0;
  chart_.CaptureFlags = 0;
  chart_.RowTestRanges.clear();
  surface_.Clear();
  if (sink_ != nullptr) sink_->ChartCleared();
}

bool ChartDrawing::LeaveViewRange() {
  const bool wasActive = chart_.View.active;
  chart_.View = {};
  return wasActive;
}

int ChartDrawing::SeriesColorComponent(std::int32_t colorNo, int part) const {
  const auto row = static_cast<std::size_t>(chart_.CurrentSeriesRow);
  Colour base = 0;
  if (row < dataSet_.SeriesColorSel.size() && dataSet_.SeriesColorSel[row] != kNoColour) {
    base = dataSet_.SeriesColor[row];
  } else if (colorNo - 2 >= 0 && colorNo - 2 < kTableSize) {
    base = settings_.ColorTable[static_cast<std::size_t>(colorNo - 2)];
  }
  switch (part) {
    case 1:
      return BlueOf(base);
    case 2:
      return GreenOf(base);
    case 3:
      return RedOf(base);
    default:
      return 0;
  }
}

DrawOutcome ChartDrawing::DrawBarChart(std::int16_t Index, const std::string& fname, std::string_view idat,
                                       const DrawRequest& request, std::int32_t& co, bool fst) {
  line_ = idat;
  int n = parsed_ != nullptr && parsed_->fields != 0 ? parsed_->fields : fields_.Split(idat);
  if (n > 10 && fst) n = 10;
  facts_.record = false;
  surface_.SetBackColor(settings_.Grf_ColorInfo[0]);
  surface_.SetTextColor(settings_.Grf_ColorInfo[1]);

  DrawOutcome outcome = DrawOutcome::Drawn;
  bool capture = true;
  if (n == 5 || n == 6) {
    outcome = DrawDataRecord(Index, fname, request, co);
    capture = chart_.SeriesSelected == 1 || request.drawflg != 1;
  } else if (n == 10) {
    chart_.DriveInfoLine = std::string(idat);
    chart_.CurrentTestCode.clear();
  } else if (n >= 13) {
    outcome = DrawConditionLine(idat, request);
    capture = request.drawflg != 0;
  } else {
    chart_.CaptureFlags &= ~kCaptureOn;
  }
  if (outcome == DrawOutcome::Drawn && capture) CaptureLine(fname, idat);
  return outcome;
}

DrawOutcome ChartDrawing::DrawParsedLine(std::int16_t Index, const std::string& fname, std::string_view idat,
                                         const ParsedLine& parsed, const DrawRequest& request, std::int32_t& co) {
  parsed_ = &parsed;
  struct Forget {
    const ParsedLine*& parsed;
    ~Forget() { parsed = nullptr; }
  } forget{parsed_};
  return DrawBarChart(Index, fname, idat, request, co, parsed.first);
}

std::string_view ChartDrawing::Field(int i) const {
  return parsed_ == nullptr || parsed_->fields == 0 ? fields_[i] : parsed_->Field(line_, i);
}

bool ChartDrawing::RecordNumber(int i, double& value) const {
  if (parsed_ == nullptr) return TryParseDouble(Field(i), value);
  // A record's X (field 1) and value (field 3) were read by the reader thread.
  value = i == 1 ? parsed_->x : parsed_->value;
  return i == 1 ? parsed_->xRead : parsed_->valueRead;
}

void ChartDrawing::CaptureLine(const std::string& fname, std::string_view idat) {
  if ((chart_.CaptureFlags & kCaptureOn) != 0) OutputLine(dataSet_, fname, idat, kOutputToBuffer);
}

}  // namespace varst
