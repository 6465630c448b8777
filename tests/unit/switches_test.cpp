// The switches added to ask beyond each mode's own (-timeout=, -default=)
// and its ync mode: command lines that work without them keep their
// meaning word for word, and the switches are read only where the count
// would otherwise be wrong.
#include <gtest/gtest.h>

#include <string>

#include "ask.h"
#include "choosers_standin.h"
#include "dialogs_standin.h"
#include "frame.h"
#include "standin.h"
#include "test_util.h"

namespace {

class SwitchesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StandInReset();
    MessageTimeout = 0;
    StandInDialogRuns = 0;
    StandInAccept = 0;
    StandInTyped.clear();
    StandInPosition = -1;
    StandInRowOfPosition.clear();
    StandInTimesOut = false;
    SortLists = 1;
    SetEnvVar("APPDATA", "C:\\AppData");
    out_ = ScratchPath("out.txt");
    list_ = ScratchPath("list.csv");
    WriteBytes(list_, "Red,1\nGreen,2\n-timeout=5,3\n");
  }
  // Runs "ask ARGS" with the result file in place of %OUT% and the list
  // file in place of %LIST%.
  int Ask(std::string args) {
    for (auto [from, to] :
         {std::pair<std::string, std::string>{"%OUT%", out_}, {"%LIST%", list_}}) {
      for (size_t at; (at = args.find(from)) != std::string::npos;)
        args.replace(at, from.size(), to);
    }
    WriteBytes(out_, "old\r\n");
    return RunFrame("ask " + args);
  }
  const StandInBox& LastBox() {
    static StandInBox none{"<no box>", "", StandInPlainBox};
    return StandInBoxes.empty() ? none : StandInBoxes.back();
  }
  std::string out_, list_;
};

// Command lines that work today, with words like the new switches as
// prompts, defaults and list prompts: the question and the answer are what
// they were.
TEST_F(SwitchesTest, TodaysCommandLinesKeepTheirMeaning) {
  struct {
    const char* args;
    const char* prompt;  // the box's text or the dialog's prompt
    BoxButtons buttons;  // message boxes: no icon, no default button
  } boxes[] = {
      {"ok -timeout=5 %OUT%", "-timeout=5", ButtonsOkCancel},
      {"yn -default=no %OUT%", "-default=no", ButtonsYesNo},
      {"YN -TIMEOUT=1 %OUT%", "-TIMEOUT=1", ButtonsYesNo},
      {"ok -default=cancel %OUT%", "-default=cancel", ButtonsOkCancel},
      {"ok progress %OUT%", "progress", ButtonsOkCancel},
      {"yn -title=Backup %OUT%", "-title=Backup", ButtonsYesNo},
      {"yn -user %OUT%", "-user", ButtonsYesNo},
      {"ok -USER -user", "-USER", ButtonsOkCancel},
  };
  for (const auto& c : boxes) {
    StandInBoxes.clear();
    StandInBoxAnswer = AnswerOk;
    EXPECT_EQ(Ask(c.args), 0) << c.args;
    ASSERT_EQ(StandInBoxes.size(), 1u) << c.args;
    EXPECT_EQ(LastBox().text, c.prompt) << c.args;
    EXPECT_EQ(LastBox().style, (BoxStyle{c.buttons, IconNone, 0})) << c.args;
    EXPECT_EQ(LastBox().timeout, 0) << c.args << ": no time limit";
  }
  struct {
    const char* args;
    const char* prompt;
    const char* initial;
  } dialogs[] = {
      {"text -timeout=5 %OUT%", "-timeout=5", ""},
      {"pass -bn -timeout=5 %OUT%", "-timeout=5", ""},
      {"edit -default=x -timeout=9 %OUT%", "-default=x", "-timeout=9"},
      {"list -default=Red %LIST% %OUT%", "-default=Red", ""},
      {"list -r -timeout=5 %LIST% %OUT%", "-timeout=5", ""},
      {"text progress %OUT%", "progress", ""},
      {"text buttons %OUT%", "buttons", ""},
      {"edit -title=x -folder=y %OUT%", "-title=x", "-folder=y"},
      {"list -default=check %LIST% %OUT%", "-default=check", ""},
      {"edit -user -user %OUT%", "-user", "-user"},
  };
  for (const auto& c : dialogs) {
    StandInAccept = 1;
    StandInTyped = "typed";
    StandInPosition = 0;
    EXPECT_EQ(Ask(c.args), 0) << c.args;
    EXPECT_STREQ(StandInDialogSeen.prompt, c.prompt) << c.args;
    EXPECT_STREQ(StandInDialogSeen.initialText, c.initial) << c.args;
    EXPECT_EQ(StandInDialogSeen.timeout, 0) << c.args;
    EXPECT_EQ(StandInDialogSeen.defaultEntry, nullptr) << c.args;
  }
  // A chooser's new switches as its prompt: the prompt, as today.
  struct {
    const char* args;
    const char* prompt;
  } choosers[] = {{"file -filter=x %OUT%", "-filter=x"},
                  {"dir -folder=C:\\ %OUT%", "-folder=C:\\"},
                  {"save -title=y %OUT%", "-title=y"}};
  for (const auto& c : choosers) {
    StandInChooserCalls = 0;
    EXPECT_EQ(Ask(c.args), 0) << c.args;
    EXPECT_EQ(StandInChooserCalls, 1) << c.args;
    EXPECT_EQ(StandInChooserTitle, c.prompt) << c.args;
    EXPECT_EQ(StandInChooserRequest.folder, nullptr) << c.args;
    EXPECT_TRUE(StandInChooserRequest.filter.empty()) << c.args;
  }
  // A file or folder question takes none of the switches: as today, the
  // extra word is a wrong count.
  for (const char* args :
       {"file -timeout=5 p %OUT%", "dir p %OUT% -default=ok", "save p -timeout=1 %OUT%"}) {
    StandInBoxes.clear();
    EXPECT_EQ(Ask(args), 1) << args;
    EXPECT_EQ(LastBox().style, StandInWarningBox) << args;
  }
  remove("-user");  // the result file of "ok -USER -user"
}

// -user where nobody can see this screen: the question goes to the person
// at the console, whose answer comes back as untrusted text and is taken
// only as an answer of the question; where nobody is there, the question
// answers as nobody's does. Where the screen is seen, -user changes nothing.
TEST_F(SwitchesTest, UserSwitchAsksThePersonAtTheConsole) {
  struct {
    const char* args;
    bool visible;
    int personStatus;     // -1: nobody is logged on
    std::string channel;  // what the person's process sends back
    int status;
    const char* written;  // null: untouched
  } cases[] = {
      {"yn -user p %OUT%", false, 0, "yes\n", 0, "yes"},
      {"list -user p %LIST% %OUT%", false, 0, "Green\n", 0, "2"},
      {"list p %LIST% %OUT% -user", false, 0, "Blue\n", 1, nullptr},
      {"yn -user p %OUT%", false, 0, "yes\nyes\n", 1, nullptr},
      {"yn -user p %OUT%", false, 0, "yes", 1, nullptr},
      {"yn -user p %OUT%", false, 3, "", 3, nullptr},
      {"text -user p %OUT%", false, 0, std::string(300, 'x') + "\n", 1, nullptr},
      {"yn -user p %OUT%", false, -1, "", 1, nullptr},
      {"yn -user -default=no p %OUT%", false, -1, "", 0, ""},
      {"yn -user p %OUT%", true, 0, "yes\n", 0, ""},
  };
  for (const auto& c : cases) {
    StandInReset();
    SetEnvVar("APPDATA", "C:\\AppData");
    StandInScreenVisible = c.visible;
    StandInUserResult = c.personStatus;
    StandInChannelText = c.channel;
    StandInBoxAnswer = AnswerNo;
    StandInAccept = 0;
    EXPECT_EQ(Ask(c.args), c.status) << c.args << " " << c.channel;
    EXPECT_EQ(ReadBytes(out_), c.written ? std::string(c.written) + Eol : "old\r\n") << c.args << " " << c.channel;
    EXPECT_EQ(StandInUserRuns.size(), c.visible ? 0u : 1u) << c.args;
    if (c.visible || StandInUserRuns.empty()) continue;
    // The person's process: the question as read, its answer by the channel.
    EXPECT_TRUE(StandInUserRuns[0].channel);
    EXPECT_NE(StandInUserRuns[0].commandLine.find(" -ask-person-process "), std::string::npos);
    EXPECT_NE(StandInUserRuns[0].commandLine.find(" \"NUL\""), std::string::npos)
        << StandInUserRuns[0].commandLine;
    EXPECT_EQ(StandInUserRuns[0].commandLine.find("-user"), std::string::npos);
  }
}

TEST_F(SwitchesTest, MessageBoxDefaultButtonsAndTimeLimits) {
  struct {
    const char* args;
    BoxButtons buttons;
    int defaultButton;        // from 0
    int timeout;              // 0: a box without a time limit
    BoxAnswer timeoutButton;  // the button it presses
    const char* timedOutAnswer;
  } cases[] = {
      {"ok p %OUT% -timeout=1", ButtonsOkCancel, 0, 1, AnswerOk, "ok"},
      {"ok -default=CANCEL p %OUT% -timeout=2", ButtonsOkCancel, 1, 2, AnswerCancel, ""},
      {"ok -default=ok p %OUT% -Timeout=86400", ButtonsOkCancel, 0, 86400, AnswerOk, "ok"},
      {"yn -default=no p %OUT%", ButtonsYesNo, 1, 0, AnswerNone, nullptr},
      {"yn p %OUT% -timeout=1", ButtonsYesNo, 0, 1, AnswerYes, "yes"},
      {"yn -timeout=0009 -DEFAULT=No p %OUT%", ButtonsYesNo, 1, 9, AnswerNo, ""},
      {"ync p %OUT%", ButtonsYesNoCancel, 0, 0, AnswerNone, nullptr},
      {"ync -default=no p %OUT% -timeout=3", ButtonsYesNoCancel, 1, 3, AnswerNo, "no"},
      {"ync -default=cancel -timeout=3 p %OUT%", ButtonsYesNoCancel, 2, 3, AnswerCancel, ""},
      {"ync -default=YES -timeout=3 p %OUT%", ButtonsYesNoCancel, 0, 3, AnswerYes, "yes"},
  };
  for (const auto& c : cases) {
    for (bool runsOut : {false, true}) {
      StandInBoxes.clear();
      StandInBoxAnswer = AnswerCancel;  // when the user answers
      StandInBoxTimesOut = runsOut;
      EXPECT_EQ(Ask(c.args), 0) << c.args;
      ASSERT_EQ(StandInBoxes.size(), 1u) << c.args;
      EXPECT_EQ(LastBox().text, "p");
      EXPECT_EQ(LastBox().caption, "Ask");
      EXPECT_EQ(LastBox().style, (BoxStyle{c.buttons, IconNone, c.defaultButton})) << c.args;
      EXPECT_EQ(LastBox().timeout, c.timeout) << c.args;
      if (c.timeout) {
        EXPECT_EQ(LastBox().timeoutButton, c.timeoutButton) << c.args;
      }
      std::string answer = runsOut && c.timeout ? c.timedOutAnswer : "";
      EXPECT_EQ(ReadBytes(out_), answer + Eol) << c.args << (runsOut ? " ran out" : " cancelled");
    }
  }
}

TEST_F(SwitchesTest, YesNoCancelWritesEachAnswer) {
  struct {
    BoxAnswer pressed;
    const char* written;
  } cases[] = {{AnswerYes, "yes"}, {AnswerNo, "no"}, {AnswerCancel, ""}};
  for (const auto& c : cases) {
    StandInBoxes.clear();
    StandInBoxAnswer = c.pressed;
    EXPECT_EQ(Ask("YNC \"Save changes?\" %OUT%"), 0);
    ASSERT_EQ(StandInBoxes.size(), 1u);
    EXPECT_EQ(LastBox().caption, "Ask") << "captioned like yn";
    EXPECT_EQ(LastBox().style, (BoxStyle{ButtonsYesNoCancel, IconNone, 0})) << "no icon";
    EXPECT_EQ(ReadBytes(out_), std::string(c.written) + Eol) << c.pressed;
  }
}

TEST_F(SwitchesTest, DialogTimeLimitsAndTheListDefault) {
  struct {
    const char* args;
    int timeout;
    const char* defaultEntry;  // null: none
    const char* written;       // when the time runs out
  } cases[] = {
      {"text p %OUT% -timeout=2", 2, nullptr, "typed"},
      {"pass -timeout=1 -bd p %OUT%", 1, nullptr, "typed"},
      {"edit p d %OUT% -timeout=60", 60, nullptr, "typed"},
      {"list -default=green p %LIST% %OUT%", 0, "green", nullptr},
      {"list -r -timeout=1 -default=-timeout=5 p %LIST% %OUT%", 1, "-timeout=5", "3"},
      {"list -default= p %LIST% %OUT% -timeout=1", 1, "", "1"},
  };
  for (const auto& c : cases) {
    StandInAccept = 0;
    StandInTimesOut = true;
    StandInTyped = "typed";
    StandInPosition = c.timeout && std::string(c.written) == "3" ? 2 : 0;
    EXPECT_EQ(Ask(c.args), 0) << c.args;
    EXPECT_STREQ(StandInDialogSeen.prompt, "p") << c.args;
    EXPECT_EQ(StandInDialogSeen.timeout, c.timeout) << c.args;
    if (c.defaultEntry) {
      EXPECT_STREQ(StandInDialogSeen.defaultEntry, c.defaultEntry) << c.args;
    } else {
      EXPECT_EQ(StandInDialogSeen.defaultEntry, nullptr) << c.args;
    }
    std::string written = c.written ? c.written : "";
    EXPECT_EQ(ReadBytes(out_), written + Eol) << c.args;
  }
}

TEST_F(SwitchesTest, CheckWritesTheTickedRowsOrAnEmptyFile) {
  // The blank rows are not shown, the ticked one with them too.
  WriteBytes(list_, "Red,1\nGreen,2,yes\n\nBlue,3,0\n \" \",9,1\nGrey, \" \"\n");
  struct {
    int accept;
    std::vector<int> toggles;  // rows the person ticks or clears
    std::string written;
  } cases[] = {
      {1, {}, "2" + std::string(Eol)},                                 // ticked by the third column
      {1, {1, 4}, "1" + std::string(Eol) + "2" + Eol + "Grey" + Eol},  // no value: its text
      {1, {2}, ""},                                                    // nothing ticked: zero bytes
      {0, {1}, Eol},
  };
  for (const auto& c : cases) {
    StandInAccept = c.accept;
    StandInToggles = c.toggles;
    EXPECT_EQ(Ask("check -r -title=Pick p %LIST% %OUT%"), 0);
    EXPECT_STREQ(StandInDialogSeen.title, "Pick");
    EXPECT_EQ(ReadBytes(out_), c.written) << c.toggles.size();
  }
  StandInToggles.clear();
}

TEST_F(SwitchesTest, TimeoutIsLoggedAboveLevelZero) {
  std::string log = ScratchPath("ask.log");
  for (int level : {0, 1}) {
    WriteBytes(log, "");
    StandInBoxTimesOut = true;
    StandInTimesOut = true;
    std::string options = " -dbg=" + std::to_string(level) + " -log=" + log;
    EXPECT_EQ(Ask("ok p %OUT% -timeout=7" + options), 0);
    EXPECT_EQ(Ask("text p %OUT% -timeout=8" + options), 0);
    std::string bytes = ReadBytes(log);
    for (const char* line : {" Timed out after 7 s", " Timed out after 8 s"}) {
      EXPECT_EQ(bytes.find(std::string(line) + Eol) != std::string::npos, level > 0)
          << "level " << level << ": " << bytes;
    }
  }
  WriteBytes(log, "");
  StandInBoxTimesOut = false;
  EXPECT_EQ(Ask("ok p %OUT% -timeout=7 -dbg=1 -log=" + log), 0);
  EXPECT_EQ(ReadBytes(log).find("Timed out"), std::string::npos) << "answered in time";
}

// A bad value is named on a line before the usage; a plain wrong count
// shows the usage alone. Either box closes itself after a good -timeout=.
TEST_F(SwitchesTest, BadOrRepeatedSwitchesAreAWrongCount) {
  WriteBytes(list_, "Save\r\nnow|Discard\r\n");  // labels with a line break inside
  const char* const Ok = "ask ok prompt outfile";
  const char* const List = "ask list [-r] [-bn|-bd] prompt list.csv out.txt";
  const char* const Buttons = "ask buttons prompt labels outfile";
  const char* const Date = "ask date prompt outfile";
  struct {
    const char* args;
    const char* fault;  // the line before the usage; null: the usage alone
    const char* usage;
    int timeout = 0;  // seconds after which the box closes itself
  } cases[] = {
      {"ok p %OUT% -timeout=0", "-timeout=0 is not 1 to 86400 seconds", Ok},
      {"ok p %OUT% -timeout=86401", "-timeout=86401 is not 1 to 86400 seconds", Ok},
      {"ok p %OUT% -timeout=", "-timeout= is not 1 to 86400 seconds", Ok},
      {"ok p %OUT% -timeout=+5", "-timeout=+5 is not 1 to 86400 seconds", Ok},
      {"ok p %OUT% -timeout=1.5", "-timeout=1.5 is not 1 to 86400 seconds", Ok},
      {"ok p %OUT% -timeout=99999999999999999999",
       "-timeout=99999999999999999999 is not 1 to 86400 seconds", Ok},
      {"ok p %OUT% -timeout=1 -timeout=1", "-timeout= is given twice", Ok},
      {"ok p %OUT% -default=yes", "-default=yes is not one of the buttons: ok|cancel", Ok},
      {"ok p %OUT% extra -timeout=5", nullptr, Ok, 5},
      {"yn p %OUT% -default=cancel", "-default=cancel is not one of the buttons: yes|no",
       "ask yn prompt outfile"},
      {"yn p %OUT% -default=yes -default=no", "-default= is given twice", "ask yn prompt outfile"},
      {"ync p %OUT% -default=maybe -timeout=9",
       "-default=maybe is not one of the buttons: yes|no|cancel", "ask ync prompt outfile", 9},
      {"ync p", nullptr, "ask ync prompt outfile"},
      {"text p %OUT% -default=x", nullptr, "ask text [-bn|-bd] prompt outfile"},
      {"pass p %OUT% extra -timeout=5", nullptr, "ask pass [-bn|-bd] prompt outfile", 5},
      {"edit p d %OUT% -timeout=5 extra", nullptr, "ask edit [-bn|-bd] prompt default outfile", 5},
      {"list p %LIST% %OUT% -default=a -default=b", "-default= is given twice", List},
      {"list p %LIST% %OUT% -timeout=x", "-timeout=x is not 1 to 86400 seconds", List},
      {"progress p feed.txt %OUT% -bn", nullptr, "ask progress prompt feedfile outfile"},
      {"progress p feed.txt %OUT% -default=ok", nullptr, "ask progress prompt feedfile outfile"},
      {"check -default=a p %LIST% %OUT%", nullptr, "ask check [-bn|-bd] prompt list.csv outfile"},
      {"buttons p One %OUT%", "1 label; at least 2", Buttons},
      {"buttons -timeout=3 p A|B|C|D|E|F|G %OUT%", "7 labels; at most 6", Buttons, 3},
      {"buttons p \"A| |B\" %OUT%", "Label 2 is blank", Buttons},
      {"buttons p A|12345678901234567890123456789012345678901 %OUT%",
       "Label 2 has 41 characters; at most 40", Buttons},
      {"buttons p @%LIST% %OUT%", "Label 1 holds a line break", Buttons},
      {"buttons -default=C p A|B %OUT%", "-default=C is not one of the buttons: A|B", Buttons},
      {"date -default=2026-02-29 p %OUT%",
       "-default=2026-02-29 is not a date (YYYY-MM-DD from 1601 on)", Date},
      {"date -default=2026-2-1 p %OUT%",
       "-default=2026-2-1 is not a date (YYYY-MM-DD from 1601 on)", Date},
      {"date -default=1600-12-31 p %OUT%",
       "-default=1600-12-31 is not a date (YYYY-MM-DD from 1601 on)", Date},
      {"date -default=2024-01-01xyz p %OUT%",
       "-default=2024-01-01xyz is not a date (YYYY-MM-DD from 1601 on)", Date},
      {"date -default=1234567890123456789012345678901234567890123 p %OUT%",
       "-default=1234567890123456789012345678901234567890... is not a date (YYYY-MM-DD from 1601 "
       "on)",
       Date},
      {"file \"-filter=CSV files\" p %OUT%", "-filter= needs pairs of a label and patterns",
       "ask file prompt outfile"},
      {"file -title=x p %OUT%", nullptr, "ask file prompt outfile"},
      {"files -folder=a -folder=b p %OUT%", "-folder= is given twice",
       "ask files [-filter=] [-folder=] prompt outfile"},
  };
  for (const auto& c : cases) {
    StandInBoxes.clear();
    EXPECT_EQ(Ask(c.args), 1) << c.args;
    ASSERT_EQ(StandInBoxes.size(), 1u) << c.args;
    EXPECT_EQ(LastBox().text, c.fault ? std::string(c.fault) + "\n" + c.usage : c.usage) << c.args;
    EXPECT_EQ(LastBox().style, StandInWarningBox) << c.args;
    EXPECT_EQ(LastBox().caption, "Ask Ver 0.12") << c.args;
    EXPECT_EQ(LastBox().timeout, c.timeout) << c.args;
    EXPECT_EQ(ReadBytes(out_), "old\r\n") << c.args << ": untouched";
    MessageTimeout = 0;  // a process of its own each time
  }
}

}  // namespace
