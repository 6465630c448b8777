// Splitting the raw command line into the argument vector, taking switches
// and options out of it, and replacing @file arguments by file contents.
#pragma once

// --- The argument vector ---

// Splits a raw command line into at most max newly allocated entries:
// blanks, tabs, CR and LF separate; an entry that starts with a double
// quote runs to the next lone quote ("" inside stands for one quote).
// entries needs room for max + 1 pointers; entries[result] is null.
int SplitCommandLine(const char* text, int max, char** entries);

// Removes the first entry equal to the switch (case ignored); 1 when found.
int TakeSwitch(int* count, char** entries, const char* name);

// Removes the first entry that begins with the prefix (case ignored) and
// returns the text after the prefix inside it; the default when none does.
const char* TakeOption(int* count, char** entries, const char* prefix, const char* fallback);

// The text after prefix when entry begins with it (case ignored); null
// when it does not.
const char* AfterPrefix(const char* entry, const char* prefix);

// Replaces every entry from 1 on that begins with "@" by the content of the
// file it names (ReadAll). The content is taken whole, never re-expanded.
void ExpandFileArgs(int count, char** entries);

// --- Text and files ---

// Compares without regard to case: negative, zero or positive.
int CompareNoCase(const char* a, const char* b);

// The whole file as a new string, CR LF pairs read as LF; ends the tool
// with "Can't read file: %s" when it cannot be opened.
char* ReadAll(const char* path);

// --- Time limits ---

// Longest time limit a question takes: a day.
constexpr int MaxTimeoutSeconds = 86400;

// Reads seconds written in decimal digits only, from 1 to
// MaxTimeoutSeconds; false (seconds unchanged) for anything else.
bool ReadSeconds(const char* digits, int* seconds);
