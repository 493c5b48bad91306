#include "data/ReferenceFiles.h"

#include <algorithm>

#include "common/Paths.h"
#include "common/Text.h"

namespace varst {

void OutputLine(DataSet& dataSet, const std::string& path, std::string_view line, int flags) {
  if ((flags & kOutputClearBuffer) != 0) {
    dataSet.AvrLineCount = 0;
    dataSet.AvrLines.clear();
  }
  if ((flags & kOutputToBuffer) != 0) {
    dataSet.AvrLines.emplace_back(line);
    dataSet.AvrLineCount = static_cast<std::int32_t>(dataSet.AvrLines.size());
  }
  if ((flags & kOutputDeleteFile) != 0) RemoveFile(path);
  if ((flags & kOutputAppendFile) != 0) static_cast<void>(AppendLine(path, line));
}

std::string RefFilePath(const Settings& settings, const DataSet& dataSet) {
  return WithSeparator(settings.WorkFolder) + "~REF" + std::to_string(dataSet.RefFileSeq);
}

void SkipListedRefFiles(const Settings& settings, DataSet& dataSet) {
  const auto listed = [&](const std::string& path) {
    return std::find(dataSet.FileList.begin(), dataSet.FileList.end(), path) != dataSet.FileList.end();
  };
  while (listed(RefFilePath(settings, dataSet))) ++dataSet.RefFileSeq;
}

WriteResult WriteRefFile(const Settings& settings, DataSet& dataSet) {
  const std::string path = RefFilePath(settings, dataSet);
  std::string text;
  for (std::int32_t i = 0; i < dataSet.RefLineCount && i < static_cast<std::int32_t>(dataSet.RefLines.size()); ++i) {
    text += dataSet.RefLines[static_cast<std::size_t>(i)];
    text += "\r\n";
  }
  // The joined text loses blanks at its ends and gains one more line end, so the file ends
  // with an empty line, which readers skip.
  std::string content(Trim(text));
  content += "\r\n";
  WriteResult result = WriteFileAtomically(path, content, LinkPolicy::FollowLinks);
  ++dataSet.RefFileSeq;
  return result;
}

void AddUnique(const std::string& text, std::vector<std::string>& list, std::int32_t& count) {
  const auto used = list.begin() + std::min<std::ptrdiff_t>(count, static_cast<std::ptrdiff_t>(list.size()));
  if (std::find(list.begin(), used, text) != used) return;
  list.resize(static_cast<std::size_t>(count));
  list.push_back(text);
  ++count;
}

}  // namespace varst
