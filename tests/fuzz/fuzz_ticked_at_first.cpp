// The check list's tick column on any list file, read as ask check reads
// it (three columns at least): TickedAtFirst of every row agrees with a
// reading of the third cell character by character (one quote off each
// end, then blanks), and a row outside the table is never ticked.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ask.h"
#include "csv.h"
#include "fuzz_support.h"

namespace {

bool Reference(const char* cell) {
  std::string mark = cell;
  size_t from = !mark.empty() && mark[0] == '"';
  size_t to = mark.size();
  if (to > from && mark[to - 1] == '"') to--;
  while (from < to && (mark[from] == ' ' || mark[from] == '\t')) from++;
  while (to > from && (mark[to - 1] == ' ' || mark[to - 1] == '\t')) to--;
  return to > from && mark.compare(from, to - from, "0") != 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string path = WriteScratchFile("ticks.csv", data, size);
  CsvTable table;
  int rows = LoadCsvFile(&table, path.c_str(), 3);
  remove(path.c_str());
  FUZZ_CHECK(rows == 0 || table.colCount >= 3, "%d columns", table.colCount);
  for (int row = 1; row <= rows; row++) {
    const char* cell = CsvCell(&table, row, 3);
    FUZZ_CHECK(cell, "row %d has no third cell", row);
    FUZZ_CHECK(TickedAtFirst(&table, row) == Reference(cell), "row %d, mark \"%s\"", row, cell);
  }
  FUZZ_CHECK(!TickedAtFirst(&table, 0) && !TickedAtFirst(&table, rows + 1), "outside the table");
  if (rows > 0) {
    for (int i = 0; i < rows * table.colCount; i++) free(table.cells[i]);
    free(table.cells);
  }
  return 0;
}
