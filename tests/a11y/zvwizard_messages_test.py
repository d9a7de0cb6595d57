"""zvwizard's messages as a screen reader user meets them: each is an alert
whose text can be read and whose OK button can be pressed through the
accessibility interface, and the wizard stays on the page that needs
another answer. Cancel at the end writes nothing.

Run by run_under_display.sh with ZVWIZARD and ZV_SAMPLE_WAV in the
environment.
"""

import os
import shutil
import tempfile
import unittest

import atspi_driver
from atspi_driver import Program, click_at_centre, is_checked, key, listing, role_of, wait_until

ZVWIZARD = os.environ["ZVWIZARD"]
SAMPLE = os.environ["ZV_SAMPLE_WAV"]

CAPTION = "Z&V Tavelworks"


class ZvWizardMessagesTest(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="zvwizard-messages.")
        self.out = os.path.join(self.work, "out")
        os.mkdir(self.out)

    def tearDown(self):
        shutil.rmtree(self.work)

    def answer_message(self, wizard, button, expected_text):
        """Presses `button` (Next), and answers the message it brings with
        OK after reading it."""
        before = wizard.windows()
        wizard.press("push button", button)
        box = wizard.new_window(before)
        self.assertEqual((role_of(box), box.name), ("alert", CAPTION), listing(box))
        wizard.find("label", expected_text, within=box)
        wizard.press("push button", "OK", within=box)
        wizard.wait_window_closed(box)

    def test_messages_are_read_and_answered(self):
        missing = os.path.join(self.work, "missing.wav")
        with Program([ZVWIZARD, "--terminal", "-o", self.out], cwd=self.work) as wizard:
            wizard.window("Wizard")
            # The source-file choice by its mnemonic, which a keyboard user
            # has; the window takes keys after a click on it.
            click_at_centre(wizard.find("label", "Audio Input"))
            key("alt+s")
            choice = wizard.find("radio button", "Specify the source audio file")
            wait_until(lambda: is_checked(choice), "Alt+S to choose the source file", explain=wizard.screen)

            wizard.set_text("Source audio file", missing)
            self.answer_message(wizard, "Next", 'The name "%s" is not a valid file name or path.  '
                                "You may browse for the correct file by pressing the button to the right."
                                % missing)
            wizard.find("label", "Audio Input")

            wizard.set_text("Source audio file", SAMPLE)
            wizard.press("push button", "Next")
            wizard.find("label", "Compression Algorithms")
            wizard.press("push button", "Next")
            wizard.find("label", "Compressed Audio File Output", timeout=120)
            wizard.set_text("Specify the name for the compressed audio file", "my clip")
            self.answer_message(wizard, "Next", "The compressed audio file name may not contain spaces.  "
                                "Some web browsers do not support files containing spaces.")
            wizard.find("label", "Compressed Audio File Output")

            wizard.set_text("Specify the name for the compressed audio file", "my_clip")
            wizard.press("push button", "Next")
            wizard.find("label", "Applet Attributes")
            wizard.press("push button", "Cancel")
            self.assertEqual(wizard.wait_exit(), 1, wizard.stderr)
            self.assertEqual(wizard.stdout, "")
        self.assertEqual(os.listdir(self.out), [])


if __name__ == "__main__":
    atspi_driver.run_tests()
