#pragma once
// The conversion tool's text rules: cleaning names, date folder names, the destination folder
// from the base folder and the folder levels, the check of a yymmddnn file name against its
// time stamp, and the numbered alternatives of an existing destination. They show nothing and
// touch no file.

#include <array>
#include <string>
#include <string_view>

namespace varst {

// Folder level codes, in the order of the window's level choices (index 0, 1, 2).
inline constexpr std::array<const char*, 3> kLevelCodes = {"NON", "DRV", "DATE"};

// The code of a level choice index; an index outside the choices counts as "NON".
[[nodiscard]] std::string LevelCode(int choiceIndex);

// Every character not allowed in a file or folder name ("\/:,;*?<>|" and the double quote)
// replaced by "_". Blanks, dots and all other characters are kept.
[[nodiscard]] std::string CalFileName(std::string_view filename);

// A model name or serial number made safe as one folder or file name part: cleaned as
// CalFileName does, NUL and other control bytes replaced by "_", and a part that is blank,
// "." or ".." becomes "_", so that the part can never name the base folder itself or a
// folder above it.
[[nodiscard]] std::string SafeNamePart(std::string_view text);

// "2005/04/01 12:34:56" gives "20050401"; the parts are neither checked nor padded
// ("2005/4/1 9:05:00" gives "200541"). Any other form comes back unchanged.
[[nodiscard]] std::string CalDate(std::string_view Date_Inf);

// The two texts a destination folder is built from: the model name and the time stamp.
struct FolderInfo {
  std::string modelName;
  std::string timeStamp;
};

// The base folder with a separator appended, then one folder per level code of `inf`
// ("DRV,DATE"; at most 11 codes, letter case ignored; "NON" ends the list, unknown codes are
// skipped). Ends in a separator whenever the base is not empty or a level was added.
[[nodiscard]] std::string GetSaveFolder(std::string path, std::string_view inf,
                                        const FolderInfo& arg);

// Results of CheckFileDate.
inline constexpr int kDateNotCheckable = 0;
inline constexpr int kDateAgrees = 1;
inline constexpr int kDateDisagrees = 2;

// Compares a file name of the form yymmddnn with the date of its time stamp
// ("yyyy/mm/dd hh:mm:ss").
[[nodiscard]] int CheckFileDate(std::string_view fname, std::string_view stamp);

// The n-th numbered alternative of dest: folder/base(n).ext ("a.csv" gives "a(1).csv").
// Always formed from dest itself, never from an earlier alternative.
[[nodiscard]] std::string MakeNumberedName(std::string_view dest, int n);

}  // namespace varst
