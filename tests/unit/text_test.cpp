// Text utilities and StrList, where they can go wrong.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "text.h"

namespace {

using Strings = std::vector<std::string>;

// Runs an in-place routine on a copy of text.
std::string InPlace(char* (*routine)(char*), const std::string& text) {
  std::vector<char> buffer(text.begin(), text.end());
  buffer.push_back('\0');
  char* result = routine(buffer.data());
  EXPECT_EQ(result, buffer.data()) << "in-place routines return their argument";
  return result;
}

// Takes ownership of a new string.
std::string Owned(char* text) {
  std::string copy = text ? text : "<null>";
  free(text);
  return copy;
}

Strings Entries(StrList list) { return Strings(list, list + ListCount(list)); }

TEST(IsNumber, Grammar) {
  const char* numbers[] = {" -12.5e+3 ", "5.",   ".5",   "1e",   "1e+", "5+3", "5-",  "0",
                           "+7",         "  42", "3.14", "1E-9", "007", "1e5", "-.5", "9 "};
  const char* others[] = {"",    ".",   "+",    "- 5", "1 2", "1,5",  "0x1F",  "--5", "e5", "\t5",
                          "5\t", "+-5", "1e5e", "abc", " ",   "1..2", "1.2.3", ".e5", "5 e"};
  for (const char* n : numbers) EXPECT_EQ(IsNumber(n), 1) << "\"" << n << "\"";
  for (const char* o : others) EXPECT_EQ(IsNumber(o), 0) << "\"" << o << "\"";
}

TEST(BeginsWithNumber, BlanksAndOneSign) {
  EXPECT_EQ(BeginsWithNumber("  -5x"), 1);
  EXPECT_EQ(BeginsWithNumber("+0"), 1);
  EXPECT_EQ(BeginsWithNumber("\t5"), 0);
  EXPECT_EQ(BeginsWithNumber("--5"), 0);
  EXPECT_EQ(BeginsWithNumber(""), 0);
}

// Splits a copy of text; the tokens and what follows them.
Strings Split(char delimiter, const std::string& text, int max) {
  std::vector<char> buffer(text.begin(), text.end());
  buffer.push_back('\0');
  std::vector<char*> tokens(max > 0 ? max + 1 : 1, reinterpret_cast<char*>(1));
  int n = SplitFields(delimiter, buffer.data(), max, tokens.data());
  EXPECT_EQ(tokens[n], nullptr);
  return Strings(tokens.begin(), tokens.begin() + n);
}

TEST(SplitFields, QuotesEmptyTokensAndMax) {
  struct {
    char delimiter;
    const char* text;
    int max;
    Strings tokens;
  } cases[] = {
      {',', "a,b,c", 10, {"a", "b", "c"}},
      {',', "a,,b", 10, {"a", "", "b"}},
      {',', "a,", 10, {"a"}},
      {',', "  a , b", 10, {"a ", "b"}},
      {',', "\"x,y\",z", 10, {"x,y", "", "z"}},
      {',', "\"open, never closed", 10, {"open, never closed"}},
      {',', "a,b,c,d", 2, {"a", "b"}},
      {',', "a,b", 0, {}},
      {',', "", 5, {}},
      {' ', "one  two \"three four\" five", 10, {"one", "two", "three four", "five"}},
      {'\0', "a,b c", 5, {"a,b c"}},
      {',', "\t,x", 5, {"\t", "x"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Split(c.delimiter, c.text, c.max), c.tokens)
        << "\"" << c.text << "\" at '" << c.delimiter << "' max " << c.max;
  }
  std::vector<char> words = {'a', ' ', 'b', '\0'};
  char* tokens[3];
  EXPECT_EQ(SplitWords(words.data(), 2, tokens), 2);
  EXPECT_STREQ(tokens[1], "b");
}

TEST(ReplaceAll, LeftToRightWithoutOverlaps) {
  EXPECT_EQ(Owned(ReplaceAll("aaa", "aa", "b")), "ba");
  EXPECT_EQ(Owned(ReplaceAll("a.b.c", ".", "::")), "a::b::c");
  EXPECT_EQ(Owned(ReplaceAll("abcabc", "abc", "")), "");
  EXPECT_EQ(Owned(ReplaceAll("xyz", "q", "r")), "xyz");
  EXPECT_EQ(Owned(ReplaceAll("ab", "ab", nullptr)), "");
  EXPECT_EQ(Owned(ReplaceAll("abc", "", "X")), "abc");
  EXPECT_EQ(Owned(ReplaceAll("abc", nullptr, "X")), "abc");
  EXPECT_EQ(ReplaceAll(nullptr, "a", "b"), nullptr);
}

TEST(InPlace, LineEndsBlanksAndQuotes) {
  EXPECT_EQ(InPlace(StripNewline, "a\r\n"), "a\r");
  EXPECT_EQ(InPlace(StripNewline, "a\n\n"), "a\n");
  EXPECT_EQ(InPlace(StripNewline, ""), "");
  EXPECT_EQ(InPlace(FlattenLines, "a\r\nb\r\n"), "a  b");
  EXPECT_EQ(InPlace(FlattenLines, "\n\r\n"), "");
  EXPECT_EQ(InPlace(FlattenLines, "\nx\ry"), " x y");
  EXPECT_EQ(InPlace(TrimRight, "a \t "), "a \t");
  EXPECT_EQ(InPlace(TrimRight, "   "), "");
  EXPECT_STREQ(SkipBlanks(" \t \tx "), "x ");
  EXPECT_EQ(IsBlank(""), 1);
  EXPECT_EQ(IsBlank(" \t"), 1);
  EXPECT_EQ(IsBlank(" .\t"), 0);
}

TEST(NewStrings, QuotesExtensionsAndPieces) {
  EXPECT_EQ(Owned(StripQuotes("\"")), "");
  EXPECT_EQ(Owned(StripQuotes("\"\"")), "");
  EXPECT_EQ(Owned(StripQuotes("\"abc")), "abc");
  EXPECT_EQ(Owned(StripQuotes("abc\"")), "abc");
  EXPECT_EQ(Owned(StripQuotes("\"a\"b\"")), "a\"b");
  EXPECT_EQ(Owned(AddQuotes("")), "\"\"");
  EXPECT_EQ(Owned(ChangeExtension("C:\\v1.2\\readme", ".txt")), "C:\\v1.2\\readme.txt");
  EXPECT_EQ(Owned(ChangeExtension("C:\\d\\a.tar.gz", ".zip")), "C:\\d\\a.tar.zip");
  EXPECT_EQ(Owned(ChangeExtension("a.b/c", ".x")), "a.x") << "only the backslash separates";
  EXPECT_EQ(Owned(ChangeExtension("name", ".log")), "name.log");
  EXPECT_EQ(Owned(Substring("abc", 1, 5)), "bc");
  EXPECT_EQ(Owned(Substring("abc", 3, 5)), "");
  EXPECT_EQ(Owned(Substring("abcdef", 2, 2)), "cd");
  std::vector<char*> words = {const_cast<char*>("a"), const_cast<char*>("b")};
  EXPECT_EQ(Owned(JoinWords(2, words.data())), " a b");
  EXPECT_EQ(Owned(JoinWords(0, words.data())), "");
  EXPECT_EQ(Owned(Concat3("a", "", "c")), "ac");
  EXPECT_EQ(Owned(Concat("", "b")), "b");

  char* variable = nullptr;
  SetString(&variable, "one");
  EXPECT_EQ(Owned(SetString(&variable, "two")), "two");

  char buffer[4];
  EXPECT_STREQ(CopyAtMost(buffer, "abcdef", 3), "abc");
  EXPECT_STREQ(CopyAtMost(buffer, "ab", 3), "ab");
  EXPECT_STREQ(CopyAtMost(buffer, "ab", -1), "");
}

TEST(PathJoinInto, ExactCapacity) {
  char buffer[16] = "untouched";
  EXPECT_EQ(PathJoinInto(5, buffer, "ab", "cd"), 0) << "\"ab\\cd\" needs 6 bytes";
  EXPECT_STREQ(buffer, "untouched");
  EXPECT_EQ(PathJoinInto(6, buffer, "ab", "cd"), 1);
  EXPECT_STREQ(buffer, "ab\\cd");
  EXPECT_EQ(PathJoinInto(5, buffer, "ab\\", "c"), 1);
  EXPECT_STREQ(buffer, "ab\\c");
  EXPECT_EQ(PathJoinInto(2, buffer, "", "c"), 1);
  EXPECT_STREQ(buffer, "c");
  EXPECT_EQ(PathJoinInto(1, buffer, "", "c"), 0);
}

TEST(StrList, GrowingOnGetSetAndInsert) {
  StrList list = ListNew(2);
  EXPECT_EQ(Entries(list), (Strings{"", ""}));
  ListSet(&list, 0, "a");
  ListSet(&list, 1, "b");
  EXPECT_STREQ(ListGet(&list, 2), "");
  EXPECT_EQ(Entries(list), (Strings{"a", "b", ""})) << "reading past the end lengthens";
  EXPECT_STREQ(ListSet(&list, 5, "f"), "f");
  EXPECT_EQ(Entries(list), (Strings{"a", "b", "", "", "", "f"}));
  EXPECT_EQ(ListSet(&list, -1, "x"), nullptr);
  EXPECT_EQ(ListGet(&list, -1), nullptr);
  ListInsert(&list, -1, "x");
  EXPECT_EQ(ListCount(list), 6);
  ListFree(list);

  StrList empty = ListNew(-3);
  EXPECT_EQ(ListCount(empty), 0);
  ListInsert(&empty, 5, "five");
  EXPECT_EQ(Entries(empty), (Strings{"", "", "", "", "", "five"}));
  ListInsert(&empty, 0, "first");
  ListInsert(&empty, 3, "mid");
  EXPECT_EQ(Entries(empty), (Strings{"first", "", "", "mid", "", "", "", "five"}));
  ListAppend(&empty, "end");
  EXPECT_EQ(Entries(empty).back(), "end");
  ListFree(empty);
}

TEST(StrList, RemoveResizeAndCopy) {
  StrList list = ListNew(0);
  for (const char* t : {"a", "b", "c", "d"}) ListAppend(&list, t);
  StrList before = list;
  ListRemove(&list, 3);
  EXPECT_EQ(list, before) << "removing keeps the array";
  EXPECT_EQ(Entries(list), (Strings{"a", "b", "c"}));
  ListRemove(&list, 0);
  ListRemove(&list, 7);
  ListRemove(&list, -1);
  EXPECT_EQ(Entries(list), (Strings{"b", "c"}));

  StrList copy = ListCopy(list);
  EXPECT_NE(copy[0], list[0]);
  EXPECT_EQ(Entries(copy), Entries(list));

  ListResize(&list, 4);
  EXPECT_EQ(Entries(list), (Strings{"b", "c", "", ""}));
  ListResize(&list, 1);
  EXPECT_EQ(Entries(list), (Strings{"b"}));
  ListResize(&list, 0);
  EXPECT_EQ(ListCount(list), 0);
  ListFree(list);

  FreeStrings(copy);
  free(copy);
  char* some[3] = {static_cast<char*>(malloc(1)), nullptr, static_cast<char*>(malloc(1))};
  FreeStringsN(3, some);  // nulls are skipped; the sanitizers see the rest freed once
  StrList none = ListNew(0);
  ListRemove(&none, 0);
  ListFree(none);
}

}  // namespace
