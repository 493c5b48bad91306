#include "common/Paths.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/TempDir.h"

namespace varst {
namespace {

TEST(PathParts, SplitWindowsAndPosixPathsAlike) {
  struct Case {
    const char* path;
    const char* name;
    const char* folder;
    const char* extension;
    const char* base;
  };
  const Case cases[] = {
      {"C:\\d\\a.r01", "a.r01", "C:\\d", "r01", "a"},
      {"C:\\a.r01", "a.r01", "C:", "r01", "a"},
      {"a.r01", "a.r01", "", "r01", "a"},
      {"/home/u/a.dat", "a.dat", "/home/u", "dat", "a"},
      {"/home/u/", "", "/home/u", "", ""},
      {"", "", "", "", ""},
      {"C:\\x.y\\name", "name", "C:\\x.y", "y\\name", "name"},
      {"archive.tar.gz", "archive.tar.gz", "", "gz", "archive.tar"},
      {"noext", "noext", "", "", "noext"},
      {"/data/mixed\\sep/f.csv", "f.csv", "/data/mixed\\sep", "csv", "f"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GetFileName(c.path), c.name) << c.path;
    EXPECT_EQ(GetFolderPart(c.path), c.folder) << c.path;
    EXPECT_EQ(GetExtension(c.path), c.extension) << c.path;
    EXPECT_EQ(GetBaseName(c.path), c.base) << c.path;
  }
}

TEST(AddBackslash, TrimsTheCallersTextAndAppendsOnce) {
  std::string folder = "C:\\d  ";
  EXPECT_EQ(AddBackslash(folder), "C:\\d/");
  EXPECT_EQ(folder, "C:\\d");
  std::string ends = "/tmp/";
  EXPECT_EQ(AddBackslash(ends), "/tmp/");
  std::string endsWindows = "C:\\";
  EXPECT_EQ(AddBackslash(endsWindows), "C:\\");
  std::string empty;
  EXPECT_EQ(AddBackslash(empty), "");
  EXPECT_EQ(JoinPath("/a", "b"), "/a/b");
  EXPECT_EQ(JoinPath("/a/", "b"), "/a/b");
}

TEST(FileProbes, AnswerWithoutRaising) {
  test::TempDir dir;
  std::string file = dir.Write("a.r01", "x");
  std::string withSlash = file + "/";
  EXPECT_TRUE(FileExists(withSlash));
  EXPECT_EQ(withSlash, file) << "the trailing separator is removed from the caller's text";
  EXPECT_FALSE(FileExists(std::string_view(dir.Path()))) << "a folder is not a file";
  EXPECT_FALSE(FileExists(std::string_view("")));
  EXPECT_FALSE(FileExists(std::string_view(dir.File("missing"))));
  EXPECT_FALSE(FileExists(std::string_view(std::string("a\0b", 3))));
  EXPECT_TRUE(FolderExists(dir.Path()));
  EXPECT_FALSE(FolderExists(file));
  EXPECT_FALSE(FolderExists(""));
}

TEST(EnsureFolder, MakesMissingParentsAndReportsWhatItDid) {
  test::TempDir dir;
  const std::string deep = dir.File("one/two/three");
  EXPECT_TRUE(EnsureFolder(deep));
  EXPECT_TRUE(FolderExists(deep));
  EXPECT_FALSE(EnsureFolder(deep)) << "an existing folder answers false";
  const std::string blocked = dir.Write("plain", "x") + "/sub";
  EXPECT_FALSE(EnsureFolder(blocked)) << "a file in the way";
  MakeFolder(dir.File("x/y"));  // a missing parent is ignored
  EXPECT_FALSE(FolderExists(dir.File("x/y")));
  MakeFolder(dir.File("single"));
  EXPECT_TRUE(FolderExists(dir.File("single")));
}

}  // namespace
}  // namespace varst
