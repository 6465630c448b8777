// The system's file and folder dialogs, for ask's file and dir modes. The
// build chooses the implementation: windows/ for the program, standin/ for
// unit tests.
#pragma once

// Characters of the answer buffer the modes pass; in bytes the buffer is
// AnsiBufferSize(AnswerSize), sized for the ANSI code page.
constexpr int AnswerSize = 1000;

// The open-file dialog titled title; answer (size bytes) receives the full
// path of the chosen file. Nonzero when a file was chosen. The current
// folder is the same afterwards.
int ChooseFile(const char* title, int size, char* answer);

// The save-file dialog titled title, set up as the open-file dialog; it
// asks before an existing file is chosen and takes only a name in an
// existing folder. Nonzero when a name was chosen.
int ChooseSaveFile(const char* title, int size, char* answer);

// The browse-for-folder dialog with title above the tree; answer (size
// bytes, at least 260) receives the folder's path. 1 when a folder was
// chosen, 0 when cancelled (answer then unchanged).
int ChooseFolder(const char* title, int size, char* answer);
