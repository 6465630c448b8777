// What the progress window does that is not window code: finding the
// batch file's cmd.exe, telling where the feed is, and reading the feed
// file, each read taking the bytes appended since the last one and telling
// when the file is another one (deleted and made anew, or written anew with
// ">"), so that it is read from its start again. The system's parts are
// below: windows/feed_file.cpp for the program, standin/dialogs.cpp for
// tests.
#pragma once

#include <string>
#include <vector>

// --- The batch file's cmd.exe ---

// The cmd.exe that runs the batch file which started this window, opened
// to wait on; null, with the reason, when there is none. On Windows that
// is the parent: cmd.exe's start creates the program itself. Wine's start
// is a program of its own that starts this one and ends at once, so that
// the parent is usually gone by now (else its parent is taken); then the
// batch file's cmd.exe is the youngest one that began before this window.
void* FindBatchShell(std::string* why);

// --- Where the feed is ---

enum FeedPlace { LocalFeed, RemoteFeed, DeviceFeed };

// Where a full path leads, told from its text alone, so that nothing
// waits on a network: a device (CON, NUL, COM1, \\.\pipe\name: the system
// gives a device's full path as \\.\NAME), a network share (\\server\share,
// or a drive that the system maps to one), or a local disk.
FeedPlace PlaceOf(const std::string& full);

// The folder that holds a full path's file.
std::string FolderOf(const std::string& full);

// The most bytes one read takes.
constexpr long long MostBytesPerRead = 1 << 20;

// The first bytes of the file that tell it from one written anew.
constexpr long long HeadBytes = 64;

// What one read found.
struct FeedRead {
  std::string bytes;        // those appended since the last read
  bool restart = false;     // the feed is read from its start again (bytes are its start)
  bool full = false;        // as many bytes as one read takes: more may be waiting
  bool folder = false;      // the path names a folder
  bool device = false;      // the path names a device
  unsigned long error = 0;  // why the file could not be read, other than its absence
};

// What the follower remembers of the file between reads.
struct FileSeen {
  long long offset = 0;  // bytes of the feed file read so far
  std::string file;      // which file that was (volume and index)
  std::string head;      // its first bytes (up to HeadBytes) among those read
};

// The bytes appended to the feed file since the last read. A file that is
// gone, shorter than what was read, or begins otherwise than it did
// starts again: it is read from its start.
FeedRead ReadFeedFile(const char* path, FileSeen* seen);

// --- The system's part ---

// A process running now.
struct ProcessSeen {
  unsigned long id;
  unsigned long parent;
  std::string name;  // its program's file name
};

// Every process running, and this one's number; false when they cannot be
// listed.
bool ListProcesses(std::vector<ProcessSeen>* processes, unsigned long* self);

// A cmd.exe opened to wait on, when it began before this window (a process
// number is used again once its process has ended), with when it began;
// else null.
void* OpenOlderShell(unsigned long id, unsigned long long* began);

void CloseShell(void* shell);

// Whether a drive's root ("C:\\") is one the system maps to a network share.
bool RemoteDrive(const std::string& root);

// How an open of the feed file went.
enum FeedOpening { FeedOpened, FeedMissing, FeedIsFolder, FeedIsDevice, FeedFailed };

// The feed file, open for one read.
struct OpenFeed {
  void* handle = nullptr;
  long long size = 0;    // its size when opened
  std::string identity;  // which file it is ("" when that is not known)
};

// Opens the feed file for reading, sharing it with every writer and a
// delete; *error is the system's reason when it fails otherwise than by
// the file's absence.
FeedOpening OpenFeedFile(const char* path, OpenFeed* feed, unsigned long* error);

// Bytes of the open file from an offset, at most that many.
std::string ReadFeedAt(const OpenFeed& feed, long long offset, long long most);

void CloseFeedFile(OpenFeed* feed);

// Takes standard input as the feed; false when there is none to read
// from (neither a pipe nor a file).
bool OpenFeedInput();

// What standard input holds now, at most MostBytesPerRead bytes, without
// waiting for more; *atEnd once its writer has finished.
std::string ReadFeedInput(bool* atEnd);
