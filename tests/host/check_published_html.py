"""Strict check of a published page, and a listing of its player elements.

Usage: check_published_html.py PAGE

Parses PAGE with the standard library's HTML parser and fails (exit status 1,
reasons on stderr) when a start tag is not well-formed (every attribute value
quoted properly or a plain unquoted token), when text outside script and style
holds a '<' (markup the parser could not read as a tag), when a comment is not
closed, or when APPLET/OBJECT elements are not closed in order or hold PARAM
elements outside them. On success prints one line per APPLET, OBJECT and PARAM
element: the tag name, then each attribute as name=value with the value as a
JSON string (character references decoded), and one line "webbot N" with the
number of WEBBOT comments.
"""
import json
import re
import sys
from html.parser import HTMLParser

NAME = r'[^\s"\'<>/=]+'
VALUE = r'(?:"[^"]*"|\'[^\']*\'|[^\s"\'=<>`]+)'
STRICT_START_TAG = re.compile(
    r'<[A-Za-z][^\s/>]*(?:\s+' + NAME + r'(?:\s*=\s*' + VALUE + r')?)*\s*/?>\Z')


class StrictParser(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.problems = []
        self.lines = []
        self.webbots = 0
        self.players = []

    def where(self):
        line, column = self.getpos()
        return f"{line}:{column + 1}"

    def handle_starttag(self, tag, attrs):
        text = self.get_starttag_text()
        if not STRICT_START_TAG.match(text):
            self.problems.append(f"{self.where()}: malformed start tag {text!r}")
        if tag in ("applet", "object"):
            self.players.append(tag)
        if tag == "param" and not self.players:
            self.problems.append(f"{self.where()}: PARAM outside an APPLET or OBJECT")
        if tag in ("applet", "object", "param"):
            self.lines.append(tag + "".join(
                f" {name}={json.dumps(value)}" for name, value in attrs))

    def handle_startendtag(self, tag, attrs):
        self.handle_starttag(tag, attrs)

    def handle_endtag(self, tag):
        if tag in ("applet", "object"):
            if not self.players or self.players[-1] != tag:
                self.problems.append(f"{self.where()}: </{tag}> does not close the open element")
            else:
                self.players.pop()

    def handle_data(self, data):
        if "<" in data and self.cdata_elem is None:
            self.problems.append(f"{self.where()}: unreadable markup in text {data[:40]!r}")

    def handle_comment(self, data):
        if re.match(r"WEBBOT\s", data, re.IGNORECASE):
            self.webbots += 1


def main():
    with open(sys.argv[1], "rb") as page:
        text = page.read().decode("utf-8")
    parser = StrictParser()
    parser.feed(text)
    if parser.rawdata:
        parser.problems.append("the page ends inside a tag or comment: " + parser.rawdata[:40])
    parser.close()
    if parser.players:
        parser.problems.append("unclosed " + ", ".join(parser.players))
    if parser.problems:
        for problem in parser.problems:
            print(f"{sys.argv[1]}:{problem}", file=sys.stderr)
        return 1
    for line in parser.lines:
        print(line)
    print(f"webbot {parser.webbots}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
