// Files and folders beyond whole-file reading: sections and settings of
// text files, file tests and copies, folder creation and listings, and
// per-user copies of default files. Lines of any length are read whole; a
// CR LF pair reads as LF, as in text mode.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "text.h"

// --- Text files ---

// Reads the next line without its line end into *line; false at the end
// of the file when nothing is left.
bool ReadTextLine(FILE* file, std::string* line);

// Appends the rest of an open file, byte for byte, to *bytes; false when
// a read fails.
bool ReadStream(FILE* file, std::string* bytes);

// The lines of a text as ReadTextLine reads them from a file: split at
// each line feed, a carriage return just before it dropped, no line after
// a final line feed.
std::vector<std::string> SplitTextLines(const std::string& text);

// The lines after the line that starts with "[section]" (case ignored) up
// to the first blank line, as copies in a new StrList stored in *lines;
// returns their number. Ends the tool with "LoadLines. %s file missing"
// when the file cannot be opened.
int LoadLines(const char* path, const char* section, StrList* lines);

// The value of the first name=value line whose name equals name (case
// ignored) or is "*"; the line is read into buffer (size bytes, longer
// lines are cut) and the result points into it. Null when the file cannot
// be opened or no line matches.
char* ReadSetting(const char* path, const char* name, int size, char* buffer);

// The value behind "key=" among n lines (case ignored, # lines skipped),
// past blanks and tabs; null when none matches.
char* FindSetting(const char* key, int n, char** lines);

// --- Files and folders ---

// 1 when the file can be opened for reading (a folder cannot).
int FileExists(const char* path);

// Copies source to destination; ends the tool with "Can't open %s" or
// "Can't create %s" when either cannot be opened. Returns 1.
int CopyFileTo(const char* source, const char* destination);

// Creates the folder and every missing folder above it, ignoring failures;
// 0 for an empty path, a bare drive, ".", "..", "/" or "\".
int MakeFolders(const char* path);

// Names of the files, or of the sub-folders other than "." and "..", in
// folder that match pattern (empty: "*.*"), in the system's order.
StrList ListFiles(const char* folder, const char* pattern);
StrList ListFolders(const char* folder, const char* pattern);

// %APPDATA%\maker\subFolder\name, copied from sourceFolder\name the first
// time. New string.
char* EnsureUserFile(const char* sourceFolder, const char* maker, const char* subFolder,
                     const char* name);
