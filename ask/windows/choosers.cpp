// The file and folder dialogs on Windows.
#include "choosers.h"

#include <windows.h>

#include <commdlg.h>
#include <direct.h>
#include <shlobj.h>

#include "system_dll.h"

// The full open-file record, its last members included, as 32-bit Windows
// defines it.
static_assert(sizeof(void*) != 4 || sizeof(OPENFILENAMEA) == 88,
              "OPENFILENAMEA must be 88 bytes in a 32-bit program");

namespace {

// The open- or save-file dialog, found in comdlg32 by name: the prompt as
// title, the answer buffer, no filter and no first folder.
int RunFileDialog(const char* function, DWORD flags, const char* title, int size, char* answer) {
  OPENFILENAMEA request = {};
  request.lStructSize = sizeof request;
  request.lpstrFile = answer;
  request.nMaxFile = static_cast<DWORD>(size);
  request.lpstrTitle = title;
  request.Flags = OFN_EXPLORER | flags;
  answer[0] = '\0';

  // comdlg32 and what it pulls in are loaded here, not at every start of
  // ask: most questions never show a file dialog. Both dialogs take the
  // same record.
  auto run = XSystemFunctionAs<decltype(&GetOpenFileNameA)>("comdlg32.dll", function);
  // The dialog may change the current folder while the user browses; put
  // it back, so that relative paths mean what they meant before. A folder
  // too long for the buffer cannot be restored, so it is not tried.
  char saved[256];
  bool haveSaved = _getcwd(saved, sizeof saved) != nullptr;
  PrepareShell();
  BOOL chosen = run(&request);
  if (haveSaved) _chdir(saved);
  return chosen;
}

}  // namespace

int ChooseFile(const char* title, int size, char* answer) {
  return RunFileDialog("GetOpenFileNameA", 0, title, size, answer);
}

int ChooseSaveFile(const char* title, int size, char* answer) {
  return RunFileDialog("GetSaveFileNameA", OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST, title, size,
                       answer);
}

int ChooseFolder(const char* title, int, char* answer) {
  BROWSEINFOA request = {};
  request.lpszTitle = title;
  PrepareShell();
  LPITEMIDLIST item = SHBrowseForFolderA(&request);
  if (!item) return 0;
  // An item with no file-system path (such as a virtual folder) leaves the
  // answer as it was: blank.
  SHGetPathFromIDListA(item, answer);
  ILFree(item);
  return 1;
}
