// Stand-in file and folder dialogs for unit tests: they answer what the
// test put into StandInChosen.
#include "choosers.h"

#include <algorithm>
#include <string>

#include "choosers_standin.h"

std::string StandInChosen;
ChooserOutcome StandInChooserFails = ChooserChosen;
ChooserRequest StandInChooserRequest;
std::string StandInChooserTitle;
int StandInChooserCalls = 0;

namespace {

ChooserOutcome Answer(const ChooserRequest& request, int size, char* answer) {
  StandInChooserCalls++;
  StandInChooserRequest = request;
  StandInChooserTitle = request.title;
  // The answer may hold zeros (several files): it is copied whole with two
  // more zeros, as far as the buffer holds them, as a dialog that cuts a
  // choice too long for it leaves the buffer filled to its end.
  std::string written = StandInChosen + std::string(2, '\0');
  written.copy(answer, std::min(written.size(), static_cast<size_t>(size)));
  if (StandInChooserFails != ChooserChosen) return StandInChooserFails;
  return StandInChosen.empty() ? ChooserCancelled : ChooserChosen;
}

}  // namespace

ChooserOutcome ChooseFile(const ChooserRequest& request, int size, char* answer) {
  return Answer(request, size, answer);
}

ChooserOutcome ChooseSaveFile(const ChooserRequest& request, int size, char* answer) {
  return Answer(request, size, answer);
}

ChooserOutcome ChooseFolder(const ChooserRequest& request, int size, char* answer) {
  return Answer(request, size, answer);
}
