// Stand-in file and folder dialogs for unit tests: they answer what the
// test put into StandInChosen.
#include "choosers.h"

#include <string>

#include "choosers_standin.h"

std::string StandInChosen;
std::string StandInChooserTitle;
int StandInChooserCalls = 0;

namespace {

int Answer(const char* title, int size, char* answer) {
  StandInChooserCalls++;
  StandInChooserTitle = title;
  if (StandInChosen.empty() || static_cast<int>(StandInChosen.size()) >= size) return 0;
  StandInChosen.copy(answer, StandInChosen.size());
  answer[StandInChosen.size()] = '\0';
  return 1;
}

}  // namespace

int ChooseFile(const char* title, int size, char* answer) {
  answer[0] = '\0';
  return Answer(title, size, answer);
}

int ChooseSaveFile(const char* title, int size, char* answer) {
  answer[0] = '\0';
  return Answer(title, size, answer);
}

int ChooseFolder(const char* title, int size, char* answer) { return Answer(title, size, answer); }
