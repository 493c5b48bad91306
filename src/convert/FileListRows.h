#pragma once
// The conversion tool's file list: one grid row per listed file, rows 0 to ListedCount - 1,
// and the operations that add and remove them. The grid has a header line above the rows
// (see FilenameConv); rows past ListedCount exist only while an addition command runs.

#include <string>
#include <string_view>
#include <vector>

#include "platform/Grid.h"

namespace varst {

// Columns of the file list.
inline constexpr int kColUnused0 = 0;    // hidden, stays empty
inline constexpr int kColPath = 1;       // check box and source file path
inline constexpr int kColStamp = 2;      // time stamp of the source file
inline constexpr int kColStatus = 3;     // status text and status colour
inline constexpr int kColConverted = 4;  // converted file path
inline constexpr int kColUnused5 = 5;    // hidden, stays empty
inline constexpr int kColMessage = 6;    // hidden: the detailed outcome text
inline constexpr int kFileListCols = 7;

// The notice for a file that is listed already; the path follows on the next line.
inline constexpr char kAlreadyListedNotice[] = "既にファイルが存在しますので処理はスキップされます";

// Lists the trimmed path in row ListedCount, ticked, with the file's time stamp; grows the
// grid by 100 rows when it has no free row. Returns 1 when added, 0 when exactly this
// trimmed text is listed already (letter case counts).
int AddListedFile(Grid& grid, int& ListedCount, std::string_view path);

// Lists the path exactly as given in row ListedCount, ticked, with its time stamp, without
// looking for it among the rows: the caller knows it is not listed yet.
void AppendListedRow(Grid& grid, int& ListedCount, const std::string& path);

// Removes every selected row that holds a path; the other files keep their order, and the
// grid keeps exactly ListedCount rows.
void DeleteSelectedRows(Grid& grid, int& ListedCount);

// Removes every row.
void ClearListedFiles(Grid& grid, int& ListedCount);

// Drops the free rows an addition command left behind.
void ShrinkToListed(Grid& grid, int ListedCount);

// The full paths in the open dialog's answer: "" gives none, one path gives itself, and
// "folder NUL name NUL ... NUL" gives each name in the folder. Reading stops at the first
// empty piece.
[[nodiscard]] std::vector<std::string> PathsFromOpenDialog(std::string_view answer);

}  // namespace varst
