// Which road zvwizard takes after Finish: the terminal's (the clip into the
// -o folder, the markup on standard output, a question on the terminal
// before a file is replaced) or the windows' (window_finish.h).
//
// The windows' road is for a program started from the desktop's menu, where
// nobody sits at a terminal: such a program gets its standard input from
// /dev/null and its standard output in a log or the journal. So zvwizard
// takes it when neither standard input nor standard output is a terminal.
// One of them being a terminal means a person is there: "zvwizard >
// page.html" still asks on the terminal, "echo | zvwizard" still shows the
// markup there. --window and --terminal choose the road outright (for the
// desktop entry, scripts and tests).
#ifndef ZV_WIZARD_ZVWIZARD_FINISH_ROAD_H
#define ZV_WIZARD_ZVWIZARD_FINISH_ROAD_H

#include <optional>

namespace zv {

enum class FinishRoad { Terminal, Window };

FinishRoad chooseFinishRoad(std::optional<FinishRoad> chosenOnCommandLine, bool inputIsTerminal,
                            bool outputIsTerminal);

// The same for this process, from its standard input and output.
FinishRoad chooseFinishRoadForThisProcess(std::optional<FinishRoad> chosenOnCommandLine);

}  // namespace zv

#endif  // ZV_WIZARD_ZVWIZARD_FINISH_ROAD_H
