// The list file reader: splitting, stored cell form, padding and cutting,
// lookups, and its log line.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "csv.h"
#include "frame.h"
#include "log.h"
#include "test_util.h"

namespace {

using Strings = std::vector<std::string>;

Strings Split(const std::string& line) {
  char* fields[CsvMaxFields + 1];
  int n = SplitCsvLine(line.c_str(), fields);
  EXPECT_EQ(fields[n], nullptr);
  Strings result(fields, fields + n);
  for (int i = 0; i < n; i++) free(fields[i]);
  return result;
}

TEST(SplitCsvLine, FieldsInStoredForm) {
  std::string thirty;
  for (int i = 1; i <= 30; i++) thirty += (i > 1 ? "," : "") + std::to_string(i);
  Strings first26;
  for (int i = 1; i <= 26; i++) first26.push_back(std::to_string(i));
  struct {
    std::string line;
    Strings fields;
  } cases[] = {
      {"Apple, 12", {"\"Apple\"", "12"}},
      {"\"Smith, John\",42", {"\"Smith, John\"", "42"}},
      {"\"He said \"\"hi\"\"\"", {"\"He said \"hi\"\""}},
      {"\"abc\"def,1", {"\"abc\""}},
      {"\"q\"  , x ", {"\"q\"", "\"x\""}},
      {"a,,b", {"\"a\"", "\"\"", "\"b\""}},
      {"a,", {"\"a\"", "\"\""}},
      {"", {"\"\""}},
      {"   ", {"\"\""}},
      {thirty, first26},
      {"\ta , b\t", {"\"\ta\"", "\"b\t\""}},
      {"\"open, never closed  ", {"\"open, never closed  "}},
      {" 1.5e3 , -2,+", {"1.5e3", "-2", "\"+\""}},
      {"say \"hi\",x", {"\"say \"hi\"\"", "\"x\""}},
  };
  for (const auto& c : cases) EXPECT_EQ(Split(c.line), c.fields) << "line: " << c.line;
}

class CsvTest : public ::testing::Test {
 protected:
  void TearDown() override {
    DebugLevel = 0;
    SetLogPath(nullptr);
  }
  // Loads content from a file; the table's rows as strings.
  std::vector<Strings> Load(const std::string& content, CsvTable* table) {
    std::string path = ScratchPath("list.csv");
    WriteBytes(path, content);
    LoadCsvFile(table, path.c_str());
    std::vector<Strings> rows;
    for (int r = 1; r <= table->rowCount; r++) {
      Strings row;
      for (int c = 1; c <= table->colCount; c++) row.push_back(CsvCell(table, r, c));
      rows.push_back(row);
    }
    return rows;
  }
};

TEST_F(CsvTest, RowsArePaddedAndCutToTheFirstRow) {
  CsvTable table;
  std::vector<Strings> rows = Load("a,1\r\nb\r\n\r\nc,3,extra\r\nlast, 9", &table);
  EXPECT_EQ(table.rowCount, 5);
  EXPECT_EQ(table.colCount, 2);
  EXPECT_EQ(table.currentRow, 1);
  std::vector<Strings> expected = {
      {"\"a\"", "1"}, {"\"b\"", ""}, {"\"\"", ""}, {"\"c\"", "3"}, {"\"last\"", "9"}};
  EXPECT_EQ(rows, expected);
  EXPECT_STREQ(CsvCell(&table, 2, 2), "") << "a padded cell is empty, not null";
  EXPECT_EQ(CsvCell(&table, 1, 3), nullptr);
  EXPECT_EQ(CsvCell(&table, 6, 1), nullptr);
  EXPECT_EQ(CsvCell(&table, 0, 1), nullptr);
  EXPECT_EQ(CsvCell(&table, 1, 0), nullptr);
}

TEST_F(CsvTest, LongLineIsOneRow) {
  CsvTable table;
  std::string text(300, 't');
  std::vector<Strings> rows = Load(text + ",v\n" + "next,w\n", &table);
  ASSERT_EQ(table.rowCount, 2);
  EXPECT_EQ(rows[0], (Strings{"\"" + text + "\"", "\"v\""}));
  EXPECT_EQ(rows[1], (Strings{"\"next\"", "\"w\""}));
}

TEST_F(CsvTest, EmptyMissingAndOneColumnFiles) {
  CsvTable table;
  EXPECT_TRUE(Load("", &table).empty());
  EXPECT_EQ(table.rowCount, 0);
  EXPECT_EQ(table.colCount, 0);
  EXPECT_EQ(table.cells, nullptr);
  EXPECT_EQ(LoadCsvFile(&table, ScratchPath("missing.csv").c_str()), 0);

  Load("one\ntwo\n", &table);
  EXPECT_EQ(table.rowCount, 2);
  EXPECT_EQ(table.colCount, 1);
  EXPECT_EQ(CsvCell(&table, 1, 2), nullptr);
}

TEST_F(CsvTest, MarkedFilesAreDecodedBeforeTheRowsAreRead) {
  CsvTable table;
  // Windows PowerShell 5.1's "> list.csv": UTF-16 little-endian with a mark.
  std::string utf16 = "\xFF\xFE";
  for (char c : std::string("Red,1\r\nBlue,\"b,l\"\r\n")) utf16 += std::string{c, '\0'};
  std::vector<Strings> expected = {{"\"Red\"", "1"}, {"\"Blue\"", "\"b,l\""}};
  EXPECT_EQ(Load(utf16, &table), expected);
  EXPECT_EQ(Load("\xEF\xBB\xBFRed,1\r\nBlue,\"b,l\"", &table), expected);
  // A mark alone is an empty file.
  EXPECT_TRUE(Load("\xEF\xBB\xBF", &table).empty());
  // Without a mark the bytes are read as they are.
  EXPECT_EQ(Load("\xEFx,1\n", &table), (std::vector<Strings>{{"\"\xEFx\"", "1"}}));
}

TEST_F(CsvTest, FindRowMovesTheCursor) {
  CsvTable table;
  Load("Apple,12\nPear,7\n\"Plum\",9\n", &table);
  EXPECT_EQ(CsvFindRow(&table, 1, "\"PEAR\""), 2);
  EXPECT_EQ(table.currentRow, 2);
  EXPECT_STREQ(CsvCurrentCell(&table, 2), "7");
  EXPECT_EQ(CsvFindRow(&table, 2, "9"), 3) << "a number cell matches the bare number";
  EXPECT_EQ(CsvFindRow(&table, 1, "Pear"), 0) << "text cells carry their quotes";
  EXPECT_EQ(table.currentRow, 4);
  EXPECT_EQ(CsvCurrentCell(&table, 1), nullptr);
  EXPECT_EQ(CsvFindRow(&table, 3, "x"), 0);
  EXPECT_EQ(table.currentRow, 4);
  CsvTable empty;
  Load("", &empty);
  EXPECT_EQ(CsvFindRow(&empty, 1, "x"), 0);
  EXPECT_EQ(empty.currentRow, 1);
}

TEST_F(CsvTest, ReadLineIsLoggedWhenBothLowBitsAreSet) {
  std::string log = ScratchPath("csv.log");
  struct {
    int level;
    bool logged;
  } cases[] = {{3, true}, {7, true}, {-1, true}, {1, false}, {2, false}, {0, false}};
  for (const auto& c : cases) {
    WriteBytes(log, "");
    SetLogPath(log.c_str());
    DebugLevel = c.level;
    CsvTable table;
    Load("a\nb\nc\n", &table);
    std::string bytes = ReadBytes(log);
    EXPECT_EQ(bytes.find("   Read 3 line(s)" + std::string(Eol)) != std::string::npos, c.logged)
        << "level " << c.level << ": " << bytes;
  }
  WriteBytes(log, "");
  SetLogPath(log.c_str());
  DebugLevel = 3;
  CsvTable table;
  Load("", &table);
  EXPECT_NE(ReadBytes(log).find("   Read 0 line(s)"), std::string::npos);
  WriteBytes(log, "");
  LoadCsvFile(&table, ScratchPath("missing.csv").c_str());
  EXPECT_EQ(ReadBytes(log), "") << "a file that cannot be opened logs nothing";
}

TEST_F(CsvTest, SectionRows) {
  std::string path = ScratchPath("sections.csv");
  WriteBytes(path, "[Fruit]\r\nApple,1\r\nPear\r\n\r\n[Other]\r\nx,y\r\n");
  CsvTable table;
  EXPECT_EQ(LoadCsvSection(&table, path.c_str(), "fruit"), 2);
  EXPECT_EQ(table.colCount, 2);
  EXPECT_STREQ(CsvCell(&table, 2, 1), "\"Pear\"");
  EXPECT_STREQ(CsvCell(&table, 2, 2), "");
}

}  // namespace
