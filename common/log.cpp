// The diagnostic log file.
#include "log.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "frame.h"
#include "platform.h"
#include "unicode.h"

namespace {

const char* LogPath = nullptr;

// Date of the last header written (or tried), empty after a new path.
char LogDate[40];

// Date text: at most 37 characters.
constexpr int DateMax = 38;

// Writes the text and its line end with one append, so that a line is
// never torn or lost when several tools write one log at the same time.
void AppendLine(const char* text) {
  if (!LogPath) return;
  std::string line = text;
  line += '\n';
  PlatformAppendText(LogPath, line.c_str());
}

}  // namespace

const char* SetLogPath(const char* path) {
  LogPath = path;
  LogDate[0] = '\0';
  return path;
}

const char* GetLogPath() { return LogPath; }

const char* SetTempLogPath(const char* name) {
  char* path = PathJoin(TempDir(), name);
  SetLogPath(path);
  return path;
}

void LogLine(const char* format, ...) {
  if (!LogPath) return;
  // Cut at LogLineMax whole characters: bytes, or code points under UTF-8.
  char text[FormatBufferSize(LogLineMax)];
  va_list ap;
  va_start(ap, format);
  FormatCharacters(text, LogLineMax, format, ap);
  va_end(ap);
  AppendLine(text);
}

void Log(const char* format, ...) {
  time_t now = time(nullptr);
  struct tm local = {};
  if (struct tm* t = localtime(&now)) local = *t;
  char date[DateMax] = "";
  char clock[9] = "";
  strftime(date, sizeof date, "%a %d %b %Y", &local);
  strftime(clock, sizeof clock, "%H:%M:%S", &local);

  char message[FormatBufferSize(LogMessageMax)];
  va_list ap;
  va_start(ap, format);
  FormatCharacters(message, LogMessageMax, format, ap);
  va_end(ap);

  if (strcmp(date, LogDate) != 0) {
    snprintf(LogDate, sizeof LogDate, "%s", date);
    LogLine("*\n* %s\n*", date);
  }
  LogLine("%s %s", clock, message);
}

void LogCommand(const char* program, int n, char** strings) {
  std::string text = program;
  for (int i = 0; i < n; i++) {
    text += ' ';
    text += strings[i];
  }
  Log("%s", text.c_str());
}

void LogHexDump(const char* title, int count, const unsigned char* data) {
  static const char Digits[] = "0123456789ABCDEF";
  Log("%s", title);
  if (count <= 0) return;
  for (long long start = 0; start < count; start += 16) {
    char line[16 * 3 + 16 + 1];
    char* p = line;
    for (int k = 0; k < 16; k++) {
      if (start + k < count) {
        unsigned char byte = data[start + k];
        *p++ = Digits[byte >> 4];
        *p++ = Digits[byte & 15];
      } else {
        *p++ = ' ';
        *p++ = ' ';
      }
      *p++ = ' ';
    }
    for (int k = 0; k < 16 && start + k < count; k++) {
      int c = data[start + k] & 127;
      *p++ = (c < 32 || c > 126) ? '.' : static_cast<char>(c);
    }
    *p = '\0';
    Log("%s", line);
  }
}
