// SplitCsvLine on any line: 1 to CsvMaxFields fields and a null, every
// field in stored cell form (a bare number, or text in double quotes), and
// the fields equal to an independent reading of the line.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "csv.h"
#include "fuzz_support.h"
#include "text.h"

namespace {

// The line read once more, field by field, with the text kept as
// std::string throughout.
std::vector<std::string> Reference(const std::string& line) {
  std::vector<std::string> fields;
  size_t i = 0;
  for (;;) {
    i = std::min(line.find_first_not_of(' ', i), line.size());
    std::string field;
    if (i < line.size() && line[i] == '"') {
      field = "\"";
      for (i++; i < line.size(); i++) {
        if (line.compare(i, 2, "\"\"") == 0) {
          field += '"';
          i++;
        } else if (line[i] == '"') {
          field += '"';
          i++;
          break;
        } else {
          field += line[i];
        }
      }
      i = std::min(line.find_first_not_of(' ', i), line.size());
    } else {
      size_t comma = std::min(line.find(',', i), line.size());
      field = line.substr(i, comma - i);
      field.erase(field.find_last_not_of(' ') + 1);
      if (!IsNumber(field.c_str())) field = "\"" + field + "\"";
      i = comma;
    }
    fields.push_back(field);
    if (i >= line.size() || line[i] != ',' || fields.size() == CsvMaxFields) break;
    i++;
  }
  return fields;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string line = AsText(data, size);
  char* fields[CsvMaxFields + 1];
  int count = SplitCsvLine(line.c_str(), fields);
  FUZZ_CHECK(count >= 1 && count <= CsvMaxFields, "count %d", count);
  FUZZ_CHECK(fields[count] == nullptr, "no null after %d fields", count);

  std::vector<std::string> expected = Reference(line);
  FUZZ_CHECK(static_cast<int>(expected.size()) == count, "count %d, expected %zu", count,
             expected.size());
  for (int i = 0; i < count; i++) {
    FUZZ_CHECK(fields[i] != nullptr, "field %d is null", i);
    // The cell form alone: quoted text, or a bare number without a comma.
    if (fields[i][0] != '"') {
      FUZZ_CHECK(IsNumber(fields[i]) && !strchr(fields[i], ','), "bare field %d \"%s\"", i,
                 fields[i]);
    }
    FUZZ_CHECK(expected[i] == fields[i], "field %d: got [%s], expected [%s]", i, fields[i],
               expected[i].c_str());
    free(fields[i]);
  }
  return 0;
}
