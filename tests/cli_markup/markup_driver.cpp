// A stand-alone front for `zvsa markup`: "zv_markup_driver ARGS" runs the
// command as "zvsa markup ARGS" would, without the rest of zvsa.
#include "cli/markup_command.h"

int main(int argc, char** argv) {
  char command[] = "markup";
  argv[0] = command;
  return zv::cli::runMarkupCommand(argc, argv);
}
