// The progress window's batch file, feed place and feed reading, apart
// from the system.
#include "follower.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

bool SameName(const std::string& name, const char* wanted) {
  if (name.size() != strlen(wanted)) return false;
  for (size_t i = 0; i < name.size(); i++)
    if (tolower(static_cast<unsigned char>(name[i])) != wanted[i]) return false;
  return true;
}

}  // namespace

void* FindBatchShell(std::string* why) {
  std::vector<ProcessSeen> processes;
  unsigned long self = 0;
  if (!ListProcesses(&processes, &self)) {
    *why = "the processes cannot be listed";
    return nullptr;
  }
  auto find = [&](unsigned long id) -> const ProcessSeen* {
    for (const ProcessSeen& process : processes)
      if (process.id == id) return &process;
    return nullptr;
  };
  const ProcessSeen* me = find(self);
  const ProcessSeen* parent = me ? find(me->parent) : nullptr;
  if (parent && SameName(parent->name, "start.exe")) parent = find(parent->parent);
  unsigned long long began = 0;
  if (parent) {
    if (!SameName(parent->name, "cmd.exe")) {
      *why = "it was started by " + parent->name + ", not by a batch file";
      return nullptr;
    }
    if (void* shell = OpenOlderShell(parent->id, &began)) return shell;
    *why = "the cmd.exe that started it cannot be opened";
    return nullptr;
  }
  void* youngest = nullptr;
  unsigned long long youngestBegan = 0;
  for (const ProcessSeen& process : processes) {
    if (!SameName(process.name, "cmd.exe")) continue;
    void* shell = OpenOlderShell(process.id, &began);
    if (shell && (!youngest || began > youngestBegan)) {
      if (youngest) CloseShell(youngest);
      youngest = shell;
      youngestBegan = began;
    } else if (shell) {
      CloseShell(shell);
    }
  }
  if (!youngest) *why = "the program that started it has ended, and no cmd.exe runs";
  return youngest;
}

FeedPlace PlaceOf(const std::string& full) {
  std::string path = full;
  if (path.rfind("\\\\.\\", 0) == 0 || path.rfind("\\\\?\\", 0) == 0) {
    path.erase(0, 4);
    if (path.rfind("UNC\\", 0) == 0) return RemoteFeed;
    if (path.size() < 3 || path[1] != ':' || path[2] != '\\') return DeviceFeed;
  }
  if (path.rfind("\\\\", 0) == 0) return RemoteFeed;
  return RemoteDrive(path.substr(0, 3)) ? RemoteFeed : LocalFeed;
}

std::string FolderOf(const std::string& full) {
  size_t last = full.find_last_of('\\');
  if (last == std::string::npos) return ".";
  // A drive's root keeps its backslash.
  return full.substr(0, last > 0 && full[last - 1] == ':' ? last + 1 : last);
}

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
