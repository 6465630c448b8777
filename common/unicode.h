// Text beyond single bytes: files that begin with a byte-order mark, and
// the UTF-8 decoding behind them.
#pragma once

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
