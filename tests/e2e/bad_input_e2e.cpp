// Hostile and broken input, end to end: each row says what the user must
// see, the exit status, and that the result file holds either the one
// complete answer line or what it held before. Every wait is bounded.
#include <cstdlib>
#include <functional>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "e2e_config.h"
#include "e2e_test.h"

namespace {

// How a window's text is compared.
enum class Match { Exact, Prefix, Any };

// A window that must appear, in order, and how it is answered.
struct Expected {
  const char* windowClass;  // MessageBoxClass or DialogClass
  Match match;
  std::string text;  // a box's text, a dialog's label, or a system dialog's title
  int answer;        // button id to press
  int pick = -1;     // list dialogs: the position selected first
};

struct Row;

struct Row {
  const char* name;
  const char* tool;
  std::string args;  // "{S}" stands for the scratch folder, "{P}" for the probe
  // Makes the row's files; may adjust the options and, where the outcome
  // depends on the system (read-only files are writable for root under
  // Wine), the expectations.
  std::function<void(const std::string& scratch, LaunchOptions* options, Row* row)> prepare;
  std::vector<Expected> windows;
  int status;
  const char* result = nullptr;  // bytes of the result file; null: untouched
  const char* resultName = "out.txt";
  std::function<void(const std::string& scratch)> check = {};  // further checks
  bool inService = false;  // run by a service, in a window station nobody sees
  std::string errors = "";  // a text that its standard error must hold
};

const char* const OldResult = "old line 1\r\nold line 2\r\n";

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
    text.replace(at, from.size(), to);
  return text;
}

void Write(const std::string& scratch, const char* name, const std::string& bytes) {
  WriteFileBytes(JoinPath(scratch, name), bytes);
}

void MakeFolder(const std::string& scratch, const char* name) {
  CreateDirectoryA(JoinPath(scratch, name).c_str(), nullptr);
}

void MakeReadOnly(const std::string& scratch, const char* name) {
  SetFileAttributesA(JoinPath(scratch, name).c_str(), FILE_ATTRIBUTE_READONLY);
}

std::string Repeat(char c, size_t n) { return std::string(n, c); }

std::string Numbered(const char* prefix, int from, int to) {
  std::string args;
  for (int i = from; i <= to; i++) args += std::string(" ") + prefix + std::to_string(i);
  return args;
}

const Expected NoAppData = {MessageBoxClass, Match::Exact,
                            "The APPDATA environment variable is missing.", IDOK};

Expected Box(const std::string& text, int answer = IDOK) {
  return {MessageBoxClass, Match::Exact, text, answer};
}
Expected AnyBox(int answer = IDOK) { return {MessageBoxClass, Match::Any, "", answer}; }
Expected Question(int answer = IDOK) { return {MessageBoxClass, Match::Exact, "p", answer}; }
Expected Dialog(const std::string& label, int answer, int pick = -1) {
  return {DialogClass, Match::Exact, label, answer, pick};
}

constexpr int Left = 4002, Right = 4003;

void Unset(const std::string&, LaunchOptions* options, Row*) {
  options->unset.push_back("APPDATA");
}

// Makes the file read-only; where the system still lets this process write
// it, ask will too, and the row then expects the answer instead of the
// failure.
void ReadOnlyResult(const std::string& s, LaunchOptions*, Row* row) {
  std::string path = JoinPath(s, "out.txt");
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h != INVALID_HANDLE_VALUE) {
    CloseHandle(h);
    row->windows.pop_back();
    row->status = 0;
    row->result = "ok\r\n";
  }
}

// Keeps a file open without sharing for the rest of the row, as another
// program would.
HANDLE Locked = INVALID_HANDLE_VALUE;
void Lock(const std::string& path) {
  Locked = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(Locked, INVALID_HANDLE_VALUE) << "cannot lock " << path;
}

// Lines of the answer file that ASK_ANSWERS names, with the list files the
// rows use beside it.
std::function<void(const std::string&, LaunchOptions*, Row*)> Answers(const std::string& lines) {
  return [lines](const std::string& s, LaunchOptions* options, Row*) {
    Write(s, "answers.txt", lines);
    Write(s, "names.csv", "Carol,c\r\nAlice,a\r\nBob,b\r\n");
    Write(s, "docs.csv", "Tools,tools,1\r\nDocs,docs\r\nHelp,,1\r\n");
    Write(s, "feed.txt", "#Copying\r\n50\r\nclose\r\n");
    Write(s, "a.txt", "a");
    Write(s, "b.txt", "b");
    options->set.push_back({"ASK_ANSWERS", JoinPath(s, "answers.txt")});
  };
}

// A row answered from the answer file: no window may come.
Row FromFile(const char* name, const char* args, const std::string& lines, int status,
             const char* result, const std::string& errors = "") {
  Row row = {name, "ask", args, Answers(lines), {}, status, result};
  row.errors = errors;
  return row;
}

// A row run by a service: nothing may wait, the reason is on standard error.
Row Served(const char* name, const char* tool, const char* args, int status, const char* result,
           const std::string& errors) {
  Row row = {name, tool, args, Answers(""), {}, status, result};
  row.inService = true;
  row.errors = errors;
  return row;
}

// The row, with the text that its log (ask.log in the scratch folder) must
// hold.
Row Logged(Row row, const std::string& logged) {
  row.check = [logged](const std::string& s) {
    std::string log = ReadFileBytes(JoinPath(s, "ask.log"));
    EXPECT_NE(log.find(logged), std::string::npos) << "got \"" << log << "\"";
  };
  return row;
}

std::vector<Row> AnswerRows() {
  const std::string unseen = "not shown, since nobody can see this screen";
  return {
      // Each mode answered from the file writes what its window writes for
      // the same answer (the rows above that press the windows).
      FromFile("FileAnswersOk", "ok p out.txt", "ok\r\n", 0, "ok\r\n"),
      FromFile("FileAnswersOkCancel", "ok p out.txt", "\r\n", 0, "\r\n"),
      FromFile("FileAnswersYnByWord", "yn p out.txt", "# a comment\r\nYES\r\n", 0, "yes\r\n"),
      FromFile("FileAnswersYnNo", "yn p out.txt", "no\r\n", 0, "\r\n"),
      FromFile("FileAnswersYncNo", "ync p out.txt", "no\r\n", 0, "no\r\n"),
      FromFile("FileAnswersText", "text -bn p out.txt", "typed text\r\n", 0, "typed text\r\n"),
      FromFile("FileAnswersTextWithHash", "pass p out.txt", "##1 secret\r\n", 0, "#1 secret\r\n"),
      FromFile("FileAnswersEdit", "edit p old out.txt", "new\r\n", 0, "new\r\n"),
      FromFile("FileAnswersListByShownText", "list p names.csv out.txt", "Bob\r\n", 0, "b\r\n"),
      FromFile("FileAnswersCheckInShownOrder", "check p docs.csv out.txt", "Tools|Docs\r\n", 0,
               "docs\r\ntools\r\n"),
      FromFile("FileAnswersCheckNothingTicked", "check p docs.csv out.txt", "|\r\n", 0, ""),
      FromFile("FileAnswersButtons", "buttons p Save|Discard out.txt", "discard\r\n", 0,
               "Discard\r\n"),
      FromFile("FileAnswersDate", "date p out.txt", "2024-02-29\r\n", 0, "2024-02-29\r\n"),
      FromFile("FileAnswersProgress", "progress p feed.txt out.txt", "ok\r\n", 0, "ok\r\n"),
      FromFile("FileAnswersProgressCancel", "progress p feed.txt out.txt", "cancel\r\n", 0, "\r\n"),
      // Answers the question could not have given: status 1, the line named.
      FromFile("FileAnswerNotInTheList", "list p names.csv out.txt", "Zed\r\n", 1, nullptr,
               "answers.txt line 1: \"Zed\" is not an entry of the list"),
      FromFile("FileAnswerNoDate", "date p out.txt", "#c\r\n2023-02-29\r\n", 1, nullptr,
               "line 2: \"2023-02-29\" is not a date"),
      FromFile("FileAnswerNoButton", "buttons p Save|Discard out.txt", "Keep\r\n", 1, nullptr,
               "\"Keep\" is not one of the buttons: Save|Discard"),
      FromFile("FileAnswerMaybe", "yn p out.txt", "maybe\r\n", 1, nullptr,
               "\"maybe\" is not an answer of ask yn"),
      FromFile("FileAnswerTooLong", "text p out.txt", Repeat('x', 256) + "\r\n", 1, nullptr,
               "the text has 256 characters"),
      FromFile("FileAnswerNoSuchFile", "file p out.txt", "C:\\no\\such.txt\r\n", 1, nullptr,
               "is not an existing file"),
      FromFile("FileAnswerCheckUnknown", "check p docs.csv out.txt", "Docs|Nope\r\n", 1, nullptr,
               "\"Nope\" is not an entry of the list"),
      FromFile("FileAnswersExhausted", "ok p out.txt", "# only a comment\r\n", 1, nullptr,
               "line 2: no line is left for this question"),
      FromFile("FileAnswersUsageNotShown", "ok p", "ok\r\n", 1, nullptr, "ask ok prompt outfile"),
      // Run as SYSTEM would be: nothing waits where nobody can see it.
      Served("ServiceYnTimesOutToItsDefault", "ask", "yn -timeout=600 -default=no p {S}\\out.txt", 0,
             "\r\n", unseen),
      Served("ServiceListTakesItsDefault", "ask", "list -default=bob p {S}\\names.csv {S}\\out.txt",
             0, "b\r\n", "Answered as when its time runs out"),
      Served("ServiceCheckKeepsItsTicks", "ask", "check -timeout=600 p {S}\\docs.csv {S}\\out.txt",
             0, "Help\r\ntools\r\n", unseen),
      Served("ServiceButtonsTakeTheDefault", "ask", "buttons -default=Keep p A|Keep {S}\\out.txt", 0,
             "Keep\r\n", unseen),
      Served("ServiceDateTakesItsDefault", "ask", "date -default=2030-01-31 p {S}\\out.txt", 0,
             "2030-01-31\r\n", unseen),
      Served("ServiceTextWithoutAnswerEnds", "ask", "text p {S}\\out.txt", 1, nullptr,
             "No answer without -default= or -timeout=: nothing written, status 1"),
      Served("ServiceChooserEnds", "ask", "dir p {S}\\out.txt", 1, nullptr, unseen),
      Served("ServiceProgressFollowsItsFeed", "ask", "progress p {S}\\feed.txt {S}\\out.txt", 0,
             "ok\r\n", "Followed its feed without a window"),
      Served("ServiceSayReturnsAtOnce", "say", "-t T hello", 0, nullptr, "Say: " + unseen + " (its window station is not visible):\r\nhello"),
      Logged(Served("ServiceFatalErrorNotShown", "ask",
                    "-dbg=1 -log={S}\\ask.log list p {S}\\missing.csv {S}\\out.txt", 1, nullptr,
                    "No data in list file: "),
             "Not shown, since nobody can see this screen (its window station is not visible): "
             "No data in list file"),
      Served("ServiceUsageNotShown", "run", "", 1, nullptr, "Usage:"),
      Served("ServiceRunOfNothingShowsNoError", "run", "no-such-program.exe", -1, nullptr,
             "Run: Can't start no-such-program.exe: "),
  };
}

std::vector<Row> Rows() {
  std::string bigName = Repeat('x', 50 * 1000 * 1000);
  std::string cut = "Can't write to file: " + Repeat('x', 475) + " ...";
  return {
      {"AppDataUnsetAsk", "ask", "ok p out.txt", Unset, {NoAppData}, 1},
      {"AppDataUnsetSay", "say", "hello", Unset, {NoAppData}, 1},
      {"AppDataUnsetRun",
       "run",
       "\"{P}\"",
       Unset,
       {NoAppData},
       1,
       nullptr,
       "out.txt",
       [](const std::string& s) {
         EXPECT_EQ(ReadFileBytes(JoinPath(s, "probe-out.txt")), "<missing>") << "nothing started";
       }},
      {"FileArgMissingSay",
       "say",
       "@missing.txt",
       nullptr,
       {Box("Can't read file: missing.txt")},
       1},
      {"FileArgMissingAsk",
       "ask",
       "ok @missing.txt out.txt",
       nullptr,
       {Box("Can't read file: missing.txt")},
       1},
      {"FileArgMissingRun",
       "run",
       "\"{P}\" @missing.txt",
       nullptr,
       {Box("Can't read file: missing.txt")},
       1,
       nullptr,
       "out.txt",
       [](const std::string& s) {
         EXPECT_EQ(ReadFileBytes(JoinPath(s, "probe-out.txt")), "<missing>");
       }},
      {"FileArgEmptyMessage",
       "say",
       "@empty.txt",
       [](const std::string& s, LaunchOptions*, Row*) { Write(s, "empty.txt", ""); },
       {Box("")},
       0},
      {"FileArgEmptyPrompt",
       "ask",
       "ok @empty.txt out.txt",
       [](const std::string& s, LaunchOptions*, Row*) { Write(s, "empty.txt", ""); },
       {Box("")},
       0,
       "ok\r\n"},
      {"FileArgEmptyResultPath",
       "ask",
       "ok p @empty.txt",
       [](const std::string& s, LaunchOptions*, Row*) { Write(s, "empty.txt", ""); },
       {Question(), Box("Can't write to file: ")},
       1},
      {"FileArgIsFolder",
       "say",
       "@sub",
       [](const std::string& s, LaunchOptions*, Row*) { MakeFolder(s, "sub"); },
       {Box("Can't read file: sub")},
       1},
      {"FileArgOf50MegabytesAsResultPath",
       "ask",
       "ok p @big.txt",
       [bigName](const std::string& s, LaunchOptions*, Row*) { Write(s, "big.txt", bigName); },
       {Question(), Box(cut)},
       1},
      {"FileArgWithZeroBytes",
       "say",
       "@zero.txt",
       [](const std::string& s, LaunchOptions*, Row*) {
         Write(s, "zero.txt", std::string("before\0after", 12));
       },
       {Box("before")},
       0},
      {"FileArgWithCarriageReturnsOnly",
       "say",
       "@cr.txt",
       [](const std::string& s, LaunchOptions*, Row*) { Write(s, "cr.txt", "one\rtwo\r"); },
       {Box("one\rtwo\r")},
       0},
      {"AtSignAlone", "say", "@", nullptr, {Box("Can't read file: ")}, 1},
      {"CommandLineOf32000Characters",
       "say",
       Repeat('m', 32000),
       nullptr,
       {Box(Repeat('m', 32000))},
       0},
      {"HundredArgumentsSay",
       "say",
       Numbered("m", 1, 100),
       nullptr,
       {{MessageBoxClass, Match::Prefix, "Usage:\n\nsay ", IDOK}},
       1},
      {"HundredArgumentsAsk",
       "ask",
       "ok p out.txt" + Numbered("a", 4, 100),
       nullptr,
       {Box("ask ok prompt outfile")},
       1},
      {"HundredArgumentsRun",
       "run",
       "\"{P}\"" + Numbered("a", 1, 100),
       nullptr,
       {},
       0,
       nullptr,
       "out.txt",
       [](const std::string& s) {
         std::string got = ReadFileBytes(JoinPath(s, "probe-out.txt"));
         EXPECT_NE(got.find(" \"a28\""), std::string::npos) << got;
         EXPECT_EQ(got.find("a29"), std::string::npos) << "entries after the 30th are dropped";
       }},
      {"PromptOf100000Characters",
       "ask",
       "text @prompt.txt out.txt",
       [](const std::string& s, LaunchOptions*, Row*) {
         Write(s, "prompt.txt", Repeat('w', 100000));
       },
       // The label's text is too long to be read back from another process.
       {{DialogClass, Match::Any, "", Left}},
       0,
       "\r\n"},
      {"PercentSignsInMessage", "say", "\"%s %n %d %% %\"", nullptr, {Box("%s %n %d %% %")}, 0},
      {"PercentSignsInFatalMessage",
       "ask",
       "ok p \"none\\%s%n.txt\"",
       nullptr,
       {Question(), Box("Can't write to file: none\\%s%n.txt")},
       1},
      {"LogInMissingFolder",
       "say",
       "-dbg=1 -log=none\\x.log hello",
       nullptr,
       {Box("hello")},
       0,
       nullptr,
       "out.txt",
       [](const std::string& s) {
         EXPECT_EQ(ReadFileBytes(JoinPath(s, "none\\x.log")), "<missing>");
       }},
      {"LogReadOnly",
       "say",
       "-dbg=1 -log=ro.log hello",
       [](const std::string& s, LaunchOptions*, Row*) {
         Write(s, "ro.log", "kept\r\n");
         MakeReadOnly(s, "ro.log");
       },
       {Box("hello")},
       0,
       nullptr,
       "out.txt",
       [](const std::string& s) {
         EXPECT_EQ(ReadFileBytes(JoinPath(s, "ro.log")).rfind("kept\r\n", 0), 0u) << "nothing lost";
       }},
      {"LogLockedByAnotherProgram",
       "say",
       "-dbg=1 -log=locked.log hello",
       [](const std::string& s, LaunchOptions*, Row*) {
         Write(s, "locked.log", "kept\r\n");
         Lock(JoinPath(s, "locked.log"));
       },
       {Box("hello")},
       0,
       nullptr,
       "out.txt",
       [](const std::string& s) {
         EXPECT_EQ(ReadFileBytes(JoinPath(s, "locked.log")), "kept\r\n");
       }},
      {"ResultInMissingFolder",
       "ask",
       "ok p none\\out.txt",
       nullptr,
       {Question(), Box("Can't write to file: none\\out.txt")},
       1},
      {"ResultReadOnly",
       "ask",
       "ok p out.txt",
       ReadOnlyResult,
       {Question(), Box("Can't write to file: out.txt")},
       1},
      {"ResultLockedByAnotherProgram",
       "ask",
       "ok p out.txt",
       [](const std::string& s, LaunchOptions*, Row*) { Lock(JoinPath(s, "out.txt")); },
       {Question(), Box("Can't write to file: out.txt")},
       1},
      {"ResultIsFolder",
       "ask",
       "ok p sub",
       [](const std::string& s, LaunchOptions*, Row*) { MakeFolder(s, "sub"); },
       {Question(), Box("Can't write to file: sub")},
       1},
      {"ResultOnFullDevice",
       "ask",
       "yn p Z:\\dev\\full",
       nullptr,
       {Question(IDYES), Box("Can't write to file: Z:\\dev\\full")},
       1},
      {"ResultIsTheListFile",
       "ask",
       "list -r p list.csv list.csv",
       [](const std::string& s, LaunchOptions*, Row*) {
         Write(s, "list.csv", "a,first\r\nb,second\r\n");
       },
       {Dialog("p", Right, 1)},
       0,
       "second\r\n",
       "list.csv"},
      {"ListOfBinaryGarbage",
       "ask",
       "list -r p garbage.csv out.txt",
       [](const std::string& s, LaunchOptions*, Row*) {
         std::mt19937 random(7);
         std::string bytes;
         for (int i = 0; i < 20000; i++) bytes += static_cast<char>(random() & 0xFF);
         Write(s, "garbage.csv", bytes);
       },
       {Dialog("p", Left)},
       0,
       "\r\n"},
      {"ListOfOneHugeLine",
       "ask",
       "list p huge.csv out.txt",
       [](const std::string& s, LaunchOptions*, Row*) {
         Write(s, "huge.csv", Repeat('y', 1000 * 1000) + ",big\r\n");
       },
       {Dialog("p", Right, 0)},
       0,
       "big\r\n"},
      {"ListOf100000Rows",
       "ask",
       "list p rows.csv out.txt",
       [](const std::string& s, LaunchOptions*, Row*) {
         std::string rows;
         for (int i = 99999; i >= 0; i--) {
           char line[64];
           snprintf(line, sizeof line, "Item %06d,value %d\r\n", i, i);
           rows += line;
         }
         Write(s, "rows.csv", rows);
       },
       {Dialog("p", Right, 0)},
       0,
       "value 0\r\n"},
      {"ListOfOnlyCommas",
       "ask",
       "list p commas.csv out.txt",
       [](const std::string& s, LaunchOptions*, Row*) {
         Write(s, "commas.csv", ",,,\r\n,,\r\n,\r\n");
       },
       {Dialog("p", Right, 1)},
       0,
       "\r\n"},
      {"ListWithUnclosedQuotes",
       "ask",
       "list -r p quotes.csv out.txt",
       [](const std::string& s, LaunchOptions*, Row*) {
         Write(s, "quotes.csv", "\"abc,def\r\nx,\"y z\r\n");
       },
       {Dialog("p", Right, 0)},
       0,
       "\r\n"},
      {"ListFileEmpty",
       "ask",
       "list p empty.csv out.txt",
       [](const std::string& s, LaunchOptions*, Row*) { Write(s, "empty.csv", ""); },
       {Box("No data in list file: empty.csv")},
       1},
      {"ListFileIsFolder",
       "ask",
       "list p sub out.txt",
       [](const std::string& s, LaunchOptions*, Row*) { MakeFolder(s, "sub"); },
       {Box("No data in list file: sub")},
       1},
      {"ListFileMissing",
       "ask",
       "list p missing.csv out.txt",
       nullptr,
       {Box("No data in list file: missing.csv")},
       1},
      {"RunMissingProgram", "run", "no-such-program.exe x", nullptr, {AnyBox()}, -1},
      {"RunDocumentWithoutAssociation",
       "run",
       "document.qzx",
       [](const std::string& s, LaunchOptions*, Row*) { Write(s, "document.qzx", "data"); },
       {AnyBox()},
       -1},
      {"RunExitCodeWithTopBitSet",
       "run",
       "\"{P}\"",
       [](const std::string&, LaunchOptions* options, Row*) {
         options->set.push_back({"PROBE_EXIT", "0x80000001"});
       },
       {},
       static_cast<int>(0x80000001u)},
      {"RunFileArgWithCarriageReturns",
       "run",
       "-dbg=1 -log=run.log \"{P}\" @cr.txt",
       [](const std::string& s, LaunchOptions*, Row*) { Write(s, "cr.txt", "one\rtwo\r\n"); },
       {},
       0,
       nullptr,
       "out.txt",
       [](const std::string& s) {
         std::string log = ReadFileBytes(JoinPath(s, "run.log"));
         // CR LF read as LF, and that one final LF dropped: the lone CR stays.
         EXPECT_NE(log.find(" args= \"one\rtwo\" mode=1 ...\r\n"), std::string::npos) << log;
       }},
      {"EmptyModeWord",
       "ask",
       "\"\" p out.txt",
       nullptr,
       {{MessageBoxClass, Match::Prefix, "Usage:\n\nask ok prompt out.txt", IDOK}},
       1},
      {"EmptyMessage", "say", "\"\"", nullptr, {Box("")}, 0},
      {"HugeDebugLevel",
       "say",
       "-dbg=99999999999 -log=l.log hi",
       nullptr,
       {Box("hi")},
       0,
       nullptr,
       "out.txt",
       [](const std::string& s) {
         EXPECT_NE(ReadFileBytes(JoinPath(s, "l.log")).find(" Cmdline: "), std::string::npos);
       }},
      {"FileModeResultInMissingFolder",
       "ask",
       "file \"Pick\" none\\out.txt",
       nullptr,
       {{MessageBoxClass, Match::Exact, "Pick", IDCANCEL},
        Box("Can't write to file: none\\out.txt")},
       1},
      {"TextModeResultOnFullDevice",
       "ask",
       "text p Z:\\dev\\full",
       nullptr,
       {Dialog("p", Right), Box("Can't write to file: Z:\\dev\\full")},
       1},
      {"FileArgUtf16OfOddLength",
       "say",
       "@odd.txt",
       [](const std::string& s, LaunchOptions*, Row*) {
         Write(s, "odd.txt", std::string("\xFF\xFEh\0i\0!", 7));
       },
       {Box("hi?")},
       0},
      {"FileArgMarkOnly",
       "ask",
       "ok @mark.txt out.txt",
       [](const std::string& s, LaunchOptions*, Row*) { Write(s, "mark.txt", "\xEF\xBB\xBF"); },
       {Box("")},
       0,
       "ok\r\n"},
      {"ListUtf16WithZeroCharactersAndBadSurrogates",
       "ask",
       "list -r p wide.csv out.txt",
       [](const std::string& s, LaunchOptions*, Row*) {
         // a,1 / a lone low surrogate,2 / x, a zero character, y,3
         std::u16string text = u"a,1\r\n";
         text += char16_t(0xDC00);
         text += u",2\r\nx";
         text += char16_t(0);
         text += u"y,3\r\n";
         std::string bytes = "\xFF\xFE";
         for (char16_t unit : text)
           bytes += std::string{static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
         Write(s, "wide.csv", bytes);
       },
       {Dialog("p", Right, 1)},
       0,
       "2\r\n"},
      {"ListOf100000RowsInUtf16",
       "ask",
       "list p rows.csv out.txt",
       [](const std::string& s, LaunchOptions*, Row*) {
         std::string rows = "\xFF\xFE";
         for (int i = 99999; i >= 0; i--) {
           char line[64];
           snprintf(line, sizeof line, "Item %06d,value %d\r\n", i, i);
           for (const char* p = line; *p; p++) rows += std::string{*p, '\0'};
         }
         Write(s, "rows.csv", rows);
       },
       {Dialog("p", Right, 0)},
       0,
       "value 0\r\n"},
      {"TimeoutBeyondAnyNumber",
       "ask",
       "ok p out.txt -timeout=99999999999999999999999",
       nullptr,
       {Box("-timeout=99999999999999999999999 is not 1 to 86400 seconds\nask ok prompt outfile")},
       1},
      {"ButtonLabelWithALineBreak",
       "ask",
       "buttons p @labels.txt out.txt",
       [](const std::string& s, LaunchOptions*, Row*) {
         Write(s, "labels.txt", "Save\r\nnow|Discard\r\n");
       },
       {Box("Label 1 holds a line break\nask buttons prompt labels outfile")},
       1},
      {"CheckEntryWithoutAValue",
       "ask",
       "check -r p docs.csv out.txt",
       [](const std::string& s, LaunchOptions*, Row*) {
         Write(s, "docs.csv", "Docs,,1\r\n,hidden,1\r\nTools,tools,1\r\n");
       },
       {Dialog("p", Right)},
       0,
       "Docs\r\ntools\r\n"},
      {"DefaultNamingNoButton",
       "ask",
       "ync p out.txt -default=%s%n",
       nullptr,
       {Box("-default=%s%n is not one of the buttons: yes|no|cancel\nask ync prompt outfile")},
       1},
  };
}

class BadInput : public E2eTest, public ::testing::WithParamInterface<Row> {
 protected:
  void TearDown() override {
    E2eTest::TearDown();
    if (Locked != INVALID_HANDLE_VALUE) CloseHandle(Locked);
    Locked = INVALID_HANDLE_VALUE;
  }
};

// Test names and failure messages show the row's name, not its bytes.
void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }

// The text a window shows for the comparison: a message box's text, a
// dialog's label, or (for the system dialogs) the window title.
std::string ShownText(HWND window, const Expected& expected) {
  if (std::string(expected.windowClass) == DialogClass) return TextOf(GetDlgItem(window, 4000));
  std::string text = MessageBoxText(window);
  return text == "<no text control>" ? TextOf(window) : text;
}

TEST_P(BadInput, EndsAsExpected) {
  Row row = GetParam();
  std::string out = JoinPath(scratch_, row.resultName);
  WriteFileBytes(out, OldResult);
  options_.set.push_back({"PROBE_OUT", JoinPath(scratch_, "probe-out.txt")});
  if (row.prepare) row.prepare(scratch_, &options_, &row);
  std::string args = Replace(Replace(row.args, "{S}", scratch_), "{P}", PROBE_PATH);
  std::string errors;
  if (row.inService) {
    EXPECT_EQ(RunInService(Command(row.tool, args), &errors), row.status);
    EXPECT_NE(errors.find(row.errors), std::string::npos) << "got \"" << errors << "\"";
    EXPECT_EQ(ReadFileBytes(out), row.result ? row.result : OldResult);
    if (row.check) row.check(scratch_);
    return;
  }
  if (!row.errors.empty()) options_.errors = JoinPath(scratch_, "errors.txt");
  Child* child = Start(Command(row.tool, args));

  for (const Expected& expected : row.windows) {
    HWND window = WaitForWindow(*child, expected.windowClass);
    ASSERT_TRUE(window) << "no " << expected.windowClass << " window; expected \""
                        << expected.text.substr(0, 80) << "\"";
    std::string shown = ShownText(window, expected);
    if (expected.match == Match::Exact) {
      EXPECT_EQ(shown.size(), expected.text.size());
      EXPECT_TRUE(shown == expected.text) << "got \"" << shown.substr(0, 200) << "\"";
    } else if (expected.match == Match::Prefix) {
      EXPECT_EQ(shown.rfind(expected.text, 0), 0u) << "got \"" << shown.substr(0, 200) << "\"";
    }
    if (expected.pick >= 0) SendMessageA(GetDlgItem(window, 4001), LB_SETCURSEL, expected.pick, 0);
    EXPECT_TRUE(PressButton(window, expected.answer)) << "no button " << expected.answer;
    // ask's own dialogs stay on screen until the process ends.
    if (std::string(expected.windowClass) == MessageBoxClass) WaitUntilGone(*child, window);
  }
  EXPECT_EQ(WaitForExit(child), row.status);
  if (Locked != INVALID_HANDLE_VALUE) CloseHandle(Locked);
  Locked = INVALID_HANDLE_VALUE;
  EXPECT_EQ(ReadFileBytes(out), row.result ? row.result : OldResult);
  if (row.check) row.check(scratch_);
  if (!row.errors.empty()) {
    errors = ReadFileBytes(options_.errors);
    EXPECT_NE(errors.find(row.errors), std::string::npos) << "got \"" << errors << "\"";
  }
}

INSTANTIATE_TEST_SUITE_P(Unattended, BadInput, ::testing::ValuesIn(AnswerRows()),
                         [](const ::testing::TestParamInfo<Row>& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(Matrix, BadInput, ::testing::ValuesIn(Rows()),
                         [](const ::testing::TestParamInfo<Row>& info) { return info.param.name; });

}  // namespace
