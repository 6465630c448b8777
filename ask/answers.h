// Answers without a window: from the file ASK_ANSWERS names (a line each,
// taken in turn by every ask that shares the file), from the person at the
// console (-user where nobody can see this screen), or as a question's time
// limit gives them where nobody can see it; and the record of every answer
// in the file ASK_RECORD names, in the same line format.
#pragma once

#include <string>

struct Question;

// How a question gets its answer this time.
enum AnswerWay {
  ByWindow,     // its window, as ever
  ByLine,       // a line: of ASK_ANSWERS, or what the person at the console answered
  ByTimeLimit,  // nobody can see the screen: what its time limit (or -default=) gives
};

// Ends the name of the file beside the answer file that keeps how many of
// its lines have been taken; a new run deletes it to start again.
constexpr const char* PlaceFileEnding = ".taken";

// The first argument of ask's process in the person's session, with the
// channel's name in ChannelVariable: the answer goes back by the channel.
constexpr const char* PersonSwitch = "-ask-person-process";

// The channel's pipe in the person's process; null in every other one.
extern const char* PersonChannel;

// How the question is answered, with the line for ByLine. A question that
// nobody can see and that has no answer for that case (no -default=, no
// -timeout=, unless alwaysAnswered: progress follows its feed) ends the
// tool here with status 1, writing nothing, after saying so; so does an
// answer file without a line left, and a person's process that ended
// without an answer (with its status).
AnswerWay HowAnswered(const Question& question, bool alwaysAnswered, std::string* line);

// Ends the tool with status 1 for an answer the question could not have
// given, naming the answer file's line and why (on standard error and in
// the log, never in a box).
[[noreturn]] void RefuseAnswer(const std::string& why);

// An answer as its line holds it: its first line only, and a "#" doubled at
// its start, since a line that begins with one "#" is a comment.
std::string AnswerLine(const std::string& answer);

// The question has been answered, the line saying how: into ASK_RECORD
// where that is set; in the person's process, back by the channel instead.
void AnswerGiven(const std::string& line);

// Takes PersonSwitch out of args when it is their first entry and the
// channel's variable is set (removed then from the environment); whether
// this is the person's process.
bool TakePersonSwitch(int* count, char** args);
