// ask's message-box questions: ok, yn and ync, in the system's message
// box.
#include <string>

#include "answers.h"
#include "ask.h"
#include "cmdline.h"
#include "frame.h"
#include "platform.h"

namespace {

// The message box's buttons, and the answer each writes by its position;
// any other result (Escape or the close box) writes a blank line.
struct BoxQuestion {
  BoxButtons buttons;
  BoxAnswer pressed[3];
  const char* answers[3];
};

const BoxQuestion OkCancel = {ButtonsOkCancel, {AnswerOk, AnswerCancel}, {"ok", "", ""}};
const BoxQuestion YesNo = {ButtonsYesNo, {AnswerYes, AnswerNo}, {"yes", "", ""}};
const BoxQuestion YesNoCancel = {
    ButtonsYesNoCancel, {AnswerYes, AnswerNo, AnswerCancel}, {"yes", "no", ""}};

// The button an answer line presses: the answer it writes ("ok", "yes",
// "no", or an empty line for the one that writes a blank), or a button's
// word (case ignored); the mode's words name them in order.
BoxAnswer PressedByLine(const Question& question, const BoxQuestion& box, const std::string& line) {
  for (int i = 0; i < 3 && box.pressed[i] != AnswerNone; i++) {
    if (line == box.answers[i]) return box.pressed[i];
  }
  std::vector<std::string> words = SplitBars(question.mode->defaultWords);
  for (size_t i = 0; i < words.size() && i < 3; i++) {
    if (CompareNoCase(line.c_str(), words[i].c_str()) == 0) return box.pressed[i];
  }
  RefuseAnswer("\"" + ShownValue(line.c_str()) + "\" is not an answer of ask " +
               question.mode->word + ": " + question.mode->defaultWords +
               " or an empty line");
}

// A plain message box captioned with the tool's bare name (or -title=),
// without icon; -default= picks its default button, and -timeout= presses
// that button when the time is up.
int AskByMessageBox(const Question& question, const BoxQuestion& box) {
  BoxStyle style = {box.buttons, IconNone, question.defaultButton};
  const char* caption = question.title ? question.title : ToolName;
  BoxAnswer pressed;
  std::string line;
  AnswerWay way = HowAnswered(question, false, &line);
  if (way == ByLine) {
    pressed = PressedByLine(question, box, line);
  } else if (way == ByTimeLimit) {
    pressed = box.pressed[question.defaultButton];
  } else if (question.timeout > 0) {
    bool timedOut = false;
    pressed = PlatformMessageBoxTimed(question.prompt, caption, style, question.timeout,
                                      box.pressed[question.defaultButton], &timedOut);
    if (timedOut) NoteTimeout(question.timeout);
  } else {
    pressed = PlatformMessageBox(question.prompt, caption, style);
  }
  const char* answer = "";
  for (int i = 0; i < 3; i++) {
    if (box.pressed[i] != AnswerNone && pressed == box.pressed[i]) answer = box.answers[i];
  }
  AnswerGiven(answer);
  return WriteResult(question.resultFile, answer);
}

}  // namespace

int AskOk(const Question& question) { return AskByMessageBox(question, OkCancel); }

int AskYesNo(const Question& question) { return AskByMessageBox(question, YesNo); }

int AskYesNoCancel(const Question& question) { return AskByMessageBox(question, YesNoCancel); }
