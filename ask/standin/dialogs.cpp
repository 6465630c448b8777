// Stand-in dialogs for unit tests: they record the state they were given
// and answer what the test scripted.
#include "dialogs.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <filesystem>

#include "dialogs_standin.h"
#include "follower.h"
#include "frame.h"

int StandInDialogRuns = 0;
DialogState StandInDialogSeen;
int StandInDialogSorted = 1;
int StandInAccept = 0;
std::string StandInTyped;
int StandInPosition = -1;
std::vector<int> StandInRowOfPosition;
bool StandInTimesOut = false;
int StandInOrphaned = 0;
std::vector<int> StandInToggles;
std::vector<ProcessSeen> StandInProcesses;
unsigned long StandInSelf = 0;
std::vector<unsigned long> StandInOlderShells;
std::string StandInRemoteRoot;

// A time limit that runs out accepts, as the right button does.
bool TimesOut() { return Dialog.timeout > 0 && StandInTimesOut; }

void RunTextDialog() {
  StandInDialogRuns++;
  StandInDialogSeen = Dialog;
  Dialog.timedOut = TimesOut();
  Dialog.accepted = StandInAccept || Dialog.timedOut;
  Dialog.result.text =
      XStrDup(Dialog.accepted ? StandInTyped.substr(0, TextAnswerMax).c_str() : "");
}

void RunListDialog() {
  StandInDialogRuns++;
  StandInDialogSeen = Dialog;
  StandInDialogSorted = SortLists;
  Dialog.timedOut = TimesOut();
  Dialog.accepted = StandInAccept || Dialog.timedOut;
  Dialog.result.position = Dialog.accepted ? StandInPosition : -1;
}

int ListEntryRow(int position) {
  if (position < 0) return 0;
  if (position < static_cast<int>(StandInRowOfPosition.size()))
    return StandInRowOfPosition[position];
  return position + 1;
}

std::vector<int> RowsInShownOrder(const CsvTable* table) {
  std::vector<int> rows;
  for (int row = 1; row <= table->rowCount; row++) rows.push_back(row);
  return rows;
}

void RunProgressDialog() {
  StandInDialogRuns++;
  StandInDialogSeen = Dialog;
  Dialog.timedOut = TimesOut();
  Dialog.accepted = StandInAccept && !Dialog.timedOut;
  Dialog.orphaned = StandInOrphaned;
}

void RunCheckDialog() {
  StandInDialogRuns++;
  StandInDialogSeen = Dialog;
  Dialog.timedOut = TimesOut();
  Dialog.accepted = StandInAccept || Dialog.timedOut;
  // Shown in file order; the person ticks or clears what the test says.
  Dialog.rowsShown->clear();
  for (int row = 1; row <= Dialog.data->rowCount; row++) Dialog.rowsShown->push_back(row);
  for (int row : StandInToggles) (*Dialog.ticks)[row] = !(*Dialog.ticks)[row];
}

void RunButtonsDialog() {
  StandInDialogRuns++;
  StandInDialogSeen = Dialog;
  Dialog.timedOut = TimesOut();
  Dialog.accepted = StandInAccept || Dialog.timedOut;
  Dialog.result.position = Dialog.timedOut ? Dialog.defaultButton : StandInPosition;
}

void RunDateDialog() {
  StandInDialogRuns++;
  StandInDialogSeen = Dialog;
  Dialog.timedOut = TimesOut();
  Dialog.accepted = StandInAccept || Dialog.timedOut;
  if (Dialog.date[0] == 0) {  // "today"
    Dialog.date[0] = 2026;
    Dialog.date[1] = 12;
    Dialog.date[2] = 9;
  }
}

bool ResultWritable(const char* path) {
  namespace fs = std::filesystem;
  std::error_code error;
  fs::path result(path);
  if (fs::exists(result, error)) {
    FILE* f = fopen(path, "ab");
    if (f) fclose(f);
    return f != nullptr;
  }
  fs::path folder = result.has_parent_path() ? result.parent_path() : fs::path(".");
  if (!fs::is_directory(folder, error)) return false;
  fs::path scratch = folder / ("~ask-standin-" + std::to_string(StandInDialogRuns) + ".tmp");
  FILE* f = fopen(scratch.string().c_str(), "wb");
  if (!f) return false;
  fclose(f);
  fs::remove(scratch, error);
  return true;
}

// The feed file through the C library; which file it is, by its device and
// node where the system has them.
FeedOpening OpenFeedFile(const char* path, OpenFeed* feed, unsigned long* error) {
  namespace fs = std::filesystem;
  std::error_code failure;
  fs::file_status status = fs::status(path, failure);
  if (!fs::exists(status)) return FeedMissing;
  if (fs::is_directory(status)) return FeedIsFolder;
  if (!fs::is_regular_file(status)) return FeedIsDevice;
  FILE* file = fopen(path, "rb");
  struct stat info = {};
  if (!file || fstat(fileno(file), &info) != 0) {
    *error = static_cast<unsigned long>(errno);
    if (file) fclose(file);
    return FeedFailed;
  }
  feed->handle = file;
  feed->size = info.st_size;
  feed->identity = std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino);
  return FeedOpened;
}

std::string ReadFeedAt(const OpenFeed& feed, long long offset, long long most) {
  FILE* file = static_cast<FILE*>(feed.handle);
  if (most <= 0 || fseek(file, static_cast<long>(offset), SEEK_SET) != 0) return "";
  std::string bytes(static_cast<size_t>(most), '\0');
  bytes.resize(fread(bytes.data(), 1, bytes.size(), file));
  return bytes;
}

void CloseFeedFile(OpenFeed* feed) {
  if (feed->handle) fclose(static_cast<FILE*>(feed->handle));
  feed->handle = nullptr;
}

bool ListProcesses(std::vector<ProcessSeen>* processes, unsigned long* self) {
  if (StandInProcesses.empty()) return false;
  *processes = StandInProcesses;
  *self = StandInSelf;
  return true;
}

// A shell's handle is its number; it began at its place in StandInOlderShells.
void* OpenOlderShell(unsigned long id, unsigned long long* began) {
  for (size_t i = 0; i < StandInOlderShells.size(); i++) {
    if (StandInOlderShells[i] != id) continue;
    *began = i;
    return reinterpret_cast<void*>(static_cast<uintptr_t>(id));
  }
  return nullptr;
}

void CloseShell(void*) {}

bool RemoteDrive(const std::string& root) { return root == StandInRemoteRoot; }

// Standard input is the C library's, read as it comes.
bool OpenFeedInput() { return true; }

std::string ReadFeedInput(bool* atEnd) {
  std::string bytes(static_cast<size_t>(MostBytesPerRead), '\0');
  bytes.resize(fread(bytes.data(), 1, bytes.size(), stdin));
  *atEnd = bytes.empty();
  return bytes;
}
