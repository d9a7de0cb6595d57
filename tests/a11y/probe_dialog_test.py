"""The accessibility harness on a small Qt dialog: every kind of control is
found by role and label and operated through AT-SPI, and what the dialog
prints on OK shows that each operation reached it. A control that is not
there fails with the list of the controls that were showing.

Run by run_under_display.sh; A11Y_PROBE_DIALOG is the dialog program.
"""

import os
import unittest

import atspi_driver
from atspi_driver import A11yFailure, Program

PROBE = os.environ["A11Y_PROBE_DIALOG"]


class ProbeDialogTest(unittest.TestCase):
    def test_every_control_is_operated_by_its_label(self):
        with Program([PROBE]) as probe:
            probe.window("Harness Probe")
            probe.set_text("&Name", "Ada & Co")
            probe.choose("combo box", "Colour", "Blue")
            probe.choose("list", "Size", "Large")
            status = probe.find("label", "Quiet")
            probe.check("check box", "&Loud")
            # The label follows the check box.
            atspi_driver.wait_until(lambda: atspi_driver.read_text(status) == "Loud",
                                    "the status label to read Loud", explain=probe.screen)
            probe.check("radio button", "Repeat")
            probe.press("push button", "OK")
            self.assertEqual(probe.wait_exit(), 0, probe.stderr)
            self.assertEqual(probe.stdout.splitlines(), [
                "name=Ada & Co", "colour=Blue", "size=Large", "loud=1", "repeat=1"])

    def test_a_missing_control_fails_with_what_was_showing(self):
        with Program([PROBE]) as probe:
            probe.window("Harness Probe")
            with self.assertRaises(A11yFailure) as failure:
                probe.press("push button", "Apply", timeout=0.5)
            message = str(failure.exception)
            self.assertIn("push button named 'Apply'", message)
            for shown in ("[dialog] 'Harness Probe'", "[text] 'Name' labelled 'Name'",
                          "[push button] 'OK'", "[check box] 'Loud'",
                          "[radio button] 'Play once' (checked)"):
                self.assertIn(shown, message)
            probe.press("push button", "Cancel")
            self.assertEqual(probe.wait_exit(), 1)
            self.assertEqual(probe.stdout, "")

    def test_a_program_that_ends_early_fails_with_its_own_words(self):
        with Program(["sh", "-c", "echo 'no display for you' >&2; exit 3"]) as early:
            with self.assertRaises(A11yFailure) as failure:
                early.window("Harness Probe")
            message = str(failure.exception)
            self.assertIn("ended with status 3", message)
            self.assertIn("no display for you", message)


if __name__ == "__main__":
    atspi_driver.run_tests()
