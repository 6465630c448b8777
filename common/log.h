// The diagnostic log: one line per message, each opened, appended and closed
// on its own, under a date header per run and per day. Callers test
// DebugLevel before logging; these routines never report a failure.
#pragma once

// Longest message and longest whole line (time, blank, message), in
// characters: bytes in the ANSI programs, code points in the UTF-8 ones.
constexpr int LogMessageMax = 512;
constexpr int LogLineMax = 512;

// Points the log at path (kept, not copied) and forgets the last header
// date, so that the next message starts with a header. Returns path.
const char* SetLogPath(const char* path);

// The current log path (null before SetLogPath).
const char* GetLogPath();

// Points the log at %TEMP%\name (C:\temp without TEMP). Returns the path.
const char* SetTempLogPath(const char* name);

// Appends one printf-formatted line, cut at LogLineMax whole characters.
void LogLine(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Writes "HH:MM:SS message", preceded by the date header when the date
// differs from the last one written.
void Log(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Logs the program name and the n strings, separated by blanks.
void LogCommand(const char* program, int n, char** strings);

// Logs the title, then the bytes as hex dump lines of 16.
void LogHexDump(const char* title, int count, const unsigned char* data);
