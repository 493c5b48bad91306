#include "convert/FileListRows.h"

#include <gtest/gtest.h>

#include "platform/MemoryGrid.h"
#include "support/TempDir.h"

namespace varst {
namespace {

TEST(ConvertFileList, ListsEachTrimmedPathOnceAndKeepsExactlyTheListedRows) {
  test::TempDir dir;
  MemoryGrid grid;
  grid.SetCols(kFileListCols);
  int listed = 0;
  const std::string a = dir.Write("a.csv", "x");
  EXPECT_EQ(AddListedFile(grid, listed, "  " + a + " "), 1);
  EXPECT_EQ(AddListedFile(grid, listed, a), 0) << "the same trimmed text";
  EXPECT_EQ(AddListedFile(grid, listed, dir.File("A.csv")), 1) << "other letter case, other row";
  EXPECT_EQ(grid.TextMatrix(0, kColPath), a);
  EXPECT_EQ(grid.CellChecked(0, kColPath), kChecked);
  EXPECT_EQ(grid.TextMatrix(0, kColStamp).size(), 19U);
  for (int i = 0; i < 150; ++i) AddListedFile(grid, listed, dir.File("f" + std::to_string(i)));
  ShrinkToListed(grid, listed);
  EXPECT_EQ(listed, 152);
  EXPECT_EQ(grid.Rows(), 152);

  grid.SetSelected(0, true);
  grid.SetSelected(2, true);
  grid.SetSelected(151, true);
  DeleteSelectedRows(grid, listed);
  EXPECT_EQ(listed, 149);
  EXPECT_EQ(grid.Rows(), 149);
  EXPECT_EQ(grid.TextMatrix(0, kColPath), dir.File("A.csv"));
  EXPECT_EQ(grid.TextMatrix(1, kColPath), dir.File("f1")) << "the others keep their order";
  ClearListedFiles(grid, listed);
  EXPECT_EQ(listed, 0);
  EXPECT_EQ(grid.Rows(), 0);
}

TEST(ConvertFileList, ReadsTheOpenDialogAnswer) {
  using Paths = std::vector<std::string>;
  const struct {
    const char* name;
    std::string answer;
    Paths paths;
  } rows[] = {
      {"cancelled", "", {}},
      {"one file", "/d/a.csv", {"/d/a.csv"}},
      {"one file and NULs", std::string("/d/a.csv\0\0\0", 11), {"/d/a.csv"}},
      {"several", std::string("/d\0a.csv\0b.csv\0\0", 16), {"/d/a.csv", "/d/b.csv"}},
      {"folder ending in a separator", std::string("/\0a\0\0", 5), {"/a"}},
      {"stops at the first empty piece", std::string("/d\0a\0\0b\0", 8), {"/d/a"}},
  };
  for (const auto& row : rows) EXPECT_EQ(PathsFromOpenDialog(row.answer), row.paths) << row.name;
}

}  // namespace
}  // namespace varst
