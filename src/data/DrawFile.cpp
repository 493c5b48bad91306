#include "data/DrawFile.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

#include "data/LineReader.h"
#include "data/ReferenceFiles.h"

namespace varst {
namespace {

constexpr std::size_t kLinesBetweenProgress = 1 << 18;

void PrintErrorCounts(LoadContext& context, std::int16_t slot) {
  DataSet& dataSet = context.dataSet;
  if (slot < 0 || slot >= kTableSize) return;
  const auto& counts = dataSet.ErrCount[static_cast<std::size_t>(slot)];
  for (int k = 0; k < dataSet.ErrKindCount; ++k) {
    const auto at = static_cast<std::size_t>(k);
    context.surface.SetCurrentX(dataSet.ErrLabelX[at]);
    context.surface.SetCurrentY(dataSet.ErrLabelY[at]);
    context.surface.SetFontSize(dataSet.ErrLabelFontSize[at]);
    context.surface.SetTextColor(dataSet.ErrLabelColor[at]);
    context.surface.Text("ERR Cnt:" + std::to_string(counts[at]));
  }
}

void DrawFromFile(LoadContext& context, std::int16_t slot, const std::string& path, const DrawRequest& request,
                  std::int32_t& co) {
  DataSet& dataSet = context.dataSet;
  if (slot >= 0 && slot < kTableSize) dataSet.ErrCount[static_cast<std::size_t>(slot)].fill(0);
  dataSet.ErrKindCount = 0;
  std::size_t linesRead = 0;
  bool invalid = false;
  // A file drawn before is passed over where the drawing adds nothing (records beyond a
  // zoomed chart's edges); one not yet indexed is indexed as it is drawn.
  RecordIndexes& indexes = dataSet.DrawnRuns;
  FileStamp stamp;
  const bool stamped = indexes.On() && StampOf(path, stamp);
  const RecordIndex* index = stamped ? indexes.Find(path, stamp) : nullptr;
  std::optional<RecordIndexBuilder> builder;
  if (stamped && index == nullptr) builder.emplace();
  std::uint64_t lineNo = 0;
  // One line: its progress, its drawing and its place in the index being made.
  const auto draw = [&](std::string_view line, const ParsedLine* parsed, bool first, double progress,
                        std::uint64_t offset) {
    // A long file shows how far it has come, and the window repaints meanwhile.
    if (++linesRead % kLinesBetweenProgress == 0) context.host.FileProgress(progress);
    ++lineNo;
    const DrawOutcome outcome =
        parsed != nullptr ? context.drawer.DrawParsedLine(slot, path, line, *parsed, request, co)
                          : context.drawer.DrawBarChart(slot, path, StripTrailingCommas(line), request, co, first);
    if (outcome == DrawOutcome::InvalidData) {
      invalid = true;
      return false;
    }
    if (builder) builder->Line(offset, context.drawer.LastRecord());
    return true;
  };
  ChunkedRead read = ChunkedRead::Complete;
  std::uint64_t readSize = 0;
  // A file of some size is read and taken apart on a second thread while this one draws,
  // unless the drawing may pass over lines, which only a reader in step with it can do.
  std::error_code sizeError;
  const std::uintmax_t bytes = std::filesystem::file_size(path, sizeError);
  if (!sizeError && bytes >= dataSet.PipelineFromBytes && !(index != nullptr && context.drawer.MayPassOver())) {
    LinePipeline& pipeline = dataSet.DrawnPipeline;
    read = pipeline.ForEachLine(path, [&](std::string_view line, const ParsedLine& parsed) {
      return draw(line, &parsed, parsed.first, parsed.progress, parsed.offset);
    });
    readSize = pipeline.ReadSize();
  } else {
    ChunkedLines& lines = dataSet.DrawnLines;
    read = lines.ForEachLine(path, [&](std::string_view line, bool first, double progress) {
      if (index != nullptr && lineNo % RecordRun::kLines == 0 && lineNo / RecordRun::kLines < index->runs.size()) {
        const RecordRun& run = index->runs[lineNo / RecordRun::kLines];
        if (context.drawer.PassOver(run, request, co)) {
          lines.SkipTo(run.end);
          lineNo += run.lines;
          indexes.NotePassedOver();
          return true;
        }
      }
      return draw(line, nullptr, first, progress, lines.LineOffset());
    });
    readSize = lines.ReadSize();
  }
  if (builder && read == ChunkedRead::Complete && !invalid && readSize == stamp.size) {
    indexes.Store(path, builder->Finish(stamp, readSize));
  }
  context.host.EndFileProgress();
  // An empty or unreadable file is refused as the line reader refuses an empty buffer; a file
  // that could not be read to its end keeps what was drawn of it.
  if (read == ChunkedRead::Empty) {
    std::size_t position = 0;
    bool atEnd = false;
    (void)ReadLine({}, position, atEnd, &context.prompter);
  } else if (invalid || read == ChunkedRead::Failed) {
    ReportInvalidData(context.prompter);
  }
  PrintErrorCounts(context, slot);
}

void DrawFromLines(LoadContext& context, const std::vector<std::string>& lines, std::int32_t lineCount,
                   const DrawRequest& request, std::int32_t& co) {
  DataSet& dataSet = context.dataSet;
  dataSet.SeriesIndex = dataSet.Grf_Hist_Ptr;
  SkipListedRefFiles(context.settings, dataSet);
  const std::string name = RefFilePath(context.settings, dataSet);
  const auto index = static_cast<std::int16_t>(std::min(dataSet.SeriesIndex, kTableSize));
  const auto count = std::min<std::size_t>(static_cast<std::size_t>(std::max(0, lineCount)), lines.size());
  for (std::size_t i = 0; i < count; ++i) {
    if (context.drawer.DrawBarChart(index, name, lines[i], request, co, i == 0) == DrawOutcome::InvalidData) {
      ReportInvalidData(context.prompter);
      break;
    }
  }
  AddUnique(name, dataSet.FileList, dataSet.FileCount);
}

}  // namespace

void DrawFile(LoadContext& context, std::int16_t slot, const std::string& path,
              const std::vector<std::string>& lines, std::int32_t lineCount, const DrawRequest& request,
              std::int32_t& co) {
  if (path.empty()) {
    DrawFromLines(context, lines, lineCount, request, co);
  } else {
    context.dataSet.SeriesIndex = slot;
    DrawFromFile(context, slot, path, request, co);
  }
}

}  // namespace varst
