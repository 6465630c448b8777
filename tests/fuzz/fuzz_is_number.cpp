// IsNumber against a table-driven automaton for the same rules: blanks, an
// optional sign, digits with an optional fraction (at least one digit in
// the two), an optional exponent letter, an optional sign and digits, then
// blanks. The two must agree on every text.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz_support.h"
#include "text.h"

namespace {

enum Class { Blank, Sign, Digit, Dot, Letter, Other, ClassCount };

Class ClassOf(char c) {
  if (c == ' ') return Blank;
  if (c == '+' || c == '-') return Sign;
  if (c >= '0' && c <= '9') return Digit;
  if (c == '.') return Dot;
  if (c == 'e' || c == 'E') return Letter;
  return Other;
}

// States: 0 leading blanks, 1 after the sign, 2 whole digits, 3 a point
// with no digit before it, 4 fraction (a digit seen), 5 exponent letter,
// 6 exponent sign, 7 exponent digits, 8 trailing blanks, 9 rejected.
// Without a digit in the mantissa nothing can be accepted, so states 0,
// 1 and 3 lead only into the mantissa or to 9.
constexpr int Rejected = 9;
constexpr int Next[10][ClassCount] = {
    // Blank Sign Digit Dot Letter Other
    {0, 1, 2, 3, 9, 9},  // 0
    {9, 9, 2, 3, 9, 9},  // 1
    {8, 6, 2, 4, 5, 9},  // 2
    {9, 9, 4, 9, 9, 9},  // 3
    {8, 6, 4, 9, 5, 9},  // 4
    {8, 6, 7, 9, 9, 9},  // 5
    {8, 9, 7, 9, 9, 9},  // 6
    {8, 9, 7, 9, 9, 9},  // 7
    {8, 9, 9, 9, 9, 9},  // 8
    {9, 9, 9, 9, 9, 9},  // 9
};
constexpr bool Accepting[10] = {false, false, true, false, true, true, true, true, true, false};

bool Reference(const std::string& text) {
  int state = 0;
  for (char c : text) {
    state = Next[state][ClassOf(c)];
    if (state == Rejected) return false;
  }
  return Accepting[state];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text = AsText(data, size);
  bool expected = Reference(text);
  int got = IsNumber(text.c_str());
  FUZZ_CHECK(got == (expected ? 1 : 0), "IsNumber(\"%s\") gave %d", text.c_str(), got);
  return 0;
}
