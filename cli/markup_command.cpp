#include "cli/markup_command.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "platform/module.h"
#include "platform/replacing_file.h"
#include <zv/system_string.h>
#include "webbot/markup/applet_defaults.h"
#include "webbot/markup/applet_markup.h"
#include "webbot/webbot_text.h"

namespace zv::cli {

namespace {

namespace defaults = zv::applet_defaults;

constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

struct MarkupOptions {
  std::int32_t buttonCount = defaults::kButtonCount;
  std::int32_t autoplay = defaults::kAutoplay;
  std::int32_t visible = defaults::kVisible;
  std::int32_t playCount = defaults::kPlayCount;
  std::int32_t height = defaults::kHeight;
  std::optional<std::int32_t> width;  // calculated when not given
  std::string className = defaults::kClassName;
  std::string codebase = defaults::kCodebase;
  std::string tag = defaults::kTag;
  std::string alignment = defaults::kAlignment;
  std::string bodyText = defaults::kBodyText;
  std::string otherAttributes = std::string(defaults::kAltName) + "=" + defaults::kAltValue;
  bool crlf = false;
  bool webbot = false;
  std::optional<std::string> previewImage;
  std::string output;  // empty: standard output
  bool help = false;
  std::string clip;
};

// A decimal integer in [low, high], the whole text and nothing else.
std::optional<std::int32_t> parseInteger(std::string_view text, std::int32_t low,
                                         std::int32_t high) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i == text.size() || text.size() - i > 10) return std::nullopt;
  std::int64_t value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + (text[i] - '0');
  }
  if (negative) value = -value;
  if (value < low || value > high) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

using Apply = std::string (*)(MarkupOptions&, const std::string&);

std::string setInteger(std::int32_t& target, const std::string& value, std::int32_t low,
                       std::int32_t high, const char* what) {
  const std::optional<std::int32_t> number = parseInteger(value, low, high);
  if (!number) {
    return std::string(what) + " must be a whole number from " + std::to_string(low) + " to " +
           std::to_string(high) + ", not '" + value + "'";
  }
  target = *number;
  return {};
}

std::string setFlag(std::int32_t& target, const std::string& value, const char* what) {
  return setInteger(target, value, 0, 1, what);
}

// Each option once: its names, value, help, default, and what it does.
struct OptionSpec {
  const char* longName;
  const char* shortName;  // or nullptr
  const char* valueName;  // nullptr for a switch
  const char* help;
  std::string (*defaultText)();  // nullptr: no default worth showing
  Apply apply;
};

std::string quoted(const char* text) { return std::string("\"") + text + "\""; }

const OptionSpec kOptions[] = {
    {"--buttons", nullptr, "N", "player buttons, 1 to 3",
     [] { return std::to_string(defaults::kButtonCount); },
     [](MarkupOptions& o, const std::string& v) {
       return setInteger(o.buttonCount, v, 1, 3, "the number of buttons");
     }},
    {"--autoplay", nullptr, "0|1", "start playing when the page loads",
     [] { return std::to_string(defaults::kAutoplay); },
     [](MarkupOptions& o, const std::string& v) { return setFlag(o.autoplay, v, "--autoplay"); }},
    {"--visible", nullptr, "0|1", "show the player (0: size 0, no Buttons line)",
     [] { return std::to_string(defaults::kVisible); },
     [](MarkupOptions& o, const std::string& v) { return setFlag(o.visible, v, "--visible"); }},
    {"--count", nullptr, "N", "plays, 1 to 32767; -1 or \"continuously\": no end",
     [] { return std::to_string(defaults::kPlayCount); },
     [](MarkupOptions& o, const std::string& v) -> std::string {
       if (equalsIgnoringCase(v, "continuously") || v == "-1") {
         o.playCount = -1;
         return {};
       }
       return setInteger(o.playCount, v, 1, 32767, "the play count");
     }},
    {"--height", nullptr, "PIXELS", "applet height, 10 to 32767",
     [] { return std::to_string(defaults::kHeight); },
     [](MarkupOptions& o, const std::string& v) {
       return setInteger(o.height, v, 10, defaults::kLargestDimension, "the height");
     }},
    {"--width", nullptr, "PIXELS", "applet width, 10 to 32767",
     [] { return std::string("height x buttons, at most 32767"); },
     [](MarkupOptions& o, const std::string& v) {
       std::int32_t width = 0;
       std::string error = setInteger(width, v, 10, defaults::kLargestDimension, "the width");
       if (error.empty()) o.width = width;
       return error;
     }},
    {"--class", nullptr, "NAME", "applet class",
     [] { return quoted(defaults::kClassName); },
     [](MarkupOptions& o, const std::string& v) -> std::string {
       if (v.empty()) return "the applet class must not be empty";
       o.className = v;
       return {};
     }},
    {"--codebase", nullptr, "PATH", "URL path of the class files; \"\" for none",
     [] { return quoted(defaults::kCodebase); },
     [](MarkupOptions& o, const std::string& v) -> std::string {
       o.codebase = v;
       return {};
     }},
    {"--tag", nullptr, "TAG", "element: APPLET or OBJECT",
     [] { return std::string(defaults::kTag); },
     [](MarkupOptions& o, const std::string& v) -> std::string {
       if (!equalsIgnoringCase(v, "APPLET") && !equalsIgnoringCase(v, "OBJECT"))
         return "the tag must be APPLET or OBJECT, not '" + v + "'";
       o.tag = v;
       return {};
     }},
    {"--align", nullptr, "ALIGN", "top, middle, bottom, left, right, or \"\" for none",
     [] { return std::string(defaults::kAlignment); },
     [](MarkupOptions& o, const std::string& v) -> std::string {
       for (const char* allowed : {"", "top", "middle", "bottom", "left", "right"}) {
         if (v == allowed) {
           o.alignment = v;
           return {};
         }
       }
       return "the alignment must be top, middle, bottom, left, right or \"\", not '" + v + "'";
     }},
    {"--body", nullptr, "TEXT", "text inside the element, for browsers without Java",
     [] { return quoted(defaults::kBodyText); },
     [](MarkupOptions& o, const std::string& v) -> std::string {
       o.bodyText = v;
       return {};
     }},
    {"--attributes", nullptr, "TEXT",
     "further attributes, name=value items joined by spaces",
     [] { return std::string(defaults::kAltName) + "=" + defaults::kAltValue; },
     [](MarkupOptions& o, const std::string& v) -> std::string {
       o.otherAttributes = v;
       return {};
     }},
    {"--crlf", nullptr, nullptr, "end the markup's lines with CR LF instead of LF", nullptr,
     [](MarkupOptions& o, const std::string&) -> std::string {
       o.crlf = true;
       return {};
     }},
    {"--webbot", nullptr, nullptr,
     "print the component's WEBBOT text instead (CR LF lines)",
     nullptr,
     [](MarkupOptions& o, const std::string&) -> std::string {
       o.webbot = true;
       return {};
     }},
    {"--preview-image", nullptr, "URL",
     "with --webbot: the image the editor shows for the component",
     [] { return std::string("file://<zvsa's folder>/FP<One|Two|Three>Button.gif"); },
     [](MarkupOptions& o, const std::string& v) -> std::string {
       o.previewImage = v;
       return {};
     }},
    {"--output", "-o", "FILE", "write to FILE instead of standard output", nullptr,
     [](MarkupOptions& o, const std::string& v) -> std::string {
       if (v.empty()) return "the output name is empty";
       o.output = v;
       return {};
     }},
    {"--help", "-h", nullptr, "show this help", nullptr,
     [](MarkupOptions& o, const std::string&) -> std::string {
       o.help = true;
       return {};
     }},
};

std::string usageText() {
  std::string text =
      "Usage: zvsa markup CLIP [options]\n"
      "\n"
      "Prints the APPLET markup that embeds the ZvStreamPlayer applet for CLIP, the\n"
      "clip's URL relative to the page (normally its file name, e.g. hello.zvsa),\n"
      "as the wizard makes it on Finish. Settings not given keep the values of a\n"
      "fresh wizard.\n"
      "\n"
      "Options:\n";
  for (const OptionSpec& option : kOptions) {
    std::string names = std::string("  ") + (option.shortName ? option.shortName : "   ");
    names += option.shortName ? ", " : " ";
    names += option.longName;
    if (option.valueName) names += std::string(" ") + option.valueName;
    if (names.size() < 28) names.resize(28, ' ');
    else names += "\n" + std::string(28, ' ');
    text += names + option.help;
    if (option.defaultText) text += "\n" + std::string(28, ' ') + "(default: " + option.defaultText() + ")";
    text += '\n';
  }
  return text;
}

const OptionSpec* findOption(const std::string& name) {
  for (const OptionSpec& option : kOptions) {
    if (name == option.longName || (option.shortName && name == option.shortName)) return &option;
  }
  return nullptr;
}

// Parses argv[1..]; returns an error text, or "" when the line is good.
std::string parse(int argc, char** argv, MarkupOptions& options) {
  bool optionsEnded = false;
  std::size_t clips = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
      options.clip = argument;
      ++clips;
      continue;
    }
    if (argument == "--") {
      optionsEnded = true;
      continue;
    }
    std::string name = argument;
    std::optional<std::string> value;
    const std::size_t equals = argument.find('=');
    if (argument.rfind("--", 0) == 0 && equals != std::string::npos) {
      name = argument.substr(0, equals);
      value = argument.substr(equals + 1);
    }
    const OptionSpec* option = findOption(name);
    if (!option) return "unknown option '" + name + "'";
    if (option->valueName && !value) {
      if (i + 1 >= argc) return name + " needs a value (" + option->valueName + ")";
      value = argv[++i];
    }
    if (!option->valueName && value) return name + " takes no value";
    const std::string error = option->apply(options, value.value_or(std::string()));
    if (!error.empty()) return error;
  }
  if (options.help) return {};
  if (clips == 0) return "no clip given";
  if (clips > 1) return "one clip only";
  if (options.clip.empty()) return "the clip name is empty";
  if (options.previewImage && !options.webbot) return "--preview-image needs --webbot";
  return {};
}

// The text the options ask for, or nothing when memory ran out.
std::optional<std::string> buildText(const MarkupOptions& options) {
  AppletSettings settings;
  settings.buttonCount = options.buttonCount;
  settings.autoplay = options.autoplay;
  settings.visible = options.visible;
  settings.playCount = options.playCount;
  settings.height = options.height;
  settings.width =
      options.width.value_or(defaults::calculatedWidth(options.height, options.buttonCount));
  settings.className = options.className.c_str();
  settings.codebase = options.codebase.c_str();
  settings.tag = options.tag.c_str();
  settings.alignment = options.alignment.c_str();
  settings.bodyText = options.bodyText.c_str();
  settings.otherAttributes = options.otherAttributes.c_str();

  if (options.webbot) {
    const std::string image = options.previewImage.value_or(
        "file://" + programFolder() + webbot::PreviewImageName(options.buttonCount));
    return webbot::FormatWebBotText(settings, image, options.clip);
  }
  SystemString markup = nullptr;
  if (!GenerateAppletMarkup(settings, options.clip.c_str(), &markup,
                            options.crlf ? kMarkupLinesEndCrLf : kMarkupLinesEndLf))
    return std::nullopt;
  std::string text(markup, SysStringByteLen(markup));
  SysFreeString(markup);
  return text;
}

bool writeText(const std::string& text, const std::string& path, std::string& why) {
  if (path.empty()) {
    const bool ok = std::fwrite(text.data(), 1, text.size(), stdout) == text.size() &&
                    std::fflush(stdout) == 0;
    if (!ok) why = std::strerror(errno);
    return ok;
  }
  ReplacingFile file;
  if (!file.open(path) ||
      std::fwrite(text.data(), 1, text.size(), file.stream()) != text.size() || !file.commit()) {
    why = std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace

int runMarkupCommand(int argc, char** argv) {
  MarkupOptions options;
  const std::string error = parse(argc, argv, options);
  if (!error.empty()) {
    std::fprintf(stderr, "zvsa markup: %s\nTry 'zvsa markup --help'.\n", error.c_str());
    return kExitUsage;
  }
  if (options.help) {
    const std::string usage = usageText();
    std::fwrite(usage.data(), 1, usage.size(), stdout);
    std::fflush(stdout);
    return kExitSuccess;
  }
  const std::optional<std::string> text = buildText(options);
  if (!text) {
    std::fprintf(stderr, "zvsa markup: out of memory\n");
    return kExitFailure;
  }
  std::string why;
  if (!writeText(*text, options.output, why)) {
    std::fprintf(stderr, "zvsa markup: %s: %s\n",
                 options.output.empty() ? "standard output" : options.output.c_str(), why.c_str());
    return kExitFailure;
  }
  return kExitSuccess;
}

}  // namespace zv::cli
