// Splitting, switch and option taking, case-free comparison, reading whole
// files and @file arguments.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cmdline.h"
#include "frame.h"
#include "standin.h"
#include "test_util.h"

namespace {

std::vector<std::string> Split(const std::string& text, int max = MaxArgs) {
  std::vector<char*> entries(max > 0 ? max + 1 : 1, reinterpret_cast<char*>(1));
  int count = SplitCommandLine(text.c_str(), max, entries.data());
  EXPECT_EQ(entries[count], nullptr) << "no null after " << count << " entries";
  return ArgsOf(count, entries.data());
}

using Strings = std::vector<std::string>;

struct SplitCase {
  const char* line;
  Strings expected;
};

TEST(SplitCommandLine, QuotingAndSeparators) {
  const SplitCase cases[] = {
      {"say \"Hello world\"", {"say", "Hello world"}},
      {"say \"He said \"\"hi\"\"\"", {"say", "He said \"hi\""}},
      {"say \"abc\"def", {"say", "abc", "def"}},
      {"say ab\"c d\"", {"say", "ab\"c", "d\""}},
      {"say \"\"", {"say", ""}},
      {"say \"unclosed text", {"say", "unclosed text"}},
      {"say \"\"\"", {"say", "\""}},
      {"a\tb\nc\rd  e", {"a", "b", "c", "d", "e"}},
      {"  \t\r\n ", {}},
      {"", {}},
      {"\"C:\\Program Files\\x.exe\" -dbg=1", {"C:\\Program Files\\x.exe", "-dbg=1"}},
      {"x \"a\"\"b\"c", {"x", "a\"b", "c"}},
      {"x \"\"\"\" y", {"x", "\"", "y"}},
      {"trailing ", {"trailing"}},
  };
  for (const SplitCase& c : cases) EXPECT_EQ(Split(c.line), c.expected) << "line: " << c.line;
}

TEST(SplitCommandLine, StopsAtMax) {
  std::string line = "prog";
  for (int i = 1; i < 35; i++) line += " a" + std::to_string(i);
  Strings got = Split(line);
  ASSERT_EQ(got.size(), 30u);
  EXPECT_EQ(got[0], "prog");
  EXPECT_EQ(got[29], "a29");

  EXPECT_EQ(Split("a b c", 2), (Strings{"a", "b"}));
  EXPECT_EQ(Split("a b c", 0), Strings{});
  EXPECT_EQ(Split("a b c", -3), Strings{});
}

TEST(TakeSwitch, MatchesWholeEntryWithoutCase) {
  std::vector<char*> args = MakeArgs({"prog", "-helpx", "-HELP", "x", "-Help"});
  int count = 5;
  EXPECT_EQ(TakeSwitch(&count, args.data(), "-help"), 1);
  EXPECT_EQ(ArgsOf(count, args.data()), (Strings{"prog", "-helpx", "x", "-Help"}));
  EXPECT_EQ(args[count], nullptr);
  EXPECT_EQ(args[count + 1], nullptr) << "the old last slot must be cleared";

  EXPECT_EQ(TakeSwitch(&count, args.data(), "-hel"), 0);
  EXPECT_EQ(count, 4);
  EXPECT_EQ(TakeSwitch(&count, args.data(), "PROG"), 1) << "entry 0 is searched too";
  EXPECT_EQ(ArgsOf(count, args.data()), (Strings{"-helpx", "x", "-Help"}));
}

TEST(TakeSwitch, EmptyEntryMatchesOnlyEmptySwitch) {
  std::vector<char*> args = MakeArgs({"prog", ""});
  int count = 2;
  EXPECT_EQ(TakeSwitch(&count, args.data(), "-?"), 0);
  EXPECT_EQ(TakeSwitch(&count, args.data(), ""), 1);
  EXPECT_EQ(count, 1);
}

TEST(TakeOption, FirstMatchOnlyAndPointsIntoEntry) {
  std::vector<char*> args = MakeArgs({"prog", "-LOG=c:\\x.log", "a", "-log=second", "-log="});
  char* first = args[1];
  int count = 5;
  const char* value = TakeOption(&count, args.data(), "-log=", "default");
  EXPECT_STREQ(value, "c:\\x.log");
  EXPECT_EQ(value, first + 5) << "the value is not a copy";
  EXPECT_EQ(ArgsOf(count, args.data()), (Strings{"prog", "a", "-log=second", "-log="}));

  EXPECT_STREQ(TakeOption(&count, args.data(), "-log=", "d"), "second");
  EXPECT_STREQ(TakeOption(&count, args.data(), "-log=", "d"), "");
  const char* fallback = "d";
  EXPECT_EQ(TakeOption(&count, args.data(), "-log=", fallback), fallback);
  EXPECT_EQ(ArgsOf(count, args.data()), (Strings{"prog", "a"}));
  EXPECT_EQ(args[2], nullptr);
}

TEST(TakeOption, ShorterEntryNeverMatches) {
  std::vector<char*> args = MakeArgs({"prog", "-dbg", "-db"});
  int count = 3;
  EXPECT_STREQ(TakeOption(&count, args.data(), "-dbg=", "0"), "0");
  EXPECT_EQ(count, 3);
}

TEST(CompareNoCase, OrderAndLengths) {
  struct {
    const char* a;
    const char* b;
    int expected;
  } cases[] = {
      {"yn", "YN", 0},
      {"Text", "tExT", 0},
      {"", "", 0},
      {"abc", "abd", -1},
      {"abd", "ABC", 1},
      {"ab", "abc", -'c'},
      {"abc", "ab", 'c'},
      {"", "a", -'a'},
      {"\xE9", "a", -1},
      {"a", "\xE9", 1},
      {"ab\xE9", "ab", static_cast<signed char>('\xE9')},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CompareNoCase(c.a, c.b), c.expected) << "\"" << c.a << "\" vs \"" << c.b << "\"";
  }
}

class FileTest : public ::testing::Test {
 protected:
  void SetUp() override { StandInReset(); }
};

TEST_F(FileTest, ReadAllFoldsCrLfAndKeepsEverythingElse) {
  std::string path = ScratchPath("crlf.txt");
  WriteBytes(path, "one\r\ntwo\r\r\n\rthree \x1A tail\r\n");
  char* text = ReadAll(path.c_str());
  EXPECT_STREQ(text, "one\ntwo\r\n\rthree \x1A tail\n");
  free(text);

  WriteBytes(path, "");
  text = ReadAll(path.c_str());
  EXPECT_STREQ(text, "");
  free(text);
}

TEST_F(FileTest, ReadAllOfLargeFile) {
  std::string path = ScratchPath("large.txt");
  std::string content;
  for (int i = 0; i < 100000; i++) content += "line " + std::to_string(i) + "\r\n";
  WriteBytes(path, content);
  char* text = ReadAll(path.c_str());
  std::string expected;
  for (int i = 0; i < 100000; i++) expected += "line " + std::to_string(i) + "\n";
  EXPECT_EQ(std::string(text), expected);
  free(text);
}

TEST_F(FileTest, ReadAllOfMissingFileIsFatal) {
  std::string path = ScratchPath("no-such-file.txt");
  try {
    ReadAll(path.c_str());
    FAIL() << "ReadAll returned";
  } catch (const StandInExit& e) {
    EXPECT_EQ(e.status, 1);
  }
  ASSERT_EQ(StandInBoxes.size(), 1u);
  EXPECT_EQ(StandInBoxes[0].text, "Can't read file: " + path);
  EXPECT_EQ(StandInBoxes[0].style, StandInWarningBox);
}

TEST_F(FileTest, ExpandFileArgsReplacesOnlyLeadingAt) {
  std::string a = ScratchPath("a.txt"), b = ScratchPath("b.txt");
  WriteBytes(a, "first line\r\nsecond\r\n");
  WriteBytes(b, "@" + a);
  std::string atA = "@" + a, atB = "@" + b;
  std::vector<char*> args = MakeArgs({atA, atA, "x@y", atB, ""});
  ExpandFileArgs(5, args.data());
  EXPECT_EQ(ArgsOf(5, args.data()), (Strings{atA, "first line\nsecond\n", "x@y", atA, ""}))
      << "entry 0 stays, content is not expanded again";
}

TEST_F(FileTest, ExpandFileArgsWithBareAtNamesEmptyPath) {
  std::vector<char*> args = MakeArgs({"prog", "@"});
  EXPECT_THROW(ExpandFileArgs(2, args.data()), StandInExit);
  ASSERT_EQ(StandInBoxes.size(), 1u);
  EXPECT_EQ(StandInBoxes[0].text, "Can't read file: ");
}

}  // namespace
