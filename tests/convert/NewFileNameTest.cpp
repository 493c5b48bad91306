#include "convert/NewFileName.h"

#include <gtest/gtest.h>

#include "ConvertTestFiles.h"
#include "support/TempDir.h"

namespace varst {
namespace {

using test::TempDir;

constexpr char kDrive[] = "MODEL-X100,SN0001,156301488,ATA,FW1.00,512,7200,SATA,64MB,00\r\n";
constexpr char kCondition[] = "0,0,156301487,0,0,256,100,100,0,0,0,0,-1\r\n";

// The text as UTF-16 (little-endian): a NUL after every ASCII byte.
std::string Utf16(const std::string& text) {
  std::string wide;
  for (const char c : text) wide += std::string{c, '\0'};
  return wide;
}

TEST(MkFileName, FindsTheDriveLineBeforeTheFirstLongLine) {
  const struct {
    const char* name;
    std::string file;
    std::string content;
    const char* convert;  // nullptr: not a valid data file
    const char* model = "MODEL-X100";
  } rows[] = {
      {"example", "05040101.csv", test::DataFileText("MODEL-X100", "SN0001"), "MODEL-X100_SN0001.csv"},
      {"disallowed characters", "a.csv", test::DataFileText("AB/CD:1", "SN0001"), "AB_CD_1_SN0001.csv", "AB/CD:1"},
      {"no extension", "noext", test::DataFileText("MODEL-X100", "SN0001"), "MODEL-X100_SN0001."},
      {"LF line ends", "a.r01", "MODEL-X100,SN0001,1,2,3,4,5,6,7,8\n" + std::string(kCondition), "MODEL-X100_SN0001.r01"},
      {"second drive line ignored", "a.csv",
       std::string(kDrive) + "OTHER,SN9,1,2,3,4,5,6,7,8\r\n" + kCondition, "MODEL-X100_SN0001.csv"},
      {"long line before the drive line ignored", "a.csv", std::string(kCondition) + kDrive + kCondition,
       "MODEL-X100_SN0001.csv"},
      {"long lines only before", "a.csv", std::string(kCondition) + kDrive, nullptr},
      {"trailing commas make 12 fields", "a.csv",
       "MODEL-X100,SN0001,1,2,3,4,5,6,7,8,,\r\n" + std::string(kCondition), nullptr},
      {"11-field line ends nothing", "a.csv", std::string(kDrive) + "1,2,3,4,5,6,7,8,9,10,11\r\n", nullptr},
      {"empty model", "a.csv", ",SN0001,1,2,3,4,5,6,7,8\r\n" + std::string(kCondition), nullptr},
      {"empty serial", "a.csv", "M,,1,2,3,4,5,6,7,8\r\n" + std::string(kCondition), nullptr},
      {"empty file", "a.csv", "", nullptr},
      {"binary", "a.dat", std::string("\0\xFF\x01,\r\r\n\0", 8), nullptr},
      {"model of two dots", "a.csv", test::DataFileText("..", "SN0001"), "__SN0001.csv", ".."},
      // Catches: NUL bytes in the drive line taken as name bytes (the name becomes M_O_D_E_L...).
      {"UTF-16", "a.csv", Utf16(test::DataFileText("MODEL-X100", "SN0001")), nullptr},
      {"UTF-16 with its mark", "a.csv", "\xFF\xFE" + Utf16(test::DataFileText("MODEL-X100", "SN0001")), nullptr},
  };
  for (const auto& row : rows) {
    TempDir dir;
    const std::string path = dir.Write(row.file, row.content);
    std::string convert = "unchanged";
    DriveInfo drive{"m", "s"};
    EXPECT_EQ(MkFileName(path, convert, drive), row.convert != nullptr) << row.name;
    EXPECT_EQ(convert, row.convert != nullptr ? row.convert : "unchanged") << row.name;
    EXPECT_EQ(drive.modelName, row.convert != nullptr ? row.model : "m") << row.name;
  }
}

TEST(MkFileName, ReadsOnlyTheHeadAndRefusesWhatItCannotRead) {
  TempDir dir;
  // Far more than any drive line, and no line end at all after the head.
  const std::string huge = std::string(kDrive) + kCondition + std::string(8 << 20, 'x');
  std::string convert;
  DriveInfo drive;
  EXPECT_TRUE(MkFileName(dir.Write("big.csv", huge), convert, drive));
  // What cannot be opened says so, and is not taken for a file of bad data. Catches: the
  // reason dropped (the run reports "データファイルが不正です").
  std::string unreadable;
  EXPECT_FALSE(MkFileName(dir.File("missing.csv"), convert, drive, &unreadable));
  EXPECT_EQ(unreadable, "Cannot open: " + dir.File("missing.csv") + " (No such file or directory)");
  unreadable.clear();
  EXPECT_FALSE(MkFileName(dir.Path(), convert, drive, &unreadable)) << "a folder";
  EXPECT_NE(unreadable.find("not a regular file"), std::string::npos) << unreadable;
  unreadable.clear();
  EXPECT_FALSE(MkFileName(dir.Write("bad.csv", "no,drive\r\n"), convert, drive, &unreadable));
  EXPECT_EQ(unreadable, "") << "a readable file of bad data";
  EXPECT_FALSE(MkFileName("/dev/zero", convert, drive)) << "a device that never ends";
  EXPECT_FALSE(MkFileName(dir.Write("one-line.csv", std::string(200000, ',')), convert, drive));
}

}  // namespace
}  // namespace varst
