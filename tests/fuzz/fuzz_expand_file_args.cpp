// ExpandFileArgs with any file content: each "@path" entry after the first
// becomes the file's text (decoded after a byte-order mark, up to a zero
// byte, CR LF read as LF), other entries and the program name (even one
// with an @) stay as they are. An entry naming a missing file ends the tool
// with its message, whatever the name holds.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "cmdline.h"
#include "fuzz_support.h"
#include "standin.h"
#include "unicode.h"

namespace {

// Messages of this many characters or more are cut to MessageCut and " ...".
constexpr size_t MessageMax = 500;
constexpr size_t MessageCut = 496;

// The file's text (decoded when it has a byte-order mark, which
// fuzz_decode_marked_text checks on its own), CR LF read as LF, up to a
// zero byte.
std::string TextModeContent(const uint8_t* data, size_t size) {
  std::string decoded = DecodeMarkedText(std::string(reinterpret_cast<const char*>(data), size));
  std::string text = decoded.substr(0, decoded.find('\0')), folded;
  size_t from = 0;
  for (size_t pair; (pair = text.find("\r\n", from)) != std::string::npos; from = pair + 2)
    folded.append(text, from, pair - from).append("\n");
  return folded.append(text, from);
}

char* Copy(const std::string& text) { return strdup(text.c_str()); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string path = WriteScratchFile("args.txt", data, size);
  std::string expected = TextModeContent(data, size);

  // The program name is an @ entry too: it must stay as it is.
  char* given[] = {Copy("@" + path), Copy("@" + path), Copy("x@y"), Copy("@" + path)};
  char* entries[] = {given[0], given[1], given[2], given[3], nullptr};
  ExpandFileArgs(4, entries);
  FUZZ_CHECK(entries[0] == given[0] && strcmp(entries[0], ("@" + path).c_str()) == 0,
             "program name changed");
  FUZZ_CHECK(entries[2] == given[2] && strcmp(entries[2], "x@y") == 0, "x@y changed");
  for (int i : {1, 3}) {
    FUZZ_CHECK(entries[i] != given[i] && expected == entries[i], "entry %d: got [%s]", i,
               entries[i]);
    free(entries[i]);
  }
  for (char* entry : given) free(entry);

  // A file that cannot exist, named by the input's first line: the first @
  // entry ends the tool with the name in its message, cut like every message.
  std::string name = AsText(data, size);
  std::string missing = path + ".nowhere/" + name.substr(0, name.find('\n'));
  std::string message = "Can't read file: " + missing;
  if (message.size() >= MessageMax) message = message.substr(0, MessageCut) + " ...";
  char* again[] = {Copy("prog"), Copy("@" + missing), nullptr};
  StandInBoxes.clear();
  bool ended = false;
  try {
    ExpandFileArgs(2, again);
  } catch (const StandInExit& exit) {
    ended = exit.status == 1;
  }
  FUZZ_CHECK(ended, "a missing file did not end the tool with status 1");
  FUZZ_CHECK(StandInBoxes.size() == 1 && StandInBoxes[0].text == message, "message [%s]",
             StandInBoxes.empty() ? "" : StandInBoxes[0].text.c_str());
  for (char* entry : again) free(entry);
  return 0;
}
