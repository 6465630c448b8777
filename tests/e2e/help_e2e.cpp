// -help opens the tool's page from the help site shipped beside the
// program, and the web address where there is none. A stand-in browser
// (the probe, registered for .html files and https addresses while the
// test runs) records what it was asked to open.
#include <string>

#include "e2e_config.h"
#include "e2e_test.h"

#include <shlobj.h>

namespace {

class HelpTest : public E2eTest {
 protected:
  void SetUp() override {
    E2eTest::SetUp();
    opened_ = JoinPath(scratch_, "opened.txt");
    options_.set.push_back({"PROBE_OUT", opened_});
  }
  // What the stand-in browser was started with, after its own path; waits
  // for it, since the tool ends as soon as the shell has the page.
  std::string Opened() {
    for (DWORD start = GetTickCount(); GetTickCount() - start < WaitLimitMs; Sleep(50)) {
      // An empty file is one the probe has made but not yet written.
      std::string line = ReadFileBytes(opened_);
      if (line != "<missing>" && !line.empty()) {
        DeleteFileA(opened_.c_str());
        std::string probe = std::string("\"") + PROBE_PATH + "\" ";
        return line.rfind(probe, 0) == 0 ? line.substr(probe.size()) : "<not the probe> " + line;
      }
    }
    return "<nothing opened>";
  }
  std::string opened_;
};

TEST_F(HelpTest, LocalPageWhenShippedElseTheWebAddress) {
  std::string browser = std::string("\"") + PROBE_PATH + "\" \"%1\"";
  RegistryOverride html(HKEY_CLASSES_ROOT, ".html", "", REG_SZ, "QuilHelpTest.html");
  RegistryOverride htmlOpen(HKEY_CLASSES_ROOT, "QuilHelpTest.html\\shell\\open\\command", "",
                            REG_SZ, browser);
  RegistryOverride https(HKEY_CLASSES_ROOT, "https\\shell\\open\\command", "", REG_SZ, browser);
  ASSERT_TRUE(html.ok() && htmlOpen.ok() && https.ok()) << "cannot register the stand-in";

  // Each tool copied into a folder of its own, as the release zip lays
  // them out: site\Products\Corvalette\Help\<Tool>.html beside the program.
  std::string tools = JoinPath(scratch_, "tools");
  std::string help = tools + "\\site\\Products\\Corvalette\\Help";
  ASSERT_EQ(SHCreateDirectoryExA(nullptr, help.c_str(), nullptr), ERROR_SUCCESS);
  struct {
    const char* tool;
    const char* page;
  } cases[] = {{"ask", "Ask.html"}, {"say", "Say.html"}, {"run", "Run.html"}};
  // Each set's folder in the zip: the 32-bit sets, and the 64-bit ones in x64.
  const char* sets[] = {"", "utf8\\", "x64\\", "x64\\utf8\\"};
  for (const char* set : sets) CreateDirectoryA((tools + "\\" + set).c_str(), nullptr);
  for (const auto& c : cases) {
    std::string page = JoinPath(help, c.page);
    WriteFileBytes(page, "<html><title>help</title></html>");
    std::string program;
    for (const char* set : sets) {
      program = tools + "\\" + set + c.tool + ".exe";
      ASSERT_TRUE(CopyFileA(ToolPath(c.tool).c_str(), program.c_str(), FALSE)) << c.tool;
      EXPECT_EQ(RunWithoutWindow("\"" + program + "\" -HELP"), 0) << c.tool;
      EXPECT_EQ(Opened(), "\"" + page + "\"") << set << c.tool;
    }

    DeleteFileA(page.c_str());
    EXPECT_EQ(RunWithoutWindow("\"" + program + "\" -help"), 0) << c.tool;
    std::string web = Opened();
    EXPECT_EQ(web.rfind("\"https://", 0), 0u) << c.tool << ": " << web;
    EXPECT_NE(web.find(std::string("/Products/Corvalette/Help/") + c.page + "\""),
              std::string::npos)
        << c.tool << ": " << web;
  }
}

}  // namespace
