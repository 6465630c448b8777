// The file and folder dialogs on Windows.
#include "choosers.h"

#include <windows.h>

#include <cderr.h>
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

// The folder, where it is one; else null, so that the dialog opens where
// it would without it.
const char* ExistingFolder(const char* folder) {
  if (!folder) return nullptr;
  DWORD attributes = GetFileAttributesA(folder);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) ? folder
                                                                                          : nullptr;
}

// The open- or save-file dialog, found in comdlg32 by name: the prompt as
// title, the answer buffer, and the folder, file types and default
// extension asked for.
ChooserOutcome RunFileDialog(const char* function, DWORD flags, const ChooserRequest& request,
                             int size, char* answer) {
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.lpstrFile = answer;
  dialog.nMaxFile = static_cast<DWORD>(size);
  dialog.lpstrTitle = request.title;
  dialog.lpstrInitialDir = ExistingFolder(request.folder);
  // The pairs end in zeros of their own; the string's end is the last one.
  if (!request.filter.empty()) dialog.lpstrFilter = request.filter.c_str();
  dialog.nFilterIndex = 1;
  if (!request.defaultExtension.empty()) dialog.lpstrDefExt = request.defaultExtension.c_str();
  dialog.Flags = OFN_EXPLORER | flags | (request.several ? OFN_ALLOWMULTISELECT : 0);

  // comdlg32 and what it pulls in are loaded here, not at every start of
  // ask: most questions never show a file dialog. Both dialogs take the
  // same record.
  auto run = XSystemFunctionAs<decltype(&GetOpenFileNameA)>("comdlg32.dll", function);
  auto error =
      XSystemFunctionAs<decltype(&CommDlgExtendedError)>("comdlg32.dll", "CommDlgExtendedError");
  // The dialog may change the current folder while the user browses; put
  // it back, so that relative paths mean what they meant before. A folder
  // too long for the buffer cannot be restored, so it is not tried.
  std::vector<char> saved(AnsiBufferSize(256));
  bool haveSaved = _getcwd(saved.data(), static_cast<int>(saved.size())) != nullptr;
  PrepareShell();
  BOOL chosen = run(&dialog);
  // Cancel leaves no error. A buffer too small for the choice makes the
  // call fail with the size it needed in the buffer's first bytes, which
  // are no path.
  DWORD failure = chosen ? 0 : error();
  if (haveSaved) _chdir(saved.data());
  if (chosen) return ChooserChosen;
  if (failure == FNERR_BUFFERTOOSMALL) return ChooserTooSmall;
  return failure ? ChooserFailed : ChooserCancelled;
}

// Gives the folder dialog the caption and the first folder asked for, once
// it is on screen.
int CALLBACK FolderDialogReady(HWND window, UINT message, LPARAM, LPARAM data) {
  if (message != BFFM_INITIALIZED) return 0;
  const ChooserRequest* request = reinterpret_cast<const ChooserRequest*>(data);
  if (request->caption) SetWindowTextA(window, request->caption);
  if (const char* folder = ExistingFolder(request->folder))
    SendMessageA(window, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(folder));
  return 0;
}

}  // namespace

ChooserOutcome ChooseFile(const ChooserRequest& request, int size, char* answer) {
  return RunFileDialog("GetOpenFileNameA", 0, request, size, answer);
}

ChooserOutcome ChooseSaveFile(const ChooserRequest& request, int size, char* answer) {
  return RunFileDialog("GetSaveFileNameA", OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST, request, size,
                       answer);
}

ChooserOutcome ChooseFolder(const ChooserRequest& request, int size, char* answer) {
  BROWSEINFOA dialog = {};
  dialog.lpszTitle = request.title;
  dialog.lpfn = FolderDialogReady;
  dialog.lParam = reinterpret_cast<LPARAM>(&request);
  PrepareShell();
  LPITEMIDLIST item = SHBrowseForFolderA(&dialog);
  if (!item) return ChooserCancelled;
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
  return ChooserChosen;
}
