"""`webhost edit` operated from outside through the accessibility interface:
the component's Applet Attributes sheet (General, Required and Optional
pages) is filled in by the labels of its controls, through their actions,
and OK writes exactly those settings into the component on the page; the
rest of the page keeps every byte.

Run by run_under_display.sh with WEBHOST and ZV_TEST_WEB (the fixture web,
copied before it is changed) in the environment.
"""

import html
import os
import re
import shutil
import tempfile
import unittest

import atspi_driver
from atspi_driver import Program

WEBHOST = os.environ["WEBHOST"]
FIXTURE_WEB = os.environ["ZV_TEST_WEB"]

COMPONENT = re.compile(r'<!--WEBBOT bot="ZvTavelwork" StartSpan(.*?)-->', re.S)
ATTRIBUTE = re.compile(r'([A-Z-]+)="([^"]*)"')


def components(page):
    """Each component's comment in the page: its span and its attributes,
    their values decoded as an HTML attribute value is."""
    return [(match.span(), {name: html.unescape(value) for name, value in ATTRIBUTE.findall(match.group(1))})
            for match in COMPONENT.finditer(page)]


class WebhostEditTest(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="webhost-edit-a11y.")
        shutil.copytree(FIXTURE_WEB, os.path.join(self.work, "web"))
        self.page = os.path.join(self.work, "web", "index.htm")

    def tearDown(self):
        shutil.rmtree(self.work)

    def read_page(self):
        with open(self.page, encoding="utf-8", newline="") as f:
            return f.read()

    def test_the_sheet_operated_by_its_labels_writes_the_component(self):
        before = self.read_page()
        with Program([WEBHOST, "edit", self.page, "1"], cwd=self.work) as webhost:
            sheet = webhost.window("Applet Attributes")
            webhost.choose("combo box", "&Select number of buttons", "Three buttons", within=sheet)
            webhost.check("check box", "&Autoplay", within=sheet)
            webhost.check("radio button", "C&ontinuously", within=sheet)

            webhost.press("page tab", "Required", within=sheet)
            webhost.find("filler", "Required", within=sheet)
            webhost.check("check box", "&Calculate width", False, within=sheet)
            webhost.set_text("Width", "150", within=sheet)
            webhost.set_text("Height", "40", within=sheet)
            webhost.choose("combo box", "Alignment", "left", within=sheet)

            webhost.press("page tab", "Optional", within=sheet)
            webhost.find("filler", "Optional", within=sheet)
            webhost.set_text("Applet body text", "Hear it <here> & now", within=sheet)

            webhost.press("push button", "OK", within=sheet)
            status = webhost.wait_exit()
            self.assertEqual(status, 0, webhost.stderr)
            self.assertIn("changed", webhost.stdout + webhost.stderr)

        after = self.read_page()
        (start, end), written = components(after)[0]
        (old_start, old_end), original = components(before)[0]
        expected = dict(original)
        expected.update({"I-NUMBUTTONS": "3", "I-AUTOPLAY": "1", "I-COUNT": "-1",
                         "I-WIDTH": "150", "I-HEIGHT": "40", "S-ALIGN": "left",
                         "S-BODY": "Hear it <here> & now", "I-USETEXT": "0"})
        # Edit always renews the preview image; every other attribute is
        # the one set through the sheet or the one that was there.
        del expected["PREVIEW"], written["PREVIEW"]
        self.assertEqual(written, expected)
        self.assertEqual(after[:start], before[:old_start], "the page before the component changed")
        self.assertEqual(after[end:], before[old_end:], "the page after the component changed")


if __name__ == "__main__":
    atspi_driver.run_tests()
