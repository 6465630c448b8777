// Folder creation, listings and file tests; built over the stand-in and,
// under Wine, over the real Windows platform layer too.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "files.h"
#include "test_util.h"

namespace {

using Strings = std::vector<std::string>;

// The list's entries, sorted (the system's order is not defined), and the
// list freed.
Strings Sorted(StrList list) {
  Strings names(list, list + ListCount(list));
  ListFree(list);
  std::sort(names.begin(), names.end());
  return names;
}

TEST(Folders, ListingsLeaveOutDotEntries) {
  namespace fs = std::filesystem;
  std::string dir = ScratchPath("listing");
  fs::create_directories(fs::path(dir) / "sub1");
  fs::create_directories(fs::path(dir) / "sub2");
  WriteBytes((fs::path(dir) / "a.txt").string(), "a");
  WriteBytes((fs::path(dir) / "b.log").string(), "b");

  EXPECT_EQ(Sorted(ListFiles(dir.c_str(), "")), (Strings{"a.txt", "b.log"}));
  EXPECT_EQ(Sorted(ListFiles(dir.c_str(), "*.txt")), (Strings{"a.txt"}));
  EXPECT_EQ(Sorted(ListFolders(dir.c_str(), "")), (Strings{"sub1", "sub2"}));
  EXPECT_EQ(Sorted(ListFolders(dir.c_str(), "*")), (Strings{"sub1", "sub2"}));
  EXPECT_EQ(Sorted(ListFolders(dir.c_str(), "*1")), (Strings{"sub1"}));
  std::string missing = ScratchPath("no-such-folder");
  EXPECT_EQ(Sorted(ListFiles(missing.c_str(), "")), Strings{});
  EXPECT_EQ(Sorted(ListFolders(missing.c_str(), "")), Strings{});
}

TEST(Folders, MakeFoldersCreatesEveryLevel) {
  namespace fs = std::filesystem;
  std::string base = ScratchPath("made");
  std::string deep = base + "/one/two";
  EXPECT_EQ(MakeFolders(deep.c_str()), 1);
  EXPECT_TRUE(fs::is_directory(base + "/one"));
  EXPECT_TRUE(fs::is_directory(deep));
  EXPECT_EQ(MakeFolders(deep.c_str()), 1) << "an existing folder still gives 1";

  for (const char* root : {"", "C:", "c:", "C:\\", "C:/", ".", "..", "/", "\\", "C:.", "D:.."}) {
    EXPECT_EQ(MakeFolders(root), 0) << "\"" << root << "\"";
  }
  EXPECT_EQ(MakeFolders(nullptr), 0);
}

TEST(Folders, FileExistsOnlyForReadableFiles) {
  std::string file = ScratchPath("exists.txt");
  WriteBytes(file, "x");
  EXPECT_EQ(FileExists(file.c_str()), 1);
  EXPECT_EQ(FileExists(ScratchPath("").c_str()), 0) << "a folder";
  EXPECT_EQ(FileExists(ScratchPath("missing.txt").c_str()), 0);
}

}  // namespace
