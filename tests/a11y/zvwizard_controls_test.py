"""Every control of zvwizard, on each page and in each dialog it opens, has a
name a screen reader can say: its accessible name, or a label naming it.
A combo box needs a label: on this platform its own name is its current
text, which says what is chosen but not what the choice is for. And no two
controls in one window answer to the same Alt key.

Run by run_under_display.sh with ZVWIZARD and ZV_SAMPLE_WAV in the
environment. Operating the controls and checking what they do is the roads
test's job; this one only walks through every page and dialog.
"""

import os
import shutil
import tempfile
import unittest

import atspi_driver
from atspi_driver import Program, labels_of, listing, name_of, role_of, showing_controls

ZVWIZARD = os.environ["ZVWIZARD"]

# The roles a user operates; labels, fillers and scroll bars are not asked.
INTERACTIVE_ROLES = {"push button", "toggle button", "check box", "radio button", "text",
                     "password text", "combo box", "list", "list box", "table", "tree",
                     "page tab", "spin button", "slider", "menu item"}


def unnamed_controls(window):
    """The interactive controls in `window` that a screen reader could not
    name, each described with what it shows."""
    problems = []
    for acc in showing_controls(window):
        role = role_of(acc)
        if role not in INTERACTIVE_ROLES:
            continue
        labels = labels_of(acc)
        if role == "combo box":
            if not labels:
                problems.append("[combo box] showing %r has no label naming it" % name_of(acc))
        elif not name_of(acc).strip() and not labels:
            problems.append("[%s] has neither a name nor a label" % role)
    return problems


def alt_keys(acc):
    """The Alt+letter keys that reach `acc` (its mnemonic, or its label's),
    in upper case."""
    try:
        action = acc.queryAction()
    except NotImplementedError:
        return set()
    keys = set()
    for i in range(action.nActions):
        for binding in action.getKeyBinding(i).split(";"):
            if binding.lower().startswith("alt+") and len(binding) == 5:
                keys.add(binding.upper())
    return keys


def shared_mnemonics(window):
    """The Alt keys that more than one control showing in `window` answers
    to, so that pressing one reaches only one of them. (Qt offers no
    actions, and so no keys, for a disabled control.)"""
    owners = {}
    for acc in showing_controls(window):
        if role_of(acc) in INTERACTIVE_ROLES:
            for key in alt_keys(acc):
                owners.setdefault(key, []).append("[%s] %r" % (role_of(acc), name_of(acc)))
    return ["%s reaches %s" % (key, " and ".join(names))
            for key, names in sorted(owners.items()) if len(names) > 1]


class ZvWizardControlsTest(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="zvwizard-controls.")
        self.problems = []

    def tearDown(self):
        shutil.rmtree(self.work)

    def audit(self, window, where):
        for problem in unnamed_controls(window) + shared_mnemonics(window):
            self.problems.append("%s: %s" % (where, problem))
        self.seen.append("%s:\n%s" % (where, listing(window)))

    def audit_dialog(self, wizard, button, where, close="OK", within=None):
        """Opens a dialog with `button`, audits it, and closes it."""
        before = wizard.windows()
        wizard.press("push button", button, within=within)
        dialog = wizard.new_window(before)
        self.audit(dialog, where)
        wizard.press("push button", close, within=dialog)
        wizard.wait_window_closed(dialog)

    def test_every_control_has_a_name_and_its_own_alt_key(self):
        self.seen = []
        sound = os.environ["ZV_SAMPLE_WAV"]
        with Program([ZVWIZARD, "--terminal", "-o", self.work], cwd=self.work) as wizard:
            window = wizard.window("Wizard")
            wizard.find("label", "Audio Input")
            self.audit(window, "Audio Input page")
            self.audit_dialog(wizard, "About Z&&V Tavelworks...", "About box")
            self.audit_dialog(wizard, "Help", "Help for Audio Input")

            wizard.check("radio button", "Quick voice recording")
            wizard.press("push button", "Next")
            wizard.find("label", "Record Voice")
            self.audit(window, "Record Voice page")
            wizard.press("push button", "Back")
            wizard.find("label", "Audio Input")

            wizard.check("radio button", "Specify the source audio file")
            wizard.set_text("Source audio file", sound)
            wizard.press("push button", "Next")
            wizard.find("label", "Compression Algorithms")
            self.audit(window, "Compression Algorithms page")
            wizard.press("push button", "Next")
            wizard.find("label", "Compressed Audio File Output", timeout=120)
            self.audit(window, "Compressed Audio File Output page")
            wizard.press("push button", "Next")
            wizard.find("label", "Applet Attributes")
            self.audit(window, "Applet Attributes page")
            self.audit_dialog(wizard, "View Resulting HTML", "View HTML dialog")

            before = wizard.windows()
            wizard.press("push button", "Advanced Applet Attributes")
            sheet = wizard.new_window(before)
            self.audit(sheet, "Advanced Applet Attributes, Required")
            wizard.press("page tab", "Optional", within=sheet)
            wizard.find("check box", "Save these properties for next time", within=sheet)
            self.audit(sheet, "Advanced Applet Attributes, Optional")
            self.audit_dialog(wizard, "Add", "Tag Attribute dialog", close="Cancel", within=sheet)
            wizard.press("push button", "Cancel", within=sheet)
            wizard.wait_window_closed(sheet)

            wizard.press("push button", "Cancel")
            self.assertEqual(wizard.wait_exit(), 1, wizard.stderr)

        if self.problems:
            self.fail("controls a screen reader cannot name, or that share an Alt key:\n  "
                      + "\n  ".join(self.problems) + "\n\nwhat was showing:\n" + "\n".join(self.seen))


if __name__ == "__main__":
    atspi_driver.run_tests()
