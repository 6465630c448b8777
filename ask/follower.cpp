// The progress window's reading of its feed file, apart from the system.
#include "follower.h"

#include <algorithm>

FeedRead ReadFeedFile(const char* path, FileSeen* seen) {
  FeedRead read;
  OpenFeed feed;
  switch (OpenFeedFile(path, &feed, &read.error)) {
    case FeedMissing:
      // Not there yet, or not any more.
      *seen = FileSeen{};
      read.restart = true;
      return read;
    case FeedIsFolder: read.folder = true; return read;
    case FeedIsDevice: read.device = true; return read;
    case FeedFailed: return read;
    case FeedOpened: break;
  }
  // Which file it is, and its start, since a file made anew may well get
  // the index of the one deleted.
  std::string start = ReadFeedAt(feed, 0, std::min(feed.size, HeadBytes));
  if (feed.identity != seen->file || feed.size < seen->offset ||
      start.compare(0, seen->head.size(), seen->head) != 0) {
    seen->file = feed.identity;
    seen->offset = 0;
    read.restart = true;
  }
  read.bytes = ReadFeedAt(feed, seen->offset, std::min(feed.size - seen->offset, MostBytesPerRead));
  read.full = static_cast<long long>(read.bytes.size()) == MostBytesPerRead;
  seen->offset += static_cast<long long>(read.bytes.size());
  seen->head = start.substr(0, static_cast<size_t>(std::min(seen->offset, HeadBytes)));
  CloseFeedFile(&feed);
  return read;
}
