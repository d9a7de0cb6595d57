"""zvwizard as the desktop's menu starts it (standard input and output no
terminal), operated through the accessibility interface: after Finish the
save dialog asks where the clip goes, a file of that name is replaced only
after the question, and the markup window says where the clip went, copies
the markup and closes.

Run by run_under_display.sh with ZVWIZARD and ZV_GALLERY (the gallery folder
beside the wizard library) in the environment.
"""

import filecmp
import os
import shutil
import tempfile
import unittest

import atspi_driver
from atspi_driver import Program, listing, role_of

ZVWIZARD = os.environ["ZVWIZARD"]
GALLERY = os.environ["ZV_GALLERY"]

CAPTION = "Z&V Tavelworks"


class ZvWizardMenuTest(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="zvwizard-menu.")
        self.web = os.path.join(self.work, "web")
        os.mkdir(self.web)

    def tearDown(self):
        shutil.rmtree(self.work)

    def test_gallery_clip_saved_from_the_menu(self):
        clip_name = "speech-sample-music.zvsa"
        target = os.path.join(self.web, "page-clip.zvsa")
        with open(target, "w") as f:
            f.write("an older clip")
        with Program([ZVWIZARD, "-o", self.web], cwd=self.work) as wizard:
            wizard.window("Wizard")
            wizard.find("label", "Audio Input")
            wizard.check("radio button", "Select &previously compressed file")
            wizard.press("push button", "&Next >")
            wizard.find("label", "Applet Attributes")
            before = wizard.windows()
            wizard.press("push button", "&Finish")

            dialog = wizard.new_window(before)
            self.assertEqual(dialog.name, "Save the Clip", listing(dialog))
            wizard.set_text("File name:", target, within=dialog)
            known = wizard.windows()
            wizard.press("push button", "Save", within=dialog)

            # The file is there: the system's question, answered Yes.
            box = wizard.new_window(known)
            self.assertEqual((role_of(box), box.name), ("alert", CAPTION), listing(box))
            wizard.find("label", 'The file "%s" already exists.  Would you like to overwrite it?' % target,
                        within=box)
            known = wizard.windows()
            wizard.press("push button", "Yes", within=box)

            window = wizard.new_window(known)
            self.assertEqual(window.name, "The Clip's HTML", listing(window))
            wizard.find("label", 'The clip is saved as "%s".' % target, within=window)
            markup = wizard.read("text", "HTML that plays the clip on a page", within=window)
            self.assertIn('<PARAM NAME="Clip" VALUE="page-clip.zvsa">', markup)
            wizard.press("push button", "&Copy", within=window)
            wizard.find("label", "The HTML is on the clipboard.", within=window)
            wizard.press("push button", "C&lose", within=window)
            status = wizard.wait_exit()
            self.assertEqual(status, 0, "zvwizard ended with %d: %s" % (status, wizard.stderr))
            self.assertEqual(wizard.stdout, "")

        self.assertTrue(filecmp.cmp(target, os.path.join(GALLERY, clip_name), shallow=False))
        self.assertEqual(sorted(os.listdir(self.web)), ["page-clip.zvsa"])


if __name__ == "__main__":
    atspi_driver.run_tests()
