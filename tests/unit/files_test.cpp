// Sections and settings of text files, copies and per-user files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files.h"
#include "standin.h"
#include "test_util.h"

namespace {

using Strings = std::vector<std::string>;

const std::string LongLine(300, 'L');

class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StandInReset();
    sections_ = ScratchPath("sections.ini");
    WriteBytes(sections_,
               "[Colours] ; the colours\r\n"
               "red\r\n"
               "  green\r\n"
               "Blue=3\r\n"
               "\r\n"
               " [Sizes]\n"
               "x\n"
               "[Runon]\n"
               "a\n"
               "[Other]\n"
               "b\n"
               " \t \n"
               "[Empty]\n"
               "\n"
               "[Long]\n" +
                   LongLine + "\n" + "last\n");
  }
  // Runs LoadLines; the lines, and the count it returned in *count.
  Strings Load(const char* section, int* count) {
    StrList lines = nullptr;
    *count = LoadLines(sections_.c_str(), section, &lines);
    Strings result(lines, lines + ListCount(lines));
    ListFree(lines);
    return result;
  }
  std::string sections_;
};

TEST_F(FilesTest, LoadLinesFindsSectionsByHeader) {
  struct {
    const char* section;
    Strings lines;
  } cases[] = {
      {"Colours", {"red", "  green", "Blue=3"}},
      {"cOLOURS", {"red", "  green", "Blue=3"}},
      {"Sizes", {}},  // an indented header is no header
      {"Runon", {"a", "[Other]", "b"}},
      {"Empty", {}},
      {"Missing", {}},
      {"Long", {LongLine, "last"}},
  };
  for (const auto& c : cases) {
    int count = -1;
    EXPECT_EQ(Load(c.section, &count), c.lines) << c.section;
    EXPECT_EQ(count, static_cast<int>(c.lines.size())) << c.section;
  }
}

TEST_F(FilesTest, LoadLinesOfMissingFileIsFatal) {
  StrList lines = nullptr;
  std::string missing = ScratchPath("missing.ini");
  EXPECT_THROW(LoadLines(missing.c_str(), "x", &lines), StandInExit);
  ASSERT_EQ(StandInBoxes.size(), 1u);
  EXPECT_EQ(StandInBoxes[0].text, "LoadLines. " + missing + " file missing");
}

TEST_F(FilesTest, ReadSettingNamesValuesAndComments) {
  std::string path = ScratchPath("settings.txt");
  WriteBytes(path,
             "# comment=1\r\n"
             "  \t# indented=2\r\n"
             "plain=value  \r\n"
             " spaced = with blank\r\n"
             "hash=a#b\r\n"
             "noequals\r\n"
             "=empty name\r\n"
             "twice=first\r\n"
             "twice=second\r\n");
  struct {
    const char* name;
    const char* value;  // null: no match
  } cases[] = {
      {"plain", "value"},   {"SPACED", " with blank"}, {"hash", "a#b"},
      {"comment", nullptr}, {"indented", nullptr},     {"noequals", nullptr},
      {"", "empty name"},   {"twice", "first"},        {"missing", nullptr},
  };
  char buffer[64];
  for (const auto& c : cases) {
    const char* got = ReadSetting(path.c_str(), c.name, sizeof buffer, buffer);
    if (c.value) {
      EXPECT_STREQ(got, c.value) << c.name;
    } else {
      EXPECT_EQ(got, nullptr) << c.name << " gave " << got;
    }
  }
  EXPECT_EQ(ReadSetting(ScratchPath("nope.txt").c_str(), "plain", sizeof buffer, buffer), nullptr);
}

TEST_F(FilesTest, ReadSettingWildcardShadowsLaterLines) {
  std::string path = ScratchPath("wild.txt");
  WriteBytes(path, "first=1\n*=any\nlater=2\n");
  char buffer[64];
  EXPECT_STREQ(ReadSetting(path.c_str(), "first", sizeof buffer, buffer), "1");
  EXPECT_STREQ(ReadSetting(path.c_str(), "later", sizeof buffer, buffer), "any");
  EXPECT_STREQ(ReadSetting(path.c_str(), "unknown", sizeof buffer, buffer), "any");
}

TEST_F(FilesTest, ReadSettingCutsLongLinesWithoutReadingTheirTail) {
  std::string path = ScratchPath("long.txt");
  WriteBytes(path, "k=" + std::string(20, 'a') + "x=tail\nx=own\n");
  char buffer[16];
  EXPECT_STREQ(ReadSetting(path.c_str(), "k", sizeof buffer, buffer), "aaaaaaaaaaaaa");
  EXPECT_STREQ(ReadSetting(path.c_str(), "x", sizeof buffer, buffer), "own");
}

TEST(FindSetting, KeysAndValues) {
  std::vector<char*> lines =
      MakeArgs({"# key=no", "  Key=  \tyes  ", "other =x", "k=v", "ke", "\tk2=\t"});
  int n = static_cast<int>(lines.size()) - 1;
  EXPECT_STREQ(FindSetting("key", n, lines.data()), "yes  ");
  EXPECT_EQ(FindSetting("other", n, lines.data()), nullptr) << "a blank before =";
  EXPECT_STREQ(FindSetting("K", n, lines.data()), "v");
  EXPECT_STREQ(FindSetting("k2", n, lines.data()), "");
  EXPECT_EQ(FindSetting("missing", n, lines.data()), nullptr);
  EXPECT_EQ(FindSetting("key", 1, lines.data()), nullptr) << "only n lines are read";
}

TEST_F(FilesTest, CopyFileToCopiesOrEnds) {
  std::string from = ScratchPath("from.txt"), to = ScratchPath("to.txt");
  WriteBytes(from, "one\r\ntwo\r\n");
  EXPECT_EQ(CopyFileTo(from.c_str(), to.c_str()), 1);
  EXPECT_EQ(ReadBytes(to), "one\r\ntwo\r\n");

  std::string missing = ScratchPath("missing.txt");
  EXPECT_THROW(CopyFileTo(missing.c_str(), to.c_str()), StandInExit);
  std::string nowhere = ScratchPath("no-such-folder/to.txt");
  EXPECT_THROW(CopyFileTo(from.c_str(), nowhere.c_str()), StandInExit);
  ASSERT_EQ(StandInBoxes.size(), 2u);
  EXPECT_EQ(StandInBoxes[0].text, "Can't open " + missing);
  EXPECT_EQ(StandInBoxes[1].text, "Can't create " + nowhere);

  // A copy cut short by a full disk is a failure, not a copy.
#ifdef _WIN32
  const std::string full = "Z:\\dev\\full";
#else
  const std::string full = "/dev/full";
#endif
  EXPECT_THROW(CopyFileTo(from.c_str(), full.c_str()), StandInExit);
  ASSERT_EQ(StandInBoxes.size(), 3u);
  EXPECT_EQ(StandInBoxes[2].text, "Can't write to file: " + full);
}

TEST_F(FilesTest, EnsureUserFileCopiesOnlyOnce) {
  std::string defaults = ScratchPath("defaults");
  MakeFolders(defaults.c_str());
  WriteBytes(defaults + "\\user.cfg", "default\n");  // where PathJoin looks for it
  SetEnvVar("APPDATA", ScratchPath("appdata").c_str());
  MakeFolders(ScratchPath("appdata").c_str());

  char* first = EnsureUserFile(defaults.c_str(), "Maker", "Tool", "user.cfg");
  EXPECT_EQ(ReadBytes(first), std::string("default") + Eol) << "copied in text mode";
  WriteBytes(first, "changed by the user\n");
  char* second = EnsureUserFile(defaults.c_str(), "Maker", "Tool", "user.cfg");
  EXPECT_STREQ(first, second);
  EXPECT_EQ(ReadBytes(second), "changed by the user\n");
  free(first);
  free(second);

  UnsetEnvVar("APPDATA");
  EXPECT_THROW(EnsureUserFile(defaults.c_str(), "Maker", "Tool", "user.cfg"), StandInExit);
  ASSERT_EQ(StandInBoxes.size(), 1u);
  EXPECT_EQ(StandInBoxes[0].text, "The APPDATA environment variable is missing.");
}

}  // namespace
