// zvsa: the command-line face of the encoding engine.
#include "cli/zvsa_main.h"

int main(int argc, char** argv) { return zv::cli::zvsaMain(argc, argv); }
