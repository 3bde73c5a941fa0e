#!/usr/bin/env python3
"""End-to-end tests: the real zoLapet.exe under Wine on an Xvfb screen, driven
with real mouse and keyboard input and the real X clipboard, read back through
quillo_probe.exe inside the same Wine prefix.

    python3 e2e/quillo_e2e.py --build-dir build/win64 [-k PATTERN] [--keep-prefix]

The build folder must hold zoLapet.exe and quillo_probe.exe (both built by the
win64 preset). Screenshots go to build/e2e/screens/. The exit code is non-zero
on any failure; the last line reads "e2e: N passed, N failed".
"""

import argparse
import sys
import time
import traceback
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import desktop as dt  # noqa: E402

DESKTOP = None  # the one Desktop of this run, made by main()

SLOTS = [f"{r}{c}" for r in (1, 2, 3) for c in (1, 2, 3)]
REFUSAL_TEXT = "程序名已固定为 zoLapet.exe ，请勿修改"


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

    def wait_text(self, name, expected, timeout=5):
        """Waits for a control's text; returns the text it ends with."""
        deadline = time.monotonic() + timeout
        while True:
            text = DESKTOP.text(name)
            if text == expected or time.monotonic() > deadline:
                return text
            time.sleep(0.05)

    def wait_x_clipboard(self, expected, timeout=5):
        deadline = time.monotonic() + timeout
        while True:
            text = DESKTOP.x_clipboard()
            if text == expected or time.monotonic() > deadline:
                return text
            time.sleep(0.1)

    def focus_id(self):
        return DESKTOP.focus().get("focus_id")

    def fill_slot(self, slot, text):
        """Puts a text into a slot the way a user does: X clipboard, then 粘贴."""
        DESKTOP.set_x_clipboard(text)
        DESKTOP.press("粘贴" + slot)
        self.assertEqual(self.wait_text("编辑框" + slot, text), text, f"filling slot {slot}")


class StartUp(ProgramGroup):
    @classmethod
    def started(cls):
        super().started()
        time.sleep(1)  # let the window paint before the picture is taken
        DESKTOP.screenshot("startup")

    def test_window_place_size_and_opacity(self):
        w = DESKTOP.window()
        self.assertTrue(w["visible"])
        self.assertFalse(w["iconic"])
        self.assertEqual(w["rect"], [307, 135, 307 + 751, 135 + 497], "outer rect on 1366 x 768")
        self.assertTrue(w["layered"], "WS_EX_LAYERED")
        self.assertEqual(w["alpha"], 247)
        self.assertFalse(w["topmost"])

    def test_state_after_start(self):
        self.assertEqual(DESKTOP.text("标签_窗口假上"), dt.MAIN_TITLE)
        self.assertEqual(DESKTOP.text("标签21"), "透明度3%")
        for slot in SLOTS:
            self.assertEqual(DESKTOP.text("编辑框" + slot), "", f"slot {slot}")
        self.assertEqual(self.focus_id(), DESKTOP.control("编辑框11")["id"], "focus in slot 1-1")
        self.assertGreaterEqual(len(DESKTOP.tray_icons()), 1, "the program's tray icon")


class SlotCommands(ProgramGroup):
    def test_paste_takes_x_clipboard_text(self):
        # Each case replaces what the case before left in the slot. The label
        # acts as the button goes down: one case looks before releasing it.
        cases = [
            ("ascii", "Quillo paste 123", False),
            ("chinese, on the button going down", "剪贴板里的中文文本", True),
            ("mixed", "中文 and ASCII 混合, 42", False),
        ]
        for label, text, down_only in cases:
            with self.subTest(label):
                DESKTOP.set_x_clipboard(text)
                focus_before = self.focus_id()
                DESKTOP.press("粘贴23", down_only=down_only)
                try:
                    self.assertEqual(self.wait_text("编辑框23", text), text)
                finally:
                    if down_only:
                        DESKTOP.mouse_up()
                self.assertEqual(self.focus_id(), focus_before, "paste leaves the focus alone")

    def test_copy_cut_clear(self):
        # (label, slot, how the slot gets its text, slot text, clipboard gets it, slot emptied, focus to slot)
        cases = [
            ("复制", "12", "typed", "typed into slot 42", True, False, False),
            ("复制", "31", "pasted", "复制的中文 text", True, False, False),
            ("剪切", "22", "pasted", "剪切 me 剪切", True, True, True),
            ("清空", "33", "pasted", "clear 清空 me", False, True, True),
        ]
        for label, slot, how, text, to_clipboard, emptied, focus_to_slot in cases:
            with self.subTest(f"{label}{slot}"):
                box = "编辑框" + slot
                if how == "typed":
                    DESKTOP.press(box)
                    DESKTOP.type_text(text)
                    self.assertEqual(self.wait_text(box, text), text, "typed text")
                else:
                    self.fill_slot(slot, text)
                DESKTOP.press("编辑框11")  # the focus elsewhere, to see whether it moves
                DESKTOP.set_x_clipboard("X side text before the command")
                DESKTOP.press(label + slot)
                expected_clip = text if to_clipboard else "X side text before the command"
                self.assertEqual(self.wait_x_clipboard(expected_clip), expected_clip, "X clipboard")
                expected_slot = "" if emptied else text
                self.assertEqual(self.wait_text(box, expected_slot), expected_slot, "slot text")
                expected_focus = DESKTOP.control(box if focus_to_slot else "编辑框11")["id"]
                self.assertEqual(self.focus_id(), expected_focus, "focus")

    def test_clear_all_empties_every_slot(self):
        for slot in ("11", "23", "32", "33"):
            self.fill_slot(slot, f"slot {slot} 内容")
        DESKTOP.press("编辑框22")
        DESKTOP.press("全部清空")
        for slot in SLOTS:
            self.assertEqual(self.wait_text("编辑框" + slot, ""), "", f"slot {slot}")
        self.assertEqual(self.focus_id(), DESKTOP.control("编辑框11")["id"], "focus in slot 1-1")


class WrongName(unittest.TestCase):
    """Copies under any other name than zoLapet.exe refuse to run."""

    names = ["ZoLapet.exe", "zolapet.exe", "zoLapet (2).exe"]

    @classmethod
    def setUpClass(cls):
        DESKTOP.reset_wine()

    def test_refusal_box_then_exit_code_0(self):
        for index, name in enumerate(self.names):
            with self.subTest(name):
                program = DESKTOP.start_program(name)
                try:
                    # The box is found once it shows its text (Wine fills it in while showing it).
                    def refusal_box():
                        return [b for b in DESKTOP.message_boxes(dt.BOX_CAPTION)
                                if REFUSAL_TEXT in [child["text"] for child in b["children"]]]
                    # (Wine 8 does not mark an MB_TOPMOST box WS_EX_TOPMOST, so that flag is
                    # left to the unit tests.)
                    box = DESKTOP.wait_for(refusal_box, 60, what="the refusal message box")[0]
                    if index == 0:
                        DESKTOP.screenshot("refusal")
                    shown = [w for w in DESKTOP.call("top-windows", box["pid"])["windows"]
                             if w["visible"] and w["hwnd"] != box["hwnd"]]
                    self.assertEqual([w["title"] for w in shown], [], "no other window shown")
                    self.assertEqual(DESKTOP.tray_icons(), [], "no tray icon")
                    buttons = [c for c in box["children"] if c["class"].lower() == "button" and c["shown"]]
                    self.assertEqual(len(buttons), 1, "an OK box")
                    DESKTOP.click_at(*dt.centre(buttons[0]["rect"]))
                    self.assertEqual(program.exit_code(timeout=20), 0, "exit code once the box is closed")
                    self.assertEqual(DESKTOP.message_boxes(dt.BOX_CAPTION), [])
                finally:
                    program.kill()


class Summary(unittest.TextTestResult):
    """Counts each test method once: it fails when it or any of its cases fails."""

    def __init__(self, *args, **kwargs):
        super().__init__(*args, **kwargs)
        self.failed_ids = set()
        self.began = 0.0

    def startTest(self, test):
        self.began = time.monotonic()
        super().startTest(test)

    def stopTest(self, test):
        super().stopTest(test)
        self.stream.writeln(f"    ({time.monotonic() - self.began:.1f} s)")

    def addFailure(self, test, err):
        super().addFailure(test, err)
        self.failed_ids.add(test.id())

    def addError(self, test, err):
        super().addError(test, err)
        self.failed_ids.add(test.id())

    def addSubTest(self, test, subtest, err):
        super().addSubTest(test, subtest, err)
        if err is not None:
            self.failed_ids.add(test.id())


def main():
    global DESKTOP
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build-dir", default="build/win64", help="folder with zoLapet.exe and quillo_probe.exe")
    parser.add_argument("--display", type=int, default=98, help="X display number to start from")
    parser.add_argument("-k", dest="patterns", action="append", help="only tests whose name holds PATTERN")
    parser.add_argument("--keep-prefix", action="store_true", help="keep the Wine prefix for a look afterwards")
    args = parser.parse_args()

    loader = unittest.TestLoader()
    if args.patterns:
        loader.testNamePatterns = [f"*{p}*" for p in args.patterns]
    suite = unittest.TestSuite(loader.loadTestsFromTestCase(group)
                               for group in (StartUp, SlotCommands, WrongName))
    planned = suite.countTestCases()

    started = time.monotonic()
    result = None
    try:
        with dt.Desktop(args.build_dir, display=args.display, name="tests",
                        keep_prefix=args.keep_prefix) as desktop:
            DESKTOP = desktop
            print(f"e2e: X display {desktop.display}, Wine prefix {desktop.prefix}", flush=True)
            runner = unittest.TextTestRunner(verbosity=2, resultclass=Summary, stream=sys.stdout)
            result = runner.run(suite)
    except KeyboardInterrupt as stop:
        print(f"e2e: interrupted ({stop or 'Ctrl-C'})")
        result = None
    except Exception:
        traceback.print_exc()
    finally:
        DESKTOP = None

    print(f"e2e: {time.monotonic() - started:.0f} s; screenshots in {dt.SCREENS}")
    if result is None:
        print(f"e2e: 0 passed, {planned} failed")
        return 1
    failed = len(result.failed_ids)
    skipped = len(result.skipped)
    passed = result.testsRun - failed - skipped
    if skipped:
        print(f"e2e: {skipped} skipped")
    print(f"e2e: {passed} passed, {failed} failed")
    return 0 if failed == 0 and result.testsRun > 0 else 1


if __name__ == "__main__":
    sys.exit(main())
