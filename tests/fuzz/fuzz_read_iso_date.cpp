// ReadIsoDate on any text against a reading by day numbers: a text is a
// date exactly when it is ten characters YYYY-MM-DD from 1601 on whose
// day number gives back the same year, month and day; the date read then
// prints as the text itself. A failed reading leaves the date untouched.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ask.h"
#include "fuzz_support.h"

namespace {

// Days since 1 March of year 0 in the proleptic Gregorian calendar, and
// back, by whole 400-year eras: no month table, so that it checks the
// reader's table independently.
long DayNumber(long year, long month, long day) {
  year -= month <= 2;
  long era = year / 400, yearOfEra = year % 400;
  long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  return era * 146097 + yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
}

void CivilDate(long days, long* year, long* month, long* day) {
  long era = days / 146097, dayOfEra = days % 146097;
  long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  long shifted = (5 * dayOfYear + 2) / 153;
  *day = dayOfYear - (153 * shifted + 2) / 5 + 1;
  *month = shifted < 10 ? shifted + 3 : shifted - 9;
  *year = yearOfEra + era * 400 + (*month <= 2);
}

bool Reference(const std::string& text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
  for (int i : {0, 1, 2, 3, 5, 6, 8, 9})
    if (text[i] < '0' || text[i] > '9') return false;
  long year = atol(text.substr(0, 4).c_str()), month = atol(text.substr(5, 2).c_str());
  long day = atol(text.substr(8, 2).c_str());
  if (year < 1601 || month < 1 || month > 12 || day < 1 || day > 31) return false;
  long y, m, d;
  CivilDate(DayNumber(year, month, day), &y, &m, &d);
  return y == year && m == month && d == day;
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
