// Text beyond single bytes: files that begin with a byte-order mark, the
// UTF-8 decoding behind them, and counting and cutting text in whole
// characters. Where the ANSI code page is UTF-8 (the UTF-8 set of the
// programs) a character is a code point of one to four bytes; otherwise it
// is a byte, exactly as the ANSI programs have always counted.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <string>

// --- Byte-order marks ---

// The text the tools read from a file's bytes. Bytes without a mark are
// the text as they are. After a UTF-8 mark (EF BB BF) or a UTF-16 mark
// (FF FE little-endian, FE FF big-endian) the text is decoded and converted
// to the ANSI code page (PlatformToAnsi), and the mark is dropped; where
// the ANSI code page is UTF-8, UTF-8 text is kept byte for byte.
std::string DecodeMarkedText(const std::string& bytes);

// --- UTF-8 ---

// UTF-8 decoded into UTF-16 (characters beyond U+FFFF as surrogate pairs);
// every byte that does not begin a well-formed sequence becomes U+FFFD.
std::u16string Utf8ToUtf16(const std::string& text);

// --- Characters ---

// The characters in text: its bytes, or under UTF-8 its code points (each
// byte that does not continue a sequence begins one).
size_t CountCharacters(const char* text);

// The length in bytes of the first n characters of text (all of it when it
// is shorter): a cut there never splits a UTF-8 sequence.
size_t CharactersLength(const char* text, size_t n);

// The bytes a buffer needs for text of n UTF-16 units from the system, in
// the ANSI code page, its terminating zero not included: n, or under UTF-8
// three bytes a unit (a character outside the Basic Multilingual Plane
// takes four bytes for its two units).
size_t AnsiBufferSize(size_t units);

// Room a buffer needs for FormatCharacters with max characters.
constexpr size_t FormatBufferSize(size_t max) { return 4 * max + 2; }

// printf formatting into buffer (FormatBufferSize(max) bytes), cut to at
// most max whole characters; returns whether the full text was longer.
bool FormatCharacters(char* buffer, size_t max, const char* format, va_list ap);
