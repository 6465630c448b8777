// The buttons' labels on any text: ReadLabels gives back the text without
// its final line breaks when joined with "|" again, and LabelsFault finds
// a fault exactly when an independent reading of the rules does (two to
// six labels, none blank, none holding a line break, none longer than
// LabelMax characters), naming it in one short line.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ask.h"
#include "dialogs.h"
#include "fuzz_support.h"
#include "unicode.h"

namespace {

// The rules, read label by label from the joined text itself.
bool Good(const std::string& text) {
  std::vector<std::string> labels(1);
  for (char c : text) {
    if (c == '|')
      labels.emplace_back();
    else
      labels.back() += c;
  }
  if (labels.size() < MinLabels || labels.size() > MaxLabels) return false;
  for (const std::string& label : labels) {
    bool shown = false;
    for (char c : label) {
      if (c == '\r' || c == '\n') return false;
      shown = shown || (c != ' ' && c != '\t');
    }
    if (!shown || CountCharacters(label.c_str()) > static_cast<size_t>(LabelMax)) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string given = AsText(data, size);
  std::string text = given;
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.pop_back();
  std::vector<std::string> labels = ReadLabels(given.c_str());
  std::string joined;
  for (size_t i = 0; i < labels.size(); i++) joined += (i ? "|" : "") + labels[i];
  FUZZ_CHECK(joined == text, "labels joined give \"%s\" for \"%s\"", joined.c_str(), text.c_str());
  std::string fault = LabelsFault(labels);
  FUZZ_CHECK(fault.empty() == Good(text), "fault \"%s\" for \"%s\"", fault.c_str(), text.c_str());
  FUZZ_CHECK(fault.find_first_of("\r\n") == std::string::npos && fault.size() < 60,
             "fault \"%s\" is not one short line", fault.c_str());
  return 0;
}
