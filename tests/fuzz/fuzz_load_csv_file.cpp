// LoadCsvFile on any file (decoded first when it has a byte-order mark):
// one row per line, the first row's field count for every row, every cell
// present and equal to the trimmed field of its line (or empty where a
// short row was padded), nothing outside the table.
// An odd first byte also turns the debug log on, which notes the row count.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "csv.h"
#include "frame.h"
#include "fuzz_support.h"
#include "log.h"
#include "unicode.h"

namespace {

// The lines of the bytes: split at LF, a CR before an LF dropped, a last
// line without LF kept; each as the C string the row is built from.
std::vector<std::string> Lines(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    std::string line = bytes.substr(start, end == std::string::npos ? end : end - start);
    if (end != std::string::npos && !line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line.c_str());
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

// A field as the table keeps it: trailing blanks off, then leading blanks
// and tabs.
std::string Trimmed(std::string text) {
  text.erase(text.find_last_not_of(' ') + 1);
  size_t first = text.find_first_not_of(" \t");
  return first == std::string::npos ? "" : text.substr(first);
}

std::string ReadBack(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string logPath = WriteScratchFile("csv.log", nullptr, 0);
  bool logging = size > 0 && (data[0] & 1);
  if (logging) WriteScratchFile("csv.log", nullptr, 0);
  DebugLevel = logging ? 3 : 0;
  SetLogPath(logging ? logPath.c_str() : nullptr);

  std::string path = WriteScratchFile("table.csv", data, size);
  // A file with a byte-order mark is read as its decoded text (the decoding
  // itself has a target of its own, fuzz_decode_marked_text).
  std::string bytes = DecodeMarkedText(std::string(reinterpret_cast<const char*>(data), size));
  size_t lineCount = 0;
  for (char c : bytes) lineCount += c == '\n';
  if (!bytes.empty() && bytes.back() != '\n') lineCount++;

  CsvTable table;
  int rows = LoadCsvFile(&table, path.c_str());
  FUZZ_CHECK(rows == table.rowCount, "returned %d, rowCount %d", rows, table.rowCount);
  FUZZ_CHECK(static_cast<size_t>(rows) == lineCount, "%d rows for %zu lines", rows, lineCount);
  FUZZ_CHECK(table.currentRow == 1, "currentRow %d", table.currentRow);
  if (rows == 0) {
    FUZZ_CHECK(table.colCount == 0 && table.cells == nullptr, "empty table with %d columns",
               table.colCount);
  } else {
    std::vector<std::string> lines = Lines(bytes);
    int columns = table.colCount;
    FUZZ_CHECK(columns >= 1 && columns <= CsvMaxFields, "colCount %d", columns);
    FUZZ_CHECK(table.cells != nullptr, "no cells");
    char* fields[CsvMaxFields + 1];
    for (int r = 1; r <= rows; r++) {
      int n = SplitCsvLine(lines[r - 1].c_str(), fields);
      if (r == 1) FUZZ_CHECK(columns == n, "colCount %d, first line has %d fields", columns, n);
      for (int c = 1; c <= columns; c++) {
        const char* cell = CsvCell(&table, r, c);
        FUZZ_CHECK(cell != nullptr, "cell %d,%d is null", r, c);
        FUZZ_CHECK(cell == table.cells[(r - 1) * columns + (c - 1)], "cell %d,%d misplaced", r, c);
        std::string expected = c <= n ? Trimmed(fields[c - 1]) : "";
        FUZZ_CHECK(expected == cell, "cell %d,%d: got [%s], expected [%s]", r, c, cell,
                   expected.c_str());
      }
      for (int i = 0; i < n; i++) free(fields[i]);
      FUZZ_CHECK(!CsvCell(&table, r, 0) && !CsvCell(&table, r, columns + 1), "a cell beside row %d",
                 r);
    }
    for (int c = 0; c <= columns + 1; c++)
      FUZZ_CHECK(!CsvCell(&table, 0, c) && !CsvCell(&table, rows + 1, c),
                 "a cell above or below column %d", c);
    for (int i = 0; i < rows * columns; i++) free(table.cells[i]);
    free(table.cells);
  }

  if (logging) {
    std::string log = ReadBack(logPath);
    std::string note = "   Read " + std::to_string(rows) + " line(s)\n";
    FUZZ_CHECK(
        log.size() >= note.size() && log.compare(log.size() - note.size(), note.size(), note) == 0,
        "log ends [%s]", log.c_str());
  }
  return 0;
}
