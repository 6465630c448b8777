// ask's dispatch, message-box questions, file and folder modes and result
// file, with the stand-in platform and dialogs.
#include <gtest/gtest.h>

#include <string>

#include "ask.h"
#include "choosers_standin.h"
#include "dialogs_standin.h"
#include "frame.h"
#include "standin.h"
#include "test_util.h"
#include "unicode.h"

namespace {

class AskTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StandInReset();
    StandInChosen.clear();
    StandInChooserFails = ChooserChosen;
    StandInChooserCalls = 0;
    StandInDialogRuns = 0;
    StandInAccept = 0;
    StandInTyped.clear();
    StandInPosition = -1;
    StandInRowOfPosition.clear();
    SortLists = 1;
    SetEnvVar("APPDATA", "C:\\AppData");
    out_ = ScratchPath("out.txt");
    WriteBytes(out_, "old line 1\r\nold line 2\r\n");
  }
  int Run(const std::string& commandLine) { return RunFrame(commandLine); }
  // The single box shown, or a failure.
  const StandInBox& OnlyBox() {
    EXPECT_EQ(StandInBoxes.size(), 1u);
    static StandInBox none{"<no box>", "", StandInPlainBox};
    return StandInBoxes.empty() ? none : StandInBoxes.back();
  }
  std::string out_;
};

TEST_F(AskTest, MessageBoxAnswers) {
  struct {
    const char* mode;
    BoxAnswer pressed;
    const char* written;
    BoxButtons buttons;
  } cases[] = {
      {"ok", AnswerOk, "ok", ButtonsOkCancel}, {"ok", AnswerCancel, "", ButtonsOkCancel},
      {"OK", AnswerOk, "ok", ButtonsOkCancel}, {"yn", AnswerYes, "yes", ButtonsYesNo},
      {"yn", AnswerNo, "", ButtonsYesNo},      {"YN", AnswerYes, "yes", ButtonsYesNo},
  };
  for (const auto& c : cases) {
    StandInReset();
    StandInBoxAnswer = c.pressed;
    EXPECT_EQ(Run(std::string("ask ") + c.mode + " \"Go on?\" " + out_), 0) << c.mode;
    const StandInBox& box = OnlyBox();
    EXPECT_EQ(box.text, "Go on?");
    EXPECT_EQ(box.caption, "Ask") << "the bare tool name";
    EXPECT_EQ(box.style, (BoxStyle{c.buttons, IconNone, 0})) << c.mode;
    EXPECT_EQ(ReadBytes(out_), std::string(c.written) + Eol) << c.mode << " pressed " << c.pressed;
  }
}

TEST_F(AskTest, UsageAndWrongCounts) {
  struct {
    const char* args;
    int status;
    const char* message;  // null: the usage text
  } cases[] = {
      {"", 1, nullptr},
      {" -?", 0, nullptr},
      {" -? x", 1, nullptr},
      {" nosuchmode a b", 1, nullptr},
      {" yn", 1, "ask yn prompt outfile"},
      {" ok a b c", 1, "ask ok prompt outfile"},
      {" file p", 1, "ask file prompt outfile"},
      {" DIR p a b", 1, "ask dir prompt outfile"},
      {" text -bn p", 1, "ask text [-bn|-bd] prompt outfile"},
      {" text -r p o", 1, "ask text [-bn|-bd] prompt outfile"},
      {" text -bd o", 1, "ask text [-bn|-bd] prompt outfile"},
      {" list p l", 1, "ask list [-r] [-bn|-bd] prompt list.csv out.txt"},
      {" list -r -bn p o", 1, "ask list [-r] [-bn|-bd] prompt list.csv out.txt"},
      {" pass -bn p", 1, "ask pass [-bn|-bd] prompt outfile"},
      {" PASS p o x", 1, "ask pass [-bn|-bd] prompt outfile"},
      {" save p", 1, "ask save prompt outfile"},
      {" save -bn p o", 1, "ask save prompt outfile"},
      {" edit p o", 1, "ask edit [-bn|-bd] prompt default outfile"},
      {" edit -bd p d o x", 1, "ask edit [-bn|-bd] prompt default outfile"},
      {" passes p o", 1, nullptr},
  };
  for (const auto& c : cases) {
    StandInReset();
    EXPECT_EQ(Run(std::string("ask") + c.args), c.status) << "ask" << c.args;
    const StandInBox& box = OnlyBox();
    if (c.message) {
      EXPECT_EQ(box.text, c.message) << "ask" << c.args;
      EXPECT_EQ(box.style, StandInWarningBox);
    } else {
      EXPECT_EQ(box.text.rfind("Usage:\n\nask ok prompt out.txt\n", 0), 0u) << box.text;
      EXPECT_EQ(box.style, StandInPlainBox);
    }
    EXPECT_EQ(box.caption, "Ask Ver 0.12");
  }
  EXPECT_EQ(ReadBytes(out_), "old line 1\r\nold line 2\r\n") << "untouched";
}

TEST_F(AskTest, FileArgumentsAreExpandedAfterTheSwitches) {
  std::string prompt = ScratchPath("prompt.txt"), mode = ScratchPath("mode.txt");
  WriteBytes(prompt, "Line one\r\nLine two\r\n");
  WriteBytes(mode, "yn\r\n");
  StandInBoxAnswer = AnswerYes;
  EXPECT_EQ(Run("ask yn @" + prompt + " " + out_), 0);
  EXPECT_EQ(OnlyBox().text, "Line one\nLine two\n");

  StandInReset();
  EXPECT_EQ(Run("ask @" + mode + " p " + out_), 1) << "yn with a line break is no mode";
  EXPECT_EQ(OnlyBox().text.rfind("Usage:", 0), 0u);

  StandInReset();
  std::string target = ScratchPath("missing-folder/target.txt");
  WriteBytes(mode, target + "\n");
  EXPECT_EQ(Run("ask ok p @" + mode), 1) << "a line break in the result path";
  ASSERT_EQ(StandInBoxes.size(), 2u) << "the question, then the failure";
  EXPECT_EQ(StandInBoxes[1].text, "Can't write to file: " + target + "\n");
}

TEST_F(AskTest, FileAndFolderModes) {
  StandInChosen = "C:\\Users\\me\\notes.txt";
  EXPECT_EQ(Run("ask file \"Pick one\" " + out_), 0);
  EXPECT_EQ(StandInChooserTitle, "Pick one");
  EXPECT_EQ(ReadBytes(out_), std::string("C:\\Users\\me\\notes.txt") + Eol);

  StandInChosen.clear();
  EXPECT_EQ(Run("ask file p " + out_), 0);
  EXPECT_EQ(ReadBytes(out_), std::string(Eol)) << "cancel writes a blank line";

  StandInChosen = "C:\\Data";
  EXPECT_EQ(Run("ask dir \"Where?\" " + out_), 0);
  EXPECT_EQ(StandInChooserTitle, "Where?");
  EXPECT_EQ(ReadBytes(out_), std::string("C:\\Data") + Eol);

  StandInChosen.clear();
  EXPECT_EQ(Run("ask dir p " + out_), 0);
  EXPECT_EQ(ReadBytes(out_), std::string(Eol));
}

// What each chooser hands back, as the dialog leaves its buffer: every
// path whole, or status 1 with the result file untouched.
TEST_F(AskTest, ChoosersWriteTheWholeAnswerOrNothing) {
  const size_t size = AnsiBufferSize(SeveralAnswerSize) + 2;  // the files buffer in bytes
  std::string photos = "C:\\Photos";                          // a folder's answer, that long
  while (photos.size() < size) photos += std::string(1, '\0') + "IMG_20240101_120000_0001.jpg";
  const std::string eol = Eol, tooLong = "The path chosen is too long to take whole",
                    tooMany = "Too many files chosen to take them all; choose fewer at a time";
  struct {
    const char* mode;
    std::string chosen;
    ChooserOutcome fails;
    int status;
    std::string written;  // or, for status 1, the box's text
  } cases[] = {
      {"files", std::string("C:\\Photos\0a.jpg\0b.jpg", 21), ChooserChosen, 0,
       "C:\\Photos\\a.jpg" + eol + "C:\\Photos\\b.jpg" + eol},
      {"files", "C:\\Photos\\a.jpg", ChooserChosen, 0, "C:\\Photos\\a.jpg" + eol},
      {"files", photos + "_cut", ChooserChosen, 1, tooMany},             // cut at the buffer's end
      {"files", photos.substr(0, size - 1), ChooserChosen, 1, tooMany},  // one zero, at the end
      {"files", std::string("\x30\x75", 2), ChooserTooSmall, 1, tooMany},  // the size needed
      {"file", std::string("\x30\x75", 2), ChooserTooSmall, 1, tooLong},
      {"save", std::string(1001, 'x'), ChooserChosen, 1, tooLong},
      {"files", "C:\\left\\over.txt", ChooserCancelled, 0, eol},
      {"save", "", ChooserFailed, 1, "The system's dialog for ask save could not be shown"},
  };
  for (const auto& c : cases) {
    StandInReset();
    WriteBytes(out_, "old\r\n");
    StandInChosen = c.chosen;
    StandInChooserFails = c.fails;
    std::string row = std::string(c.mode) + " " + std::to_string(c.chosen.size()) + " bytes";
    EXPECT_EQ(Run(std::string("ask ") + c.mode + " p " + out_), c.status) << row;
    EXPECT_EQ(c.status ? OnlyBox().text : ReadBytes(out_), c.written) << row;
    if (c.status) {
      EXPECT_EQ(ReadBytes(out_), "old\r\n") << row << ": untouched";
    }
  }
}

TEST_F(AskTest, UnwritableResultIsFatalAfterTheQuestion) {
  std::string bad = ScratchPath("no-such-folder/out.txt");
  StandInBoxAnswer = AnswerOk;
  EXPECT_EQ(Run("ask ok p " + bad), 1);
  ASSERT_EQ(StandInBoxes.size(), 2u) << "the question comes first";
  EXPECT_EQ(StandInBoxes[1].text, "Can't write to file: " + bad);
  EXPECT_EQ(StandInBoxes[1].style, StandInWarningBox);
}

// A device on which every write fails (under Wine, Z: is the Linux root).
#ifdef _WIN32
const char* const FullDevice = "Z:\\dev\\full";
#else
const char* const FullDevice = "/dev/full";
#endif

TEST_F(AskTest, FullDeviceIsAFailureNotSuccess) {
  StandInBoxAnswer = AnswerOk;
  EXPECT_EQ(Run(std::string("ask ok p ") + FullDevice), 1);
  ASSERT_EQ(StandInBoxes.size(), 2u);
  EXPECT_EQ(StandInBoxes[1].text, std::string("Can't write to file: ") + FullDevice);
}

TEST_F(AskTest, TextDialogButtonsAndAnswer) {
  struct {
    const char* switches;
    const char* left;
    const char* right;
  } cases[] = {
      {"", "Cancel", "Ok"},         {"-bn ", "Back", "Next"},     {"-bd ", "Back", "Done"},
      {"-bn -bd ", "Back", "Done"}, {"-bd -bn ", "Back", "Done"}, {"-BN ", "Back", "Next"},
  };
  for (const auto& c : cases) {
    StandInAccept = 1;
    StandInTyped = "typed answer";
    EXPECT_EQ(Run(std::string("ask text ") + c.switches + "\"Your name?\" " + out_), 0);
    const DialogState& seen = StandInDialogSeen;
    EXPECT_STREQ(seen.leftLabel, c.left) << c.switches;
    EXPECT_STREQ(seen.rightLabel, c.right) << c.switches;
    EXPECT_STREQ(seen.prompt, "Your name?");
    EXPECT_STREQ(seen.title, "Ask");
    EXPECT_STREQ(seen.initialText, "");
    EXPECT_EQ(ReadBytes(out_), std::string("typed answer") + Eol);
  }
  EXPECT_EQ(Run("ask text p " + out_ + " -bN"), 0) << "a switch may stand anywhere";
  EXPECT_STREQ(StandInDialogSeen.rightLabel, "Next");

  StandInAccept = 0;
  EXPECT_EQ(Run("ask text p " + out_), 0);
  EXPECT_EQ(ReadBytes(out_), std::string(Eol)) << "cancel writes a blank line";
}

TEST_F(AskTest, PassAndEditShareTheTextDialog) {
  std::string longDefault(300, 'd');
  struct {
    std::string args;
    int hidden;
    std::string initial;
    const char* right;
  } cases[] = {
      {"pass \"Password?\" ", 1, "", "Ok"},
      {"pass -bn \"Password?\" ", 1, "", "Next"},
      {"edit \"Password?\" \"proposed answer\" ", 0, "proposed answer", "Ok"},
      {"EDIT -bd \"Password?\" \"\" ", 0, "", "Done"},
      {"edit \"Password?\" " + longDefault + " ", 0, longDefault.substr(0, 255), "Ok"},
  };
  for (const auto& c : cases) {
    StandInAccept = 1;
    StandInTyped = "typed answer";
    EXPECT_EQ(Run("ask " + c.args + out_), 0) << c.args;
    const DialogState& seen = StandInDialogSeen;
    EXPECT_EQ(seen.hidden, c.hidden) << c.args;
    EXPECT_EQ(std::string(seen.initialText), c.initial) << c.args;
    EXPECT_STREQ(seen.prompt, "Password?");
    EXPECT_STREQ(seen.title, "Ask");
    EXPECT_STREQ(seen.rightLabel, c.right) << c.args;
    EXPECT_EQ(ReadBytes(out_), std::string("typed answer") + Eol) << c.args;

    StandInAccept = 0;
    EXPECT_EQ(Run("ask " + c.args + out_), 0) << c.args;
    EXPECT_EQ(ReadBytes(out_), std::string(Eol)) << "cancel writes a blank line: " << c.args;
  }
  StandInAccept = 1;
  EXPECT_EQ(Run("ask text p " + out_), 0);
  EXPECT_EQ(StandInDialogSeen.hidden, 0) << "text shows what is typed";
  EXPECT_STREQ(StandInDialogSeen.initialText, "");
}

TEST_F(AskTest, EditFieldStartsWithTheDefaultsFirstLine) {
  std::string file = ScratchPath("default.txt");
  struct {
    std::string bytes;
    std::string initial;
  } cases[] = {
      {"C:\\Reports\r\n", "C:\\Reports"},  // as "echo C:\Reports>default.txt" writes it
      {"C:\\Reports\n\nmore\n", "C:\\Reports"},
      {"one\rtwo", "one"},
      {"\r\nsecond", ""},
      {"\xEF\xBB\xBFmarked\r\n", "marked"},
      {std::string(300, 'x') + "\r\n", std::string(255, 'x')},
      // In the ANSI programs a character is a byte, whatever the bytes are.
      {std::string(300, '\xC5') + "\r\n", std::string(255, '\xC5')},
  };
  for (const auto& c : cases) {
    WriteBytes(file, c.bytes);
    StandInAccept = 0;
    EXPECT_EQ(Run("ask edit p @" + file + " " + out_), 0);
    EXPECT_EQ(std::string(StandInDialogSeen.initialText), c.initial) << "[" << c.bytes << "]";
  }
}

TEST_F(AskTest, SaveModeWritesTheChosenName) {
  StandInChosen = "C:\\Users\\me\\new.txt";
  EXPECT_EQ(Run("ask save \"Save as\" " + out_), 0);
  EXPECT_EQ(StandInChooserTitle, "Save as");
  EXPECT_EQ(ReadBytes(out_), std::string("C:\\Users\\me\\new.txt") + Eol);
  StandInChosen.clear();
  EXPECT_EQ(Run("ask save p " + out_), 0);
  EXPECT_EQ(ReadBytes(out_), std::string(Eol)) << "cancel writes a blank line";
}

TEST_F(AskTest, ListDialogWritesColumnTwoOfTheChosenRow) {
  std::string list = ScratchPath("colours.csv");
  WriteBytes(list, "Red,\"#f00\"\r\nGreen, 2\r\nBlue,\"b,l,u,e\"\r\nRed,second red\r\n");
  struct {
    const char* switches;
    int sorted;
    std::vector<int> rows;  // row of each list position
    int chosen;
    const char* written;
  } cases[] = {
      {"", 1, {3, 2, 1, 4}, 0, "b,l,u,e"}, {"", 1, {3, 2, 1, 4}, 3, "second red"},
      {"-r ", 0, {1, 2, 3, 4}, 1, "2"},    {"-R -bd ", 0, {1, 2, 3, 4}, 0, "#f00"},
      {"", 1, {3, 2, 1, 4}, -1, ""},
  };
  for (const auto& c : cases) {
    SortLists = 1;
    StandInAccept = 1;
    StandInPosition = c.chosen;
    StandInRowOfPosition = c.rows;
    EXPECT_EQ(Run(std::string("ask list ") + c.switches + "Colour " + list + " " + out_), 0);
    EXPECT_EQ(StandInDialogSorted, c.sorted) << c.switches;
    ASSERT_NE(StandInDialogSeen.data, nullptr);
    EXPECT_EQ(StandInDialogSeen.data->rowCount, 4);
    EXPECT_EQ(ReadBytes(out_), std::string(c.written) + Eol) << c.switches << c.chosen;
  }
  StandInAccept = 0;
  StandInPosition = 2;
  EXPECT_EQ(Run("ask list Colour " + list + " " + out_), 0);
  EXPECT_EQ(ReadBytes(out_), std::string(Eol)) << "cancel writes a blank line";
}

TEST_F(AskTest, Utf8EditDefaultIsCutAtWholeCharacters) {
  StandInAnsiUtf8 = true;
  std::string file = ScratchPath("default.txt"), four = "\xF0\x9F\x98\x80", typed;
  for (int i = 0; i < 300; i++) typed += four;
  WriteBytes(file, typed + "\r\n");
  EXPECT_EQ(Run("ask edit p @" + file + " " + out_), 0);
  EXPECT_EQ(std::string(StandInDialogSeen.initialText), typed.substr(0, 255 * 4));
  StandInAnsiUtf8 = false;
}

TEST_F(AskTest, ListFileWithAMarkWritesTheSecondColumn) {
  std::string list = ScratchPath("excel.csv");
  // Excel's "CSV UTF-8": a mark, a quoted first field, CR LF.
  WriteBytes(list, "\xEF\xBB\xBF\"Smith, John\",42\r\nM\xC3\xBCller,\"7\"\r\n");
  StandInAccept = 1;
  StandInPosition = 0;
  StandInRowOfPosition = {1, 2};
  EXPECT_EQ(Run("ask list -r Who " + list + " " + out_), 0);
  ASSERT_NE(StandInDialogSeen.data, nullptr);
  EXPECT_STREQ(CsvCell(StandInDialogSeen.data, 1, 1), "\"Smith, John\"");
  EXPECT_STREQ(CsvCell(StandInDialogSeen.data, 2, 1), "\"M\xFCller\"");
  EXPECT_EQ(ReadBytes(out_), std::string("42") + Eol);
}

TEST_F(AskTest, ListWithOneColumnWritesBlank) {
  std::string list = ScratchPath("one.csv");
  WriteBytes(list, "only\nnames\n");
  StandInAccept = 1;
  StandInPosition = 1;
  EXPECT_EQ(Run("ask list p " + list + " " + out_), 0);
  EXPECT_EQ(ReadBytes(out_), std::string(Eol));
}

TEST_F(AskTest, ListWithoutDataIsFatal) {
  std::string empty = ScratchPath("empty.csv"), missing = ScratchPath("missing.csv");
  std::string blank = ScratchPath("blank.csv");
  WriteBytes(empty, "");
  WriteBytes(blank, "\r\n  \r\n\"\",1\r\n");
  struct {
    const char* mode;
    std::string list;
  } cases[] = {{"list", empty}, {"list", missing}, {"check", empty}, {"check", blank}};
  for (const auto& c : cases) {
    StandInReset();
    EXPECT_EQ(Run(std::string("ask ") + c.mode + " p " + c.list + " " + out_), 1) << c.list;
    EXPECT_EQ(OnlyBox().text, "No data in list file: " + c.list);
    EXPECT_EQ(StandInDialogRuns, 0);
  }
  EXPECT_EQ(ReadBytes(out_), "old line 1\r\nold line 2\r\n") << "untouched";
}

TEST_F(AskTest, WriteResultReplacesTheWholeFile) {
  EXPECT_EQ(WriteResult(out_.c_str(), "two\nlines"), 0);
  EXPECT_EQ(ReadBytes(out_), std::string("two") + Eol + "lines" + Eol);
}

}  // namespace
