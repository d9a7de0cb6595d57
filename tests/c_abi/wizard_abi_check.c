/*
 * wizard_abi_check LIBRARY DRIVER SOURCE_WAV
 *
 * Calls the wizard from plain C, as the insertion program does: loads
 * libZvEncoder.so at run time, binds DoZvEncoder as ordinal 1 of its ordinal
 * table, and calls it without any Qt application of its own (the library
 * makes one for each call). The wizard is operated by the test hand DRIVER
 * (wizard_test_driver.cpp), loaded first; before each call this program
 * tells the hand what to do through ZV_WIZARD_DRIVER_SCRIPT.
 *
 * Checks: loading makes no file; Finish with
 * a gallery clip fills the 80-byte record field by field and reallocates the
 * markup slot; Cancel leaves the slot and the record alone; a null record
 * still gives the markup; a null markup slot gives 12325 with nothing
 * assembled and no file moved; each of these calls leaves nothing in $TMPDIR;
 * a sound file becomes a clip alone in a private folder of its call under
 * $TMPDIR; nothing else is left once the library is unloaded or the program
 * ends.
 * Exits 0 when every check holds; otherwise prints the first failure and
 * exits 1.
 */
#define _XOPEN_SOURCE 700
#define _DEFAULT_SOURCE

#include <dirent.h>
#include <dlfcn.h>
#include <ftw.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <zv/zv_encoder.h>

enum { kMaxWorkingFiles = 16 };

typedef SystemString (*SysAllocStringFn)(const char *);
typedef void (*SysFreeStringFn)(SystemString);
typedef uint32_t (*SysStringByteLenFn)(const char *);

static struct {
  DoZvEncoderFn doZvEncoder;
  SysAllocStringFn allocString;
  SysFreeStringFn freeString;
  SysStringByteLenFn byteLength;
} api;

static char tmpdir[256];

static int fail(const char *format, ...) {
  va_list args;
  va_start(args, format);
  fputs("wizard_abi_check: ", stderr);
  vfprintf(stderr, format, args);
  fputc('\n', stderr);
  va_end(args);
  return 1;
}

static int fileExists(const char *path) {
  struct stat info;
  return stat(path, &info) == 0;
}

static int endsWith(const char *text, const char *tail) {
  size_t a = strlen(text), b = strlen(tail);
  return a >= b && strcmp(text + a - b, tail) == 0;
}

/* The names of the files and folders in $TMPDIR that start with "ZVSA". */
static int workingFiles(char names[][256], int most) {
  int count = 0;
  DIR *folder = opendir(tmpdir);
  if (!folder) return -1;
  for (struct dirent *entry; (entry = readdir(folder)) != NULL;) {
    if (strncmp(entry->d_name, "ZVSA", 4) != 0) continue;
    if (count < most) snprintf(names[count], 256, "%s", entry->d_name);
    ++count;
  }
  closedir(folder);
  return count;
}

static int removeEntry(const char *path, const struct stat *info, int kind, struct FTW *where) {
  (void)info;
  (void)kind;
  (void)where;
  return remove(path);
}

/* The private folder the file road's clip was handed over in, the one
 * thing the library may leave in $TMPDIR. */
static char clipFolder[8192];
static int allCallsChecked;

/* What the library left in $TMPDIR besides the clip's folder: 0 when
 * nothing, else a failure naming the first thing found. */
static int nothingLeftBehind(const char *when) {
  char names[kMaxWorkingFiles][256];
  int count = workingFiles(names, kMaxWorkingFiles);
  for (int i = 0; i < count && i < kMaxWorkingFiles; ++i) {
    char path[8192];
    snprintf(path, sizeof path, "%s/%s", tmpdir, names[i]);
    if (strcmp(path, clipFolder) != 0) return fail("%s: %s was left in %s", when, names[i], tmpdir);
  }
  return count < 0 ? fail("%s: cannot read %s", when, tmpdir) : 0;
}

/* At exit: the library has deleted its working files. On success the
 * temporary folder goes too; after a failure it stays for a look. */
static void checkWorkingFilesGone(void) {
  if (!allCallsChecked) return;
  if (nothingLeftBehind("after the library")) _exit(1);
  nftw(tmpdir, removeEntry, 16, FTW_DEPTH | FTW_PHYS);
  puts("wizard_abi_check: the working files are gone; all checks passed");
}

static int32_t runWizard(const char *script, SystemString *markup, WizardResult *result) {
  setenv("ZV_WIZARD_DRIVER_SCRIPT", script, 1);
  return api.doZvEncoder(0, markup, result);
}

/* The folder part of `path`, in `folder`. */
static void folderOf(const char *path, char *folder, size_t size) {
  snprintf(folder, size, "%s", path);
  char *slash = strrchr(folder, '/');
  if (slash) *slash = '\0';
}

static int isZero(const void *bytes, size_t size) {
  const unsigned char *p = (const unsigned char *)bytes;
  for (size_t i = 0; i < size; ++i)
    if (p[i] != 0) return 0;
  return 1;
}

static void freeRecord(WizardResult *record) {
  SystemString *texts[] = {&record->className, &record->codebase,       &record->tag,
                           &record->alignment, &record->bodyText,       &record->otherAttributes,
                           &record->clipFile};
  for (size_t i = 0; i < sizeof texts / sizeof texts[0]; ++i) {
    api.freeString(*texts[i]);
    *texts[i] = NULL;
  }
}

static int expectText(const char *field, SystemString actual, const char *expected) {
  if (!actual) return fail("%s is NULL, expected \"%s\"", field, expected);
  if (strcmp(actual, expected) != 0) return fail("%s is \"%s\", expected \"%s\"", field, actual, expected);
  if (api.byteLength(actual) != strlen(expected))
    return fail("%s: SysStringByteLen says %u", field, api.byteLength(actual));
  return 0;
}

/* Finish with the first gallery clip; the slot already holds a string. */
static int checkGalleryFinish(void) {
  SystemString markup = api.allocString("earlier markup");
  WizardResult record;
  memset(&record, 0, sizeof record);
  int32_t status = runWizard("gallery-finish", &markup, &record);
  if (status != ZV_WIZARD_FINISHED) return fail("gallery road: DoZvEncoder returned %d", status);
  /* A fresh settings store: the wizard's defaults. */
  if (record.buttonCount != 2) return fail("buttonCount %d", record.buttonCount);
  if (record.autoplay != 0) return fail("autoplay %d", record.autoplay);
  if (record.visible != 1) return fail("visible %d", record.visible);
  if (record.playCount != 1) return fail("playCount %d", record.playCount);
  if (record.height != 32) return fail("height %d", record.height);
  if (record.width != 64) return fail("width %d", record.width);
  if (expectText("className", record.className, "ZvStreamPlayer.class") ||
      expectText("codebase", record.codebase, "/Java/ZvTavelwork") ||
      expectText("tag", record.tag, "APPLET") || expectText("alignment", record.alignment, "middle") ||
      expectText("bodyText", record.bodyText,
                 "This browser is aware of Java applets, but is unable to execute them.") ||
      expectText("otherAttributes", record.otherAttributes,
                 "ALT=\"Java is not available in this browser\""))
    return 1;
  /* The gallery sorts "speech-sample-music" first. */
  if (!record.clipFile || !endsWith(record.clipFile, "/Gallery/speech-sample-music.zvsa"))
    return fail("clipFile \"%s\"", record.clipFile ? record.clipFile : "(null)");
  if (!fileExists(record.clipFile)) return fail("the gallery clip %s does not exist", record.clipFile);
  if (!markup) return fail("no markup");
  if (!strstr(markup, "<PARAM NAME=\"Clip\" VALUE=\"speech-sample-music.zvsa\">\n"))
    return fail("the markup does not name the clip:\n%s", markup);
  if (strncmp(markup, "<APPLET ", 8) != 0 || strchr(markup, '\r'))
    return fail("the markup is not LF-separated APPLET markup:\n%s", markup);
  if (api.byteLength(markup) != strlen(markup)) return fail("markup length mismatch");
  freeRecord(&record);
  api.freeString(markup);
  return 0;
}

static int checkCancel(void) {
  SystemString markup = api.allocString("kept");
  SystemString before = markup;
  WizardResult record;
  memset(&record, 0, sizeof record);
  int32_t status = runWizard("cancel", &markup, &record);
  if (status != ZV_WIZARD_CANCELLED) return fail("cancel: DoZvEncoder returned %d", status);
  if (markup != before || strcmp(markup, "kept") != 0) return fail("cancel changed the markup slot");
  if (!isZero(&record, sizeof record)) return fail("cancel wrote into the record");
  api.freeString(markup);
  return 0;
}

static int checkNullRecord(void) {
  SystemString markup = NULL;
  int32_t status = runWizard("gallery-finish", &markup, NULL);
  if (status != ZV_WIZARD_FINISHED) return fail("null record: DoZvEncoder returned %d", status);
  if (!markup || !strstr(markup, "VALUE=\"speech-sample-music.zvsa\""))
    return fail("null record: no markup for the clip");
  api.freeString(markup);
  return 0;
}

static int checkFileRoad(const char *source, int withMarkup) {
  char script[512], clip[512];
  const char *name = withMarkup ? "cabi-clip" : "cabi-unplaced";
  snprintf(script, sizeof script, "file-finish:%s:%s", name, source);
  snprintf(clip, sizeof clip, "%s/%s.zvsa", tmpdir, name);
  SystemString markup = NULL;
  WizardResult record;
  memset(&record, 0, sizeof record);
  int32_t status = runWizard(script, withMarkup ? &markup : NULL, &record);
  if (status != ZV_WIZARD_FINISHED) return fail("file road: DoZvEncoder returned %d", status);
  if (!withMarkup) {
    /* Nothing assembled and no file touched. */
    if (!isZero(&record, sizeof record)) return fail("null markup slot: the record was filled");
    if (fileExists(clip)) return fail("null markup slot: %s was made", clip);
    return nothingLeftBehind("null markup slot");
  }
  /* The clip lies alone in a private folder of this call, right under
   * $TMPDIR, that nobody else may enter. */
  if (!record.clipFile) return fail("file road: no clip file");
  folderOf(record.clipFile, clipFolder, sizeof clipFolder);
  char parent[8192];
  folderOf(clipFolder, parent, sizeof parent);
  if (strcmp(parent, tmpdir) != 0 || !endsWith(record.clipFile, "/cabi-clip.zvsa"))
    return fail("file road: the clip is \"%s\", not in a folder of its own in %s", record.clipFile, tmpdir);
  struct stat info;
  if (stat(clipFolder, &info) != 0 || (info.st_mode & 0777) != 0700)
    return fail("file road: the clip's folder %s is not private", clipFolder);
  int entries = 0;
  DIR *listing = opendir(clipFolder);
  for (struct dirent *entry; listing && (entry = readdir(listing)) != NULL;)
    if (strcmp(entry->d_name, ".") != 0 && strcmp(entry->d_name, "..") != 0) ++entries;
  if (listing) closedir(listing);
  if (entries != 1) return fail("file road: %d files in the clip's folder, expected the clip alone", entries);
  if (nothingLeftBehind("file road")) return 1;
  snprintf(clip, sizeof clip, "%s", record.clipFile);
  if (stat(clip, &info) != 0 || info.st_size <= 154) return fail("the clip %s is missing or empty", clip);
  if (!markup || !strstr(markup, "VALUE=\"cabi-clip.zvsa\"")) return fail("file road: markup without the clip");
  freeRecord(&record);
  api.freeString(markup);
  return 0;
}

/* The sound file converted and compressed, then Cancel on the output page:
 * the working files, the stream file and the run's folder all go. */
static int checkCancelAfterCompression(const char *source) {
  char script[512];
  snprintf(script, sizeof script, "file-cancel:cabi-cancelled:%s", source);
  SystemString markup = NULL;
  WizardResult record;
  memset(&record, 0, sizeof record);
  int32_t status = runWizard(script, &markup, &record);
  if (status != ZV_WIZARD_CANCELLED) return fail("cancel after compression: DoZvEncoder returned %d", status);
  if (markup || !isZero(&record, sizeof record)) return fail("cancel after compression: a result was handed back");
  return nothingLeftBehind("cancel after compression");
}

/* Two runs finished under the same clip name: each clip is kept in its own
 * folder; the second does not replace the first. */
static int checkSameNameTwice(const char *source) {
  char script[512];
  snprintf(script, sizeof script, "file-finish:cabi-twice:%s", source);
  SystemString markup[2] = {NULL, NULL};
  WizardResult record[2];
  memset(record, 0, sizeof record);
  for (int i = 0; i < 2; ++i)
    if (runWizard(script, &markup[i], &record[i]) != ZV_WIZARD_FINISHED || !record[i].clipFile)
      return fail("same name twice: run %d did not finish with a clip", i + 1);
  struct stat first, second;
  if (strcmp(record[0].clipFile, record[1].clipFile) == 0)
    return fail("same name twice: both runs handed back %s", record[0].clipFile);
  if (stat(record[0].clipFile, &first) != 0 || stat(record[1].clipFile, &second) != 0)
    return fail("same name twice: a clip is missing (%s, %s)", record[0].clipFile, record[1].clipFile);
  if (!endsWith(record[0].clipFile, "/cabi-twice.zvsa") || !endsWith(record[1].clipFile, "/cabi-twice.zvsa"))
    return fail("same name twice: the clips are not named cabi-twice.zvsa");
  for (int i = 0; i < 2; ++i) {
    char folder[8192];
    folderOf(record[i].clipFile, folder, sizeof folder);
    remove(record[i].clipFile);
    if (rmdir(folder) != 0) return fail("same name twice: %s held more than the clip", folder);
    freeRecord(&record[i]);
    api.freeString(markup[i]);
  }
  return 0;
}

int main(int argc, char **argv) {
  if (argc != 4) return fail("usage: wizard_abi_check LIBRARY DRIVER SOURCE_WAV");

  /* A private temporary folder and settings store, set before the library
   * is loaded: its working files are made at load. */
  snprintf(tmpdir, sizeof tmpdir, "%s/zvwizard-abi-XXXXXX", getenv("TMPDIR") ? getenv("TMPDIR") : "/tmp");
  if (!mkdtemp(tmpdir)) return fail("cannot make a temporary folder");
  setenv("TMPDIR", tmpdir, 1);
  char config[300];
  snprintf(config, sizeof config, "%s/config", tmpdir);
  setenv("XDG_CONFIG_HOME", config, 1);

  /* Registered before the library is loaded, so it runs after the
   * library's own clean-up: at dlclose when the library is unloaded then,
   * at exit when it stays loaded (a library that carries Qt does). */
  atexit(checkWorkingFilesGone);

  if (!dlopen(argv[2], RTLD_NOW | RTLD_GLOBAL)) return fail("cannot load the driver: %s", dlerror());
  void *library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (!library) return fail("cannot load %s: %s", argv[1], dlerror());

  if (nothingLeftBehind("after loading")) return 1;

  const ZvOrdinalTable *table = (const ZvOrdinalTable *)dlsym(library, ZV_ORDINAL_TABLE_SYMBOL);
  if (!table || table->count < ZV_DO_ZV_ENCODER_ORDINAL || !table->entries[ZV_DO_ZV_ENCODER_ORDINAL - 1])
    return fail("no ordinal %d", ZV_DO_ZV_ENCODER_ORDINAL);
  api.doZvEncoder = (DoZvEncoderFn)table->entries[ZV_DO_ZV_ENCODER_ORDINAL - 1];
  if ((void *)api.doZvEncoder != dlsym(library, "DoZvEncoder"))
    return fail("ordinal 1 is not DoZvEncoder");
  api.allocString = (SysAllocStringFn)dlsym(library, "SysAllocString");
  api.freeString = (SysFreeStringFn)dlsym(library, "SysFreeString");
  api.byteLength = (SysStringByteLenFn)dlsym(library, "SysStringByteLen");
  if (!api.allocString || !api.freeString || !api.byteLength || !dlsym(library, "SysReAllocString"))
    return fail("the system-string functions are not exported");

  if (checkGalleryFinish() || nothingLeftBehind("gallery road") || checkCancel() ||
      nothingLeftBehind("cancel") || checkNullRecord() || nothingLeftBehind("null record") ||
      checkFileRoad(argv[3], 0) || checkCancelAfterCompression(argv[3]) ||
      checkSameNameTwice(argv[3]) || checkFileRoad(argv[3], 1))
    return 1;
  allCallsChecked = 1;

  if (dlclose(library) != 0) return fail("dlclose: %s", dlerror());
  puts("wizard_abi_check: all calls checked; the working files are checked at exit");
  return 0;
}
