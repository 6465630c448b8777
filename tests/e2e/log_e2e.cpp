// Several tools writing one log at the same time: every line arrives whole,
// none is lost, and the file holds exactly the lines of the runs that wrote
// it.
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "e2e_config.h"
#include "e2e_test.h"

namespace {

constexpr int Processes = 24;
constexpr int Rounds = 3;

// The file's lines, split at CR LF; a lone CR or LF inside a line is a torn
// line and fails the test.
std::vector<std::string> CrLfLines(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t at; (at = bytes.find("\r\n", start)) != std::string::npos; start = at + 2) {
    std::string line = bytes.substr(start, at - start);
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "torn line: " << line;
    lines.push_back(line);
  }
  EXPECT_EQ(start, bytes.size()) << "the log ends inside a line: " << bytes.substr(start);
  return lines;
}

class LogTest : public E2eTest {};

TEST_F(LogTest, ConcurrentRunsLoseNoLogLine) {
  static const std::regex header(
      "\\* (Mon|Tue|Wed|Thu|Fri|Sat|Sun) [0-3][0-9] [A-Z][a-z]{2} [0-9]{4}");
  static const std::regex entry("[0-2][0-9]:[0-5][0-9]:[0-6][0-9] (.*)");
  for (int round = 0; round < Rounds; round++) {
    SCOPED_TRACE("round " + std::to_string(round));
    std::string log = JoinPath(scratch_, "shared-" + std::to_string(round) + ".log");
    std::vector<Child*> started;
    for (int k = 0; k < Processes; k++) {
      std::string marker = "r" + std::to_string(round) + "p" + std::to_string(k);
      started.push_back(
          Start(Command("run", "-dbg=1 \"-log=" + log + "\" \"" + PROBE_PATH + "\" " + marker)));
    }
    for (Child* child : started) EXPECT_EQ(WaitForExit(child), 0);

    // Each run writes a three-line header (its first line of the run) and
    // three entries: its command line, what it starts, and the exit code.
    std::map<std::string, int> seen;
    int headers = 0, stars = 0, exits = 0;
    for (const std::string& line : CrLfLines(ReadFileBytes(log))) {
      std::smatch m;
      if (line == "*") {
        stars++;
      } else if (std::regex_match(line, header)) {
        headers++;
      } else if (std::regex_match(line, m, entry)) {
        std::string message = m[1];
        static const std::regex command(
            "Cmdline: .*run\\.exe\" -dbg=1 \"-log=.*\" \".*\" (r\\d+p\\d+)");
        static const std::regex running("Running prog=.* args= \"(r\\d+p\\d+)\" mode=1 \\.\\.\\.");
        std::smatch id;
        if (std::regex_match(message, id, command)) {
          seen["command " + id[1].str()]++;
        } else if (std::regex_match(message, id, running)) {
          seen["running " + id[1].str()]++;
        } else if (message == "Exit code is 0") {
          exits++;
        } else {
          ADD_FAILURE() << "unexpected entry: " << line;
        }
      } else {
        ADD_FAILURE() << "not a log line: " << line;
      }
    }
    EXPECT_EQ(headers, Processes);
    EXPECT_EQ(stars, 2 * Processes);
    EXPECT_EQ(exits, Processes);
    for (int k = 0; k < Processes; k++) {
      std::string marker = "r" + std::to_string(round) + "p" + std::to_string(k);
      EXPECT_EQ(seen["command " + marker], 1) << marker;
      EXPECT_EQ(seen["running " + marker], 1) << marker;
    }
    EXPECT_EQ(seen.size(), 2u * Processes) << "lines of other runs in this round's log";
  }
}

}  // namespace
