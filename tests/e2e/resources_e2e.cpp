// The programs' resources as Windows reads them: the version block, the
// icon group, the application manifest and ask's accelerator table. Checked for this build's
// programs and, where they were built, for the 32-bit programs in dist/ (loaded as data, so they
// need not be able to run here).
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "e2e_config.h"
#include "e2e_test.h"

namespace {

struct Tool {
  const char* file;
  const char* name;
  const char* version;
  WORD versionNumbers[4];
};

const Tool Tools[] = {
    {"ask", "Ask", "0.12.0.0", {0, 12, 0, 0}},
    {"run", "Run", "0.11.0.0", {0, 11, 0, 0}},
    {"say", "Say", "0.11.0.0", {0, 11, 0, 0}},
};

// The folders of the ANSI set whose programs are checked: this build's
// and, where they were built, the 32-bit programs in dist/. Each has the
// UTF-8 set in its sub-folder utf8.
std::vector<std::string> AnsiFolders() {
  std::vector<std::string> folders = {TOOLS_DIR};
  std::string dist32 = DIST32_DIR;
  if (dist32 != TOOLS_DIR &&
      GetFileAttributesA((dist32 + "\\say.exe").c_str()) != INVALID_FILE_ATTRIBUTES)
    folders.push_back(dist32);
  return folders;
}

// Every folder whose programs are checked, both sets.
std::vector<std::string> ProgramFolders() {
  std::vector<std::string> folders;
  for (const std::string& folder : AnsiFolders()) {
    folders.push_back(folder);
    folders.push_back(folder + "\\utf8");
  }
  return folders;
}

bool IsUtf8Set(const std::string& folder) {
  return folder.size() > 5 && folder.compare(folder.size() - 5, 5, "\\utf8") == 0;
}

const char* const Utf8CodePage =
    "<activeCodePage xmlns=\"http://schemas.microsoft.com/SMI/2019/WindowsSettings\">UTF-8"
    "</activeCodePage>";

// A program's resources: "type/name/language" and the bytes of each.
std::vector<std::pair<std::string, std::string>> Resources(const std::string& path) {
  struct Walk {
    HMODULE module;
    std::vector<std::pair<std::string, std::string>> found;
    static std::string Id(LPCSTR id) {
      return IS_INTRESOURCE(id) ? "#" + std::to_string(reinterpret_cast<ULONG_PTR>(id)) : id;
    }
    static BOOL CALLBACK Language(HMODULE module, LPCSTR type, LPCSTR name, WORD language,
                                  LONG_PTR param) {
      auto* walk = reinterpret_cast<Walk*>(param);
      HRSRC found = FindResourceExA(module, type, name, language);
      HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
      std::string bytes = loaded ? std::string(static_cast<const char*>(LockResource(loaded)),
                                               SizeofResource(module, found))
                                 : "<unreadable>";
      walk->found.push_back({Id(type) + "/" + Id(name) + "/" + std::to_string(language), bytes});
      return TRUE;
    }
    static BOOL CALLBACK Name(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR param) {
      EnumResourceLanguagesA(module, type, name, Language, param);
      return TRUE;
    }
    static BOOL CALLBACK Type(HMODULE module, LPSTR type, LONG_PTR param) {
      EnumResourceNamesA(module, type, Name, param);
      return TRUE;
    }
  } walk{LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE), {}};
  if (!walk.module) return {};
  EnumResourceTypesA(walk.module, Walk::Type, reinterpret_cast<LONG_PTR>(&walk));
  FreeLibrary(walk.module);
  return walk.found;
}

std::string VersionString(const std::vector<char>& block, const char* name) {
  std::string query = std::string("\\StringFileInfo\\080904B0\\") + name;
  char* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &length))
    return "<missing>";
  return std::string(value, length > 0 ? length - 1 : 0);
}

BOOL CALLBACK CountName(HMODULE, LPCSTR, LPSTR, LONG_PTR param) {
  ++*reinterpret_cast<int*>(param);
  return TRUE;
}

TEST(Resources, VersionBlockIconsAndAccelerators) {
  for (const std::string& folder : ProgramFolders()) {
    for (const Tool& tool : Tools) {
      std::string path = folder + "\\" + tool.file + ".exe";
      SCOPED_TRACE(path);
      DWORD handle = 0;
      DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
      ASSERT_GT(size, 0u) << "no version block";
      std::vector<char> block(size);
      ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, block.data()));

      VS_FIXEDFILEINFO* fixed = nullptr;
      UINT length = 0;
      ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
      EXPECT_EQ(HIWORD(fixed->dwFileVersionMS), tool.versionNumbers[0]);
      EXPECT_EQ(LOWORD(fixed->dwFileVersionMS), tool.versionNumbers[1]);
      EXPECT_EQ(fixed->dwFileVersionLS, 0u);
      EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
      EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

      WORD* translation = nullptr;
      ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                                 reinterpret_cast<void**>(&translation), &length));
      ASSERT_GE(length, 4u);
      EXPECT_EQ(translation[0], 0x0809);
      EXPECT_EQ(translation[1], 0x04B0);

      EXPECT_EQ(VersionString(block, "FileVersion"), tool.version);
      EXPECT_EQ(VersionString(block, "ProductVersion"), tool.version);
      EXPECT_EQ(VersionString(block, "FileDescription"), tool.name);
      EXPECT_EQ(VersionString(block, "InternalName"), tool.name);
      EXPECT_EQ(VersionString(block, "ProductName"), tool.name);
      EXPECT_EQ(VersionString(block, "OriginalFilename"), std::string(tool.name) + ".exe");
      EXPECT_EQ(VersionString(block, "CompanyName"), "Quilverton");
      EXPECT_NE(VersionString(block, "LegalCopyright").find("Quilverton"), std::string::npos);

      HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
      ASSERT_TRUE(module) << "error " << GetLastError();
      int groups = 0, icons = 0;
      EnumResourceNamesA(module, RT_GROUP_ICON, CountName, reinterpret_cast<LONG_PTR>(&groups));
      EnumResourceNamesA(module, RT_ICON, CountName, reinterpret_cast<LONG_PTR>(&icons));
      EXPECT_EQ(groups, 1);
      EXPECT_EQ(icons, 9);
      HRSRC accelerators = FindResourceA(module, MAKEINTRESOURCEA(201), RT_ACCELERATOR);
      if (std::string(tool.file) == "ask") {
        ASSERT_TRUE(accelerators) << "ask carries accelerator table 201";
        EXPECT_EQ(SizeofResource(module, accelerators), 0u) << "with no entries";
      } else {
        EXPECT_FALSE(accelerators);
      }
      FreeLibrary(module);
    }
  }
}

// The text of the element that begins with open (up to its closing '>'),
// empty when the manifest has none.
std::string Element(const std::string& manifest, const std::string& open) {
  size_t start = manifest.find(open);
  if (start == std::string::npos) return "";
  size_t end = manifest.find('>', start);
  return manifest.substr(start, end == std::string::npos ? std::string::npos : end - start + 1);
}

TEST(Resources, ManifestAsksForNoVirtualizationNoShimsCurrentControlsAndDpiAwareness) {
  for (const std::string& folder : ProgramFolders()) {
    for (const Tool& tool : Tools) {
      std::string path = folder + "\\" + tool.file + ".exe";
      SCOPED_TRACE(path);
      HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
      ASSERT_TRUE(module) << "error " << GetLastError();
      HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
      ASSERT_TRUE(found) << "no manifest (type 24, id 1)";
      HGLOBAL loaded = LoadResource(module, found);
      ASSERT_TRUE(loaded);
      std::string manifest(static_cast<const char*>(LockResource(loaded)),
                           SizeofResource(module, found));
      FreeLibrary(module);

      std::string level = Element(manifest, "<requestedExecutionLevel ");
      EXPECT_NE(level.find("level=\"asInvoker\""), std::string::npos) << "got " << level;
      EXPECT_NE(level.find("uiAccess=\"false\""), std::string::npos) << "got " << level;

      static const char* const Systems[] = {
          "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // Windows 7
          "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // Windows 8
          "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // Windows 8.1
          "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // Windows 10 and 11
      };
      for (const char* id : Systems)
        EXPECT_NE(manifest.find(std::string("<supportedOS Id=\"") + id + "\"/>"), std::string::npos)
            << "no supportedOS " << id;

      std::string controls = Element(
          manifest, "<assemblyIdentity type=\"win32\" name=\"Microsoft.Windows.Common-Controls\"");
      EXPECT_NE(controls.find("version=\"6.0.0.0\""), std::string::npos) << "got " << controls;
      EXPECT_NE(controls.find("processorArchitecture=\"*\""), std::string::npos)
          << "got " << controls;
      EXPECT_NE(controls.find("publicKeyToken=\"6595b64144ccf1df\""), std::string::npos)
          << "got " << controls;

      std::string dpiAware = Element(manifest, "<dpiAware ");
      EXPECT_NE(dpiAware.find("SMI/2005/WindowsSettings"), std::string::npos) << "got " << dpiAware;
      EXPECT_NE(manifest.find(dpiAware + "true/pm</dpiAware>"), std::string::npos)
          << "per monitor where only dpiAware is known";
      std::string awareness = Element(manifest, "<dpiAwareness ");
      EXPECT_NE(awareness.find("SMI/2016/WindowsSettings"), std::string::npos)
          << "got " << awareness;
      EXPECT_NE(manifest.find(awareness + "PerMonitorV2, PerMonitor</dpiAwareness>"),
                std::string::npos)
          << "the dialogs scale themselves on every screen";

      // The UTF-8 set, and only it, names UTF-8 as its ANSI code page.
      EXPECT_EQ(manifest.find(Utf8CodePage) != std::string::npos, IsUtf8Set(folder));
      EXPECT_EQ(manifest.find("activeCodePage") != std::string::npos, IsUtf8Set(folder));
    }
  }
}

TEST(Resources, SetsDifferOnlyInTheManifestsCodePage) {
  for (const std::string& folder : AnsiFolders()) {
    for (const Tool& tool : Tools) {
      std::string ansi = folder + "\\" + tool.file + ".exe";
      std::string utf8 = folder + "\\utf8\\" + tool.file + ".exe";
      SCOPED_TRACE(utf8);
      auto ansiResources = Resources(ansi), utf8Resources = Resources(utf8);
      ASSERT_FALSE(ansiResources.empty()) << ansi;
      ASSERT_EQ(ansiResources.size(), utf8Resources.size());
      for (size_t i = 0; i < ansiResources.size(); i++) {
        const auto& [name, bytes] = ansiResources[i];
        EXPECT_EQ(utf8Resources[i].first, name);
        if (name != "#24/#1/2057") {
          EXPECT_TRUE(utf8Resources[i].second == bytes) << name << " differs";
          continue;
        }
        // The manifests: the same but for the one element.
        std::string manifest = utf8Resources[i].second;
        size_t at = manifest.find(Utf8CodePage);
        ASSERT_NE(at, std::string::npos) << manifest;
        size_t lineStart = manifest.rfind('\n', at);
        manifest.erase(lineStart, at + strlen(Utf8CodePage) - lineStart);
        EXPECT_EQ(manifest, bytes) << "the manifests differ beyond the code page";
      }
    }
  }
}

}  // namespace
