// DecodeMarkedText on any bytes, checked against glibc's iconv as an
// independent reading: without a mark the bytes come back as they are;
// after a UTF-8 mark under a UTF-8 code page too, less the mark; UTF-16 of
// either order becomes what iconv makes of it in UTF-8 (when iconv takes
// the whole text) or in Windows-1252 (one default character for each unit
// the code page lacks); UTF-8 in Windows-1252 has one character per UTF-16
// unit of what iconv decodes. The input's first byte picks the code page.
#include <iconv.h>

#include <string>

#include "fuzz_support.h"
#include "standin.h"
#include "unicode.h"

namespace {

// iconv's conversion of the whole text; false when it stops early.
bool Iconv(const char* to, const char* from, const std::string& text, std::string* out) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) abort();
  std::string input = text;
  out->assign(input.size() * 4 + 16, '\0');
  char* in = input.data();
  char* put = out->data();
  size_t inLeft = input.size(), outLeft = out->size();
  size_t done = iconv(cd, &in, &inLeft, &put, &outLeft);
  iconv_close(cd);
  out->resize(out->size() - outLeft);
  return done != static_cast<size_t>(-1) && inLeft == 0;
}

// Windows-1252 as the stand-in converts: the code page's characters, '?'
// for each other UTF-16 unit (taken from iconv's UTF-16LE).
std::string Cp1252(const std::string& utf16le) {
  std::string out;
  for (size_t i = 0; i + 1 < utf16le.size(); i += 2) {
    std::string unit = utf16le.substr(i, 2), byte;
    // The five bytes Windows-1252 leaves undefined stand for the control
    // characters of their value on Windows; glibc leaves them out.
    unsigned code = static_cast<unsigned char>(unit[0]) | static_cast<unsigned char>(unit[1]) << 8;
    if (code == 0x81 || code == 0x8D || code == 0x8F || code == 0x90 || code == 0x9D) {
      out += static_cast<char>(code);
      continue;
    }
    bool mapped = Iconv("WINDOWS-1252", "UTF-16LE", unit, &byte) && byte.size() == 1;
    out += mapped ? byte : "?";
  }
  return out;
}

bool Starts(const std::string& bytes, const char* mark, size_t n) {
  return bytes.size() >= n && bytes.compare(0, n, mark, n) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  StandInAnsiUtf8 = data[0] & 1;
  std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  std::string got = DecodeMarkedText(bytes), want;
  bool utf8 = Starts(bytes, "\xEF\xBB\xBF", 3);
  bool little = Starts(bytes, "\xFF\xFE", 2), big = Starts(bytes, "\xFE\xFF", 2);
  if (!utf8 && !little && !big) {
    FUZZ_CHECK(got == bytes, "unmarked bytes changed");
  } else if (utf8 && StandInAnsiUtf8) {
    FUZZ_CHECK(got == bytes.substr(3), "UTF-8 under a UTF-8 code page changed");
  } else if (utf8) {
    std::string utf16;
    if (Iconv("UTF-16LE", "UTF-8", bytes.substr(3), &utf16))
      FUZZ_CHECK(got == Cp1252(utf16), "UTF-8 in Windows-1252: got [%s]", got.c_str());
    FUZZ_CHECK(got.size() == Utf8ToUtf16(bytes.substr(3)).size(), "one byte per unit");
  } else {
    std::string units = bytes.substr(2);
    bool odd = units.size() % 2;
    units.resize(units.size() - odd);
    std::string converted;
    if (StandInAnsiUtf8) {
      if (Iconv("UTF-8", big ? "UTF-16BE" : "UTF-16LE", units, &converted)) {
        if (odd) converted += "\xEF\xBF\xBD";
        FUZZ_CHECK(got == converted, "UTF-16 in UTF-8: got [%s]", got.c_str());
      }
    } else if (Iconv("UTF-16LE", big ? "UTF-16BE" : "UTF-16LE", units, &converted)) {
      FUZZ_CHECK(got == Cp1252(converted) + (odd ? "?" : ""), "UTF-16 in Windows-1252: got [%s]",
                 got.c_str());
    }
  }
  return 0;
}
