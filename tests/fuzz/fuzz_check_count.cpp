// ask's reading of a question (ReadQuestion, and so the count's check and
// TakeAfterModeWord with quoted values) over an argument vector built from
// the input: the first byte picks the count wanted and the switches the
// mode takes, the rest are the entries after "ask" and the mode word,
// separated by zero bytes. Either the count comes out as wanted, with the
// entries left in their order and none of the mode's switches among them,
// or the tool ends with status 1 and one box: the usage line, after at
// most one line naming the fault.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ask.h"
#include "cmdline.h"
#include "frame.h"
#include "fuzz_support.h"
#include "standin.h"

namespace {

const char* const Usage = "ask mode prompt outfile";

bool BeginsWith(const char* entry, const char* prefix) {
  size_t n = strlen(prefix);
  return strlen(entry) >= n && SameNoCase(std::string(entry, n), prefix);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  unsigned pick = data[0];
  static const char* const DefaultWords[] = {nullptr, "", "yes|no|cancel", "ok|cancel"};
  const char* words = DefaultWords[(pick >> 1) & 3];
  // A mode with a time limit takes -bn, -bd and -r too, as ask's dialogs do.
  unsigned timed = (pick & 1) ? TimeoutSwitch | BackSwitches | RawSwitch : 0;
  static const char* const Arguments[] = {"outfile", "prompt list.csv outfile",
                                          "prompt a b c outfile", "prompt a b c d e outfile"};
  AskMode mode = {"mode", Arguments[pick >> 6], timed | ((pick >> 3) & 7) << 1, words, nullptr,
                  Usage};
  int wanted = 2 + static_cast<int>(pick >> 6) * 2 + 1;  // 3, 5, 7 or 9

  std::vector<char*> owned = {XStrDup("ask"), XStrDup("mode")};
  const char* bytes = reinterpret_cast<const char*>(data + 1);
  for (size_t at = 0; at < size - 1 && owned.size() < MaxArgs;) {
    size_t length = strnlen(bytes + at, size - 1 - at);
    owned.push_back(XStrDup(std::string(bytes + at, length).c_str()));
    at += length + 1;
  }
  int entries = static_cast<int>(owned.size());
  std::vector<char*> args(owned);
  args.resize(MaxArgs + 1, nullptr);

  StandInReset();
  MessageTimeout = 0;
  int count = entries;
  // -bn, -bd and -r are taken once each wherever they stand, before the
  // count is checked.
  auto given = [&](const char* name) {
    return (mode.switches & BackSwitches) &&
           std::any_of(owned.begin() + 2, owned.end(),
                       [&](const char* entry) { return SameNoCase(entry, name); });
  };
  int own = given("-bn") + given("-bd") + given("-r");
  try {
    Question taken = ReadQuestion(&count, args.data(), mode);
    FUZZ_CHECK(count == wanted && !args[count], "count %d for %d wanted", count, wanted);
    FUZZ_CHECK(StandInBoxes.empty(), "a box and no end");
    FUZZ_CHECK(taken.timeout >= 0 && taken.timeout <= MaxTimeoutSeconds, "%d s", taken.timeout);
    FUZZ_CHECK(MessageTimeout == taken.timeout, "boxes close after %d s", MessageTimeout);
    FUZZ_CHECK(taken.defaultButton >= 0 && taken.defaultButton < 3, "button %d",
               taken.defaultButton);
    // The entries left are the first ones in their order, none of them a
    // switch the mode would have taken.
    FUZZ_CHECK(args[0] == owned[0] && args[1] == owned[1], "the mode word moved");
    const char* right = given("-bd") ? "Done" : given("-bn") ? "Next" : "Ok";
    FUZZ_CHECK(strcmp(taken.rightLabel, right) == 0, "%s for %s", taken.rightLabel, right);
    FUZZ_CHECK(taken.raw == given("-r"), "-r taken: %d", taken.raw);
    int from = 2;
    for (int i = 2; i < count; i++) {
      while (from < entries && owned[from] != args[i]) from++;
      FUZZ_CHECK(from < entries, "entry %d is no entry of the command line in order", i);
      from++;
      if (entries - own == wanted) continue;
      const char* entry = args[i];
      FUZZ_CHECK(!((mode.switches & TimeoutSwitch) && BeginsWith(entry, "-timeout=")) &&
                     !(mode.defaultWords && BeginsWith(entry, "-default=")) &&
                     !((mode.switches & TitleSwitch) && BeginsWith(entry, "-title=")) &&
                     !((mode.switches & FolderSwitch) && BeginsWith(entry, "-folder=")) &&
                     !((mode.switches & FilterSwitch) && BeginsWith(entry, "-filter=")),
                 "switch \"%s\" left", entry);
    }
    for (const char* text : {taken.defaultWord, taken.title, taken.folder, taken.filter})
      free(const_cast<char*>(text));
  } catch (const StandInExit& end) {
    FUZZ_CHECK(end.status == 1, "status %d", end.status);
    FUZZ_CHECK(entries - own != wanted, "a right count refused");
    FUZZ_CHECK(StandInBoxes.size() == 1, "%zu boxes", StandInBoxes.size());
    const std::string& text = StandInBoxes[0].text;
    size_t usage = text.size() - std::min(text.size(), strlen(Usage));
    FUZZ_CHECK(text.compare(usage, std::string::npos, Usage) == 0, "box \"%s\"", text.c_str());
    if (usage > 0) {
      FUZZ_CHECK(usage >= 2 && text[usage - 1] == '\n' && text.find_first_of("\r\n") == usage - 1,
                 "box \"%s\" is not one fault line and the usage", text.c_str());
    }
  }
  for (char* entry : owned) free(entry);
  return 0;
}
