// say's argument handling, run through the frame with the stand-in
// platform: which box it shows, or its usage, and the exit status.
#include <gtest/gtest.h>

#include <string>

#include "frame.h"
#include "standin.h"
#include "test_util.h"

namespace {

const char* const SayUsage =
    "Usage:\n\nsay [-t title] [-i|-w|-e] msg\nShow a message and wait for Ok button press.\n"
    "-i show info icon\n-w show warning icon\n-e show error/fatal icon\n"
    "Use double quotes if msg contains spaces.\n"
    "args may be @file. Uses content of file as the arg.\n\nsay -help\nShow online help.";

class SayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StandInReset();
    SetEnvVar("APPDATA", "C:\\AppData");
  }
  int Run(const std::string& commandLine) { return RunFrame(commandLine); }
};

struct BoxCase {
  const char* line;
  const char* text;
  const char* caption;  // null: the platform's default caption
  BoxIcon icon;         // with Ok alone
};

TEST_F(SayTest, MessageTitleAndIcon) {
  const BoxCase cases[] = {
      {"say hello", "hello", "Say", IconNone},
      {"say \"Hello world\"", "Hello world", "Say", IconNone},
      {"say -t Note -w Stopped", "Stopped", "Note", IconWarning},
      {"say -e -i hello", "hello", "Say", IconInformation},
      {"say -I hello", "hello", "Say", IconInformation},
      {"say hello -E", "hello", "Say", IconError},
      {"say -t -i hello", "hello", "-i", IconNone},
      {"say hello -t", "hello", nullptr, IconNone},
      {"say -x", "-x", "Say", IconNone},
      {"say -T \"A title\" -w -dbg=0 \"two words\"", "two words", "A title", IconWarning},
      {"say \"\"", "", "Say", IconNone},
      {"say -say-notifier-process", "-say-notifier-process", "Say", IconNone},  // the helper's
  };
  for (const BoxCase& c : cases) {
    StandInBoxes.clear();
    EXPECT_EQ(Run(c.line), 0) << c.line;
    ASSERT_EQ(StandInBoxes.size(), 1u) << c.line;
    EXPECT_EQ(StandInBoxes[0].text, c.text) << c.line;
    EXPECT_EQ(StandInBoxes[0].caption, c.caption ? c.caption : "") << c.line;
    EXPECT_EQ(StandInBoxes[0].style, (BoxStyle{ButtonsOk, c.icon, 0})) << c.line;
  }
}

TEST_F(SayTest, UsageAndStatus) {
  struct {
    const char* line;
    int status;
  } cases[] = {{"say", 1},       {"say a b", 1},      {"say -i", 1}, {"say -? hello", 1},
               {"say a b c", 1}, {"say -t title", 1}, {"say -?", 0}, {"say -dbg=2 -?", 0}};
  // Variables the environment holds are the helper's only with its switch.
  SetEnvVar("QUIL_SAY_NOTIFY", "3 1");
  for (const auto& c : cases) {
    StandInBoxes.clear();
    EXPECT_EQ(Run(c.line), c.status) << c.line;
    ASSERT_EQ(StandInBoxes.size(), 1u) << c.line;
    EXPECT_EQ(StandInBoxes[0].text, SayUsage) << c.line;
    EXPECT_EQ(StandInBoxes[0].caption, "Say Ver 0.11") << c.line;
    EXPECT_EQ(StandInBoxes[0].style, StandInPlainBox) << c.line;
  }
  UnsetEnvVar("QUIL_SAY_NOTIFY");
}

TEST_F(SayTest, TimeoutOnlyWhereTwoMessagesWouldBeTheUsage) {
  struct {
    const char* line;
    int status;
    const char* text;     // null: the usage box
    const char* caption;  // with a text
    int timeout;
  } cases[] = {
      // Today's command lines: one message, so no switch.
      {"say -timeout=5", 0, "-timeout=5", "Say", 0},
      {"say -t -timeout=5 hello", 0, "hello", "-timeout=5", 0},
      {"say -timeout=5 -t Note", 0, "-timeout=5", "Note", 0},
      {"say -TIMEOUT=x", 0, "-TIMEOUT=x", "Say", 0},
      // Two messages, one of them a good switch.
      {"say -timeout=5 hello", 0, "hello", "Say", 5},
      {"say hello -Timeout=86400 -t T", 0, "hello", "T", 86400},
      {"say -timeout=5 -timeout=6", 1, nullptr, nullptr, 0},
      {"say -timeout=5 -timeout=5 hello", 1, nullptr, nullptr, 0},
      {"say -timeout=0 hello", 1, nullptr, nullptr, 0},
      {"say -timeout=86401 hello", 1, nullptr, nullptr, 0},
      {"say -timeout=5x hello", 1, nullptr, nullptr, 0},
      {"say -timeout=5 a b", 1, nullptr, nullptr, 0},
      // -notify under the same rule: alone, or as the title, as today.
      {"say -notify", 0, "-notify", "Say", 0},
      {"say -t -notify hello", 0, "hello", "-notify", 0},
      // -user likewise; where the screen is seen it changes nothing.
      {"say -user", 0, "-user", "Say", 0},
      {"say -t -user hello", 0, "hello", "-user", 0},
      {"say -user hello", 0, "hello", "Say", 0},
      {"say -user -user hello", 1, nullptr, nullptr, 0},
      {"say -notify -notify hello", 1, nullptr, nullptr, 0},
  };
  for (const auto& c : cases) {
    StandInBoxes.clear();
    EXPECT_EQ(Run(c.line), c.status) << c.line;
    ASSERT_EQ(StandInBoxes.size(), 1u) << c.line;
    if (!c.text) {
      EXPECT_EQ(StandInBoxes[0].text, SayUsage) << c.line;
      continue;
    }
    EXPECT_EQ(StandInBoxes[0].text, c.text) << c.line;
    EXPECT_EQ(StandInBoxes[0].caption, c.caption) << c.line;
    EXPECT_EQ(StandInBoxes[0].timeout, c.timeout) << c.line;
    if (c.timeout) {
      EXPECT_EQ(StandInBoxes[0].timeoutButton, AnswerOk) << "Ok closes it";
    }
  }
}

TEST_F(SayTest, NotifyHandsTheTextsToAHelperWhichFallsBackToABox) {
  EXPECT_EQ(Run("say -notify -t Backup -w Done"), 0);
  EXPECT_TRUE(StandInBoxes.empty() && StandInNotifications.empty()) << "nothing waits";
  ASSERT_EQ(StandInSelfStarts.size(), 1u);
  const StandInStart helper = StandInSelfStarts[0];
  // The helper, started with its switch, takes the texts from the
  // environment it inherits and removes them from it.
  for (bool areaThere : {true, false}) {
    StandInReset();
    for (const auto& [name, value] : helper.handedOn) SetEnvVar(name.c_str(), value.c_str());
    StandInNotifyWorks = areaThere;
    EXPECT_EQ(Run("say " + helper.arguments), 0);
    EXPECT_FALSE(getenv("QUIL_SAY_NOTIFY_TEXT")) << "handed on";
    ASSERT_EQ(StandInNotifications.size(), 1u);
    EXPECT_EQ(StandInNotifications[0].caption, "Backup");
    EXPECT_EQ(StandInNotifications[0].text, "Done");
    EXPECT_EQ(StandInNotifications[0].style.icon, IconWarning);
    EXPECT_EQ(StandInNotifications[0].timeout, 10) << "ten seconds by default";
    ASSERT_EQ(StandInBoxes.size(), areaThere ? 0u : 1u) << "the box only without an area";
    if (!areaThere) {
      EXPECT_EQ(StandInBoxes[0].text, "Done");
      EXPECT_EQ(StandInBoxes[0].timeout, 10) << "and it closes itself";
    }
  }
  // Its time limit is bounded as -timeout= is.
  StandInReset();
  SetEnvVar("QUIL_SAY_NOTIFY", "86401 1");
  Run("say " + helper.arguments);
  EXPECT_EQ(StandInNotifications.at(0).timeout, 10);
  // Where no helper can start, or a variable cannot be set, the
  // notification is shown by say itself.
  for (bool* works : {&StandInSelfStartWorks, &StandInSetEnvWorks}) {
    StandInReset();
    *works = false;
    EXPECT_EQ(Run("say -e -timeout=3 -notify Broke"), 0);
    ASSERT_EQ(StandInNotifications.size(), 1u);
    EXPECT_EQ(StandInNotifications[0].caption, "Say");
    EXPECT_EQ(StandInNotifications[0].timeout, 3);
  }
}

TEST_F(SayTest, NotifyPassesWhatTheBalloonHolds) {
  // 255 UTF-16 units of text and 63 of title; a longer one is cut on a
  // whole character and ends in the ellipsis.
  struct {
    bool utf8;
    const char* character;
    int count, textKept, titleKept;
  } cases[] = {{false, "x", 40000, 254, 62},
               {true, "\xC3\xA9", 300, 254, 62},
               {true, "\xF0\x9F\x98\x80", 200, 127, 31}};
  std::string file = ScratchPath("text.txt");
  for (const auto& c : cases) {
    StandInReset();
    StandInAnsiUtf8 = c.utf8;
    std::string text, ellipsis = c.utf8 ? "\u2026" : "\x85";
    for (int i = 0; i < c.count; i++) text += c.character;
    WriteBytes(file, text);
    EXPECT_EQ(Run("say -notify -t @" + file + " @" + file), 0);
    auto& passed = StandInSelfStarts.at(0).handedOn;
    size_t bytes = std::string(c.character).size();
    EXPECT_EQ(passed["QUIL_SAY_NOTIFY_TEXT"], text.substr(0, c.textKept * bytes) + ellipsis);
    EXPECT_EQ(passed["QUIL_SAY_NOTIFY_TITLE"], text.substr(0, c.titleKept * bytes) + ellipsis);
  }
}

TEST_F(SayTest, TimeoutIsLoggedAboveLevelZero) {
  std::string log = ScratchPath("say.log");
  for (int level : {0, 1}) {
    WriteBytes(log, "");
    StandInBoxTimesOut = true;
    EXPECT_EQ(Run("say -dbg=" + std::to_string(level) + " -log=" + log + " hi -timeout=3"), 0);
    EXPECT_EQ(ReadBytes(log).find(std::string(" Timed out after 3 s") + Eol) != std::string::npos,
              level > 0)
        << ReadBytes(log);
  }
}

TEST_F(SayTest, FileArguments) {
  std::string msg = ScratchPath("msg.txt"), title = ScratchPath("title.txt"),
              opt = ScratchPath("opt.txt");
  WriteBytes(msg, "line one\r\nline two\r\n");
  WriteBytes(title, "From a file");
  WriteBytes(opt, "-i\n");

  EXPECT_EQ(Run("say @" + msg), 0);
  ASSERT_EQ(StandInBoxes.size(), 1u);
  EXPECT_EQ(StandInBoxes[0].text, "line one\nline two\n");

  StandInBoxes.clear();
  EXPECT_EQ(Run("say -t @" + title + " hello"), 0);
  ASSERT_EQ(StandInBoxes.size(), 1u);
  EXPECT_EQ(StandInBoxes[0].caption, "From a file");

  StandInBoxes.clear();
  EXPECT_EQ(Run("say @" + opt), 0) << "-i with a line break is a message";
  ASSERT_EQ(StandInBoxes.size(), 1u);
  EXPECT_EQ(StandInBoxes[0].text, "-i\n");
  EXPECT_EQ(StandInBoxes[0].style, StandInPlainBox);

  StandInBoxes.clear();
  std::string missing = ScratchPath("missing.txt");
  EXPECT_EQ(Run("say @" + missing), 1);
  ASSERT_EQ(StandInBoxes.size(), 1u);
  EXPECT_EQ(StandInBoxes[0].text, "Can't read file: " + missing);
  EXPECT_EQ(StandInBoxes[0].style, StandInWarningBox);
}

}  // namespace
