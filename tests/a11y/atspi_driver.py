"""Operates programs through the accessibility interface (AT-SPI), the way a
screen reader user does: controls are found by role and accessible name (a
label's text without its "&"), pressed, typed into, chosen and read through
their accessibility interfaces only.

Runs under run_under_display.sh, which provides the display and the buses.
Everything waits on a condition with a deadline (the tree is polled); when a
control is not found, the failure lists every control that was showing, which
is what makes a failed run readable.
"""

import os
import subprocess
import tempfile
import time
import unittest
import warnings

# pyatspi calls a few libatspi functions under names that are deprecated; the
# warnings would bury the test's own output.
warnings.filterwarnings("ignore", category=DeprecationWarning, module="pyatspi")

import pyatspi  # noqa: E402
from gi.repository import Atspi, GLib  # noqa: E402


def run_tests():
    """unittest.main for a test script of this harness. warnings=False keeps
    the filter above: by default unittest puts its own in front of it."""
    unittest.main(module="__main__", warnings=False)


# Seconds to wait for a control, a window or a state before failing. Long
# enough for a slow, busy machine; the programs normally answer in
# milliseconds.
TIMEOUT = float(os.environ.get("ZV_A11Y_TIMEOUT", "30"))

_ACTIVATE_ACTIONS = ("press", "click", "activate", "jump")
_TOGGLE_ACTIONS = ("toggle", "press", "click", "activate")


class A11yFailure(AssertionError):
    """A control, window or state that did not appear in time."""


# ---------------------------------------------------------------------------
# Names and roles

def label_text(text):
    """A label as it reads: a single "&" marks the mnemonic and goes, "&&" is
    an ampersand."""
    result = []
    i = 0
    while i < len(text):
        if text[i] == "&" and i + 1 < len(text):
            i += 1
        result.append(text[i])
        i += 1
    return "".join(result)


def _loose(name):
    """A button's name without the decoration toolkits add to a few of them
    ("< Back", "Next >", "Browse..."), for a second, looser comparison."""
    name = name.strip()
    if name.startswith("<"):
        name = name[1:]
    if name.endswith(">"):
        name = name[:-1]
    if name.endswith("...") and len(name) > 3:
        name = name[:-3]
    return name.strip()


def _role_name(role):
    if isinstance(role, str):
        return role
    return Atspi.role_get_name(role)


def role_of(acc):
    try:
        return acc.getRoleName()
    except GLib.Error:
        return "?"


def name_of(acc):
    try:
        return acc.name or ""
    except GLib.Error:
        return ""


def labels_of(acc):
    """The names of the labels that say what `acc` is (its LABELLED_BY
    relations): a screen reader reads these for a combo box or a field whose
    own name is its value."""
    names = []
    try:
        for relation in acc.getRelationSet():
            if relation.getRelationType() != pyatspi.RELATION_LABELLED_BY:
                continue
            for i in range(relation.getNTargets()):
                target = relation.getTarget(i)
                if target is not None and name_of(target):
                    names.append(name_of(target))
    except GLib.Error:
        pass
    return names


def _states(acc):
    try:
        return acc.getState()
    except GLib.Error:
        return None


def is_showing(acc):
    states = _states(acc)
    return states is not None and states.contains(pyatspi.STATE_SHOWING)


def is_enabled(acc):
    states = _states(acc)
    return states is not None and states.contains(pyatspi.STATE_SENSITIVE)


def is_checked(acc):
    states = _states(acc)
    return states is not None and states.contains(pyatspi.STATE_CHECKED)


def is_selected(acc):
    states = _states(acc)
    return states is not None and states.contains(pyatspi.STATE_SELECTED)


def _children(acc):
    try:
        return [child for child in acc if child is not None]
    except GLib.Error:
        return []


def showing_controls(root):
    """Every showing accessible under `root` (root included), depth first.
    A hidden container hides its whole subtree (a wizard's other pages)."""
    found = []

    def visit(acc):
        if acc is not root and not is_showing(acc):
            return
        found.append(acc)
        for child in _children(acc):
            visit(child)

    visit(root)
    return found


def describe(acc):
    """One line for a control: role, name, the labels naming it, and the
    states that matter when something could not be operated."""
    text = "[%s] %r" % (role_of(acc), name_of(acc))
    labels = labels_of(acc)
    if labels:
        text += " labelled %s" % ", ".join(repr(label) for label in labels)
    notes = []
    if not is_enabled(acc) and role_of(acc) not in ("label", "filler", "panel"):
        notes.append("disabled")
    if is_checked(acc):
        notes.append("checked")
    if is_selected(acc):
        notes.append("selected")
    if notes:
        text += " (" + ", ".join(notes) + ")"
    return text


def listing(root):
    """The showing controls under `root`, one per line, indented by depth."""
    lines = []

    def visit(acc, depth):
        if depth > 0 and not is_showing(acc):
            return
        role = role_of(acc)
        # Fillers and panels without a name are only layout: skip their line,
        # keep their children.
        if role in ("filler", "panel") and not name_of(acc):
            for child in _children(acc):
                visit(child, depth)
            return
        lines.append("  " * depth + describe(acc))
        for child in _children(acc):
            visit(child, depth + 1)

    visit(root, 0)
    return "\n".join(lines)


def _matches_name(acc, wanted, loose):
    names = [name_of(acc)] + labels_of(acc)
    if loose:
        return any(_loose(name) == _loose(wanted) for name in names if name)
    return wanted in names


# ---------------------------------------------------------------------------
# Waiting

def wait_until(condition, what, timeout=None, explain=None):
    """Polls `condition` until it returns something true and returns that.
    On the deadline fails with `what` and, if given, explain()'s text (the
    controls that were showing). A D-Bus error while the program is busy
    counts as "not yet"."""
    timeout = TIMEOUT if timeout is None else timeout
    deadline = time.monotonic() + timeout
    delay = 0.01
    last_error = None
    while True:
        try:
            result = condition()
            if result:
                return result
        except GLib.Error as error:
            last_error = error
        if time.monotonic() >= deadline:
            message = "timed out after %.0f s waiting for %s" % (timeout, what)
            if last_error is not None:
                message += "\nlast accessibility error: %s" % last_error
            if explain is not None:
                try:
                    message += "\n" + explain()
                except GLib.Error as error:
                    message += "\n(the controls could not be listed: %s)" % error
            raise A11yFailure(message)
        time.sleep(delay)
        delay = min(delay * 2, 0.1)


# ---------------------------------------------------------------------------
# Programs

class Program:
    """A program under test, started with its output captured. Used as a
    context manager it never outlives the test: what is still running at the
    end is terminated (and killed if it does not go)."""

    def __init__(self, argv, env=None, cwd=None):
        self.argv = [str(arg) for arg in argv]
        # Output goes to files, not pipes: a program that writes much while
        # the test operates it must never block on a full pipe.
        self._out = tempfile.TemporaryFile()
        self._err = tempfile.TemporaryFile()
        try:
            self.process = subprocess.Popen(
                self.argv, stdin=subprocess.DEVNULL, stdout=self._out, stderr=self._err,
                env=env, cwd=cwd)
        except OSError as error:
            self._out.close()
            self._err.close()
            raise A11yFailure("cannot start %s: %s (is it built?)" % (self.argv[0], error.strerror))
        self.stdout = None
        self.stderr = None
        self._app = None

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()
        return False

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self._collect()

    def _collect(self):
        """Reads the output of the ended program."""
        if self.stdout is None:
            self._out.seek(0)
            self._err.seek(0)
            self.stdout = self._out.read().decode("utf-8", "replace")
            self.stderr = self._err.read().decode("utf-8", "replace")
            self._out.close()
            self._err.close()

    def check_running(self):
        """Fails at once, with the program's own words, when it has ended
        while the test still expects it on screen."""
        if self.process.poll() is not None:
            self._collect()
            raise A11yFailure(
                "%s ended with status %d while the test was still operating it\n"
                "standard output:\n%s\nstandard error:\n%s"
                % (self.argv[0], self.process.returncode, self.stdout, self.stderr))

    def wait_exit(self, timeout=None):
        """Waits for the program to end; returns its status. Its output is in
        .stdout and .stderr afterwards."""
        timeout = TIMEOUT if timeout is None else timeout
        try:
            self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            explain = ""
            if self._app is not None:
                try:
                    explain = "\n" + self.screen()
                except GLib.Error:
                    pass
            raise A11yFailure("%s did not end within %.0f s%s" % (self.argv[0], timeout, explain))
        self._collect()
        return self.process.returncode

    def application(self, timeout=None):
        """The program's application object on the accessibility bus, found
        by its process id."""
        if self._app is not None:
            return self._app
        pid = self.process.pid

        def find():
            self.check_running()
            desktop = pyatspi.Registry.getDesktop(0)
            for app in _children(desktop):
                try:
                    if app.get_process_id() == pid:
                        return app
                except GLib.Error:
                    continue
            return None

        def explain():
            names = [name_of(app) for app in _children(pyatspi.Registry.getDesktop(0))]
            return "applications on the bus: %s" % (", ".join(repr(n) for n in names) or "none")

        self._app = wait_until(find, "%s on the accessibility bus" % self.argv[0], timeout, explain)
        # No caching: each question goes to the program, so a poll always
        # sees the present screen.
        try:
            self._app.set_cache_mask(Atspi.Cache.NONE)
        except (AttributeError, GLib.Error):
            pass
        return self._app

    def windows(self):
        return [w for w in _children(self.application()) if is_showing(w)]

    def screen(self):
        """Every showing window of the program with its controls."""
        windows = self.windows()
        if not windows:
            return "no window of %s is showing" % self.argv[0]
        return "controls showing:\n" + "\n".join(listing(w) for w in windows)

    def window(self, name, timeout=None):
        """Waits for a showing top-level window (frame, dialog, alert) named
        `name` and returns it."""
        def find():
            self.check_running()
            for window in self.windows():
                if name_of(window) == name:
                    return window
            return None
        return wait_until(find, "a window named %r" % name, timeout, self.screen)

    def wait_window_closed(self, window, timeout=None):
        """Waits until `window` is no longer showing (a dialog answered)."""
        what = "the window %s to close" % describe(window)

        def closed():
            self.check_running()
            return window not in self.windows()
        wait_until(closed, what, timeout, self.screen)

    def new_window(self, known, timeout=None):
        """Waits for a showing window that is not among `known` (the windows
        showing before a button opened a dialog) and returns it."""
        def find():
            self.check_running()
            fresh = [window for window in self.windows() if window not in known]
            return fresh[0] if fresh else None
        return wait_until(find, "a new window to open", timeout, self.screen)

    def find(self, role, name, within=None, timeout=None, enabled=False):
        """Waits for a showing control of `role` named `name` (its accessible
        name or a label naming it) in the program's windows, or under
        `within`, and returns it. A name that matches nothing exactly is
        compared once more without the "<", ">" and "..." some toolkits add to
        buttons. With enabled=True, waits until the control is enabled too."""
        role = _role_name(role)
        wanted = label_text(name)

        def roots():
            return [within] if within is not None else self.windows()

        def candidates(loose):
            return [acc for root in roots() for acc in showing_controls(root)
                    if role_of(acc) == role and _matches_name(acc, wanted, loose)]

        def find():
            self.check_running()
            found = candidates(False) or candidates(True)
            if enabled:
                found = [acc for acc in found if is_enabled(acc)]
            return found[0] if found else None

        def explain():
            if within is not None:
                return "controls showing under %s:\n%s" % (describe(within), listing(within))
            return self.screen()

        what = "%s%s named %r" % ("an enabled " if enabled else "a ", role, wanted)
        return wait_until(find, what, timeout, explain)

    def wait_gone(self, role, name, timeout=None):
        """Waits until no showing control of `role` named `name` is left (a
        progress dialog closing, a page left behind)."""
        role = _role_name(role)
        wanted = label_text(name)

        def gone():
            self.check_running()
            return not any(role_of(acc) == role and _matches_name(acc, wanted, False)
                           for window in self.windows() for acc in showing_controls(window))
        wait_until(gone, "the %s %r to go away" % (role, wanted), timeout, self.screen)

    # -- operating controls ------------------------------------------------

    def press(self, role, name, within=None, timeout=None):
        """Presses the enabled button (or other control) `name` through its
        press/click action."""
        acc = self.find(role, name, within, timeout, enabled=True)
        do_action(acc, _ACTIVATE_ACTIONS)
        return acc

    def set_text(self, name, text, role=pyatspi.ROLE_TEXT, within=None, timeout=None):
        """Replaces the text of the editable field `name` and waits until the
        field reads it back."""
        acc = self.find(role, name, within, timeout, enabled=True)
        set_text(acc, text)
        return acc

    def check(self, role, name, checked=True, within=None, timeout=None):
        """Sets the check box, radio button or toggle `name` to `checked`."""
        acc = self.find(role, name, within, timeout, enabled=True)
        set_checked(acc, checked)
        return acc

    def choose(self, role, name, item, within=None, timeout=None):
        """Chooses `item` in the list or combo box `name`."""
        return self.choose_in(self.find(role, name, within, timeout, enabled=True), item)

    def choose_in(self, acc, item):
        """Chooses `item` in the list or combo box `acc`, found before."""
        if role_of(acc) == "combo box":
            choose_in_combo(self, acc, item)
        else:
            choose_in_list(acc, item)
        return acc

    def read(self, role, name, within=None, timeout=None):
        """The text a control shows: a field's contents, otherwise its name."""
        return read_text(self.find(role, name, within, timeout))


# ---------------------------------------------------------------------------
# Operating one control

def action_names(acc):
    try:
        action = acc.queryAction()
    except NotImplementedError:
        return []
    return [action.getName(i) for i in range(action.nActions)]


def do_action(acc, preferred):
    """Runs the first of the `preferred` actions (by name, any case) that
    `acc` offers."""
    names = action_names(acc)
    for wanted in preferred:
        for index, name in enumerate(names):
            if name.lower() == wanted:
                acc.queryAction().doAction(index)
                return name
    raise A11yFailure("%s offers none of the actions %s (it has: %s)"
                      % (describe(acc), ", ".join(preferred), ", ".join(names) or "none"))


def set_text(acc, text):
    try:
        editable = acc.queryEditableText()
    except NotImplementedError:
        raise A11yFailure("%s cannot be typed into (no EditableText)" % describe(acc))
    editable.setTextContents(text)
    wait_until(lambda: read_text(acc) == text,
               "%s to read %r (it reads %r)" % (describe(acc), text, read_text(acc)))


def set_checked(acc, checked=True):
    if is_checked(acc) == checked:
        return
    do_action(acc, _TOGGLE_ACTIONS)
    wait_until(lambda: is_checked(acc) == checked,
               "%s to be %s" % (describe(acc), "checked" if checked else "unchecked"))


def read_text(acc):
    try:
        text = acc.queryText()
        return text.getText(0, text.characterCount)
    except NotImplementedError:
        return name_of(acc)


def click_at_centre(acc):
    """A real mouse click in the middle of `acc` (through the accessibility
    registry's synthesised input). Without a window manager this is also what
    gives a window the keyboard focus."""
    extents = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    if extents.width <= 0 or extents.height <= 0:
        raise A11yFailure("%s has no area on the screen to click" % describe(acc))
    x = extents.x + extents.width // 2
    y = extents.y + extents.height // 2
    pyatspi.Registry.generateMouseEvent(x, y, pyatspi.MOUSE_B1C)


def _items(container):
    """The item children of a list (or of a combo box's list)."""
    items = []
    for child in _children(container):
        if role_of(child) in ("list item", "menu item", "table cell"):
            items.append(child)
        elif role_of(child) in ("list", "menu", "table"):
            items.extend(_items(child))
    return items


def _item_named(container, item):
    wanted = label_text(item)
    for acc in _items(container):
        if name_of(acc) == wanted:
            return acc
    names = [name_of(acc) for acc in _items(container)]
    raise A11yFailure("%s has no item %r; its items: %s"
                      % (describe(container), wanted, ", ".join(repr(n) for n in names) or "none"))


def choose_in_list(acc, item):
    """Selects `item` of a list through the item's own action."""
    target = _item_named(acc, item)
    if not is_selected(target):
        do_action(target, ("toggle", "select", "press", "click", "activate"))
    wait_until(lambda: is_selected(target), "%s to be selected" % describe(target),
               explain=lambda: listing(acc))


def choose_in_combo(program, combo, item):
    """Chooses `item` in a combo box as a user does: opens its list (the
    ShowMenu/Press action) and clicks the item. A combo box's accessible
    name is its current text, so the choice is confirmed by reading it."""
    wanted = label_text(item)
    if name_of(combo) == wanted:
        return
    _item_named(combo, wanted)  # fails early, listing the items, if absent
    do_action(combo, ("showmenu", "press", "click"))

    def showing_item():
        for acc in _items(combo):
            if name_of(acc) == wanted and is_showing(acc):
                return acc
        return None
    target = wait_until(showing_item, "the item %r of %s to show" % (wanted, describe(combo)),
                        explain=program.screen)
    click_at_centre(target)
    wait_until(lambda: name_of(combo) == wanted,
               "%s to show %r after the click" % (describe(combo), wanted),
               explain=program.screen)


def next_control(program, anchor, role):
    """The first showing control of `role` after `anchor` in reading order
    within the same window: the field under a radio button that has no label
    of its own, as a screen reader user reaches it with Tab."""
    role = _role_name(role)
    for window in program.windows():
        controls = showing_controls(window)
        for index, acc in enumerate(controls):
            if acc == anchor:
                for later in controls[index + 1:]:
                    if role_of(later) == role:
                        return later
                raise A11yFailure("no %s follows %s\n%s" % (role, describe(anchor), program.screen()))
    raise A11yFailure("%s is not showing\n%s" % (describe(anchor), program.screen()))


# ---------------------------------------------------------------------------
# The keyboard (synthesised through the accessibility registry, as on-screen
# keyboards and scripted screen readers do)

_MODIFIERS = {
    "alt": 1 << Atspi.ModifierType.ALT,
    "ctrl": 1 << Atspi.ModifierType.CONTROL,
    "shift": 1 << Atspi.ModifierType.SHIFT,
}


# X keysyms of the keys a dialog is operated with.
_KEYSYMS = {
    "BackSpace": 0xFF08, "Tab": 0xFF09, "Return": 0xFF0D, "Escape": 0xFF1B,
    "Home": 0xFF50, "Left": 0xFF51, "Up": 0xFF52, "Right": 0xFF53, "Down": 0xFF54,
    "End": 0xFF57, "Delete": 0xFFFF, "space": 0x20,
}


def _keysym(name):
    if len(name) == 1:
        return ord(name)
    if name not in _KEYSYMS:
        raise ValueError("no keysym known for the key %r" % name)
    return _KEYSYMS[name]


def key(chord):
    """Presses and releases a key with its modifiers: "alt+n", "Return",
    "Down", "ctrl+a". Key names are X keysym names; a single character is
    that character's key."""
    *modifiers, name = chord.split("+")
    mask = 0
    for modifier in modifiers:
        mask |= _MODIFIERS[modifier.lower()]
    keysym = _keysym(name)
    if mask:
        Atspi.generate_keyboard_event(mask, None, Atspi.KeySynthType.LOCKMODIFIERS)
    try:
        Atspi.generate_keyboard_event(keysym, None, Atspi.KeySynthType.SYM)
    finally:
        if mask:
            Atspi.generate_keyboard_event(mask, None, Atspi.KeySynthType.UNLOCKMODIFIERS)


def type_text(text):
    """Types `text` on the keyboard into whatever has the focus."""
    Atspi.generate_keyboard_event(0, text, Atspi.KeySynthType.STRING)


def is_focused(acc):
    states = _states(acc)
    return states is not None and states.contains(pyatspi.STATE_FOCUSED)
