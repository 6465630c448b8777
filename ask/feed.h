// The feed of ask's progress window: the lines a batch file appends to a
// file (or writes to standard input), one command each. Portable: the
// window reads the bytes, this turns them into commands.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// --- Lines ---

// The longest feed line, in bytes as they come (before decoding, its line
// end not counted): a longer one is dropped up to its end, so that what a
// feed holds back stays bounded whatever it brings.
constexpr size_t FeedLineMax = 65536;

// What has been read of one feed so far.
struct FeedState {
  std::string pending;  // bytes after the last whole line: at most FeedLineMax + 1
  std::string mark;     // the byte-order mark the feed began with, or ""
  bool started;         // whether the feed's first bytes have been looked at
  bool dropping;        // the line being read is too long: dropped up to its end
                        // (pending keeps only its last byte)
  // What FeedLines dropped, one message each time (a line too long, a byte
  // of a UTF-16 feed that is no text), oldest first. FeedLines only adds to
  // it: the caller logs the messages and clears it.
  std::vector<std::string> notes;
};

// Takes the bytes that follow those taken before and returns the whole
// lines they complete (ending in LF; the CR of a CR LF stays on the line),
// as text of the ANSI code page: a feed that begins with a byte-order mark
// is decoded as an @file is (DecodeMarkedText), line by line; in a UTF-16
// feed a line of ANSI text that ends in CR LF (an ">> echo" between UTF-16
// writes) comes through as it is. A line still being written stays pending
// until its end comes; at the end of input (atEnd) it counts as a whole
// line. A line longer than FeedLineMax is dropped with a note.
std::vector<std::string> FeedLines(FeedState* state, const std::string& bytes, bool atEnd);

// Forgets what was read: the next bytes are the feed's start (the file
// shrank, or went away).
void FeedRestart(FeedState* state);

// --- Commands ---

enum FeedKind { FeedValue, FeedText, FeedPulsate, FeedClose, FeedIgnored };

struct FeedCommand {
  FeedKind kind;
  int value;         // FeedValue: 0 to 100
  std::string text;  // FeedText: the label's new text
};

// One line, blanks at either end (and a CR) ignored: a whole number 0 to
// 100 sets the bar, "#text" the label, "pulsate" (case ignored) makes the
// bar move without a value, "close" ends the window; anything else is
// ignored.
FeedCommand ParseFeedLine(const std::string& line);
