"""End-to-end tests of start-up, the slot commands and the name check."""

import time
import unittest

import desktop as dt
from harness import DESKTOP, SLOTS, ProgramGroup

REFUSAL_TEXT = "程序名已固定为 zoLapet.exe ，请勿修改"


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
