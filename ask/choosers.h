// The system's file and folder dialogs, for ask's file, save, files and dir
// modes. The build chooses the implementation: windows/ for the program,
// standin/ for unit tests.
#pragma once

#include <string>

// Characters of the answer buffer the modes pass; in bytes the buffer is
// AnsiBufferSize(AnswerSize), sized for the ANSI code page. Several files
// chosen at once get room for any selection a person makes: a whole folder
// of 30,000 photos with names of 30 characters takes less than a million.
constexpr int AnswerSize = 1000;
constexpr int SeveralAnswerSize = 1 << 20;

// How a dialog ended.
enum ChooserOutcome {
  ChooserCancelled,  // cancelled or closed: the answer means nothing
  ChooserChosen,     // the answer holds what was chosen
  ChooserTooSmall,   // the answer buffer cannot hold what was chosen
  ChooserFailed,     // the dialog could not be shown
};

// What a dialog is asked to show.
struct ChooserRequest {
  const char* title;             // the file dialogs' title; the text above the folder tree
  const char* caption;           // the folder dialog's caption; null: the system's
  const char* folder;            // the folder it opens in; null: the system's choice
  std::string filter;            // pairs of label and patterns, each ending in a zero; empty: none
  std::string defaultExtension;  // the save dialog adds it to a name without one; empty: none
  bool several;                  // the open dialog lets several files be chosen
};

// The open-file dialog; answer (size bytes, all zero before the call)
// receives the full path of the chosen file, or with several, the folder
// and then each file's name, each ending in a zero, then one more zero (one
// file alone: its full path); nothing is written past size bytes. The
// current folder is the same afterwards.
ChooserOutcome ChooseFile(const ChooserRequest& request, int size, char* answer);

// The save-file dialog, set up as the open-file dialog; it asks before an
// existing file is chosen and takes only a name in an existing folder.
ChooserOutcome ChooseSaveFile(const ChooserRequest& request, int size, char* answer);

// The browse-for-folder dialog; answer (size bytes, at least 260, all zero
// before the call) receives the folder's path, or stays blank for a folder
// without one in the file system.
ChooserOutcome ChooseFolder(const ChooserRequest& request, int size, char* answer);
