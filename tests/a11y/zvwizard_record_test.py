"""zvwizard's record road through the accessibility interface, on a private
PulseAudio server whose microphone hears its speaker: a tone played into
the speaker is recorded on the Record Voice page (Record, Stop), compressed,
named and finished; the clip, decoded by zvsa, holds the tone.

Run by run_with_private_pulse.sh around run_under_display.sh, with ZVWIZARD,
ZVSA and PULSE_SERVER in the environment.
"""

import math
import os
import shutil
import struct
import subprocess
import tempfile
import unittest
import wave

import atspi_driver
from atspi_driver import Program

ZVWIZARD = os.environ["ZVWIZARD"]
ZVSA = os.environ["ZVSA"]

TONE_HZ = 440


def write_tone(path, seconds=5.0, rate=8000):
    """A steady tone, long enough to outlast the second or two a sound
    source may take to start delivering."""
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(rate)
        out.writeframes(b"".join(struct.pack("<h", int(12000 * math.sin(2 * math.pi * TONE_HZ * i / rate)))
                                 for i in range(int(seconds * rate))))


def level_at(samples, rate, hz):
    """The amplitude of the `hz` component of `samples` (Goertzel)."""
    coefficient = 2 * math.cos(2 * math.pi * hz / rate)
    previous = before = 0.0
    for sample in samples:
        previous, before = sample + coefficient * previous - before, previous
    power = previous * previous + before * before - coefficient * previous * before
    return math.sqrt(max(power, 0.0)) / max(len(samples), 1)


class ZvWizardRecordTest(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="zvwizard-record.")
        self.out = os.path.join(self.work, "out")
        os.mkdir(self.out)

    def tearDown(self):
        shutil.rmtree(self.work)

    def test_a_recorded_tone_reaches_the_clip(self):
        tone = os.path.join(self.work, "tone.wav")
        write_tone(tone)
        with Program([ZVWIZARD, "-o", self.out], cwd=self.work) as wizard:
            wizard.window("Wizard")
            wizard.check("radio button", "&Quick voice recording")
            wizard.press("push button", "&Next >")
            wizard.find("label", "Record Voice")

            speaker = subprocess.Popen(["paplay", tone])
            try:
                wizard.press("push button", "Record")
                wizard.find("push button", "Stop", enabled=True)
                self.assertEqual(speaker.wait(timeout=30), 0, "paplay could not play the tone")
            finally:
                if speaker.poll() is None:
                    speaker.kill()
                    speaker.wait()
            wizard.press("push button", "Stop")
            wizard.find("push button", "Next", enabled=True)
            wizard.press("push button", "Next")

            wizard.find("label", "Compression Algorithms")
            wizard.press("push button", "Next")
            wizard.find("label", "Compressed Audio File Output", timeout=120)
            wizard.set_text("Specify the name for the compressed audio file", "voice")
            wizard.press("push button", "Next")
            wizard.find("label", "Applet Attributes")
            wizard.press("push button", "Finish")
            status = wizard.wait_exit()
            self.assertEqual(status, 0, wizard.stderr)
            markup = wizard.stdout

        self.assertEqual(os.listdir(self.out), ["voice.zvsa"])
        expected = subprocess.run([ZVSA, "markup", "voice.zvsa"], capture_output=True, text=True, check=True)
        self.assertEqual(markup, expected.stdout)

        decoded = os.path.join(self.work, "voice.wav")
        subprocess.run([ZVSA, "decode", os.path.join(self.out, "voice.zvsa"), "-o", decoded, "-q"], check=True)
        with wave.open(decoded) as sound:
            rate = sound.getframerate()
            data = sound.readframes(sound.getnframes())
        samples = struct.unpack("<%dh" % (len(data) // 2), data)
        self.assertGreater(len(samples), rate // 2, "the recording is shorter than half a second: %d samples"
                           % len(samples))
        tone_level = level_at(samples, rate, TONE_HZ)
        others = [level_at(samples, rate, hz) for hz in (200, 300, 600, 900, 1300)]
        self.assertGreater(tone_level, 100, "the tone is not in the recording")
        self.assertGreater(tone_level, 4 * max(others),
                           "the recording's %d Hz is not above the other frequencies: %r vs %r"
                           % (TONE_HZ, tone_level, others))


if __name__ == "__main__":
    atspi_driver.run_tests()
