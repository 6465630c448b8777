// The file and folder dialogs on Windows.
#include "choosers.h"

#include <windows.h>

#include <commdlg.h>
#include <direct.h>
#include <shlobj.h>

#include <vector>

#include "system_dll.h"
#include "unicode.h"

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
  std::vector<char> saved(AnsiBufferSize(256));
  bool haveSaved = _getcwd(saved.data(), static_cast<int>(saved.size())) != nullptr;
  PrepareShell();
  BOOL chosen = run(&request);
  if (haveSaved) _chdir(saved.data());
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

int ChooseFolder(const char* title, int size, char* answer) {
  BROWSEINFOA request = {};
  request.lpszTitle = title;
  PrepareShell();
  LPITEMIDLIST item = SHBrowseForFolderA(&request);
  if (!item) return 0;
  // An item with no file-system path (such as a virtual folder) leaves the
  // answer as it was: blank. The path is taken in its wide form and
  // converted as the ANSI call converts it, into the whole answer buffer:
  // the ANSI call assumes a buffer of MAX_PATH bytes, too small for a long
  // path in UTF-8.
  wchar_t path[MAX_PATH];
  if (SHGetPathFromIDListW(item, path)) {
    if (!WideCharToMultiByte(CP_ACP, 0, path, -1, answer, size, nullptr, nullptr)) answer[0] = '\0';
  }
  ILFree(item);
  return 1;
}
