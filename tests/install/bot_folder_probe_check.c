/*
 * bot_folder_probe_check PROBE_LIBRARY
 *
 * Loads the probe library (bot_folder_probe.cpp) from the given path and
 * prints where a component there finds its files, one per line:
 *   program=<insertion program>
 *   images=<preview image folder>
 * Exits 1 when the library or its entries cannot be loaded.
 */
#include <dlfcn.h>
#include <stdio.h>

typedef const char *(*PathFn)(void);

int main(int argc, char **argv) {
  void *library;
  PathFn program;
  PathFn images;
  if (argc != 2) {
    fprintf(stderr, "usage: bot_folder_probe_check PROBE_LIBRARY\n");
    return 2;
  }
  library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    fprintf(stderr, "%s\n", dlerror());
    return 1;
  }
  *(void **)&program = dlsym(library, "zvProbeInsertBotPath");
  *(void **)&images = dlsym(library, "zvProbePreviewImageFolder");
  if (!program || !images) {
    fprintf(stderr, "the probe's entries are missing\n");
    return 1;
  }
  printf("program=%s\nimages=%s\n", program(), images());
  return 0;
}
