// The list file reader: comma-separated lines into a table of cells. A cell
// keeps its kind in its text: quoted text, or a bare number.
#pragma once

// Most fields taken from one line; later ones are ignored.
constexpr int CsvMaxFields = 26;

struct CsvTable {
  int rowCount;    // rows read; 0 when nothing was read
  int colCount;    // fields of the first row; every row has this many cells
  int currentRow;  // 1-based cursor, moved by CsvFindRow
  char** cells;    // rowCount * colCount cells, row after row; null when empty
};

// Splits one line (without its line end) into 1 to CsvMaxFields new
// strings in stored cell form, then a null; fields needs CsvMaxFields + 1
// slots. Returns the number of fields.
int SplitCsvLine(const char* line, char** fields);

// Reads every line of the file as a row, padding or cutting each to the
// first row's field count, or to minColumns where the first row has fewer.
// Returns rowCount; 0 when the file cannot be opened or is empty.
int LoadCsvFile(CsvTable* table, const char* path, int minColumns = 0);

// The same for the lines of one [section] of the file (LoadLines).
int LoadCsvSection(CsvTable* table, const char* path, const char* section);

// The stored cell of row and column (from 1), or null outside the table.
char* CsvCell(const CsvTable* table, int row, int column);

// The first row whose cell in the column equals text (case ignored), or 0;
// currentRow moves to it (past the last row when none matches).
int CsvFindRow(CsvTable* table, int column, const char* text);

// The cell of currentRow in the column, or null outside the table.
char* CsvCurrentCell(const CsvTable* table, int column);
