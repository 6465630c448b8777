// An answer file (ASK_ANSWERS) of any bytes answering one question, over
// the stand-in platform: the first byte picks the question, the rest is the
// file. Nothing is ever shown; either the tool ends with status 0 and its
// result file holds the answer of the line taken (one line, or for check
// and files one per entry), or it ends with status 1, says why on standard
// error and leaves the result file as it was.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "frame.h"
#include "fuzz_support.h"
#include "platform.h"
#include "standin.h"

namespace {

const char* const Questions[] = {
    "ok p %O", "yn p %O", "ync p %O", "text p %O", "edit p old %O", "list p %L %O",
    "check p %L %O", "buttons p Save|Discard %O", "date p %O", "file p %O", "files p %O",
    "dir p %O", "save p %O",
};

// What the result file holds before: two lines, which no answer of one
// line can be, and no list entry or path of the others either.
const char* const Old = "old\nold\n";

std::string ReadBack(const std::string& path) {
  std::string bytes;
  if (FILE* f = fopen(path.c_str(), "rb")) {
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
    fclose(f);
  }
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::string question = Questions[data[0] % (sizeof Questions / sizeof *Questions)];
  std::string answers = WriteScratchFile("answers.txt", data + 1, size - 1);
  std::string list = WriteScratchFile("list.csv", reinterpret_cast<const uint8_t*>("B,2\nA,1,1\n"), 10);
  std::string out = WriteScratchFile("out.txt", reinterpret_cast<const uint8_t*>(Old), 8);
  remove((answers + ".taken").c_str());
  for (auto [from, to] : {std::pair<std::string, std::string>{"%O", out}, {"%L", list}})
    if (size_t at = question.find(from); at != std::string::npos) question.replace(at, from.size(), to);

  StandInReset();
  MessageTimeout = 0;
  PlatformSetEnv("APPDATA", "/tmp");
  PlatformSetEnv("ASK_ANSWERS", answers.c_str());
  StandInCommandLine = "ask " + question;
  int status;
  try {
    status = ToolFrame(nullptr, nullptr, nullptr, 0);
  } catch (const StandInExit& e) {
    status = e.status;
  }
  std::string result = ReadBack(out);
  FUZZ_CHECK(StandInBoxes.empty(), "a box was shown: %s", StandInBoxes[0].text.c_str());
  FUZZ_CHECK(status == 0 || status == 1, "status %d", status);
  if (status == 1) {
    FUZZ_CHECK(result == Old, "a refused answer wrote \"%s\"", result.c_str());
    FUZZ_CHECK(!StandInErrorText.empty(), "status 1 without a reason");
  } else {
    FUZZ_CHECK(result != Old && (result.empty() || result.back() == '\n'),
               "status 0 with \"%s\"", result.c_str());
    FUZZ_CHECK(result.size() <= size + 8 || question.rfind("check", 0) == 0,
               "a result of %zu bytes from %zu", result.size(), size);
  }
  remove((answers + ".taken").c_str());
  return 0;
}
