// The values ask reads out of its command line, list files and dialogs, on
// any bytes: the first byte picks the reader, the rest is its input.
//   0 the buttons' labels: joined again they give the text without its
//     final line breaks, and a fault is found exactly when a reading of the
//     rules does (two to six labels, none blank, none holding a line break,
//     none over LabelMax characters), named in one short line;
//   1 a date: read exactly when it is YYYY-MM-DD from 1601 on and the C
//     library's calendar keeps its day, and then printed as the text;
//   2 the check list's tick column: no row outside the table is ticked,
//     a third cell (without quotes) of blanks never ticks, one with more
//     than blanks and zeros always;
//   3 a -filter= value: the dialog's list is its parts ending in zeros, the
//     default extension the first pattern's when that is "*.ext" plainly;
//   4 the file dialogs' answer, in a buffer of exactly the input's size (a
//     read past it is caught): whole exactly when its end leaves a byte to
//     spare, then the folder joined with each name, or the one full path.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "ask.h"
#include "chosen.h"
#include "csv.h"
#include "dialogs.h"
#include "fuzz_support.h"
#include "unicode.h"

namespace {

void Labels(const std::string& given) {
  std::string text = given.substr(0, given.find_last_not_of("\r\n") + 1);
  std::vector<std::string> labels = ReadLabels(given.c_str()), rules(1);
  std::string joined;
  for (size_t i = 0; i < labels.size(); i++) joined += (i ? "|" : "") + labels[i];
  FUZZ_CHECK(joined == text, "labels joined give \"%s\" for \"%s\"", joined.c_str(), text.c_str());
  for (char c : text)
    if (c == '|')
      rules.emplace_back();
    else
      rules.back() += c;
  bool good = rules.size() >= MinLabels && rules.size() <= MaxLabels;
  for (const std::string& label : rules)
    good = good && label.find_first_of("\r\n") == std::string::npos &&
           label.find_first_not_of(" \t") != std::string::npos &&
           CountCharacters(label.c_str()) <= static_cast<size_t>(LabelMax);
  std::string fault = LabelsFault(labels);
  FUZZ_CHECK(fault.empty() == good, "fault \"%s\" for \"%s\"", fault.c_str(), text.c_str());
  FUZZ_CHECK(fault.find_first_of("\r\n") == std::string::npos && fault.size() < 60,
             "fault \"%s\" is not one short line", fault.c_str());
}

void Date(const std::string& text) {
  int year = 0, month = 0, day = 0, length = 0, date[3] = {-1, -1, -1};
  bool expected = text.size() == 10 && text.find_first_not_of("0123456789-") == std::string::npos &&
                  sscanf(text.c_str(), "%4d-%2d-%2d%n", &year, &month, &day, &length) == 3 &&
                  length == 10 && text[4] == '-' && text[7] == '-' && year >= 1601;
  struct tm kept = {};
  kept.tm_year = year - 1900;
  kept.tm_mon = month - 1;
  kept.tm_mday = day;
  timegm(&kept);  // moves a day past its month's end into the next
  expected = expected && kept.tm_mon == month - 1 && kept.tm_mday == day;
  bool read = ReadIsoDate(text.c_str(), date);
  FUZZ_CHECK(read == expected, "ReadIsoDate(\"%s\") gave %d", text.c_str(), read);
  char printed[32];
  snprintf(printed, sizeof printed, "%04d-%02d-%02d", date[0], date[1], date[2]);
  FUZZ_CHECK(read ? text == printed : date[0] == -1, "\"%s\" read as %s", text.c_str(), printed);
}

void Ticks(const uint8_t* data, size_t size) {
  std::string path = WriteScratchFile("ticks.csv", data, size);
  CsvTable table;
  int rows = LoadCsvFile(&table, path.c_str(), 3);
  remove(path.c_str());
  for (int row = 1; row <= rows; row++) {
    // A mark without quotes: blanks alone never tick, anything but blanks
    // and zeros always does.
    std::string mark = CsvCell(&table, row, 3);
    if (mark.find('"') != std::string::npos) continue;
    bool ticked = TickedAtFirst(&table, row);
    FUZZ_CHECK(mark.find_first_not_of(" \t") != std::string::npos || !ticked, "row %d ticked", row);
    FUZZ_CHECK(mark.find_first_not_of(" \t0") == std::string::npos || ticked, "row %d, \"%s\"", row,
               mark.c_str());
  }
  FUZZ_CHECK(!TickedAtFirst(&table, 0) && !TickedAtFirst(&table, rows + 1), "outside the table");
  for (int i = 0; rows > 0 && i < rows * table.colCount; i++) free(table.cells[i]);
  if (rows > 0) free(table.cells);
}

void Filter(const std::string& text) {
  std::string pairs = "x", extension = "x", expected = text + '\0';
  DialogFilter(text.c_str(), &pairs, &extension);
  for (char& c : expected) c = c == '|' ? '\0' : c;
  FUZZ_CHECK(pairs == expected, "pairs of %zu bytes, expected %zu", pairs.size(), expected.size());
  size_t bar = text.find('|');
  std::string first = bar == std::string::npos ? "" : text.substr(bar + 1);
  first = first.substr(0, first.find_first_of("|;"));
  bool plain = first.size() > 2 && first.compare(0, 2, "*.") == 0 &&
               first.find_first_of("*?", 2) == std::string::npos;
  FUZZ_CHECK(extension == (plain ? first.substr(2) : ""), "%s from %s", extension.c_str(),
             first.c_str());
}

void Answer(const uint8_t* data, size_t size) {
  if (size == 0) return;
  std::vector<char> buffer(data, data + size);
  std::string bytes(buffer.begin(), buffer.end());
  size_t pair = bytes.find(std::string(2, '\0'));
  size_t end = bytes[0] == '\0' ? 0 : pair == std::string::npos ? size : pair + 1;
  bool whole = end + 1 < size;
  std::vector<std::string> parts, paths, taken{"not cleared"};
  for (size_t at = 0; whole && at < end; at = bytes.find('\0', at) + 1)
    parts.push_back(bytes.substr(at, bytes.find('\0', at) - at));
  if (parts.size() == 1) paths = parts;
  for (size_t i = 1; i < parts.size(); i++)
    paths.push_back(parts[0] + (parts[0].back() == '\\' ? "" : "\\") + parts[i]);
  FUZZ_CHECK(ChosenPaths(buffer.data(), size, &taken) == whole, "whole %d, end %zu", whole, end);
  FUZZ_CHECK(taken == paths, "%zu paths, expected %zu", taken.size(), paths.size());
  std::string path;
  size_t length = strnlen(buffer.data(), size);
  FUZZ_CHECK(ChosenPath(buffer.data(), size, &path) == (length + 1 < size), "length %zu", length);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::string text = AsText(data + 1, size - 1);
  switch (data[0] % 5) {
    case 0: Labels(text); break;
    case 1: Date(text); break;
    case 2: Ticks(data + 1, size - 1); break;
    case 3: Filter(text); break;
    case 4: Answer(data + 1, size - 1); break;
  }
  return 0;
}
