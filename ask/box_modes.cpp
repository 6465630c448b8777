// ask's message-box questions: ok, yn and ync, in the system's message
// box.
#include "ask.h"
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

// A plain message box captioned with the tool's bare name (or -title=),
// without icon; -default= picks its default button, and -timeout= presses
// that button when the time is up.
int AskByMessageBox(const Question& question, const BoxQuestion& box) {
  BoxStyle style = {box.buttons, IconNone, question.defaultButton};
  const char* caption = question.title ? question.title : ToolName;
  BoxAnswer pressed;
  if (question.timeout > 0) {
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
  return WriteResult(question.resultFile, answer);
}

}  // namespace

int AskOk(const Question& question) { return AskByMessageBox(question, OkCancel); }

int AskYesNo(const Question& question) { return AskByMessageBox(question, YesNo); }

int AskYesNoCancel(const Question& question) { return AskByMessageBox(question, YesNoCancel); }
