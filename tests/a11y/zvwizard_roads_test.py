"""zvwizard operated from outside through the accessibility interface, as a
screen reader user would: every control found by its role and its label and
operated through its accessibility actions (on the keyboard road, by keys
alone), on a sound file the wizard has never seen. The clip it writes and
the markup it prints are compared with what zvsa makes of the same file and
settings.

Run by run_under_display.sh with ZVWIZARD, ZVSA and ZV_GALLERY (the gallery
folder beside the wizard library) in the environment; each test method is
one road (name it on the command line to run only that one).
"""

import math
import os
import random
import shutil
import struct
import subprocess
import tempfile
import unittest
import wave

import atspi_driver
from atspi_driver import (Program, click_at_centre, is_checked, is_focused, is_selected, key,
                          next_control, read_text, type_text, wait_until)

ZVWIZARD = os.environ["ZVWIZARD"]
ZVSA = os.environ["ZVSA"]
GALLERY = os.environ["ZV_GALLERY"]

# Generous: the compression runs while the test waits, on a machine that may
# be busy with other tests.
COMPRESSION_TIMEOUT = 120

BUTTON_CHOICES = {1: "One button", 2: "Two buttons", 3: "Three buttons"}

# Where a byte of a stream file lies: the fields of its 154-byte header
# (encoder/stream_header.h), then the coded frames.
HEADER_FIELDS = [(0, "banner"), (128, "codec tag"), (130, "encoder version"),
                 (134, "codec version"), (138, "sample count"), (142, "sample rate"),
                 (146, "data bytes"), (150, "check word"), (154, "coded frames")]


def write_test_sound(path, seconds=1.5, rate=22050):
    """A stereo 16-bit WAV at a rate the wizard must convert: a chord that
    glides, with a little seeded noise, different in the two channels."""
    noise = random.Random(20261210)
    frames = bytearray()
    for i in range(int(seconds * rate)):
        t = i / rate
        left = 0.3 * math.sin(2 * math.pi * (330 + 60 * t) * t) + 0.02 * noise.uniform(-1, 1)
        right = 0.25 * math.sin(2 * math.pi * 495 * t) + 0.1 * math.sin(2 * math.pi * 120 * t)
        frames += struct.pack("<hh", int(left * 32767), int(right * 32767))
    with wave.open(path, "wb") as out:
        out.setnchannels(2)
        out.setsampwidth(2)
        out.setframerate(rate)
        out.writeframes(bytes(frames))


def where_in_stream(offset):
    field = HEADER_FIELDS[0][1]
    for start, name in HEADER_FIELDS:
        if offset >= start:
            field = name
    return field


class ZvWizardRoadsTest(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="zvwizard-a11y.")
        self.out = os.path.join(self.work, "out")
        os.mkdir(self.out)

    def tearDown(self):
        shutil.rmtree(self.work)

    # -- helpers -----------------------------------------------------------

    def zvsa(self, *args):
        run = subprocess.run([ZVSA, *args], capture_output=True, text=True, cwd=self.work)
        self.assertEqual(run.returncode, 0, "zvsa %s: %s" % (" ".join(args), run.stderr))
        return run.stdout

    def start_wizard(self):
        return Program([ZVWIZARD, "--terminal", "-o", self.out], cwd=self.work)

    def set_applet_attributes(self, wizard, buttons, autoplay, visible, count):
        wizard.find("label", "Applet Attributes")
        wizard.choose("combo box", "&Select number of buttons", BUTTON_CHOICES[buttons])
        wizard.check("check box", "&Autoplay", autoplay)
        wizard.check("check box", "&Visible", visible)
        if count == "continuously":
            wizard.check("radio button", "&Continuously")
        else:
            wizard.check("radio button", "&Play")
            wizard.set_text("Play count", str(count))

    def expected_markup(self, clip_name, buttons, autoplay, visible, count):
        return self.zvsa("markup", clip_name, "--buttons", str(buttons),
                         "--autoplay", str(int(autoplay)), "--visible", str(int(visible)),
                         "--count", str(count))

    def finish(self, wizard):
        """Finish, and the markup zvwizard printed."""
        wizard.press("push button", "&Finish")
        status = wizard.wait_exit()
        self.assertEqual(status, 0, "zvwizard ended with %d: %s" % (status, wizard.stderr))
        return wizard.stdout

    def assertSameStream(self, made, expected):
        """The clip is zvsa's byte for byte. The stream header holds no time
        stamp or other field that may differ between two runs, so every byte
        counts; a differing header field is named (a codec tag that differs
        means the wizard compressed with another codec than the one chosen)."""
        with open(made, "rb") as f:
            got = f.read()
        with open(expected, "rb") as f:
            want = f.read()
        if got == want:
            return
        first = next((i for i, (a, b) in enumerate(zip(got, want)) if a != b), min(len(got), len(want)))
        detail = ""
        if len(got) >= 154 and len(want) >= 154:
            fields = "<128sHIIIIII"
            names = [name for _, name in HEADER_FIELDS[:-1]]
            for name, a, b in zip(names, struct.unpack(fields, got[:154]), struct.unpack(fields, want[:154])):
                if a != b:
                    detail += "\n  %s: %r, zvsa's %r" % (name, a, b)
        self.fail("%s (%d bytes) differs from zvsa's %s (%d bytes) first at byte %d (%s)%s"
                  % (made, len(got), expected, len(want), first, where_in_stream(first), detail))

    def assertOnlyFiles(self, folder, names):
        self.assertEqual(sorted(os.listdir(folder)), sorted(names))

    # -- the roads ---------------------------------------------------------

    def go_file_road(self, codec_choice, codec, clip_stem):
        sound = os.path.join(self.work, "glide.wav")
        write_test_sound(sound)
        settings = dict(buttons=3, autoplay=True, visible=True, count=3)
        with self.start_wizard() as wizard:
            wizard.window("Wizard")
            wizard.find("label", "Audio Input")
            wizard.check("radio button", "&Specify the source audio file")
            wizard.set_text("Source audio file", sound)
            wizard.press("push button", "&Next >")

            wizard.find("label", "Compression Algorithms")
            codecs = wizard.find("list", "&Select the compression type", enabled=True)
            description = wizard.find("text", "&Description")
            described = read_text(description)
            already_chosen = any(item.name == codec_choice and is_selected(item) for item in codecs)
            wizard.choose_in(codecs, codec_choice)
            if not already_chosen:
                # The page must follow the selection, not only the keyboard's
                # current row: its description is the first sign of that.
                wait_until(lambda: read_text(description) != described,
                           "the description to follow the selection of %r; it still reads %r"
                           % (codec_choice, described), explain=wizard.screen)
            wizard.press("push button", "&Next >")

            # The compression runs behind its progress dialog; the output
            # page follows when it has finished.
            wizard.find("label", "Compressed Audio File Output", timeout=COMPRESSION_TIMEOUT)
            wizard.set_text("&Specify the name for the compressed audio file", clip_stem)
            wizard.press("push button", "&Next >")

            self.set_applet_attributes(wizard, **settings)
            markup = self.finish(wizard)

        clip_name = clip_stem + ".zvsa"
        self.assertOnlyFiles(self.out, [clip_name])
        reference = os.path.join(self.work, "zvsa-" + clip_name)
        self.zvsa("encode", sound, "--codec", codec, "-q", "-o", reference)
        self.assertSameStream(os.path.join(self.out, clip_name), reference)
        self.assertEqual(markup, self.expected_markup(clip_name, **settings))

    def test_file_road_music_codec(self):
        self.go_file_road("Highest quality sound", "music", "glide-music")

    def test_file_road_speech_codec(self):
        self.go_file_road("Medium quality sound", "speech", "glide-speech")

    def test_keyboard_road(self):
        """The file road with the keyboard alone: mnemonics, Tab, the arrow
        keys and the default button, each key's effect read back through the
        accessibility interface before the next key."""
        sound = os.path.join(self.work, "keys.wav")
        write_test_sound(sound, seconds=1.0)
        clip_name = "keyboard.zvsa"

        def focus_window(page_title):
            # Without a window manager nothing gives a window the keyboard
            # (at the start, or back after the progress dialog): a click on
            # the page's title does, as it would for a user.
            click_at_centre(wizard.find("label", page_title))

        def wait_for(condition, what):
            wait_until(condition, what, explain=wizard.screen)

        with self.start_wizard() as wizard:
            wizard.window("Wizard")
            focus_window("Audio Input")
            key("alt+s")
            choice = wizard.find("radio button", "Specify the source audio file")
            wait_for(lambda: is_checked(choice), "Alt+S to choose 'Specify the source audio file'")
            path = wizard.find("text", "Source audio file", enabled=True)
            key("Tab")
            wait_for(lambda: is_focused(path), "Tab to reach the source file field")
            type_text(sound)
            wait_for(lambda: read_text(path) == sound, "the path typed into the field")
            key("alt+n")

            # The source is converted under a progress dialog of its own.
            codecs = wizard.find("list", "Select the compression type")
            focus_window("Compression Algorithms")
            key("alt+s")
            wait_for(lambda: is_focused(codecs) or any(is_focused(item) for item in codecs),
                     "Alt+S to reach the compression list")
            # The first row, the lower-quality codec, is the choice to begin with.
            key("Down")
            wait_for(lambda: any(is_selected(item) and item.name == "Medium quality sound"
                                 for item in codecs),
                     "Down to move from 'Lower quality sound' to 'Medium quality sound'")
            key("Down")
            wait_for(lambda: any(is_selected(item) and item.name == "Highest quality sound"
                                 for item in codecs),
                     "Down to move from 'Medium quality sound' to 'Highest quality sound'")
            key("alt+n")

            wizard.find("label", "Compressed Audio File Output", timeout=COMPRESSION_TIMEOUT)
            focus_window("Compressed Audio File Output")
            name = wizard.find("text", "Specify the name for the compressed audio file")
            key("alt+s")
            wait_for(lambda: is_focused(name), "Alt+S to reach the name field")
            key("ctrl+a")
            type_text("keyboard")
            wait_for(lambda: read_text(name) == "keyboard", "the name typed over the proposed one")
            key("alt+n")

            wizard.find("label", "Applet Attributes")
            key("Return")  # Finish is the last page's default button
            status = wizard.wait_exit()
            self.assertEqual(status, 0, "zvwizard ended with %d: %s" % (status, wizard.stderr))
            markup = wizard.stdout

        self.assertOnlyFiles(self.out, [clip_name])
        reference = os.path.join(self.work, "zvsa-" + clip_name)
        self.zvsa("encode", sound, "--codec", "music", "-q", "-o", reference)
        self.assertSameStream(os.path.join(self.out, clip_name), reference)
        self.assertEqual(markup, self.zvsa("markup", clip_name))

    def test_gallery_road(self):
        clip_name = "speech-sample-speech.zvsa"
        settings = dict(buttons=1, autoplay=False, visible=False, count="continuously")
        with self.start_wizard() as wizard:
            wizard.window("Wizard")
            wizard.find("label", "Audio Input")
            choice = wizard.check("radio button", "Select &previously compressed file")
            # The gallery list has no label of its own: it is the combo box
            # under its radio button.
            gallery = next_control(wizard, choice, "combo box")
            wizard.choose_in(gallery, "speech-sample-speech")
            wizard.press("push button", "&Next >")

            self.set_applet_attributes(wizard, **settings)
            markup = self.finish(wizard)

        self.assertOnlyFiles(self.out, [clip_name])
        self.assertSameStream(os.path.join(self.out, clip_name), os.path.join(GALLERY, clip_name))
        self.assertEqual(markup, self.expected_markup(clip_name, **settings))

    def test_advanced_attributes_road(self):
        """The gallery road with the Advanced Applet Attributes sheet: width
        set by hand after "Calculate width" is cleared, the height, the
        alignment and the element chosen, all through their accessibility
        actions."""
        clip_name = "speech-sample-music.zvsa"
        with self.start_wizard() as wizard:
            wizard.window("Wizard")
            wizard.find("label", "Audio Input")
            wizard.check("radio button", "Select &previously compressed file")
            wizard.press("push button", "&Next >")
            wizard.find("label", "Applet Attributes")

            before = wizard.windows()
            wizard.press("push button", "A&dvanced Applet Attributes")
            sheet = wizard.new_window(before)
            wizard.check("check box", "&Calculate width", False, within=sheet)
            wizard.set_text("Width", "200", within=sheet)
            wizard.set_text("Height", "40", within=sheet)
            wizard.choose("combo box", "Alignment", "left", within=sheet)
            wizard.choose("combo box", "HTML tag", "OBJECT", within=sheet)
            wizard.press("push button", "OK", within=sheet)
            wizard.wait_window_closed(sheet)
            markup = self.finish(wizard)

        self.assertOnlyFiles(self.out, [clip_name])
        self.assertSameStream(os.path.join(self.out, clip_name), os.path.join(GALLERY, clip_name))
        self.assertEqual(markup, self.zvsa("markup", clip_name, "--width", "200", "--height", "40",
                                           "--align", "left", "--tag", "OBJECT"))


if __name__ == "__main__":
    atspi_driver.run_tests()
