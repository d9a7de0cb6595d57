#include "host/page_parser.h"

#include "host/character_references.h"
#include "platform/ascii_case.h"
#include "webbot/component_attributes.h"

namespace zv::host {

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Elements whose content is text up to their end tag.
constexpr std::string_view kRawTextElements[] = {"script", "style",   "textarea", "title",
                                                 "xmp",    "iframe",  "noembed",  "noframes"};
// An element whose content is text to the end of the page.
constexpr std::string_view kPlainTextElement = "plaintext";

// One WEBBOT comment, as read.
struct WebBotComment {
  std::string bot;
  bool hasBot = false;
  bool startSpan = false;
  bool endSpan = false;
  std::vector<ComponentAttribute> attributes;
};

class PageScanner {
 public:
  explicit PageScanner(std::string_view page) : page_(page) {}

  ParsedPage run() {
    std::size_t pos = 0;
    while (!result_.error) {
      pos = page_.find('<', pos);
      if (pos == std::string_view::npos) break;
      const std::string_view rest = page_.substr(pos);
      if (rest.substr(0, 4) == "<!--") {
        pos = comment(pos);
      } else if (rest.size() > 1 && (rest[1] == '!' || rest[1] == '?')) {
        pos = declaration(pos);
      } else if (rest.size() > 2 && rest[1] == '/' && isLetter(rest[2])) {
        pos = endTag(pos);
      } else if (rest.size() > 1 && isLetter(rest[1])) {
        pos = startTag(pos);
      } else {
        ++pos;  // a '<' that starts nothing is text
      }
    }
    if (!result_.error && open_) {
      fail(open_->startBegin,
           "the StartSpan comment of this ZvTavelwork component has no EndSpan comment after it");
    }
    return std::move(result_);
  }

 private:
  std::size_t fail(std::size_t offset, std::string message) {
    if (!result_.error) result_.error = PageError{offset, std::move(message)};
    return page_.size();
  }

  // "<!--" at `begin`; returns the offset after the comment.
  std::size_t comment(std::size_t begin) {
    const std::size_t dataBegin = begin + 4;
    const std::string_view after = page_.substr(dataBegin);
    if (after.substr(0, 1) == ">") return dataBegin + 1;   // "<!-->"
    if (after.substr(0, 2) == "->") return dataBegin + 2;  // "<!--->"
    std::size_t close = page_.find("--", dataBegin);
    for (;; close = page_.find("--", close + 1)) {
      if (close == std::string_view::npos)
        return fail(begin, "unterminated comment: \"<!--\" without \"-->\"");
      const std::string_view tail = page_.substr(close + 2);
      if (tail.substr(0, 1) == ">" || tail.substr(0, 2) == "!>") break;
    }
    const std::size_t end = close + (page_[close + 2] == '>' ? 3 : 4);
    const std::string_view data = page_.substr(dataBegin, close - dataBegin);
    if (startsWithIgnoringCase(data, "WEBBOT") && data.size() > 6 && isSpace(data[6]))
      webBotComment(begin, end, dataBegin + 6, close);
    return end;
  }

  // "<!" or "<?" not starting a comment: a declaration or processing
  // instruction, up to the next '>'.
  std::size_t declaration(std::size_t begin) {
    const std::size_t close = page_.find('>', begin + 2);
    if (close == std::string_view::npos)
      return fail(begin, "unterminated markup declaration: \"" +
                             std::string(page_.substr(begin, 2)) + "\" without \">\"");
    return close + 1;
  }

  std::size_t endTag(std::size_t begin) {
    const std::size_t close = page_.find('>', begin + 2);
    if (close == std::string_view::npos) return fail(begin, "unterminated end tag");
    return close + 1;
  }

  std::size_t startTag(std::size_t begin) {
    std::size_t pos = begin + 1;
    while (pos < page_.size() && !isSpace(page_[pos]) && page_[pos] != '/' && page_[pos] != '>')
      ++pos;
    std::string name(page_.substr(begin + 1, pos - begin - 1));
    for (char& c : name) c = asciiLower(c);
    const std::string unterminated = "unterminated tag <" + name + ">";

    // Attributes: names up to white space, '/', '>' or '='; values quoted
    // (any character up to the same quote) or up to white space or '>'.
    for (;;) {
      while (pos < page_.size() && (isSpace(page_[pos]) || page_[pos] == '/')) ++pos;
      if (pos >= page_.size()) return fail(begin, unterminated);
      if (page_[pos] == '>') break;
      ++pos;  // the first character of a name may be anything, even '='
      while (pos < page_.size() && !isSpace(page_[pos]) && page_[pos] != '/' &&
             page_[pos] != '>' && page_[pos] != '=')
        ++pos;
      std::size_t look = pos;
      while (look < page_.size() && isSpace(page_[look])) ++look;
      if (look >= page_.size() || page_[look] != '=') continue;
      pos = look + 1;
      while (pos < page_.size() && isSpace(page_[pos])) ++pos;
      if (pos >= page_.size()) return fail(begin, unterminated);
      if (page_[pos] == '"' || page_[pos] == '\'') {
        const std::size_t close = page_.find(page_[pos], pos + 1);
        if (close == std::string_view::npos) return fail(begin, unterminated);
        pos = close + 1;
      } else {
        while (pos < page_.size() && !isSpace(page_[pos]) && page_[pos] != '>') ++pos;
      }
    }
    const std::size_t end = pos + 1;

    if (name == kPlainTextElement) {
      result_.openRawTextElement = name;
      return page_.size();
    }
    for (std::string_view raw : kRawTextElements) {
      if (name == raw) return endOfRawText(end, raw);
    }
    return end;
  }

  // The content of a raw-text element runs to "</name" followed by white
  // space, '/' or '>' (or to the end of the page).
  std::size_t endOfRawText(std::size_t from, std::string_view name) {
    for (std::size_t pos = page_.find("</", from); pos != std::string_view::npos;
         pos = page_.find("</", pos + 2)) {
      const std::size_t after = pos + 2 + name.size();
      if (after <= page_.size() && equalsIgnoringCase(page_.substr(pos + 2, name.size()), name) &&
          (after == page_.size() || isSpace(page_[after]) || page_[after] == '/' ||
           page_[after] == '>'))
        return pos;
    }
    result_.openRawTextElement = std::string(name);
    return page_.size();
  }

  // The text of a WEBBOT comment after "WEBBOT" is [from, to).
  void webBotComment(std::size_t begin, std::size_t end, std::size_t from, std::size_t to) {
    text_end_ = to;
    WebBotComment bot;
    if (!readWebBotAttributes(from, to, bot)) return;
    if (!bot.hasBot) {
      fail(begin, "WEBBOT comment without a bot name");
      return;
    }
    if (!equalsIgnoringCase(bot.bot, webbot::kBotName)) {
      fail(begin, "component of another bot (\"" + bot.bot +
                      "\"); only ZvTavelwork components can be published");
      return;
    }
    if (bot.startSpan == bot.endSpan) {
      fail(begin, bot.startSpan ? "WEBBOT comment is both StartSpan and EndSpan"
                                : "WEBBOT comment is neither StartSpan nor EndSpan");
      return;
    }
    if (bot.startSpan) {
      if (open_) {
        fail(open_->startBegin,
             "the StartSpan comment of this ZvTavelwork component has no EndSpan comment before "
             "the next StartSpan at line " +
                 std::to_string(positionOf(page_, begin).line));
        return;
      }
      open_ = PageComponent{};
      open_->startBegin = begin;
      open_->startEnd = end;
      open_->startTextEnd = text_end_;
      open_->attributes = std::move(bot.attributes);
      return;
    }
    if (!open_) {
      fail(begin, "EndSpan comment without a StartSpan comment before it");
      return;
    }
    open_->endBegin = begin;
    open_->endEnd = end;
    result_.components.push_back(std::move(*open_));
    open_.reset();
  }

  bool readWebBotAttributes(std::size_t pos, std::size_t to, WebBotComment& bot) {
    for (;;) {
      while (pos < to && isSpace(page_[pos])) ++pos;
      if (pos >= to) return true;
      const std::size_t nameBegin = pos;
      while (pos < to && !isSpace(page_[pos]) && page_[pos] != '=') ++pos;
      const std::string name(page_.substr(nameBegin, pos - nameBegin));
      std::size_t look = pos;
      while (look < to && isSpace(page_[look])) ++look;
      if (look >= to || page_[look] != '=') {
        if (name.empty()) {
          fail(nameBegin, "attribute without a name in a WEBBOT comment");
          return false;
        }
        if (equalsIgnoringCase(name, "StartSpan")) bot.startSpan = true;
        if (equalsIgnoringCase(name, "EndSpan")) bot.endSpan = true;
        continue;
      }
      if (name.empty()) {
        fail(nameBegin, "attribute without a name in a WEBBOT comment");
        return false;
      }
      pos = look + 1;
      while (pos < to && isSpace(page_[pos])) ++pos;
      std::string_view raw;
      const std::size_t valueBegin = pos;
      if (pos < to && (page_[pos] == '"' || page_[pos] == '\'')) {
        const std::size_t close = page_.substr(0, to).find(page_[pos], pos + 1);
        if (close == std::string_view::npos) {
          fail(nameBegin, "the value of attribute " + name +
                              " has no closing quote before the end of its WEBBOT comment");
          return false;
        }
        raw = page_.substr(pos + 1, close - pos - 1);
        pos = close + 1;
      } else {
        while (pos < to && !isSpace(page_[pos])) ++pos;
        if (pos == valueBegin) {
          fail(nameBegin, "attribute " + name + " has '=' but no value");
          return false;
        }
        raw = page_.substr(valueBegin, pos - valueBegin);
      }
      if (equalsIgnoringCase(name, "bot")) {
        if (!bot.hasBot) bot.bot = decodeCharacterReferences(raw);
        bot.hasBot = true;
      } else {
        bot.attributes.push_back({name, decodeCharacterReferences(raw), nameBegin, valueBegin, pos});
      }
    }
  }

  std::string_view page_;
  ParsedPage result_;
  std::optional<PageComponent> open_;
  std::size_t text_end_ = 0;  // of the WEBBOT comment being read
};

}  // namespace

bool isRawTextElement(std::string_view name) {
  if (equalsIgnoringCase(name, kPlainTextElement)) return true;
  for (std::string_view raw : kRawTextElements) {
    if (equalsIgnoringCase(name, raw)) return true;
  }
  return false;
}

TextPosition positionOf(std::string_view text, std::size_t offset) {
  TextPosition position{1, 1};
  if (offset > text.size()) offset = text.size();
  for (std::size_t i = 0; i < offset; ++i) {
    if (text[i] == '\n') {
      ++position.line;
      position.column = 1;
    } else {
      ++position.column;
    }
  }
  return position;
}

const ComponentAttribute* PageComponent::find(std::string_view name) const {
  for (const ComponentAttribute& attribute : attributes) {
    if (equalsIgnoringCase(attribute.name, name)) return &attribute;
  }
  return nullptr;
}

ParsedPage parsePage(std::string_view page) { return PageScanner(page).run(); }

}  // namespace zv::host
