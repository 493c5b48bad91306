#pragma once
// The loader: a list of files becomes a drawn, listed data set.
//
// A file list text is items separated by "," (or NUL) and ended by ",,": one full path; a
// folder followed by bare file names; or full paths, recognised when any item after the first
// has a folder part.

#include <string>
#include <vector>

#include "data/LoadContext.h"

namespace varst {

inline constexpr char kAddDataQuestion[] = "データを追加しますか?";
inline constexpr char kKindDiffersMessage[] = "計測データが異なります。";
inline constexpr char kTooManyFilesMessage[] = "一度に表示できるファイルは513個までです。";
inline constexpr char kNoDataMessage[] = "データがありません";
inline constexpr char kTooManySeriesMessage[] = "表示できる系列は513本までです。それ以降の系列は表示されません。";

// The paths of a file list text (without the ",," end and what follows it).
[[nodiscard]] std::vector<std::string> ParseFileList(const std::string& list);

// Loads the files of a list text. replace 1 replaces the data set without asking; 0 asks
// whether to add to loaded series.
void LoadFiles(LoadContext& context, const std::string& list, std::int16_t replace);

// The same for paths already taken apart, so that a path holding a comma loads too. A load
// that reports no error and leaves no series at all ends in "データがありません".
void LoadPaths(LoadContext& context, const std::vector<std::string>& paths, std::int16_t replace);

// The window's load step for the command line: the existing files among its items, each
// from its own folder, then the file of "/FN".
void LoadStartupFiles(LoadContext& context);

}  // namespace varst
