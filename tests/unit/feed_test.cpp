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
  };
  for (const auto& c : cases) {
    FeedState state{};
    EXPECT_EQ(FeedLines(&state, c.bytes, false), c.lines) << c.bytes;
    EXPECT_EQ(state.pending, c.pending) << c.bytes;
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
