"""Shared pieces of the end-to-end tests: the running desktop, and the base of
the test groups that share one start of the program."""

import time
import traceback
import unittest

import desktop as dt


class _DesktopProxy:
    """Stands for the one Desktop of this run, which main() sets."""

    target = None

    def __getattr__(self, name):
        return getattr(_DesktopProxy.target, name)


DESKTOP = _DesktopProxy()


def set_desktop(desktop):
    _DesktopProxy.target = desktop


SLOTS = [f"{r}{c}" for r in (1, 2, 3) for c in (1, 2, 3)]


class ProgramGroup(unittest.TestCase):
    """A group of tests that share one start of the program on a clean Wine
    session. A failed start fails every test of the group with its reason."""

    exe_name = dt.EXE_NAME
    program = None
    start_error = None

    @classmethod
    def setUpClass(cls):
        cls.start_error = None
        began = time.monotonic()
        try:
            DESKTOP.reset_wine()
            reset = time.monotonic()
            cls.program = DESKTOP.start_program(cls.exe_name)
            cls.started()
            print(f"[{cls.__name__}: clean Wine session {reset - began:.1f} s, "
                  f"program ready {time.monotonic() - reset:.1f} s]", flush=True)
        except Exception:
            cls.start_error = traceback.format_exc()

    @classmethod
    def started(cls):
        """The group's own start-up work, once the program has been started."""
        cls.main = DESKTOP.wait_window(timeout=60)

    @classmethod
    def tearDownClass(cls):
        if cls.program:
            cls.program.kill()

    def setUp(self):
        if self.start_error:
            self.fail("the program did not start as the group needs:\n" + self.start_error)

    # ---- helpers --------------------------------------------------------

    @staticmethod
    def wait_value(read, expected, timeout=5, interval=0.05):
        """Reads until the value is the expected one or the time is up;
        returns the value it ends with."""
        deadline = time.monotonic() + timeout
        while True:
            value = read()
            if value == expected or time.monotonic() > deadline:
                return value
            time.sleep(interval)

    def wait_text(self, name, expected, timeout=5):
        """Waits for a control's text; returns the text it ends with."""
        return self.wait_value(lambda: DESKTOP.text(name), expected, timeout)

    def wait_x_clipboard(self, expected, timeout=5):
        return self.wait_value(DESKTOP.x_clipboard, expected, timeout, interval=0.1)

    def focus_id(self):
        return DESKTOP.focus().get("focus_id")

    def fill_slot(self, slot, text):
        """Puts a text into a slot the way a user does: X clipboard, then 粘贴."""
        DESKTOP.set_x_clipboard(text)
        DESKTOP.press("粘贴" + slot)
        self.assertEqual(self.wait_text("编辑框" + slot, text), text, f"filling slot {slot}")
