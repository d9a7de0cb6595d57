#!/usr/bin/python3
"""ZvInsertBot as an author uses it, driven from outside through the
accessibility interface (AT-SPI), as a screen reader would: `webhost serve`
offers a web, ZvInsertBot runs on a private X display, its wizard is taken
down the file road to Finish, its question about the player's files is
answered Yes, and then the page holds the component at the insertion point,
the clip is in the web, and the automation calls came in the pass's order.
With --read-only-page the Editor cannot save the page: ZvInsertBot must
say so, take the clip out of the web again and end with status 1.

Run it inside a private session bus:
  dbus-run-session -- /usr/bin/python3 insertbot_atspi_test.py \
      --webhost PATH --insertbot PATH --sound WAV --player-files player/player_files.h
Exit status 0 when every check holds, 1 when one fails, 77 when the
machine lacks Xvfb or pyatspi (the test is then skipped), except under
CI=true, where a missing tool is a failure (1).
"""
import argparse
import os
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import urllib.parse

SKIP = 77
TIME_LIMIT = 120  # seconds for any one wait; the whole road takes a few


def fail(message):
    print("FAILED: " + message, file=sys.stderr)
    sys.exit(1)


class Deadline:
    """Polls a condition until it holds or the time limit passes."""

    describe = staticmethod(lambda: "")
    # True once the program under test has ended: nothing more will show.
    ended = staticmethod(lambda: False)

    @staticmethod
    def wait(condition, what, limit=TIME_LIMIT):
        end = time.monotonic() + limit
        while time.monotonic() < end:
            result = condition()
            if result:
                return result
            if Deadline.ended():
                fail("the program ended while waiting for " + what + "; showing: " + Deadline.describe())
            time.sleep(0.05)
        fail("timed out waiting for " + what + "; showing: " + Deadline.describe())


def missing(tool):
    """A tool this test needs is not installed: skipped, except in CI."""
    if os.environ.get("CI") == "true":
        print("FAILED: " + tool + " is missing; CI must run this test (scripts/install-deps.sh installs it)",
              file=sys.stderr)
        return 1
    print("skipped: no " + tool)
    return SKIP


def read_line(stream, what, limit=TIME_LIMIT):
    """One line from a pipe of bytes, waiting at most `limit` seconds."""
    end = time.monotonic() + limit
    line = b""
    while not line.endswith(b"\n"):
        left = end - time.monotonic()
        if left <= 0 or not select.select([stream], [], [], left)[0]:
            fail("timed out waiting for " + what + "; read so far: " + line.decode(errors="replace"))
        chunk = os.read(stream.fileno(), 1)
        if not chunk:
            break
        line += chunk
    return line.decode(errors="replace")


def player_files(header):
    """The names in kPlayerFiles of player/player_files.h: the player's own
    list of its files, kPlayerScript standing for the script."""
    import re
    with open(header) as source:
        text = source.read()
    script = re.search(r'kPlayerScript\[\] = "([^"]+)"', text)
    files = re.search(r'kPlayerFiles\[\] = \{([^}]*)\}', text)
    if not script or not files:
        fail("no kPlayerScript or kPlayerFiles in " + header)
    names = [name.strip() for name in files.group(1).split(",") if name.strip()]
    return [script.group(1) if name == "kPlayerScript" else name.strip('"') for name in names]


def start_display(log):
    read_end, write_end = os.pipe()
    # -noreset: without it the server resets whenever its last client leaves
    # (the accessibility bus launcher may be the only one for a while), and a
    # program that connects during the reset is refused.
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
                             "-noreset"],
                            pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=log)
    os.close(write_end)
    end = time.monotonic() + TIME_LIMIT
    number = b""
    while not number.endswith(b"\n"):
        left = end - time.monotonic()
        if left <= 0 or not select.select([read_end], [], [], left)[0]:
            fail("Xvfb did not say its display in time")
        chunk = os.read(read_end, 16)
        if not chunk:
            fail("Xvfb did not start")
        number += chunk
    os.close(read_end)
    return xvfb, ":" + number.decode().strip()


def served_calls(serve_log):
    """The automation calls webhost received, as "Explorer 12", in order."""
    serve_log.flush()
    serve_log.seek(0)
    calls = []
    for line in serve_log.read().splitlines():
        if line.startswith("webhost: FrontPage."):  # "webhost: FrontPage.Explorer 12() -> ..."
            _, program, call = line.split(" ", 2)
            calls.append(program.replace("FrontPage.", "") + " " + call.split("(")[0])
    return calls


def check_refused(bot, find, press, page, before, web, serve_log):
    """The Editor refused the player: the author is told, the clip leaves the
    web again, the page stays as it was, and the status is 1."""
    told = find("label", None, lambda name: name.startswith("FrontPage Editor did not insert the audio player"))
    if "taken out of the web again" not in told.name:
        fail("the message does not say the clip was taken out again: " + told.name)
    press("push button", "OK")
    try:
        status = bot.wait(TIME_LIMIT)
    except subprocess.TimeoutExpired:
        fail("ZvInsertBot did not end")
    if status != 1:
        fail(f"ZvInsertBot ended with {status} after the Editor refused the player")
    with open(page, "rb") as source:
        if source.read() != before:
            fail("the read-only page changed")
    clips = [name for name in os.listdir(web) if name.endswith(".zvsa")]
    if clips:
        fail("the clip stayed in the web: " + ", ".join(clips))
    calls = served_calls(serve_log)
    if calls[-2:] != ["Editor 22", "Explorer 30"]:
        fail(f"the clip was not taken out after the refused insert: calls {calls}")
    print("ZvInsertBot told of the refused player and took its clip out again; calls: " + ", ".join(calls))
    return 0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--webhost", required=True)
    parser.add_argument("--insertbot", required=True)
    parser.add_argument("--sound", required=True)
    parser.add_argument("--player-files", required=True, help="player/player_files.h, the player's own list")
    parser.add_argument("--data-folder", required=True,
                        help="the installation's private data folder: the preview images and the player's files")
    parser.add_argument("--read-only-page", action="store_true",
                        help="the page cannot be saved: the Editor refuses the player, and ZvInsertBot must say so, "
                             "take the clip out of the web again and end with status 1")
    args = parser.parse_args()
    args.sound = os.path.abspath(args.sound)

    if not shutil.which("Xvfb"):
        return missing("Xvfb")
    try:
        import pyatspi
    except ImportError:
        return missing("pyatspi")

    work = tempfile.mkdtemp(prefix="zvatspi")
    web = os.path.join(work, "my web")
    os.makedirs(web)
    page = os.path.join(web, "index.htm")
    before = b"<html>\r\n<body>\r\n<h1>Hi</h1>\r\n<!-- player -->\r\n</body>\r\n</html>\r\n"
    with open(page, "wb") as out:
        out.write(before)
    if args.read_only_page:
        os.chmod(page, 0o444)

    env = dict(os.environ)
    env["XDG_CONFIG_HOME"] = os.path.join(work, "config")  # the wizard's settings: fresh ones
    env["XDG_RUNTIME_DIR"] = os.path.join(work, "runtime")
    os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700)
    xvfb_log = open(os.path.join(work, "xvfb.log"), "w+")
    xvfb, display = start_display(xvfb_log)
    env["DISPLAY"] = display
    os.environ["DISPLAY"] = display
    processes = [xvfb]
    try:
        # Services the bus starts (the accessibility registry, which makes the
        # mouse events) need the display too.
        subprocess.run(["dbus-update-activation-environment", "DISPLAY=" + display], check=True)
        # The accessibility bus, started before the program so that it registers.
        subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
                        "org.a11y.Bus.GetAddress"], check=True, stdout=subprocess.DEVNULL)
        serve_log = open(os.path.join(work, "serve.log"), "w+")
        serve = subprocess.Popen([args.webhost, "serve", "--web", web, "--page", "index.htm", "--marker",
                                  "<!-- player -->", "-v"], stdout=subprocess.PIPE, stderr=serve_log)
        processes.append(serve)
        said = read_line(serve.stdout, "webhost serve to say which names it owns")
        if "owns FrontPage.Explorer and FrontPage.Editor" not in said:
            fail("webhost serve did not say which names it owns: " + said)

        bot_env = dict(env, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
        bot = subprocess.Popen([args.insertbot], env=bot_env, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                               text=True)
        processes.append(bot)

        desktop = pyatspi.Registry.getDesktop(0)

        def showing_texts():
            """What the program shows now, to say where a wait got stuck."""
            texts = []
            for app in desktop:
                if app is None or app.name != "ZvInsertBot":
                    continue
                for node in pyatspi.utils.findAllDescendants(
                        app, lambda n: n is not None and n.getState().contains(pyatspi.STATE_SHOWING)
                        and n.getRoleName() in ("label", "dialog", "push button", "alert") and n.name):
                    texts.append(f"{node.getRoleName()} '{node.name}'")
            return "; ".join(texts)

        def describe():
            state = showing_texts()
            if bot.poll() is not None:
                state += f"; ZvInsertBot ended with {bot.returncode}: {bot.stderr.read()}"
            if xvfb.poll() is not None:
                xvfb_log.seek(0)
                state += f"; Xvfb ended with {xvfb.returncode}: {xvfb_log.read()}"
            return state

        Deadline.describe = describe
        Deadline.ended = lambda: bot.poll() is not None

        def find(role, name, matches=None):
            """The showing control of `role` named `name` (or whose name `matches`)."""
            wanted = matches or (lambda n: n == name)

            def search():
                for app in desktop:
                    if app is None or app.name != "ZvInsertBot":
                        continue
                    found = pyatspi.utils.findDescendant(
                        app, lambda n: n is not None and n.getRoleName() == role and n.name and wanted(n.name)
                        and n.getState().contains(pyatspi.STATE_SHOWING))
                    if found:
                        return found
                return None
            return Deadline.wait(search, f"{role} '{name}'")

        def press(role, name):
            find(role, name).queryAction().doAction(0)

        def click(node):
            """A real mouse click on the control's left end (a radio button's indicator)."""
            x, y, width, height = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            pyatspi.Registry.generateMouseEvent(x + min(6, width // 2), y + height // 2, "b1c")

        # Audio input: the file road.
        click(find("radio button", "Specify the source audio file"))
        Deadline.wait(lambda: find("radio button", "Specify the source audio file").getState().contains(
            pyatspi.STATE_CHECKED), "the source file choice")
        find("text", "Source audio file").queryEditableText().setTextContents(args.sound)
        press("push button", "Next >")
        # Compression: the default quality; Next compresses.
        find("list", "Select the compression type")
        press("push button", "Next >")
        # Output: the proposed name.
        find("text", "Specify the name for the compressed audio file")
        press("push button", "Next >")
        # Applet properties: Finish.
        find("label", "Select number of buttons")
        press("push button", "Finish")

        # The player's files are not in the web yet: a question with Yes and No.
        question = Deadline.wait(lambda: next((n for app in desktop if app is not None and app.name == "ZvInsertBot"
                                               for n in [pyatspi.utils.findDescendant(
                                                   app, lambda n: n is not None and n.getRoleName() == "label"
                                                   and n.name.startswith("The player's files (ZvStreamPlayer.js and its decoders) were expected"))]
                                               if n), None), "the question about the player's files")
        if "add the player's files now?" not in question.name:
            fail("unexpected question: " + question.name)
        find("push button", "No")
        press("push button", "Yes")

        if args.read_only_page:
            return check_refused(bot, find, press, page, before, web, serve_log)

        try:
            status = bot.wait(TIME_LIMIT)
        except subprocess.TimeoutExpired:
            fail("ZvInsertBot did not end")
        try:
            out, err = bot.communicate(timeout=TIME_LIMIT)
        except subprocess.TimeoutExpired:
            fail("ZvInsertBot's output did not end")
        if status != 0:
            fail(f"ZvInsertBot ended with {status}: {err}")

        # The page: the component just before the marker, everything else as it was.
        with open(page, "rb") as source:
            after = source.read()
        at = before.index(b"<!-- player -->")
        if not (after.startswith(before[:at]) and after.endswith(before[at:])):
            fail("the page changed outside the insertion point:\n" + after.decode(errors="replace"))
        component = after[at:len(after) - (len(before) - at)]
        lines = component.split(b"\r\n")
        if len(lines) != 17 or lines[-1] != b"" or lines[14] != b"":
            fail("the component is not sixteen lines ending in CR LF:\n" + component.decode(errors="replace"))
        if not lines[0].startswith(b'<p><!--WEBBOT bot="ZvTavelwork" StartSpan PREVIEW="&lt;IMG SRC=&quot;file://'):
            fail("line 1 is not the opening comment: " + lines[0].decode(errors="replace"))
        folder = urllib.parse.quote(os.path.realpath(args.data_folder), safe="/!$()*+,;=:@~")
        image = f'&lt;IMG SRC=&quot;file://{folder}/FPTwoButton.gif&quot; HEIGHT=&quot;32&quot; WIDTH=&quot;64&quot;&gt;'
        if image.encode() not in lines[0]:
            fail("not the two-button preview from the private data folder: " + lines[0].decode(errors="replace"))
        if lines[8] != b'S-CODEBASE="" ':
            fail("a disk-based web keeps the classes beside the page: " + lines[8].decode(errors="replace"))
        clip = lines[13].decode()
        if not (clip.startswith('S-CLIP="') and clip.endswith('.zvsa" -->')):
            fail("no clip line: " + clip)
        clip_name = clip[len('S-CLIP="'):-len('" -->')]
        if not os.path.isfile(os.path.join(web, clip_name)):
            fail("the clip is not in the web: " + clip_name)
        if lines[15] != b'<!--WEBBOT bot="ZvTavelwork" EndSpan --><p>':
            fail("line 16 is not the closing comment: " + lines[15].decode(errors="replace"))

        # The calls, in the order of the pass.
        calls = served_calls(serve_log)
        # Yes added the player's files (every one in the player's own list,
        # as the private data folder holds it) and any class files, one call each.
        program_folder = os.path.realpath(args.data_folder)
        for name in player_files(args.player_files):
            if not os.path.isfile(os.path.join(program_folder, name)):
                fail("the player's file " + name + " was not built into " + program_folder)
            with open(os.path.join(program_folder, name), "rb") as built:
                wanted = built.read()
            try:
                with open(os.path.join(web, name), "rb") as added:
                    if added.read() != wanted:
                        fail("the player's file " + name + " in the web is not the program's")
            except FileNotFoundError:
                fail("the player's file " + name + " was not added to the web")
        class_files = [name for name in os.listdir(program_folder) if name.endswith(".class")]
        added = len(player_files(args.player_files)) + len(class_files)
        expected = (["Explorer 12", "Editor 21", "Explorer 15"] + ["Explorer 3"] * added
                    + ["Explorer 15", "Explorer 3", "Editor 22"])
        if calls != expected:
            fail(f"calls {calls}, expected {expected}")
        print(f"ZvInsertBot put the player for {clip_name} on the page; calls: {', '.join(calls)}")
        return 0
    finally:
        for process in reversed(processes):
            if process.poll() is None:
                process.send_signal(signal.SIGTERM)
                try:
                    process.wait(10)
                except subprocess.TimeoutExpired:
                    process.kill()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
