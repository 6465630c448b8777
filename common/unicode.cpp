// Byte-order marks and UTF-8 decoding.
#include "unicode.h"

#include <cstdio>

#include "platform.h"

namespace {

constexpr char16_t Replacement = 0xFFFD;

bool StartsWith(const std::string& bytes, const char* mark, size_t n) {
  return bytes.size() >= n && bytes.compare(0, n, mark, n) == 0;
}

// The UTF-16 units of the bytes after the mark, two bytes each in the
// given order; an odd last byte is a cut character.
std::u16string Utf16Units(const std::string& bytes, size_t from, bool bigEndian) {
  std::u16string units;
  units.reserve((bytes.size() - from) / 2 + 1);
  size_t i = from;
  for (; i + 1 < bytes.size(); i += 2) {
    unsigned char first = static_cast<unsigned char>(bytes[i]);
    unsigned char second = static_cast<unsigned char>(bytes[i + 1]);
    units.push_back(bigEndian ? static_cast<char16_t>(first << 8 | second)
                              : static_cast<char16_t>(second << 8 | first));
  }
  if (i < bytes.size()) units.push_back(Replacement);
  return units;
}

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

}  // namespace

// --- Byte-order marks ---

std::string DecodeMarkedText(const std::string& bytes) {
  if (StartsWith(bytes, "\xEF\xBB\xBF", 3)) {
    if (PlatformAnsiIsUtf8()) return bytes.substr(3);
    return PlatformToAnsi(Utf8ToUtf16(bytes.substr(3)));
  }
  if (StartsWith(bytes, "\xFF\xFE", 2)) return PlatformToAnsi(Utf16Units(bytes, 2, false));
  if (StartsWith(bytes, "\xFE\xFF", 2)) return PlatformToAnsi(Utf16Units(bytes, 2, true));
  return bytes;
}

// --- UTF-8 ---

std::u16string Utf8ToUtf16(const std::string& text) {
  std::u16string out;
  out.reserve(text.size());
  size_t i = 0, n = text.size();
  while (i < n) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      out.push_back(c);
      i++;
      continue;
    }
    // The length of the sequence, its first payload bits, and the range the
    // second byte must lie in (which rules out overlong forms, surrogates
    // and code points beyond U+10FFFF).
    size_t length = 0;
    char32_t code = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
      length = 2;
      code = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      length = 3;
      code = c & 0x0F;
      if (c == 0xE0) low = 0xA0;
      if (c == 0xED) high = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      length = 4;
      code = c & 0x07;
      if (c == 0xF0) low = 0x90;
      if (c == 0xF4) high = 0x8F;
    }
    size_t k = 1;
    for (; length && k < length && i + k < n; k++) {
      unsigned char next = static_cast<unsigned char>(text[i + k]);
      if (k == 1 ? next < low || next > high : !IsContinuation(next)) break;
      code = code << 6 | (next & 0x3F);
    }
    if (!length || k < length) {
      // A malformed or cut sequence: one replacement for the bytes read so
      // far, and reading goes on at the first byte that did not fit.
      out.push_back(Replacement);
      i += length ? k : 1;
      continue;
    }
    if (code >= 0x10000) {
      code -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(code));
    }
    i += length;
  }
  return out;
}

// --- Characters ---

namespace {

// Whether the byte at text begins a character.
bool BeginsCharacter(char c, bool utf8) {
  return !utf8 || !IsContinuation(static_cast<unsigned char>(c));
}

}  // namespace

size_t CountCharacters(const char* text) {
  bool utf8 = PlatformAnsiIsUtf8();
  size_t n = 0;
  for (const char* p = text; *p; p++) n += BeginsCharacter(*p, utf8);
  return n;
}

size_t CharactersLength(const char* text, size_t n) {
  bool utf8 = PlatformAnsiIsUtf8();
  size_t length = 0, count = 0;
  for (; text[length]; length++) {
    if (BeginsCharacter(text[length], utf8) && count++ == n) break;
  }
  return length;
}

size_t AnsiBufferSize(size_t units) { return PlatformAnsiIsUtf8() ? 3 * units : units; }

bool FormatCharacters(char* buffer, size_t max, const char* format, va_list ap) {
  // Room for max characters of four bytes: a longer result has more than
  // max characters whatever they are.
  size_t size = FormatBufferSize(max);
  int wanted = vsnprintf(buffer, size, format, ap);
  if (wanted < 0) buffer[0] = '\0';
  size_t length = CharactersLength(buffer, max);
  bool cut = wanted >= static_cast<int>(size) || buffer[length] != '\0';
  buffer[length] = '\0';
  return cut;
}
