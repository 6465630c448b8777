// ReadIsoDate on any text against the C library's calendar: a text is a
// date exactly when it is YYYY-MM-DD from 1601 on and timegm keeps its
// year, month and day; the date read then prints as the text itself, and
// a failed reading leaves the date untouched.
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "ask.h"
#include "fuzz_support.h"

namespace {

bool Reference(const std::string& text) {
  int year, month, day, length = 0;
  if (text.size() != 10 || text.find_first_not_of("0123456789-") != std::string::npos ||
      sscanf(text.c_str(), "%4d-%2d-%2d%n", &year, &month, &day, &length) != 3 || length != 10 ||
      text[4] != '-' || text[7] != '-' || year < 1601)
    return false;
  struct tm day0 = {};
  day0.tm_year = year - 1900;
  day0.tm_mon = month - 1;
  day0.tm_mday = day;
  timegm(&day0);  // moves a day past its month's end into the next
  return day0.tm_year == year - 1900 && day0.tm_mon == month - 1 && day0.tm_mday == day;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text = AsText(data, size);
  int date[3] = {-1, -1, -1};
  bool read = ReadIsoDate(text.c_str(), date);
  FUZZ_CHECK(read == Reference(text), "ReadIsoDate(\"%s\") gave %d", text.c_str(), read);
  if (read) {
    char printed[32];
    snprintf(printed, sizeof printed, "%04d-%02d-%02d", date[0], date[1], date[2]);
    FUZZ_CHECK(text == printed, "\"%s\" read as %s", text.c_str(), printed);
  } else {
    FUZZ_CHECK(date[0] == -1 && date[1] == -1 && date[2] == -1, "\"%s\" changed the date",
               text.c_str());
  }
  return 0;
}
