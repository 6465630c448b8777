// The start-up frame, standard switches, messages and the path helpers.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "frame.h"
#include "log.h"
#include "standin.h"
#include "test_tool.h"
#include "test_util.h"

namespace {

using Strings = std::vector<std::string>;

class FrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StandInReset();
    ToolMainCalled = false;
    ToolMainArgs.clear();
    ToolMainResult = 0;
    SetEnvVar("APPDATA", "C:\\Users\\me\\AppData\\Roaming");
    const char* temp = getenv("TEMP");
    savedTemp_ = temp ? temp : "";
    hadTemp_ = temp != nullptr;
    SetEnvVar("TEMP", "C:\\Temp\\x");
  }
  void TearDown() override {
    if (hadTemp_)
      SetEnvVar("TEMP", savedTemp_.c_str());
    else
      UnsetEnvVar("TEMP");
  }
  std::string savedTemp_;
  bool hadTemp_ = false;

  int Run(const std::string& commandLine) { return RunFrame(commandLine); }
};

TEST_F(FrameTest, HandsOverArgumentsWithoutDiagnosticOptions) {
  ToolMainResult = 42;
  EXPECT_EQ(Run("\"C:\\My Tools\\test.exe\" a -DBG=2 \"b c\" -log=x.log -log=y.log"), 42);
  EXPECT_EQ(ToolMainArgs, (Strings{"C:\\My Tools\\test.exe", "a", "b c", "-log=y.log"}));
  EXPECT_TRUE(ToolMainNullEnd);
  EXPECT_EQ(DebugLevel, 2);
  EXPECT_STREQ(GetLogPath(), "x.log");
  EXPECT_STREQ(ToolName, "Test");
  EXPECT_STREQ(ToolVersion, "0.07");
  EXPECT_STREQ(AppDataDir, "C:\\Users\\me\\AppData\\Roaming\\Quilverton\\Test");
  EXPECT_STREQ(ProgramDir, "C:\\tools");
  EXPECT_TRUE(StandInBoxes.empty());
}

TEST_F(FrameTest, DebugLevelReadLikeAtoi) {
  struct {
    const char* option;
    int level;
  } cases[] = {{"-dbg=abc", 0},
               {"-dbg=-1", -1},
               {"\"-dbg= 7x\"", 7},
               {"-dbg=", 0},
               {"-dbg=+3", 3},
               {"", 0},
               {"-dbg=99999999999", 2147483647}};
  for (const auto& c : cases) {
    Run(std::string("t ") + c.option);
    EXPECT_EQ(DebugLevel, c.level) << c.option;
  }
}

TEST_F(FrameTest, DefaultLogPathFollowsTemp) {
  Run("t");
  EXPECT_STREQ(GetLogPath(), "C:\\Temp\\x\\Test.log");
  UnsetEnvVar("TEMP");
  Run("t");
  EXPECT_STREQ(GetLogPath(), "C:\\temp\\Test.log");
  Run("t -log=");
  EXPECT_STREQ(GetLogPath(), "");
}

TEST_F(FrameTest, CommandLineIsLoggedAboveLevelZero) {
  std::string log = ScratchPath("frame.log");
  std::string line = "t -dbg=1 -log=" + log + " \"100%\" %s";
  WriteBytes(log, "");
  Run(line);
  std::string bytes = ReadBytes(log);
  std::string tail = " Cmdline: " + line + Eol;
  ASSERT_GE(bytes.size(), tail.size());
  EXPECT_EQ(bytes.substr(bytes.size() - tail.size()), tail);
  std::string eol = Eol;
  EXPECT_EQ(bytes.rfind("*" + eol + "* ", 0), 0u) << "header first: " << bytes;
  EXPECT_NE(bytes.find(eol + "*" + eol), std::string::npos) << bytes;

  WriteBytes(log, "");
  Run("t -dbg=-1 -log=" + log);
  EXPECT_EQ(ReadBytes(log), "") << "only a level above 0 logs the command line";
  Run("t -dbg=0 -log=" + log);
  EXPECT_EQ(ReadBytes(log), "");
}

TEST_F(FrameTest, MissingAppDataEndsBeforeArgumentsAreRead) {
  UnsetEnvVar("APPDATA");
  EXPECT_EQ(Run("t -!"), 1);
  EXPECT_FALSE(ToolMainCalled);
  ASSERT_EQ(StandInBoxes.size(), 1u);
  EXPECT_EQ(StandInBoxes[0].text, "The APPDATA environment variable is missing.");
  EXPECT_EQ(StandInBoxes[0].caption, "Test Ver 0.07");
  EXPECT_EQ(StandInBoxes[0].style, StandInWarningBox);
}

TEST_F(FrameTest, MoreThanMaxArgsAreDropped) {
  std::string line = "t";
  for (int i = 1; i <= 40; i++) line += " " + std::to_string(i);
  Run(line + " -dbg=5");
  EXPECT_EQ(ToolMainArgs.size(), 30u);
  EXPECT_EQ(ToolMainArgs.back(), "29");
  EXPECT_EQ(DebugLevel, 0) << "the option after the 30th entry was dropped";
}

class SwitchTest : public FrameTest {
 protected:
  // Runs StandardSwitches on the arguments; its result and what is left.
  int Try(const Strings& texts, Strings* left) {
    std::vector<char*> args = MakeArgs(texts);
    int count = static_cast<int>(texts.size());
    int handled = StandardSwitches(&count, args.data());
    *left = ArgsOf(count, args.data());
    return handled;
  }
  void SetUp() override {
    FrameTest::SetUp();
    Run("t");  // sets ToolName and ToolVersion
  }
};

TEST_F(SwitchTest, UsageHelpInfoAndNothing) {
  Strings left;
  EXPECT_EQ(Try({"t", "-?"}, &left), 1);
  ASSERT_EQ(StandInBoxes.size(), 1u);
  EXPECT_EQ(StandInBoxes[0].text, "Usage:\n\ntest things");
  EXPECT_EQ(StandInBoxes[0].caption, "Test Ver 0.07");
  EXPECT_EQ(StandInBoxes[0].style, StandInPlainBox);

  EXPECT_EQ(Try({"t", "-HELP"}, &left), 1);
  ASSERT_EQ(StandInShellCalls.size(), 1u);
  const StandInShellCall& call = StandInShellCalls[0];
  EXPECT_EQ(call.file,
            std::string("https://") + MakerWebHost + "/Products/Corvalette/Help/Test.html");
  EXPECT_EQ(call.operation, "");
  EXPECT_EQ(call.parameters, "");
  EXPECT_EQ(call.directory, "C:\\");
  EXPECT_EQ(call.show, ShowHidden);

  EXPECT_EQ(Try({"t", "-Info"}, &left), 1);
  ASSERT_EQ(StandInBoxes.size(), 2u);
  EXPECT_NE(StandInBoxes[1].text.find("\n\nBuild date:\t"), std::string::npos)
      << StandInBoxes[1].text;
  EXPECT_NE(StandInBoxes[1].text.find("\nBuild time:\t"), std::string::npos);
  EXPECT_EQ(StandInBoxes[1].text.back(), '\n');

  EXPECT_EQ(Try({"t", "-!"}, &left), 1);
  EXPECT_EQ(left, Strings{"t"});
  EXPECT_EQ(StandInBoxes.size(), 2u);
}

TEST_F(SwitchTest, OnlyWithExactlyOneArgument) {
  Strings left;
  EXPECT_EQ(Try({"t", "-?", "x"}, &left), 0);
  EXPECT_EQ(left, (Strings{"t", "-?", "x"}));
  EXPECT_EQ(Try({"t", "-helpx"}, &left), 0);
  EXPECT_EQ(Try({"t"}, &left), 0);
  EXPECT_TRUE(StandInBoxes.empty());
  EXPECT_TRUE(StandInShellCalls.empty());
}

TEST_F(SwitchTest, HelpOpensThePageShippedBesideTheProgram) {
  std::string folder = ScratchPath("tools");
  StandInModuleName = folder + "\\test.exe";
  std::string page = folder + "\\site\\Products\\Corvalette\\Help\\Test.html";
  std::filesystem::create_directories(std::filesystem::path(page).parent_path());
  WriteBytes(page, "<html>");
  Run("t");
  Strings left;
  EXPECT_EQ(Try({"t", "-help"}, &left), 1);
  ASSERT_EQ(StandInShellCalls.size(), 1u);
  EXPECT_EQ(StandInShellCalls[0].file, page);
  EXPECT_EQ(StandInShellCalls[0].directory, "C:\\");
  EXPECT_EQ(StandInShellCalls[0].show, ShowHidden);

#ifdef _WIN32
  // The UTF-8 set, one folder down, finds it too (through "..", which only
  // Windows paths resolve).
  StandInModuleName = folder + "\\utf8\\test.exe";
  Run("t");
  EXPECT_EQ(Try({"t", "-help"}, &left), 1);
  ASSERT_EQ(StandInShellCalls.size(), 2u);
  EXPECT_EQ(StandInShellCalls[1].file,
            folder + "\\utf8\\..\\site\\Products\\Corvalette\\Help\\Test.html");
  StandInShellCalls.erase(StandInShellCalls.begin() + 1);
#endif

  // Without the page the web address, as before.
  std::filesystem::remove(page);
  EXPECT_EQ(Try({"t", "-help"}, &left), 1);
  ASSERT_EQ(StandInShellCalls.size(), 2u);
  EXPECT_EQ(StandInShellCalls[1].file,
            std::string("https://") + MakerWebHost + "/Products/Corvalette/Help/Test.html");
}

TEST_F(SwitchTest, WebPageKinds) {
  OpenWebPage(1);
  OpenWebPage(0);
  ASSERT_EQ(StandInShellCalls.size(), 2u);
  EXPECT_EQ(StandInShellCalls[0].file,
            std::string("https://") + MakerWebHost + "/main/corvalette/");
  EXPECT_EQ(StandInShellCalls[1].file, std::string("https://") + MakerWebHost);
}

class MessageTest : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    Run("t");
  }
};

TEST_F(MessageTest, Utf8MessagesAreCutAt500WholeCharacters) {
  StandInAnsiUtf8 = true;
  const std::string four = "\xF0\x9F\x98\x80", two = "\xC5\x82";
  struct {
    std::string text;
    std::string shown;
  } cases[] = {
      {[&] {
         std::string t;
         for (int i = 0; i < 499; i++) t += four;
         return t;
       }(),
       ""},
      {[&] {
         std::string t;
         for (int i = 0; i < 500; i++) t += four;
         return t;
       }(),
       ""},
      {[&] {
         std::string t = "x";
         for (int i = 0; i < 600; i++) t += two;
         return t;
       }(),
       ""},
  };
  cases[0].shown = cases[0].text;  // 499 characters: shown whole
  cases[1].shown = cases[1].text.substr(0, 496 * 4) + " ...";
  cases[2].shown = cases[2].text.substr(0, 1 + 495 * 2) + " ...";
  for (const auto& c : cases) {
    StandInBoxes.clear();
    EXPECT_THROW(FatalError("%s", c.text.c_str()), StandInExit);
    ASSERT_EQ(StandInBoxes.size(), 1u);
    EXPECT_EQ(StandInBoxes[0].text, c.shown) << c.text.size() << " bytes";
  }
}

TEST_F(FrameTest, Utf8ProgramDirTakes512Characters) {
  StandInAnsiUtf8 = true;
  std::string three = "\xE4\xB8\xAD";
  std::string folder = "C:\\";
  for (int i = 0; i < 200; i++) folder += three;  // 600 bytes, 203 characters
  StandInModuleName = folder + "\\ask.exe";
  Run("t");
  EXPECT_EQ(std::string(ProgramDir), folder) << "read whole in a buffer sized for UTF-8";
  StandInAnsiUtf8 = false;
  Run("t");
  EXPECT_EQ(std::string(ProgramDir), ".") << "the ANSI programs: 512 bytes, as always";
}

TEST_F(MessageTest, FormattedMessagesAreCutAt500) {
  struct {
    size_t length;
    size_t shown;
  } cases[] = {{0, 0}, {495, 495}, {499, 499}, {500, 500}, {501, 500}, {100000, 500}};
  for (const auto& c : cases) {
    StandInBoxes.clear();
    std::string text(c.length, 'm');
    ShowMessageF("%s", text.c_str());
    ASSERT_EQ(StandInBoxes.size(), 1u);
    const std::string& shown = StandInBoxes[0].text;
    EXPECT_EQ(shown.size(), c.shown) << "length " << c.length;
    if (c.length >= 500)
      EXPECT_EQ(shown, std::string(496, 'm') + " ...");
    else
      EXPECT_EQ(shown, text);
  }
}

TEST_F(MessageTest, FatalErrorCutsWarnsAndExits) {
  std::string name(600, 'n');
  try {
    FatalError("Can't read file: %s", name.c_str());
    FAIL() << "FatalError returned";
  } catch (const StandInExit& e) {
    EXPECT_EQ(e.status, 1);
  }
  ASSERT_EQ(StandInBoxes.size(), 1u);
  EXPECT_EQ(StandInBoxes[0].text, ("Can't read file: " + name).substr(0, 496) + " ...");
  EXPECT_EQ(StandInBoxes[0].style, StandInWarningBox);
  EXPECT_EQ(StandInBoxes[0].caption, "Test Ver 0.07");
}

TEST(PathJoin, OnlyABackslashCounts) {
  struct {
    const char* first;
    const char* second;
    const char* joined;
  } cases[] = {{"C:\\a", "b", "C:\\a\\b"}, {"C:\\a\\", "b", "C:\\a\\b"}, {"", "b", "b"},
               {"C:/a/", "b", "C:/a/\\b"}, {"a", "\\b", "a\\\\b"},       {"a", "", "a\\"}};
  for (const auto& c : cases) {
    char* joined = PathJoin(c.first, c.second);
    EXPECT_STREQ(joined, c.joined) << c.first << " + " << c.second;
    free(joined);
  }
}

TEST(DirName, BothSeparatorsAndDrive) {
  struct {
    const char* path;
    const char* dir;
  } cases[] = {
      {"C:\\tools\\say.exe", "C:\\tools"},
      {"C:\\say.exe", "C:\\"},
      {"C:/a/b/c.exe", "C:/a/b"},
      {"say.exe", "."},
      {"", "."},
      {"C:say.exe", "C:."},
      {"\\\\srv\\share\\x.exe", "\\\\srv\\share"},
      {"a\\\\b", "a"},
      {"a\\b\\", "a"},
      {"\\", "\\"},
      {"C:\\", "C:\\"},
      {"/x", "/"},
  };
  for (const auto& c : cases) {
    char* dir = DirName(c.path);
    EXPECT_STREQ(dir, c.dir) << "path " << c.path;
    free(dir);
  }
}

TEST_F(FrameTest, ProgramDirFallsBackToDot) {
  StandInModuleFails = true;
  char* dir = GetProgramDir();
  EXPECT_STREQ(dir, ".");
  free(dir);
  StandInModuleFails = false;
  StandInModuleName = "C:\\" + std::string(520, 'p');
  dir = GetProgramDir();
  EXPECT_STREQ(dir, ".") << "a name that fills the 512-character buffer counts as empty";
  free(dir);
  StandInModuleName = "C:\\" + std::string(500, 'p') + "\\x.exe";
  dir = GetProgramDir();
  EXPECT_STREQ(dir, ("C:\\" + std::string(500, 'p')).c_str());
  free(dir);
}

}  // namespace
