#include "wizard/zvwizard/finish_road.h"

#include <unistd.h>

namespace zv {

FinishRoad chooseFinishRoad(std::optional<FinishRoad> chosenOnCommandLine, bool inputIsTerminal,
                            bool outputIsTerminal) {
  if (chosenOnCommandLine) return *chosenOnCommandLine;
  return inputIsTerminal || outputIsTerminal ? FinishRoad::Terminal : FinishRoad::Window;
}

FinishRoad chooseFinishRoadForThisProcess(std::optional<FinishRoad> chosenOnCommandLine) {
  return chooseFinishRoad(chosenOnCommandLine, ::isatty(STDIN_FILENO) == 1, ::isatty(STDOUT_FILENO) == 1);
}

}  // namespace zv
