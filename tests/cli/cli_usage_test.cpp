// zvsa's command line: help, version, and exit status 2 with the reason for
// every kind of bad usage.
#include <gtest/gtest.h>

#include "tests/cli/zvsa_run.h"

namespace zv {
namespace {

using test::runZvsa;

TEST(ZvsaUsage, HelpAndVersionGoToStdoutWithStatusZero) {
  const auto help = runZvsa({"--help"});
  EXPECT_EQ(help.exitStatus, 0);
  for (const char* word : {"encode", "decode", "info", "markup", "play", "--version", "Exit status"})
    EXPECT_NE(help.out.find(word), std::string::npos) << word;
  EXPECT_TRUE(help.err.empty());

  const auto encodeHelp = runZvsa({"encode", "--help"});
  EXPECT_EQ(encodeHelp.exitStatus, 0);
  for (const char* word : {"--codec", "--outdir", "-j, --jobs", "-q, --quiet", "AU"})
    EXPECT_NE(encodeHelp.out.find(word), std::string::npos) << word;

  // Each command lists its own options and no other command's.
  const struct {
    std::vector<std::string> arguments;
    std::vector<std::string> listed;
    std::vector<std::string> notListed;
  } helps[] = {
      {{"--help"}, {"-h, --help", "Exit status", "130"}, {"--outdir", "--buttons"}},
      {{"decode", "-h"},
       {"Usage: zvsa decode IN.zvsa...", "--codec CODEC", "header's codec identifier", "--outdir DIR"},
       {"--buttons", "'Highest quality sound'"}},
      {{"info", "--help"}, {"Usage: zvsa info IN.zvsa...", "-h, --help"}, {"--codec", "--jobs"}},
      {{"--help", "markup"}, {"Usage: zvsa markup CLIP", "--buttons N"}, {"--jobs", "--outdir"}},
      {{"play", "--help"},
       {"Usage: zvsa play CLIP.zvsa...", "default speaker", "--codec CODEC", "-q, --quiet", "no time line", "130"},
       {"--outdir", "--jobs", "--buttons"}},
  };
  for (const auto& help : helps) {
    const auto run = runZvsa(help.arguments);
    EXPECT_EQ(run.exitStatus, 0) << help.arguments.front();
    for (const std::string& word : help.listed)
      EXPECT_NE(run.out.find(word), std::string::npos) << help.arguments.front() << ": " << word;
    for (const std::string& word : help.notListed)
      EXPECT_EQ(run.out.find(word), std::string::npos) << help.arguments.front() << ": " << word;
  }

  const auto version = runZvsa({"--version"});
  EXPECT_EQ(version.exitStatus, 0);
  EXPECT_EQ(version.out.rfind("zvsa 1.0", 0), 0u) << version.out;
}

TEST(ZvsaUsage, BadCommandLinesExitWithTwoAndSayWhy) {
  const struct Case {
    std::vector<std::string> arguments;
    std::string reason;
  } cases[] = {
      {{}, "Usage: zvsa"},
      {{"compress", "a.wav"}, "unknown command 'compress'"},
      {{"encode"}, "no input file given"},
      {{"encode", "a.wav"}, "give -o OUT.zvsa or --outdir DIR"},
      {{"decode", "a.zvsa"}, "give -o OUT.wav or --outdir DIR"},
      {{"encode", "a.wav", "b.wav", "-o", "c.zvsa"}, "-o takes one input"},
      {{"encode", "a.wav", "-o", "c.zvsa", "--outdir", "d"}, "either -o or --outdir"},
      {{"encode", "a.wav", "-o"}, "option '-o' needs a value"},
      {{"encode", "a.wav", "-o", "c.zvsa", "--frobnicate"}, "unknown option '--frobnicate'"},
      {{"encode", "a.wav", "-o", "c.zvsa", "--codec", "opus"}, "unknown codec 'opus'"},
      {{"encode", "a.wav", "-o", "c.zvsa", "--codec=7"}, "unknown codec '7'"},
      {{"encode", "a.wav", "-o", "c.zvsa", "-j", "0"}, "number of jobs must be 1..64"},
      {{"encode", "a.wav", "-o", "c.zvsa", "-jx"}, "not 'x'"},
      {{"encode", "a.wav", "-o", "c.zvsa", "--jobs=65"}, "not '65'"},
      {{"info"}, "no stream file given"},
      {{"info", "a.zvsa", "--codec", "music"}, "for encode, decode and play only"},
      {{"info", "a.zvsa", "-q"}, "option '-q' is for encode, decode and play only"},
      {{"play"}, "zvsa play: no clip given"},
      {{"play", "a.zvsa", "--outdir", "d"}, "option '--outdir' is for encode and decode only"},
      {{"play", "a.zvsa", "--codec", "opus"}, "unknown codec 'opus'"},
      {{"-o", "c.zvsa", "encode", "a.wav"}, "option '-o' is for encode, decode and markup only"},
      {{"encode", "a.wav", "-o", "c.zvsa", "--quiet=yes"}, "option '--quiet' takes no value"},
      {{"markup"}, "zvsa markup: no clip given"},
      {{"encode", "dir1/a.wav", "dir2/a.au", "--outdir", "out"}, "would both write 'out/a.zvsa'"},
      {{"encode", "same.zvsa", "-o", "same.zvsa"}, "would overwrite its input"},
  };
  for (const Case& c : cases) {
    const auto run = runZvsa(c.arguments);
    std::string shown;
    for (const auto& a : c.arguments) shown += a + " ";
    EXPECT_EQ(run.exitStatus, 2) << shown << run.err;
    EXPECT_NE(run.err.find(c.reason), std::string::npos) << shown << "\n" << run.err;
    EXPECT_TRUE(run.out.empty()) << shown;
  }
}

}  // namespace
}  // namespace zv
