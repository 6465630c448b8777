// Files with a byte-order mark, as Excel, Notepad and PowerShell save them,
// and the UTF-8 decoding behind them; the stand-in's ANSI code page is
// Windows-1252 unless a test makes it UTF-8.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "cmdline.h"
#include "files.h"
#include "frame.h"
#include "log.h"
#include "standin.h"
#include "test_util.h"
#include "unicode.h"

namespace {

class MarkTest : public ::testing::Test {
 protected:
  void SetUp() override { StandInReset(); }
  void TearDown() override { StandInReset(); }
};

// The bytes of a UTF-16 text in either order, mark first.
std::string Utf16Bytes(const std::u16string& text, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char16_t unit : text) {
    char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    bytes += bigEndian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

TEST_F(MarkTest, WithoutAMarkTheBytesAreTheText) {
  const std::string cases[] = {
      "",
      "plain\r\ntext\n",
      std::string("nul\0inside", 10),
      "\xEF\xBB",  // a mark cut short
      "\xEF\xBB\xBE rest",
      "\xFF",
      "x\xEF\xBB\xBF not at the start",
      "\xE9t\xE9 in Windows-1252",
  };
  for (const std::string& bytes : cases) {
    EXPECT_EQ(DecodeMarkedText(bytes), bytes) << "[" << bytes << "]";
  }
}

TEST_F(MarkTest, MarkedTextBecomesWindows1252WithoutTheMark) {
  struct {
    std::string bytes;
    std::string text;
  } cases[] = {
      {"\xEF\xBB\xBF\"Smith, John\",42\r\n", "\"Smith, John\",42\r\n"},
      {"\xEF\xBB\xBF", ""},
      {"\xEF\xBB\xBFGr\xC3\xBCn \xE2\x82\xAC 5", "Gr\xFCn \x80 5"},
      // Characters the code page lacks become its default character: no
      // best-fit L for the Polish letter.
      {"\xEF\xBB\xBF\xC5\x81\xC3\xB3"
       "d\xC5\xBA",
       "?\xF3"
       "d?"},
      {"\xEF\xBB\xBF\xE4\xB8\xAD|\xF0\x9F\x98\x80|", "?|??|"},
      {"\xEF\xBB\xBF\xEF\xBB\xBFtwo marks", "?two marks"},
      {"\xEF\xBB\xBF"
       "bad \xC3( cut \xE2\x82",
       "bad ?( cut ?"},
      {Utf16Bytes(u"Red,1\r\nGr\u00FCn,2\r\n", false), "Red,1\r\nGr\xFCn,2\r\n"},
      {Utf16Bytes(u"Red,1\r\nGr\u00FCn,2\r\n", true), "Red,1\r\nGr\xFCn,2\r\n"},
      {Utf16Bytes(u"\u20AC\u0141\U0001F600", false), "\x80???"},
      {Utf16Bytes(u"", false), ""},
      {Utf16Bytes(u"odd", false) + "x", "odd?"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecodeMarkedText(c.bytes), c.text) << "[" << c.bytes << "]";
  }
}

TEST_F(MarkTest, UnderAUtf8CodePageUtf8IsKeptAndUtf16Converted) {
  StandInAnsiUtf8 = true;
  struct {
    std::string bytes;
    std::string text;
  } cases[] = {
      {"\xEF\xBB\xBF\xC5\x81\xC3\xB3"
       "d\xC5\xBA",
       "\xC5\x81\xC3\xB3"
       "d\xC5\xBA"},
      // As it is: not even a broken sequence is touched.
      {"\xEF\xBB\xBF"
       "bad \xC3( \xFF",
       "bad \xC3( \xFF"},
      {Utf16Bytes(u"\u0141\u00F3d\u017A \u4E2D \U0001F600", false),
       "\xC5\x81\xC3\xB3"
       "d\xC5\xBA \xE4\xB8\xAD \xF0\x9F\x98\x80"},
      {Utf16Bytes(u"\u0416\r\n", true), "\xD0\x96\r\n"},
      {Utf16Bytes(std::u16string(1, char16_t(0xD800)) + u"x", false), "\xEF\xBF\xBDx"},
      {"no mark \xC5\x81", "no mark \xC5\x81"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecodeMarkedText(c.bytes), c.text) << "[" << c.bytes << "]";
  }
}

TEST(Utf8ToUtf16, WellFormedAndBrokenSequences) {
  struct {
    std::string utf8;
    std::u16string utf16;
  } cases[] = {
      {"", u""},
      {"abc", u"abc"},
      {"\xC3\xBC\xE2\x82\xAC\xF0\x9F\x98\x80", u"\u00FC\u20AC\U0001F600"},
      {"\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
      {"\xC0\x80", u"\uFFFD\uFFFD"},                      // overlong
      {"\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},            // overlong
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},            // a surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // past U+10FFFF
      {"\xE2\x82", u"\uFFFD"},                            // cut at the end
      {"\xE2\x82x", u"\uFFFDx"},                          // cut in the middle
      {"\x80\xBF", u"\uFFFD\uFFFD"},
      {"\xFF\xFE", u"\uFFFD\uFFFD"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16) << "[" << c.utf8 << "]";
  }
}

TEST_F(MarkTest, ReadAllDecodesBeforeFoldingLineEnds) {
  std::string path = ScratchPath("marked.txt");
  struct {
    std::string bytes;
    const char* text;
  } cases[] = {
      {"\xEF\xBB\xBF"
       "C:\\Reports\r\n",
       "C:\\Reports\n"},
      {Utf16Bytes(u"two\r\nlines\r\n", false), "two\nlines\n"},
      {Utf16Bytes(u"big\r\n", true), "big\n"},
      {"\xEF\xBB\xBF", ""},
  };
  for (const auto& c : cases) {
    WriteBytes(path, c.bytes);
    char* text = ReadAll(path.c_str());
    EXPECT_STREQ(text, c.text) << "[" << c.bytes << "]";
    free(text);
  }
}

TEST(SplitTextLines, ReadsLikeReadTextLine) {
  const std::string cases[] = {
      "", "a", "a\n", "a\r\nb", "\n\n", "a\rb\r\n\r", "x\r\r\ny\n", std::string("n\0l\n", 4),
  };
  for (const std::string& text : cases) {
    std::string path = ScratchPath("lines.txt");
    WriteBytes(path, text);
    FILE* f = fopen(path.c_str(), "rb");
    ASSERT_TRUE(f);
    std::vector<std::string> read;
    for (std::string line; ReadTextLine(f, &line);) read.push_back(line);
    fclose(f);
    EXPECT_EQ(SplitTextLines(text), read) << "[" << text << "]";
  }
}

// Characters of one to four bytes in UTF-8: Polish l with stroke, a Chinese
// character, an emoji.
const char* const Two = "\xC5\x82";
const char* const Three = "\xE4\xB8\xAD";
const char* const Four = "\xF0\x9F\x98\x80";

std::string Times(const std::string& text, int n) {
  std::string result;
  for (int i = 0; i < n; i++) result += text;
  return result;
}

TEST_F(MarkTest, CharactersAreBytesInTheAnsiCodePage) {
  std::string mixed = std::string("ab") + Two + Three + Four;
  EXPECT_EQ(CountCharacters(mixed.c_str()), mixed.size());
  EXPECT_EQ(CharactersLength(mixed.c_str(), 3), 3u) << "a cut after three bytes";
  EXPECT_EQ(CharactersLength(mixed.c_str(), 100), mixed.size());
  EXPECT_EQ(AnsiBufferSize(255), 255u);
}

TEST_F(MarkTest, CharactersAreCodePointsUnderUtf8) {
  StandInAnsiUtf8 = true;
  struct {
    std::string text;
    size_t count;
    size_t n;
    size_t length;  // bytes of the first n characters
  } cases[] = {
      {"", 0, 5, 0},
      {"abc", 3, 2, 2},
      {std::string("a") + Two + Three + Four + "z", 5, 3, 6},
      {std::string("a") + Two + Three + Four + "z", 5, 4, 10},
      {Times(Four, 300), 300, 255, 1020},
      {Times(Three, 300), 300, 255, 765},
      {Times(Two, 10), 10, 0, 0},
      // A cut sequence or stray continuation bytes stay with the character
      // before them.
      {std::string("x\x80\x80y"), 2, 1, 3},
      {std::string("\xE4\xB8"), 1, 1, 2},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CountCharacters(c.text.c_str()), c.count) << "[" << c.text << "]";
    EXPECT_EQ(CharactersLength(c.text.c_str(), c.n), c.length) << "[" << c.text << "] " << c.n;
  }
  EXPECT_EQ(AnsiBufferSize(255), 765u) << "three bytes a UTF-16 unit";
}

TEST_F(MarkTest, Utf8LogLinesAreCutAtWholeCharacters) {
  StandInAnsiUtf8 = true;
  std::string path = ScratchPath("utf8.log");
  WriteBytes(path, "");
  SetLogPath(path.c_str());
  std::string longText = Times(Three, 1000);
  Log("%s", longText.c_str());
  LogLine("x%s", longText.c_str());
  SetLogPath(nullptr);
  std::string bytes = ReadBytes(path);
  // The entry: "HH:MM:SS " and 503 characters; the plain line: 512.
  std::string entry = " " + longText.substr(0, (LogLineMax - 9) * 3) + Eol;
  std::string plain = "x" + longText.substr(0, (LogLineMax - 1) * 3) + Eol;
  EXPECT_NE(bytes.find(entry), std::string::npos) << bytes.size();
  EXPECT_EQ(bytes.size() >= plain.size() ? bytes.substr(bytes.size() - plain.size()) : "", plain);
}

}  // namespace
