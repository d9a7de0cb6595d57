// Finds the ZvTavelwork components of a page.
//
// A component is a StartSpan WEBBOT comment with its attributes, the span
// that follows it, and the EndSpan WEBBOT comment that closes the span:
//
//   <!--WEBBOT bot="ZvTavelwork" StartSpan PREVIEW="..." I-NUMBUTTONS="2" ... -->
//   ...span: empty, or the markup of an earlier publication...
//   <!--WEBBOT bot="ZvTavelwork" EndSpan -->
//
// The page is read the way a browser tokenizes HTML, as far as finding
// comments needs: text, start and end tags (quoted attribute values may hold
// '<' and '>'), comments (ending at the first "-->" or "--!>"; "<!-->" and
// "<!--->" are empty comments), declarations and processing instructions;
// the content of script, style, textarea, title, xmp, iframe, noembed and
// noframes elements is text, so a "<!--" inside a script is not a comment.
// A comment is a WEBBOT comment when its text begins with "WEBBOT" (any
// letter case) and white space.
//
// Inside a WEBBOT comment, attributes are NAME="value", NAME='value' or
// NAME=value, separated by white space; the bare words StartSpan and EndSpan
// say which comment it is; other bare words are ignored. Values are HTML
// attribute values: their character references are decoded here.
#ifndef ZV_HOST_PAGE_PARSER_H
#define ZV_HOST_PAGE_PARSER_H

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zv::host {

// 1-based line and column of a byte offset; lines end at LF, columns count
// bytes.
struct TextPosition {
  std::size_t line;
  std::size_t column;
};
TextPosition positionOf(std::string_view text, std::size_t offset);

struct ComponentAttribute {
  std::string name;    // as written in the page
  std::string value;   // character references decoded
  std::size_t offset;  // byte offset of the name in the page
  // The value as written, quotes included: [valueBegin, valueEnd) of the
  // page, what an editor replaces to change the value.
  std::size_t valueBegin = 0;
  std::size_t valueEnd = 0;
};

struct PageComponent {
  std::size_t startBegin = 0;  // "<!--" of the StartSpan comment
  std::size_t startEnd = 0;    // just after its "-->": the span begins here
  std::size_t endBegin = 0;    // "<!--" of the EndSpan comment: the span ends here
  std::size_t endEnd = 0;      // just after the EndSpan comment
  std::size_t startTextEnd = 0;  // end of the StartSpan comment's text, where its "-->" begins
  // The StartSpan comment's attributes in page order, without "bot".
  std::vector<ComponentAttribute> attributes;

  // The first attribute of that name (ASCII letter case ignored, as HTML
  // does), or null.
  const ComponentAttribute* find(std::string_view name) const;
};

struct PageError {
  std::size_t offset;   // where the offending construct begins
  std::string message;  // one line, no position
};

struct ParsedPage {
  std::vector<PageComponent> components;  // in page order
  std::optional<PageError> error;         // the first error; components are then incomplete
  // The page ends inside the content of a raw-text element (a script without
  // its end tag, or plaintext): a browser takes all the rest as that text.
  std::optional<std::string> openRawTextElement;
};

// Errors: an unterminated comment, tag or declaration; a WEBBOT comment
// without a bot name, of another bot, with neither or both of StartSpan and
// EndSpan, or with a malformed attribute; a StartSpan without its EndSpan
// (another StartSpan or the end of the page comes first); an EndSpan without
// a StartSpan.
ParsedPage parsePage(std::string_view page);

// Whether an element's content is read as text up to its end tag (script,
// style, textarea, title, xmp, iframe, noembed, noframes) or to the end of
// the page (plaintext); `name` in any letter case.
bool isRawTextElement(std::string_view name);

}  // namespace zv::host

#endif  // ZV_HOST_PAGE_PARSER_H
