// The progress window's feed: bytes into lines in any encoding, lines
// into commands.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "feed.h"

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
