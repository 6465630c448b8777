// Stand-in file and folder dialogs for unit tests: they answer what the
// test put into StandInChosen.
#include "choosers.h"

#include <string>

#include "choosers_standin.h"

std::string StandInChosen;
ChooserRequest StandInChooserRequest;
std::string StandInChooserTitle;
int StandInChooserCalls = 0;

namespace {

int Answer(const ChooserRequest& request, int size, char* answer) {
  StandInChooserCalls++;
  StandInChooserRequest = request;
  StandInChooserTitle = request.title;
  // The answer may hold zeros (several files): it is copied whole, with one
  // more zero.
  if (StandInChosen.empty() || static_cast<int>(StandInChosen.size()) + 1 >= size) return 0;
  StandInChosen.copy(answer, StandInChosen.size());
  answer[StandInChosen.size()] = '\0';
  answer[StandInChosen.size() + 1] = '\0';
  return 1;
}

}  // namespace

int ChooseFile(const ChooserRequest& request, int size, char* answer) {
  answer[0] = '\0';
  return Answer(request, size, answer);
}

int ChooseSaveFile(const ChooserRequest& request, int size, char* answer) {
  answer[0] = '\0';
  return Answer(request, size, answer);
}

int ChooseFolder(const ChooserRequest& request, int size, char* answer) {
  return Answer(request, size, answer);
}
