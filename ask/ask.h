// ask's modes and its result file, shared by ask's source files.
#pragma once

// Writes answer and a line end as the whole content of the result file;
// ends the tool with "Can't write to file: %s" when it cannot be opened or
// any write, the flush or the close fails. Returns 0.
int WriteResult(const char* path, const char* answer);

// The modes: each takes its switches, checks the count, asks, writes the
// answer (blank when cancelled) and returns the exit status, 0.
int AskFile(int count, char** args);
int AskDir(int count, char** args);
int AskText(int count, char** args);
int AskList(int count, char** args);

// The further modes, tried after the six of the usage text: a hidden text
// entry, the save-file dialog, and a text field that starts with a default.
int AskPass(int count, char** args);
int AskSave(int count, char** args);
int AskEdit(int count, char** args);
