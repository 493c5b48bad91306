#pragma once
// The interface texts of the views over the chart (statistics, zoom, hover readout), chosen
// once here and used everywhere.

namespace varst {

inline constexpr char kStatisticsCaption[] = "統計";
inline constexpr char kWholeRangeCaption[] = "全体表示";
inline constexpr char kCopyCaption[] = "コピー";
inline constexpr char kSaveCsvCaption[] = "CSV保存";
inline constexpr char kFileColumnCaption[] = "ファイル";
inline constexpr char kCsvFilesDescription[] = "CSVファイル";

}  // namespace varst
