// What the progress window does with its feed file that is not window
// code: each read takes the bytes appended since the last one, and tells
// when the file is another one (deleted and made anew, or written anew
// with ">"), so that it is read from its start again. The system's part,
// opening the file for one moment and reading from an offset, is below:
// windows/feed_file.cpp for the program, standin/dialogs.cpp for tests.
#pragma once

#include <string>

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
