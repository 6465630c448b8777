// The feed of ask's progress window: the lines a batch file appends to a
// file (or writes to standard input), one command each. Portable: the
// window reads the bytes, this turns them into commands.
#pragma once

#include <string>
#include <vector>

// --- Lines ---

// What has been read of one feed so far.
struct FeedState {
  std::string pending;  // bytes after the last whole line
  std::string mark;     // the byte-order mark the feed began with, or ""
  bool started;         // whether the feed's first bytes have been looked at
};

// Takes the bytes that follow those taken before and returns the whole
// lines they complete (ending in LF; the CR of a CR LF stays on the line),
// as text of the ANSI code page: a feed that begins with a byte-order mark
// is decoded as an @file is (DecodeMarkedText), line by line. A line still
// being written stays pending until its end comes; at the end of input
// (atEnd) it counts as a whole line.
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

// One line, trailing blanks (and a CR) ignored: a whole number 0 to 100
// sets the bar, "#text" the label, "pulsate" (case ignored) makes the bar
// move without a value, "close" ends the window; anything else is ignored.
FeedCommand ParseFeedLine(const std::string& line);
