// ask's text dialog on Windows: the prompt, a one-line field and two
// buttons, for the text, pass and edit modes.
#include <cstdlib>
#include <string>
#include <vector>

#include "frame.h"
#include "kit.h"
#include "platform.h"
#include "unicode.h"

namespace {

// --- The text field's limit ---
//
// The answer is at most TextAnswerMax characters. In the ANSI programs a
// character is a byte and the field takes TextAnswerMax of its UTF-16
// units, as it always has. Under UTF-8 a character outside the Basic
// Multilingual Plane takes two units, so the field takes twice as many and
// is cut back to TextAnswerMax characters whenever it holds more.

int FieldUnits() { return PlatformAnsiIsUtf8() ? 2 * TextAnswerMax : TextAnswerMax; }

// The field's text in the ANSI code page, into a buffer sized for all the
// units the field takes.
std::vector<char> FieldContent(HWND field) {
  std::vector<char> text(AnsiBufferSize(FieldUnits()) + 1, '\0');
  SendMessageA(field, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  return text;
}

// The field's text, at most TextAnswerMax whole characters.
std::string FieldText(HWND field) {
  std::vector<char> text = FieldContent(field);
  return std::string(text.data(), CharactersLength(text.data(), TextAnswerMax));
}

// What the user sees is what is written: a field that holds more than
// TextAnswerMax characters keeps only the first ones, the caret at the end.
void KeepFieldWithinLimit(HWND field) {
  if (!PlatformAnsiIsUtf8()) return;
  std::vector<char> text = FieldContent(field);
  if (CountCharacters(text.data()) <= static_cast<size_t>(TextAnswerMax)) return;
  size_t kept = CharactersLength(text.data(), TextAnswerMax);
  text[kept] = '\0';
  SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.data()));
  SendMessageA(field, EM_SETSEL, 0x7FFF, 0x7FFF);
}

// The layouts below are in pixels at 96 DPI, scaled to the window's DPI
// as each control is made or moved; h is the prompt's height at 96 DPI.

void TextDialogCreate(HWND window, int h) {
  Dialog.result.text = XStrDup("");
  HWND field = CreateInputEdit(window, FieldSlot, Scaled(8), Scaled(h + 16), Scaled(300),
                               Scaled(24), Dialog.initialText);
  Shown.controls[FieldSlot] = field;
  // What the user sees is what is written: no more than the answer holds.
  SendMessageA(field, EM_LIMITTEXT, FieldUnits(), 0);
  CreateButtonPair(window, h + 48);
  FitWindow(window, 316, h + 80);
  SetFocus(field);
  // A first text is selected whole, so that typing replaces it.
  SendMessageA(field, EM_SETSEL, 0, -1);
}

// W and H: the client size in pixels at the dialog's DPI.
void TextDialogLayout(HWND, int W, int H) {
  Place(LabelSlot, Scaled(8), Scaled(8), W - Scaled(16), H - Scaled(80));
  Place(FieldSlot, Scaled(8), H - Scaled(64), W - Scaled(16), Scaled(24));
  PlaceButtonPair(W, H);
}

DialogAnswer TextDialogCommand(HWND, int id, int code) {
  if (id == ControlIdBase + FieldSlot && code == EN_CHANGE)
    KeepFieldWithinLimit(ControlAt(FieldSlot));
  return PairAnswer(id);
}

void TextDialogAccept(HWND) {
  std::string typed = FieldText(ControlAt(FieldSlot));
  free(Dialog.result.text);
  Dialog.result.text = XStrDup(typed.c_str());
}

void TextDialogCancel() {
  free(Dialog.result.text);
  Dialog.result.text = XStrDup("");
}

constexpr DialogKind TextDialog = {
    96, TextDialogCreate, TextDialogLayout, TextDialogCommand, TextDialogAccept, TextDialogCancel};

}  // namespace

void RunTextDialog() { RunDialog(TextDialog); }
