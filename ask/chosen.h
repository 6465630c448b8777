// What the file dialogs are given and what they give back, as plain text:
// the -filter= value turned into the dialogs' file types, and the answer
// buffer read back into paths. Portable, so that any bytes can be tried.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// A -filter= value ("Label|*.csv;*.txt|...") as the file dialogs take it:
// pairs receives each part ending in a zero, extension the first pattern's
// extension when that pattern is "*.ext" without wildcards in ext (a name
// typed without an extension gets it), else nothing.
void DialogFilter(const char* filter, std::string* pairs, std::string* extension);

// The path in the answer buffer (size bytes) of the open or save dialog;
// false when it does not end in a zero with a byte of the buffer to spare,
// as a path cut at the buffer's end does.
bool ChosenPath(const char* answer, size_t size, std::string* path);

// The paths in the answer buffer (size bytes) of the open dialog that lets
// several files be chosen: the folder, then each file's name, each ending
// in a zero, then one more zero (one file alone: its full path). Empty for
// an empty answer. False when that double zero is not followed by a byte
// of the buffer to spare, as a selection cut at the buffer's end is (paths
// then holds nothing); nothing past the buffer is read.
bool ChosenPaths(const char* answer, size_t size, std::vector<std::string>* paths);
