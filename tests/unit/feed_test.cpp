// The progress window's feed: the file followed, bytes into lines in any
// encoding, lines into commands.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "dialogs_standin.h"
#include "feed.h"
#include "follower.h"
#include "test_util.h"

namespace {

using Strings = std::vector<std::string>;

TEST(FeedLines, WholeLinesInEachEncoding) {
  struct {
    std::string bytes;
    Strings lines;
    std::string pending;
    size_t notes = 0;
  } cases[] = {
      // UTF-8, CR LF, LF and half lines: the end-to-end progress tests.
      {std::string("\xFF\xFE"
                   "4\0"
                   "0\0\r\0\n\0c\0",
                   12),
       {"40\r"},
       std::string("c\0", 2)},
      {std::string("\xFE\xFF\0"
                   "4\0"
                   "0\0\n",
                   8),
       {"40"},
       ""},
      {"\xEF\xBB", {}, "\xEF\xBB"},  // perhaps a mark: wait for its end
      // Dropped with a note: a line over FeedLineMax bytes, a byte of no
      // UTF-16 unit (here after ANSI lines that put UTF-16 ones out of step).
      {std::string(FeedLineMax, 'k') + "\n" + std::string(FeedLineMax + 1, 'x') + "\n20\n",
       {std::string(FeedLineMax, 'k'), "20"},
       "",
       1},
      {std::string("\xFF\xFEw\0x\0\r\0\n\0y\r\nz\0\n\0qr\0\n\0", 22),
       {"wx\r", "y\r", "z", "r"},
       "",
       1},
      {std::string("\xFE\xFF\0w\0\nx\r\n\0y\0\n", 13), {"w", "x\r", "y"}, ""},
  };
  for (const auto& c : cases) {
    FeedState state{};
    EXPECT_EQ(FeedLines(&state, c.bytes, false), c.lines) << c.bytes;
    EXPECT_EQ(state.pending, c.pending) << c.bytes;
    EXPECT_EQ(state.notes.size(), c.notes) << c.bytes;
  }
  FeedState state{};
  EXPECT_EQ(FeedLines(&state, "90", true), Strings{"90"}) << "the end of input ends the line";
}

TEST(ReadFeedFile, AppendedBytesAndRestarts) {
  std::string path = ScratchPath("feed.txt");
  std::remove(path.c_str());
  enum Change { Append, Rewrite, Remove };
  struct {
    Change change;
    std::string bytes;
    std::string read;
    bool restart;
  } steps[] = {
      {Remove, "", "", true},          // not there yet
      {Append, "10\n", "10\n", true},  // a file not read before starts it
      {Append, "2", "2", false},       // only what was appended, half lines too
      {Append, "0\n", "0\n", false},
      {Append, "", "", false},          // nothing new
      {Rewrite, "30\n", "30\n", true},  // written anew with ">": it begins otherwise
      {Append, std::string(81, 'x'), std::string(81, 'x'), false},
      {Rewrite, "30\n" + std::string(70, 'x'), "30\n" + std::string(70, 'x'), true},  // shorter
      {Remove, "", "", true},
      {Append, "60\n", "60\n", true},
  };
  FileSeen seen;
  int step = 0;
  for (const auto& s : steps) {
    if (s.change == Remove) std::remove(path.c_str());
    if (s.change == Rewrite) WriteBytes(path, s.bytes);
    if (s.change == Append) std::ofstream(path, std::ios::binary | std::ios::app) << s.bytes;
    FeedRead read = ReadFeedFile(path.c_str(), &seen);
    EXPECT_EQ(read.bytes, s.read) << "step " << step;
    EXPECT_EQ(read.restart, s.restart) << "step " << step;
    EXPECT_FALSE(read.folder || read.device || read.full || read.error) << "step " << step;
    step++;
  }
  std::string folder = ScratchPath("feed-folder");
  std::filesystem::create_directories(folder);
  EXPECT_TRUE(ReadFeedFile(folder.c_str(), &seen).folder);
}

TEST(FindBatchShell, TheBatchFilesCmdOrWhyNone) {
  // This process is 10; the shells that began before it: 3, then 4, 5, 7.
  struct {
    std::vector<ProcessSeen> processes;
    unsigned long found;
    const char* why;
  } cases[] = {
      {{{10, 5, "ask.exe"}, {5, 1, "CMD.EXE"}}, 5, ""},
      {{{10, 6, "ask.exe"}, {6, 5, "start.exe"}, {5, 1, "cmd.exe"}}, 5, ""},  // Wine's start
      {{{10, 8, "ask.exe"}, {8, 1, "explorer.exe"}},
       0,
       "it was started by explorer.exe, not by a batch file"},
      {{{10, 9, "ask.exe"}, {9, 1, "cmd.exe"}}, 0, "the cmd.exe that started it cannot be opened"},
      // The parent gone: the youngest older cmd.exe, not one begun after.
      {{{10, 2, "ask.exe"}, {3, 1, "cmd.exe"}, {4, 1, "cmd.exe"}, {11, 1, "cmd.exe"}}, 4, ""},
      {{{10, 2, "ask.exe"}, {7, 1, "notepad.exe"}},
       0,
       "the program that started it has ended, and no cmd.exe runs"},
      {{}, 0, "the processes cannot be listed"},
  };
  StandInSelf = 10;
  StandInOlderShells = {3, 4, 5, 7};
  for (const auto& c : cases) {
    StandInProcesses = c.processes;
    std::string why;
    void* shell = FindBatchShell(&why);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(shell), c.found) << c.why;
    EXPECT_EQ(why, c.why);
  }
  StandInProcesses.clear();
}

TEST(PlaceOf, DevicesSharesAndFolders) {
  StandInRemoteRoot = "R:\\";
  struct {
    const char* full;
    FeedPlace place;
    const char* folder;
  } cases[] = {
      {"C:\\feed.txt", LocalFeed, "C:\\"},
      {"C:\\work\\feed.txt", LocalFeed, "C:\\work"},
      {"R:\\feed.txt", RemoteFeed, "R:\\"},
      {"\\\\server\\share\\feed.txt", RemoteFeed, "\\\\server\\share"},
      {"\\\\?\\UNC\\server\\share\\feed.txt", RemoteFeed, "\\\\?\\UNC\\server\\share"},
      {"\\\\?\\C:\\feed.txt", LocalFeed, "\\\\?\\C:\\"},
      {"\\\\.\\NUL", DeviceFeed, "\\\\."},
      {"\\\\.\\pipe\\feed", DeviceFeed, "\\\\.\\pipe"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PlaceOf(c.full), c.place) << c.full;
    EXPECT_EQ(FolderOf(c.full), c.folder) << c.full;
  }
  StandInRemoteRoot.clear();
}

TEST(ParseFeedLine, Commands) {
  struct {
    const char* line;
    FeedKind kind;
    int value;
    const char* text;
  } cases[] = {
      // What the end-to-end tests give (10, "#text", pulsate, close, 101 ...)
      // is left to them; here the edges they do not reach.
      {"100 \t\r", FeedValue, 100, ""},
      {"040", FeedValue, 40, ""},
      {" \t20", FeedValue, 20, ""},
      {"  #go on ", FeedText, 0, "go on"},
      {"99999999999", FeedIgnored, 0, ""},
      {"-5", FeedIgnored, 0, ""},
      {"", FeedIgnored, 0, ""},
      {"#", FeedText, 0, ""},
      {"PULSATE", FeedPulsate, 0, ""},
      {"closed", FeedIgnored, 0, ""},
  };
  for (const auto& c : cases) {
    FeedCommand command = ParseFeedLine(c.line);
    EXPECT_EQ(command.kind, c.kind) << c.line;
    EXPECT_EQ(command.value, c.value) << c.line;
    EXPECT_EQ(command.text, c.text) << c.line;
  }
}

}  // namespace
