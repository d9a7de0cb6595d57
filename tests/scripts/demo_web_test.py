"""The demo's web does the main job: scripts/demo-web.sh makes it and prints
the command that serves it; that command, run as printed, serves the page
at the printed address with a player for each of its two clips, the clips
and the player's files, until it is stopped.

Usage: demo_web_test.py DEMO_WEB_SCRIPT BUILD
"""
import os
import shlex
import socket
import subprocess
import sys
import tempfile
import urllib.parse
import urllib.request
from html.parser import HTMLParser

CLIPS = ["welcome-speech.zvsa", "melody-music.zvsa"]


class PageParts(HTMLParser):
    """The Clip values of the page's players and its script sources."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.clips = []
        self.scripts = []

    def handle_starttag(self, tag, attrs):
        values = dict(attrs)
        if tag == "param" and values.get("name") == "Clip":
            self.clips.append(values.get("value"))
        if tag == "script" and values.get("src"):
            self.scripts.append(values["src"])


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def fetch(url):
    with urllib.request.urlopen(url, timeout=30) as reply:
        return reply.status, reply.read()


def main():
    script, build = sys.argv[1], os.path.abspath(sys.argv[2])
    if subprocess.run(["sh", "-c", "command -v sox"], capture_output=True).returncode != 0:
        if os.environ.get("CI") == "true":
            print("sox is missing; scripts/install-deps.sh installs it", file=sys.stderr)
            return 1
        print("skipped: sox is not installed")
        return 77
    problems = []
    with tempfile.TemporaryDirectory() as out:
        port = free_port()
        made = subprocess.run([script, build, out, str(port)], capture_output=True, text=True)
        if made.returncode != 0:
            print(f"demo-web.sh failed ({made.returncode}):\n{made.stdout}{made.stderr}", file=sys.stderr)
            return 1
        lines = made.stdout.splitlines()
        commands = [line.strip() for line in lines if "webhost preview" in line]
        addresses = [word for line in lines for word in line.split() if word.startswith("http://")]
        if len(commands) != 1 or len(addresses) != 1:
            print(f"no one command and one address in:\n{made.stdout}", file=sys.stderr)
            return 1
        site = os.path.join(out, "site")

        server = subprocess.Popen(shlex.split(commands[0]), stdout=subprocess.PIPE,
                                  stderr=subprocess.DEVNULL, text=True)
        try:
            # The server prints its address once it listens.
            served_at = server.stdout.readline().strip()
            if served_at != addresses[0]:
                problems.append(f"the server says {served_at!r}, the demo printed {addresses[0]!r}")
            status, page = fetch(addresses[0])
            with open(os.path.join(site, "index.html"), "rb") as published:
                if page != published.read():
                    problems.append("the page served is not the published index.html")
            parts = PageParts()
            parts.feed(page.decode("utf-8"))
            if parts.clips != CLIPS:
                problems.append(f"the page's players play {parts.clips}, not {CLIPS}")
            if not any(src.endswith("/ZvStreamPlayer.js") for src in parts.scripts):
                problems.append(f"the page loads no web player: {parts.scripts}")
            for reference in parts.clips + parts.scripts:
                url = urllib.parse.urljoin(addresses[0], reference)
                status, body = fetch(url)
                if status != 200 or not body:
                    problems.append(f"{url}: status {status}, {len(body)} bytes")
            for clip in CLIPS:
                _, body = fetch(urllib.parse.urljoin(addresses[0], clip))
                with open(os.path.join(out, "web", clip), "rb") as made_clip:
                    if body != made_clip.read():
                        problems.append(f"{clip} is served with other bytes than the demo made")
                if not body.startswith(b"Z&V Tavelworks Version"):
                    problems.append(f"{clip} is not a stream file: {body[:40]!r}")
            for decoder in ["QV80W.wasm", "QV160MXW.wasm", "QV48W.wasm"]:
                _, body = fetch(urllib.parse.urljoin(addresses[0], "/Java/ZvTavelwork/" + decoder))
                if not body.startswith(b"\0asm"):
                    problems.append(f"{decoder} is not served as WebAssembly")
        finally:
            server.terminate()
            server.wait(timeout=30)
        # webhost preview ends with status 0 when it is stopped.
        if server.returncode != 0:
            problems.append(f"the server ended with status {server.returncode} when stopped")
        outside = [name for name in os.listdir(out) if name not in ("web", "site", "melody.wav")]
        if outside:
            problems.append(f"the demo wrote more than its web: {outside}")
    for problem in problems:
        print(problem, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
