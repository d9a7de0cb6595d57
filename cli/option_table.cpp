#include "cli/option_table.h"

#include "cli/option_values.h"
#include "platform/ascii_case.h"
#include "player/player_files.h"

namespace zv::cli {

namespace {

namespace defaults = zv::applet_defaults;

constexpr std::int32_t kMaxJobs = 64;
constexpr CommandSet kEncode = commandBit(Command::Encode);
constexpr CommandSet kDecode = commandBit(Command::Decode);
constexpr CommandSet kMarkup = commandBit(Command::Markup);
constexpr CommandSet kPlay = commandBit(Command::Play);

// --- What each command needs besides its options -----------------------------

std::string checkProgram(const Options&) { return "no command given"; }

std::string checkConversion(const Options& options) {
  const char* outputKind = options.command == Command::Encode ? "OUT.zvsa" : "OUT.wav";
  if (options.inputs.empty()) return "no input file given";
  if (!options.output.empty() && !options.outdir.empty()) return "give either -o or --outdir, not both";
  if (options.output.empty() && options.outdir.empty())
    return std::string("give -o ") + outputKind + " or --outdir DIR";
  if (!options.output.empty() && options.inputs.size() > 1)
    return "-o takes one input; use --outdir DIR for several";
  return {};
}

std::string checkInfo(const Options& options) {
  return options.inputs.empty() ? "no stream file given" : "";
}

std::string checkPlay(const Options& options) {
  return options.inputs.empty() ? "no clip given" : "";
}

std::string checkMarkup(const Options& options) {
  if (options.inputs.empty()) return "no clip given";
  if (options.inputs.size() > 1) return "one clip only";
  if (options.inputs.front().empty()) return "the clip name is empty";
  if (options.markup.previewImage && !options.markup.webbot) return "--preview-image needs --webbot";
  if (options.markup.element && options.markup.webbot) return "--element and --webbot exclude each other";
  if (options.markup.playerScript && options.markup.webbot)
    return "--player goes with the markup, not --webbot (publishing adds the player to the page)";
  return {};
}

const CommandEntry kCommands[] = {
    {Command::None, "", "COMMAND [options] FILE...", "",
     "Compress sound into .zvsa stream clips for web pages, and back, and play them.\n"
     "'zvsa COMMAND --help' shows the options of a command.",
     checkProgram},
    {Command::Encode, "encode", "IN... (-o OUT.zvsa | --outdir DIR) [options]",
     "compress sound files into .zvsa stream files",
     "Compress sound files into .zvsa stream files, converted to 8 kHz mono 16-bit\n"
     "on the way: WAV (integer PCM of 1 to 32 bits, float of 32 or 64 bits,\n"
     "WAVE_FORMAT_EXTENSIBLE), AU (.au, .snd: mono 8-bit mu-law or A-law, 8- or\n"
     "16-bit linear), and, recognised by their content, FLAC, Ogg Vorbis, Ogg Opus,\n"
     "MP3, AIFF, AIFF-C, CAF, W64, RF64 and the other formats of libsndfile.",
     checkConversion},
    {Command::Decode, "decode", "IN.zvsa... (-o OUT.wav | --outdir DIR) [options]",
     "decode .zvsa stream files to WAV files",
     "Decode .zvsa stream files to 8 kHz mono 16-bit WAV files.", checkConversion},
    {Command::Info, "info", "IN.zvsa... [options]", "show and check the headers of stream files",
     "Show the header of .zvsa stream files in words, check it, and count the frames.",
     checkInfo},
    {Command::Markup, "markup", "CLIP [options]", "print the applet markup that plays a clip",
     "Prints the APPLET markup that embeds the ZvStreamPlayer applet for CLIP, the\n"
     "clip's URL relative to the page (normally its file name, e.g. hello.zvsa),\n"
     "as the wizard makes it on Finish. Settings not given keep the values of a\n"
     "fresh wizard.",
     checkMarkup},
    {Command::Play, "play", "CLIP.zvsa... [options]", "play stream files on the default speaker",
     "Play .zvsa stream files one after another on the default speaker of the\n"
     "sound server (PulseAudio, or PipeWire's PulseAudio server). On a terminal\n"
     "the clip's elapsed and total time are shown on one line. A clip that\n"
     "cannot be played is reported and the next one played; Ctrl-C stops at\n"
     "once (exit status 130).",
     checkPlay},
};

// --- What the options do --------------------------------------------------------

std::string setOutput(Options& options, const std::string& value) {
  if (value.empty()) return "the output name is empty";
  options.output = value;
  return {};
}

std::string setCodec(Options& options, const std::string& value) {
  options.codecIndex = codecIndexFromName(value);
  if (!options.codecIndex)
    return "unknown codec '" + value + "' (use lowspeech, speech, music or 0..2)";
  return {};
}

std::string setJobs(Options& options, const std::string& value) {
  const auto jobs = parseWholeNumber(value, 1, kMaxJobs);
  if (!jobs)
    return "the number of jobs must be 1.." + std::to_string(kMaxJobs) + ", not '" + value + "'";
  options.jobs = static_cast<unsigned>(*jobs);
  return {};
}

std::string setQuiet(Options& options, const std::string&) {
  options.quiet = true;
  return {};
}

std::string setPlayCount(Options& options, const std::string& value) {
  if (equalsIgnoringCase(value, "continuously") || value == "-1") {
    options.markup.applet.playCount = -1;
    return {};
  }
  return setWholeNumber(options.markup.applet.playCount, value, 1, 32767, "the play count");
}

std::string setWidth(Options& options, const std::string& value) {
  std::int32_t width = 0;
  std::string error = setWholeNumber(width, value, 10, defaults::kLargestDimension, "the width");
  if (error.empty()) {
    options.markup.applet.width = width;
    options.markup.widthGiven = true;
  }
  return error;
}

std::string setTag(Options& options, const std::string& value) {
  if (!equalsIgnoringCase(value, "APPLET") && !equalsIgnoringCase(value, "OBJECT"))
    return "the tag must be APPLET or OBJECT, not '" + value + "'";
  options.markup.applet.tag = value;
  return {};
}

std::string setAlignment(Options& options, const std::string& value) {
  for (const char* allowed : {"", "top", "middle", "bottom", "left", "right"}) {
    if (value == allowed) {
      options.markup.applet.alignment = value;
      return {};
    }
  }
  return "the alignment must be top, middle, bottom, left, right or \"\", not '" + value + "'";
}

std::string quoted(const char* text) { return std::string("\"") + text + "\""; }

const OptionSpec kOptions[] = {
    // encode and decode
    {kConversionCommands, "-o", "--output", "FILE", "the output file (one input only)", nullptr,
     setOutput},
    {kConversionCommands, nullptr, "--outdir", "DIR",
     "write each output in DIR, named after its input", nullptr,
     [](Options& o, const std::string& v) -> std::string {
       if (v.empty()) return "the output folder name is empty";
       o.outdir = v;
       return {};
     }},
    {kEncode, nullptr, "--codec", "CODEC",
     "music (16 kbit/s, 'Highest quality sound'),\n"
     "speech (8 kbit/s, 'Medium quality sound'),\n"
     "lowspeech (4.8 kbit/s, 'Lower quality sound'),\n"
     "or a codec table row 0..2",
     [] { return std::string("music"); }, setCodec},
    {kDecode | kPlay, nullptr, "--codec", "CODEC", "the codec to decode with: lowspeech, speech, music or 0..2",
     [] { return std::string("the one the header's codec identifier names"); }, setCodec},
    {kConversionCommands, "-j", "--jobs", "N", "run up to N files at once, 1 to 64",
     [] { return std::string("1"); }, setJobs},
    {kConversionCommands, "-q", "--quiet", nullptr, "no progress line and no summary", nullptr,
     setQuiet},
    {kPlay, "-q", "--quiet", nullptr, "no time line", nullptr, setQuiet},

    // markup: the applet page's settings
    {kMarkup, nullptr, "--buttons", "N", "player buttons, 1 to 3",
     [] { return std::to_string(defaults::kButtonCount); },
     [](Options& o, const std::string& v) {
       return setWholeNumber(o.markup.applet.buttonCount, v, 1, 3, "the number of buttons");
     }},
    {kMarkup, nullptr, "--autoplay", "0|1", "start playing when the page loads",
     [] { return std::to_string(defaults::kAutoplay); },
     [](Options& o, const std::string& v) {
       return setWholeNumber(o.markup.applet.autoplay, v, 0, 1, "--autoplay");
     }},
    {kMarkup, nullptr, "--visible", "0|1", "show the player (0: size 0, no Buttons line)",
     [] { return std::to_string(defaults::kVisible); },
     [](Options& o, const std::string& v) {
       return setWholeNumber(o.markup.applet.visible, v, 0, 1, "--visible");
     }},
    {kMarkup, nullptr, "--count", "N", "plays, 1 to 32767; -1 or \"continuously\": no end",
     [] { return std::to_string(defaults::kPlayCount); }, setPlayCount},
    {kMarkup, nullptr, "--height", "PIXELS", "applet height, 10 to 32767",
     [] { return std::to_string(defaults::kHeight); },
     [](Options& o, const std::string& v) {
       return setWholeNumber(o.markup.applet.height, v, 10, defaults::kLargestDimension, "the height");
     }},
    {kMarkup, nullptr, "--width", "PIXELS", "applet width, 10 to 32767",
     [] { return std::string("height x buttons, at most 32767"); }, setWidth},
    {kMarkup, nullptr, "--class", "NAME", "applet class", [] { return quoted(defaults::kClassName); },
     [](Options& o, const std::string& v) -> std::string {
       if (v.empty()) return "the applet class must not be empty";
       o.markup.applet.className = v;
       return {};
     }},
    {kMarkup, nullptr, "--codebase", "PATH", "URL path of the class files; \"\" for none",
     [] { return quoted(defaults::kCodebase); },
     [](Options& o, const std::string& v) -> std::string {
       o.markup.applet.codebase = v;
       return {};
     }},
    {kMarkup, nullptr, "--tag", "TAG", "element: APPLET or OBJECT",
     [] { return std::string(defaults::kTag); }, setTag},
    {kMarkup, nullptr, "--align", "ALIGN", "top, middle, bottom, left, right, or \"\" for none",
     [] { return std::string(defaults::kAlignment); }, setAlignment},
    {kMarkup, nullptr, "--body", "TEXT", "text inside the element, for browsers without Java",
     [] { return quoted(defaults::kBodyText); },
     [](Options& o, const std::string& v) -> std::string {
       o.markup.applet.bodyText = v;
       return {};
     }},
    {kMarkup, nullptr, "--attributes", "TEXT", "further attributes, name=value items joined by spaces",
     [] { return std::string(defaults::kOtherAttributes); },
     [](Options& o, const std::string& v) -> std::string {
       o.markup.applet.otherAttributes = v;
       return {};
     }},
    {kMarkup, nullptr, "--crlf", nullptr, "end the markup's lines with CR LF instead of LF", nullptr,
     [](Options& o, const std::string&) -> std::string {
       o.markup.crlf = true;
       return {};
     }},
    {kMarkup, nullptr, "--webbot", nullptr, "print the component's WEBBOT text instead (CR LF lines)",
     nullptr,
     [](Options& o, const std::string&) -> std::string {
       o.markup.webbot = true;
       return {};
     }},
    {kMarkup, nullptr, "--element", nullptr,
     "print the web player's <zv-stream-player> element instead,\n"
     "for pages written by hand (the body text is its fallback)",
     nullptr,
     [](Options& o, const std::string&) -> std::string {
       o.markup.element = true;
       return {};
     }},
    {kMarkup, nullptr, "--preview-image", "URL",
     "with --webbot: the image the editor shows for the component",
     [] { return std::string("file://<zvsa's share/zvtavelworks>/FP<One|Two|Three>Button.gif"); },
     [](Options& o, const std::string& v) -> std::string {
       o.markup.previewImage = v;
       return {};
     }},
    {kMarkup, nullptr, "--player", "URL",
     "after the markup, the <script> element that loads the web\n"
     "player, which plays the clip in browsers without Java: URL\n"
     "of its ZvStreamPlayer.js, or of its folder when it ends in /",
     nullptr,
     [](Options& o, const std::string& v) -> std::string {
       if (v.empty()) return "the player's URL is empty";
       o.markup.playerScript = v.back() == '/' ? player::playerScriptUrl(v) : v;
       return {};
     }},
    {kMarkup, "-o", "--output", "FILE", "write to FILE instead of standard output", nullptr,
     setOutput},

    // every command
    {kEveryCommand, "-h", "--help", nullptr, "show this help", nullptr,
     [](Options& o, const std::string&) -> std::string {
       o.help = true;
       return {};
     }},
    {kEveryCommand, nullptr, "--version", nullptr, "show the version", nullptr,
     [](Options& o, const std::string&) -> std::string {
       o.version = true;
       return {};
     }},
};

}  // namespace

std::span<const CommandEntry> commandTable() { return kCommands; }

const CommandEntry& commandEntry(Command command) {
  for (const CommandEntry& entry : kCommands)
    if (entry.command == command) return entry;
  return kCommands[0];
}

std::span<const OptionSpec> optionTable() { return kOptions; }

}  // namespace zv::cli
