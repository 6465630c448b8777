// The log file's exact bytes: headers, entries, limits and hex dumps.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "log.h"
#include "test_util.h"

namespace {

// The log's lines, split at the text-mode line end.
std::vector<std::string> LogLines(const std::string& path) {
  std::string bytes = ReadBytes(path);
  std::vector<std::string> lines;
  std::string eol = Eol;
  size_t start = 0;
  for (size_t at; (at = bytes.find(eol, start)) != std::string::npos; start = at + eol.size())
    lines.push_back(bytes.substr(start, at - start));
  EXPECT_EQ(start, bytes.size()) << "the log must end with a line end: " << bytes;
  return lines;
}

// "HH:MM:SS " followed by the message.
void ExpectEntry(const std::string& line, const std::string& message) {
  static const std::regex clock("^[0-2][0-9]:[0-5][0-9]:[0-6][0-9] ");
  EXPECT_TRUE(std::regex_search(line, clock)) << "got \"" << line << "\"";
  EXPECT_EQ(line.substr(std::min<size_t>(9, line.size())), message) << "line \"" << line << "\"";
}

void ExpectHeader(const std::vector<std::string>& lines, size_t at) {
  static const std::regex date(
      "^\\* (Mon|Tue|Wed|Thu|Fri|Sat|Sun) [0-3][0-9] "
      "(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) [0-9]{4}$");
  ASSERT_GE(lines.size(), at + 3);
  EXPECT_EQ(lines[at], "*");
  EXPECT_TRUE(std::regex_match(lines[at + 1], date)) << "got \"" << lines[at + 1] << "\"";
  EXPECT_EQ(lines[at + 2], "*");
}

class LogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = ScratchPath(
        std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".log");
    WriteBytes(path_, "");
    SetLogPath(path_.c_str());
  }
  void TearDown() override { SetLogPath(nullptr); }
  std::string path_;
};

TEST_F(LogTest, OneHeaderPerRunAndAfterNewPath) {
  Log("first %d", 1);
  Log("second %s", "two");
  SetLogPath(path_.c_str());
  Log("third");
  std::vector<std::string> lines = LogLines(path_);
  ASSERT_EQ(lines.size(), 9u);
  ExpectHeader(lines, 0);
  ExpectEntry(lines[3], "first 1");
  ExpectEntry(lines[4], "second two");
  ExpectHeader(lines, 5);
  ExpectEntry(lines[8], "third");
}

TEST_F(LogTest, HeaderEvenAfterSameDayHeaderInFile) {
  Log("run one");
  SetLogPath(path_.c_str());  // what a new process starts with
  Log("run two");
  std::vector<std::string> lines = LogLines(path_);
  ASSERT_EQ(lines.size(), 8u);
  ExpectHeader(lines, 4);
}

TEST_F(LogTest, ArgumentsAreWrittenUnchanged) {
  Log("Cmdline: %s", "ask -dbg=1 ok \"100% sure\" %s %n out.txt");
  Log("line\nbreak");
  std::vector<std::string> lines = LogLines(path_);
  ASSERT_EQ(lines.size(), 6u);
  ExpectEntry(lines[3], "Cmdline: ask -dbg=1 ok \"100% sure\" %s %n out.txt");
  ExpectEntry(lines[4], "line");
  EXPECT_EQ(lines[5], "break") << "the continuation carries no time";
}

TEST_F(LogTest, LongMessagesAreCutToTheLineLimit) {
  std::string longText(5000, 'x');
  Log("%s", longText.c_str());
  LogLine("%s", longText.c_str());
  std::vector<std::string> lines = LogLines(path_);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[3].size(), static_cast<size_t>(LogLineMax));
  ExpectEntry(lines[3], std::string(LogLineMax - 9, 'x'));
  EXPECT_EQ(lines[4], std::string(LogLineMax, 'x'));
}

TEST_F(LogTest, UnopenablePathIsIgnored) {
  std::string bad = ScratchPath("no-such-folder/x.log");
  SetLogPath(bad.c_str());
  Log("dropped");
  EXPECT_EQ(ReadBytes(bad), "<missing>");
  SetLogPath("");
  Log("dropped too");
  SetLogPath(nullptr);
  Log("no path at all");
  LogLine("nor this");
  EXPECT_EQ(ReadBytes(path_), "");
}

TEST_F(LogTest, LogCommandJoinsWithBlanks) {
  std::vector<char*> args = MakeArgs({"a b", "c"});
  LogCommand("prog", 2, args.data());
  LogCommand("prog", 0, args.data());
  LogCommand("prog", -1, args.data());
  std::vector<std::string> lines = LogLines(path_);
  ASSERT_EQ(lines.size(), 6u);
  ExpectEntry(lines[3], "prog a b c");
  ExpectEntry(lines[4], "prog");
  ExpectEntry(lines[5], "prog");
}

TEST_F(LogTest, HexDumpLines) {
  const unsigned char three[] = {0x41, 0x0A, 0xC2};
  LogHexDump("three", 3, three);
  unsigned char seventeen[17];
  for (int i = 0; i < 17; i++) seventeen[i] = static_cast<unsigned char>(i == 16 ? 0xC1 : 0x30 + i);
  LogHexDump("seventeen", 17, seventeen);
  const unsigned char odd[] = {0x00, 0x1F, 0x7F, 0x80, 0x9F, 0xFF, 0x20, 0x7E};
  LogHexDump("odd", 8, odd);
  LogHexDump("none", 0, three);
  LogHexDump("negative", -5, three);

  std::vector<std::string> lines = LogLines(path_);
  ASSERT_EQ(lines.size(), 3u + 2 + 3 + 2 + 1 + 1);
  ExpectEntry(lines[3], "three");
  ExpectEntry(lines[4], "41 0A C2 " + std::string(39, ' ') + "A.B");
  ExpectEntry(lines[5], "seventeen");
  ExpectEntry(lines[6], "30 31 32 33 34 35 36 37 38 39 3A 3B 3C 3D 3E 3F 0123456789:;<=>?");
  ExpectEntry(lines[7], "C1 " + std::string(45, ' ') + "A");
  ExpectEntry(lines[8], "odd");
  ExpectEntry(lines[9], "00 1F 7F 80 9F FF 20 7E " + std::string(24, ' ') + "...... ~");
  ExpectEntry(lines[10], "none");
  ExpectEntry(lines[11], "negative");
}

}  // namespace
