"""A clip of any name, put on a page the way the insertion program puts it,
is found by a browser: the page is served by `webhost preview`, read by
Python's HTML parser, its Clip value resolved against the page's URL as a
browser resolves it, and that URL fetched from the same server.

Usage: clip_found_by_browser_test.py ZVSA WEBHOST
"""
import os
import subprocess
import sys
import tempfile
import urllib.parse
import urllib.request
from html.parser import HTMLParser

NAMES = [
    'it\'s "my" clip.zvsa',
    "#1 50% ?.zvsa",
    "Gr\u00fc\u00dfe \u00f0\u00e6.zvsa",
    "<b>&amp; co.zvsa",
    "a:b;c=d+e.zvsa",
]


class ClipValues(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.values = []

    def handle_starttag(self, tag, attrs):
        values = dict(attrs)
        if tag == "param" and values.get("name") == "Clip":
            self.values.append(values.get("value"))


def main():
    zvsa, webhost = sys.argv[1], sys.argv[2]
    problems = []
    with tempfile.TemporaryDirectory() as folder:
        web = os.path.join(folder, "my web")
        pages = os.path.join(web, "sub dir")
        os.makedirs(pages)
        for index, name in enumerate(NAMES):
            with open(os.path.join(pages, name), "wb") as clip:
                clip.write(b"clip %d" % index)
            # The reference the insertion program writes: every byte but
            # letters, digits and -._~ percent-encoded.
            reference = urllib.parse.quote(name, safe="-._~")
            webbot = subprocess.run([zvsa, "markup", reference, "--webbot"], check=True,
                                    capture_output=True).stdout.decode()
            with open(os.path.join(pages, "page%d.htm" % index), "w", encoding="utf-8") as page:
                page.write("<html><body>\n" + webbot + "</body></html>\n")
        server = subprocess.Popen([webhost, "preview", web], stdout=subprocess.PIPE,
                                  stderr=subprocess.DEVNULL)
        try:
            base = server.stdout.readline().decode().strip()
            for index, name in enumerate(NAMES):
                page_url = base + "sub%20dir/page" + str(index) + ".htm"
                html = urllib.request.urlopen(page_url, timeout=30).read().decode()
                parser = ClipValues()
                parser.feed(html)
                if len(parser.values) != 1:
                    problems.append(f"{name!r}: {len(parser.values)} Clip values in\n{html}")
                    continue
                clip_url = urllib.parse.urljoin(page_url, parser.values[0])
                try:
                    body = urllib.request.urlopen(clip_url, timeout=30).read()
                except OSError as error:
                    problems.append(f"{name!r}: {clip_url} not found: {error}")
                    continue
                if body != b"clip %d" % index:
                    problems.append(f"{name!r}: {clip_url} gave {body!r}")
        finally:
            server.terminate()
            server.wait(timeout=30)
    for problem in problems:
        print(problem, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
