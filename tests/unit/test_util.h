// Helpers shared by the unit tests: scratch files, environment variables,
// argument vectors, and the line end that text-mode writing produces.
#pragma once

#include <string>
#include <vector>

// What a "\n" written in text mode becomes in the file.
#ifdef _WIN32
constexpr const char* Eol = "\r\n";
#else
constexpr const char* Eol = "\n";
#endif

// A path inside this test process's own scratch folder (created on demand).
std::string ScratchPath(const std::string& name);

void WriteBytes(const std::string& path, const std::string& bytes);

// The file's exact bytes; "<missing>" when it cannot be opened.
std::string ReadBytes(const std::string& path);

void SetEnvVar(const char* name, const char* value);
void UnsetEnvVar(const char* name);

// An argument vector of owned copies of the texts, null-terminated, as the
// splitter builds it.
std::vector<char*> MakeArgs(const std::vector<std::string>& texts);

// Runs the frame (and so the tool's ToolMain) on a command line with the
// stand-in platform: the exit status, whether returned or an ended process.
int RunFrame(const std::string& commandLine);

// The entries before the null end, as strings.
std::vector<std::string> ArgsOf(int count, char** entries);
