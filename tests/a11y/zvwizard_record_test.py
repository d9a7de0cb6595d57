"""zvwizard's record road through the accessibility interface, on a private
PulseAudio server whose microphone hears its speaker: a tone played into
the speaker is recorded on the Record Voice page (Record, Stop), compressed,
named and finished; the clip, decoded by zvsa, holds the tone. An
independent recorder (parec) records the same microphone from Record to
Stop: the clip must be as long as what parec heard, and hold the tone at
parec's level in every tenth of a second.

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


RECORD_SECONDS = 3.0


def write_tone(path, seconds=30.0, rate=8000):
    """A steady tone, longer than the whole recording: it plays from before
    Record to after Stop, so that every part of the recording holds it."""
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
    return 2 * math.sqrt(max(power, 0.0)) / max(len(samples), 1)


def read_samples(path):
    with open(path, "rb") as raw:
        data = raw.read()
    return struct.unpack("<%dh" % (len(data) // 2), data[:len(data) // 2 * 2])


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
        with Program([ZVWIZARD, "--terminal", "-o", self.out], cwd=self.work) as wizard:
            wizard.window("Wizard")
            wizard.check("radio button", "&Quick voice recording")
            wizard.press("push button", "&Next >")
            wizard.find("label", "Record Voice")

            heard = os.path.join(self.work, "parec.raw")
            speaker = subprocess.Popen(["paplay", tone])
            parec = None
            try:
                # The tone is on before Record: parec hears it.
                probe = os.path.join(self.work, "probe.raw")
                with open(probe, "wb") as out:
                    prober = subprocess.Popen(["parec", "--raw", "--format=s16le", "--rate=8000", "--channels=1",
                                               "--latency-msec=20"], stdout=out)
                    try:
                        atspi_driver.wait_until(
                            lambda: os.path.getsize(probe) >= 1600
                            and level_at(read_samples(probe)[-800:], 8000, TONE_HZ) > 1000,
                            "the tone to reach the microphone")
                    finally:
                        prober.terminate()
                        prober.wait(timeout=10)
                with open(heard, "wb") as out:
                    parec = subprocess.Popen(["parec", "--raw", "--format=s16le", "--rate=8000", "--channels=1",
                                              "--latency-msec=20"], stdout=out)
                    wizard.press("push button", "Record")
                    wizard.find("push button", "Stop", enabled=True)
                    atspi_driver.wait_until(lambda: os.path.getsize(heard) >= RECORD_SECONDS * 16000,
                                            "parec to hear %g s" % RECORD_SECONDS)
                    wizard.press("push button", "Stop")
                    wizard.find("push button", "Next", enabled=True)
                    parec.terminate()
                    parec.wait(timeout=10)
            finally:
                for process in (parec, speaker):
                    if process is not None and process.poll() is None:
                        process.kill()
                        process.wait()
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
        self.assertEqual(rate, 8000)
        reference = read_samples(heard)
        reference_level = level_at(reference, rate, TONE_HZ)
        self.assertGreater(reference_level, 8000, "parec did not hear the tone at the level played (12000)")

        # As long as what parec heard from Record to Stop, within the two
        # programs' start and stop.
        seconds, heard_seconds = len(samples) / rate, len(reference) / rate
        self.assertGreater(seconds, 0.9 * heard_seconds - 0.4,
                           "the clip holds %.2f s, parec heard %.2f s" % (seconds, heard_seconds))
        self.assertLess(seconds, heard_seconds + 0.5,
                        "the clip holds %.2f s, parec heard %.2f s" % (seconds, heard_seconds))

        # The tone at parec's level in every tenth of a second (the codec's
        # first frames settle, so the first tenth is not judged), and above
        # the other frequencies over the whole clip.
        window = rate // 10
        for at in range(window, len(samples) - window + 1, window):
            level = level_at(samples[at:at + window], rate, TONE_HZ)
            self.assertLess(abs(level - reference_level), 0.35 * reference_level,
                            "at %.1f s the tone's level is %.0f, parec heard %.0f" % (at / rate, level,
                                                                                    reference_level))
        tone_level = level_at(samples, rate, TONE_HZ)
        others = [level_at(samples, rate, hz) for hz in (200, 300, 600, 900, 1300)]
        self.assertGreater(tone_level, 4 * max(others),
                           "the recording's %d Hz is not above the other frequencies: %r vs %r"
                           % (TONE_HZ, tone_level, others))


if __name__ == "__main__":
    atspi_driver.run_tests()
