// The list file reader.
#include "csv.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "cmdline.h"
#include "files.h"
#include "frame.h"
#include "log.h"
#include "text.h"
#include "unicode.h"

namespace {

// Empties the table, as every loader does first.
void ResetTable(CsvTable* table) {
  table->rowCount = 0;
  table->colCount = 0;
  table->currentRow = 1;
  table->cells = nullptr;
}

// Builds the rows from the lines: the first line fixes the column count
// (at least minColumns); later lines are padded with empty cells or cut to
// it.
void BuildRows(CsvTable* table, const std::vector<std::string>& lines, int minColumns = 0) {
  char* fields[CsvMaxFields + 1];
  table->rowCount = static_cast<int>(lines.size());
  for (size_t i = 0; i < lines.size(); i++) {
    int n = SplitCsvLine(lines[i].c_str(), fields);
    if (i == 0) {
      table->colCount = n > minColumns ? n : minColumns;
      size_t cells = static_cast<size_t>(table->rowCount) * static_cast<size_t>(table->colCount);
      table->cells = static_cast<char**>(XMalloc(sizeof(char*) * cells));
    }
    char** row = table->cells + i * table->colCount;
    for (int c = 0; c < table->colCount; c++)
      row[c] = XStrDup(c < n ? SkipBlanks(TrimRight(fields[c])) : "");
    FreeStringsN(n, fields);
  }
  if ((DebugLevel & 3) == 3) Log("  Read %d line(s)", table->rowCount);
}

bool InTable(const CsvTable* table, int row, int column) {
  return column >= 1 && column <= table->colCount && row >= 1 && row <= table->rowCount;
}

}  // namespace

int SplitCsvLine(const char* line, char** fields) {
  size_t length = strlen(line);
  char* work = static_cast<char*>(XMalloc(length + 3));
  const char* p = line;
  int count = 0;
  for (;;) {
    while (*p == ' ') p++;
    char* out = work;
    if (*p == '"') {
      // A quoted field keeps its quotes; "" inside stands for one quote.
      *out++ = *p++;
      while (*p) {
        if (*p == '"' && p[1] == '"') {
          *out++ = '"';
          p += 2;
        } else if (*p == '"') {
          *out++ = *p++;
          break;
        } else {
          *out++ = *p++;
        }
      }
      *out = '\0';
      while (*p == ' ') p++;
    } else {
      while (*p && *p != ',') *out++ = *p++;
      *out = '\0';
      TrimRight(work);
      if (!IsNumber(work)) {
        char* quoted = AddQuotes(work);
        strcpy(work, quoted);  // the work buffer has room for the two quotes
        free(quoted);
      }
    }
    fields[count++] = XStrDup(work);
    if (*p != ',' || count == CsvMaxFields) break;
    p++;
  }
  fields[count] = nullptr;
  free(work);
  return count;
}

int LoadCsvFile(CsvTable* table, const char* path, int minColumns) {
  ResetTable(table);
  FILE* f = fopen(path, "rb");
  if (!f) return 0;
  std::string bytes;
  ReadStream(f, &bytes);
  fclose(f);
  // Every line is one row, however long it is. A file saved with a
  // byte-order mark (Excel's "CSV UTF-8", PowerShell's UTF-16) is decoded
  // first, so that the mark is no part of the first entry.
  BuildRows(table, SplitTextLines(DecodeMarkedText(bytes)), minColumns);
  return table->rowCount;
}

int LoadCsvSection(CsvTable* table, const char* path, const char* section) {
  ResetTable(table);
  StrList sectionLines;
  int n = LoadLines(path, section, &sectionLines);
  BuildRows(table, std::vector<std::string>(sectionLines, sectionLines + n));
  FreeStringsN(n, sectionLines);
  free(sectionLines);
  return table->rowCount;
}

char* CsvCell(const CsvTable* table, int row, int column) {
  if (!InTable(table, row, column)) return nullptr;
  return table->cells[static_cast<size_t>(row - 1) * table->colCount + (column - 1)];
}

int CsvFindRow(CsvTable* table, int column, const char* text) {
  table->currentRow = 1;
  if (column < 1 || column > table->colCount) {
    table->currentRow = table->rowCount + 1;
    return 0;
  }
  if (table->rowCount <= 0) {
    table->currentRow = 1;
    return 0;
  }
  for (int r = 1; r <= table->rowCount; r++) {
    if (CompareNoCase(text, CsvCell(table, r, column)) == 0) {
      table->currentRow = r;
      return r;
    }
  }
  table->currentRow = table->rowCount + 1;
  return 0;
}

char* CsvCurrentCell(const CsvTable* table, int column) {
  return CsvCell(table, table->currentRow, column);
}
