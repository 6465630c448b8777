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
  unsigned style;
};

TEST_F(SayTest, MessageTitleAndIcon) {
  const BoxCase cases[] = {
      {"say hello", "hello", "Say", 0},
      {"say \"Hello world\"", "Hello world", "Say", 0},
      {"say -t Note -w Stopped", "Stopped", "Note", 48},
      {"say -e -i hello", "hello", "Say", 64},
      {"say -I hello", "hello", "Say", 64},
      {"say hello -E", "hello", "Say", 16},
      {"say -t -i hello", "hello", "-i", 0},
      {"say hello -t", "hello", nullptr, 0},
      {"say -x", "-x", "Say", 0},
      {"say -T \"A title\" -w -dbg=0 \"two words\"", "two words", "A title", 48},
      {"say \"\"", "", "Say", 0},
  };
  for (const BoxCase& c : cases) {
    StandInBoxes.clear();
    EXPECT_EQ(Run(c.line), 0) << c.line;
    ASSERT_EQ(StandInBoxes.size(), 1u) << c.line;
    EXPECT_EQ(StandInBoxes[0].text, c.text) << c.line;
    EXPECT_EQ(StandInBoxes[0].caption, c.caption ? c.caption : "") << c.line;
    EXPECT_EQ(StandInBoxes[0].style, c.style) << c.line;
  }
}

TEST_F(SayTest, UsageAndStatus) {
  struct {
    const char* line;
    int status;
  } cases[] = {{"say", 1},       {"say a b", 1},      {"say -i", 1}, {"say -? hello", 1},
               {"say a b c", 1}, {"say -t title", 1}, {"say -?", 0}, {"say -dbg=2 -?", 0}};
  // The same whatever the environment holds: only the notification's own
  // process reads its variables.
  for (bool inherited : {false, true}) {
    if (inherited) {
      SetEnvVar("QUIL_SAY_NOTIFY", "3 1");
      SetEnvVar("QUIL_SAY_NOTIFY_TEXT", "spoofed");
    }
    for (const auto& c : cases) {
      StandInBoxes.clear();
      EXPECT_EQ(Run(c.line), c.status) << c.line;
      ASSERT_EQ(StandInBoxes.size(), 1u) << c.line;
      EXPECT_EQ(StandInBoxes[0].text, SayUsage) << c.line;
      EXPECT_EQ(StandInBoxes[0].caption, "Say Ver 0.11") << c.line;
      EXPECT_EQ(StandInBoxes[0].style, 0u) << c.line;
      EXPECT_TRUE(StandInNotifications.empty()) << c.line;
    }
  }
  UnsetEnvVar("QUIL_SAY_NOTIFY");
  UnsetEnvVar("QUIL_SAY_NOTIFY_TEXT");
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
      EXPECT_EQ(StandInBoxes[0].timeoutButton, 1) << "Ok closes it";
    }
  }
}

// Runs the notification's own process as the last start asked: its
// arguments, with the variables it inherits.
int RunHelper() {
  const StandInStart start = StandInSelfStarts.back();
  StandInSelfStarts.clear();
  for (const auto& [name, value] : start.handedOn) SetEnvVar(name.c_str(), value.c_str());
  return RunFrame("say " + start.arguments);
}

const char* const NotifyVariables[] = {"QUIL_SAY_NOTIFY", "QUIL_SAY_NOTIFY_TITLE",
                                       "QUIL_SAY_NOTIFY_TEXT"};

TEST_F(SayTest, NotifyHandsTheTextsToAHelperWhichFallsBackToABox) {
  // The helper takes the texts from the environment it inherits, takes
  // them out of it, and shows them.
  for (bool areaThere : {true, false}) {
    StandInReset();
    EXPECT_EQ(Run("say -notify -t Backup -w Done"), 0);
    EXPECT_TRUE(StandInBoxes.empty() && StandInNotifications.empty()) << "nothing waits";
    ASSERT_EQ(StandInSelfStarts.size(), 1u);
    for (const char* name : NotifyVariables) EXPECT_FALSE(getenv(name)) << name << " left set";
    StandInNotifyWorks = areaThere;
    EXPECT_EQ(RunHelper(), 0);
    for (const char* name : NotifyVariables) EXPECT_FALSE(getenv(name)) << name << " handed on";
    EXPECT_TRUE(StandInSelfStarts.empty());
    ASSERT_EQ(StandInNotifications.size(), 1u);
    EXPECT_EQ(StandInNotifications[0].caption, "Backup");
    EXPECT_EQ(StandInNotifications[0].text, "Done");
    EXPECT_EQ(StandInNotifications[0].style, 48u);
    EXPECT_EQ(StandInNotifications[0].timeout, 10) << "ten seconds by default";
    ASSERT_EQ(StandInBoxes.size(), areaThere ? 0u : 1u) << "the box only without an area";
    if (!areaThere) {
      EXPECT_EQ(StandInBoxes[0].text, "Done");
      EXPECT_EQ(StandInBoxes[0].timeout, 10) << "and it closes itself";
    }
  }
  // Where no helper can start, or a variable cannot be set, the
  // notification is shown by say itself.
  for (bool setWorks : {true, false}) {
    StandInReset();
    StandInSelfStartWorks = !setWorks;
    StandInSetEnvWorks = setWorks;
    EXPECT_EQ(Run("say -e -timeout=3 -notify Broke"), 0);
    ASSERT_EQ(StandInNotifications.size(), 1u);
    EXPECT_EQ(StandInNotifications[0].caption, "Say");
    EXPECT_EQ(StandInNotifications[0].text, "Broke");
    EXPECT_EQ(StandInNotifications[0].timeout, 3);
    EXPECT_EQ(StandInSelfStarts.size(), setWorks ? 1u : 0u);
  }
}

TEST_F(SayTest, NotifyPassesWhatTheBalloonHolds) {
  // The balloon's text holds 255 UTF-16 units and its title 63: a longer
  // one is cut on a whole character and ends in the ellipsis.
  const std::string smile = "\xF0\x9F\x98\x80", e = "\xC3\xA9";
  auto times = [](const std::string& text, size_t n) {
    std::string all;
    while (n--) all += text;
    return all;
  };
  struct {
    bool utf8;
    std::string title, text;
    std::string passedTitle, passedText;
  } cases[] = {
      {false, times("t", 63), times("x", 255), times("t", 63), times("x", 255)},
      {false, times("t", 64), times("x", 40000), times("t", 62) + "\x85", times("x", 254) + "\x85"},
      {true, times(e, 300), times(e, 300), times(e, 62) + "\u2026", times(e, 254) + "\u2026"},
      {true, "T", "a" + times(smile, 200), "T", "a" + times(smile, 126) + "\u2026"},
  };
  std::string title = ScratchPath("title.txt"), text = ScratchPath("text.txt");
  for (const auto& c : cases) {
    StandInReset();
    StandInAnsiUtf8 = c.utf8;
    WriteBytes(title, c.title);
    WriteBytes(text, c.text);
    EXPECT_EQ(Run("say -notify -t @" + title + " @" + text), 0) << c.text.size();
    ASSERT_EQ(StandInSelfStarts.size(), 1u);
    EXPECT_EQ(StandInSelfStarts[0].handedOn["QUIL_SAY_NOTIFY_TITLE"], c.passedTitle);
    EXPECT_EQ(StandInSelfStarts[0].handedOn["QUIL_SAY_NOTIFY_TEXT"], c.passedText);
    // Shown by say itself, the balloon holds the same, the box the whole.
    StandInReset();
    StandInAnsiUtf8 = c.utf8;
    StandInSelfStartWorks = StandInNotifyWorks = false;
    EXPECT_EQ(Run("say -notify -t @" + title + " @" + text), 0);
    ASSERT_EQ(StandInNotifications.size(), 1u);
    EXPECT_EQ(StandInNotifications[0].caption, c.passedTitle);
    EXPECT_EQ(StandInNotifications[0].text, c.passedText);
    ASSERT_EQ(StandInBoxes.size(), 1u);
    EXPECT_EQ(StandInBoxes[0].text, c.text);
  }
  StandInAnsiUtf8 = false;
}

TEST_F(SayTest, HelperTakesOnlyWhatItsOwnStartHandsIt) {
  // The helper's switch is an ordinary message without the variables, and
  // the variables change no command line without the switch.
  StandInReset();
  EXPECT_EQ(Run("say -notify Hi"), 0);
  const std::string helperSwitch = StandInSelfStarts.at(0).arguments;
  EXPECT_EQ(Run("say " + helperSwitch), 0);
  ASSERT_EQ(StandInBoxes.size(), 1u);
  EXPECT_EQ(StandInBoxes[0].text, helperSwitch);
  // Its time limit is bounded as -timeout= is; a bad icon is none.
  struct {
    const char* settings;
    int seconds;
    unsigned style;
  } cases[] = {{"86400 3", 86400, 16},   {"86401 1", 10, 64}, {"0 2", 10, 48},
               {"4294967297 1", 10, 64}, {"-5 1", 10, 0},     {"5 7", 5, 0}};
  for (const auto& c : cases) {
    StandInReset();
    SetEnvVar("QUIL_SAY_NOTIFY", c.settings);
    EXPECT_EQ(Run("say " + helperSwitch), 0) << c.settings;
    ASSERT_EQ(StandInNotifications.size(), 1u) << c.settings;
    EXPECT_EQ(StandInNotifications[0].timeout, c.seconds) << c.settings;
    EXPECT_EQ(StandInNotifications[0].style, c.style) << c.settings;
    EXPECT_EQ(StandInNotifications[0].caption, "Say") << c.settings;
  }
  UnsetEnvVar("QUIL_SAY_NOTIFY");
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
  EXPECT_EQ(StandInBoxes[0].style, 0u);

  StandInBoxes.clear();
  std::string missing = ScratchPath("missing.txt");
  EXPECT_EQ(Run("say @" + missing), 1);
  ASSERT_EQ(StandInBoxes.size(), 1u);
  EXPECT_EQ(StandInBoxes[0].text, "Can't read file: " + missing);
  EXPECT_EQ(StandInBoxes[0].style, 0x30u);
}

}  // namespace
