"""End-to-end tests of clipboard monitoring, append-paste with its menu and
custom separator, and how the program reads the clipboard when another
program has put odd data on it or keeps it open."""

import time

import desktop as dt
from harness import DESKTOP, SLOTS, ProgramGroup

FOLLOW_WITHIN = 2.0  # one 1000 ms tick, and the X clipboard reaching Wine
CUSTOM_PROMPT = "　　请先在本程序左上角自定义字符框内输入字符，在停止使用自定义字符之前请不要点击关闭。"
CUSTOM_ITEM = ["Down"] * 5 + ["Return"]


class Monitoring(ProgramGroup):
    def tearDown(self):
        # Back to the start: nothing followed, nothing open, the separator row closed.
        if self.start_error:
            return
        if DESKTOP.menus():
            DESKTOP.key("Escape")
            time.sleep(0.2)
        for box in DESKTOP.message_boxes(dt.BOX_CAPTION):
            DESKTOP.close_message_box(box)
        if DESKTOP.control("选择框_全部监控剪贴板")["checked"]:
            DESKTOP.press("选择框_全部监控剪贴板")
        for slot in SLOTS:
            if DESKTOP.control("监控" + slot)["checked"]:
                DESKTOP.press("监控" + slot)
        if DESKTOP.control("自定义3")["shown"]:
            DESKTOP.press("自定义3")
        DESKTOP.press("全部清空")

    # ---- helpers --------------------------------------------------------

    def slot_bytes(self, slot):
        return DESKTOP.control("编辑框" + slot)["text_bytes"]

    def wait_bytes(self, slot, expected, timeout=5):
        return self.wait_value(lambda: self.slot_bytes(slot), expected, timeout)

    def follows(self, slots, text):
        """Puts text on the X clipboard; the slots that showed it within the time
        allowed, and how long the slowest of them took."""
        DESKTOP.set_x_clipboard(text)
        began = time.monotonic()
        pending = set(slots)
        while pending and time.monotonic() - began < FOLLOW_WITHIN:
            pending = {s for s in pending if DESKTOP.text("编辑框" + s) != text}
            time.sleep(0.05)
        return sorted(set(slots) - pending), time.monotonic() - began

    def stays(self, slots, kept, new_text):
        """Puts new_text on the X clipboard and waits past two ticks: the slots
        that still hold their texts (kept: slot -> text)."""
        DESKTOP.set_x_clipboard(new_text)
        time.sleep(FOLLOW_WITHIN + 0.5)
        return sorted(s for s in slots if DESKTOP.text("编辑框" + s) == kept[s])

    def append(self, arrow, keys):
        DESKTOP.press(arrow)
        DESKTOP.choose_menu_item(keys)

    # ---- monitoring -------------------------------------------------------

    def test_one_slot_follows_while_its_box_is_checked(self):
        DESKTOP.press("监控22")
        self.assertEqual(DESKTOP.control("监控22")["checked"], 1)
        for text in ("first 第一", "second 第二 text"):
            with self.subTest(f"follows {text!r}"):
                followed, _ = self.follows(["22"], text)
                self.assertEqual(followed, ["22"], f"slot 2-2 shows {DESKTOP.text('编辑框22')!r}")
                self.assertEqual(DESKTOP.text("编辑框21"), "", "an unchecked slot does not follow")
        DESKTOP.press("监控22")
        self.assertEqual(DESKTOP.control("监控22")["checked"], 0)
        self.assertEqual(self.stays(["22"], {"22": "second 第二 text"}, "third 第三"), ["22"],
                         "unchecked: it keeps its last text")

    def test_all_slots_box_starts_and_stops_all_nine(self):
        DESKTOP.press("监控13")  # one slot followed by hand before
        DESKTOP.press("选择框_全部监控剪贴板")
        self.assertEqual([s for s in SLOTS if DESKTOP.control("监控" + s)["checked"] != 1], [],
                         "every slot box checked")
        followed, _ = self.follows(SLOTS, "全部 all nine")
        self.assertEqual(followed, SLOTS, "all nine follow")

        DESKTOP.press("选择框_全部监控剪贴板")
        self.assertEqual([s for s in SLOTS if DESKTOP.control("监控" + s)["checked"] != 0], [],
                         "every slot box unchecked")
        self.assertEqual(self.stays(SLOTS, dict.fromkeys(SLOTS, "全部 all nine"), "no longer"), SLOTS,
                         "all nine stop, 1-3 too")

    # ---- append-paste -------------------------------------------------------

    def test_append_modes_on_slot_3_1(self):
        # (item, keys, separator bytes between "one" and "two")
        cases = [
            ("at the end", ["Down", "Return"], b""),
            ("new line", ["Down"] * 2 + ["Return"], b"\r\n"),
            ("full-width comma", ["Down"] * 3 + ["Return"], dt.ansi("，")),
            ("comma", ["Down"] * 4 + ["Return"], b","),
        ]
        for what, keys, separator in cases:
            with self.subTest(what):
                self.fill_slot("31", "one")
                DESKTOP.set_x_clipboard("two")
                DESKTOP.press("编辑框12")  # the focus in another slot
                focus = self.focus_id()
                self.append("下箭4", keys)
                expected = b"one" + separator + b"two"
                self.assertEqual(self.wait_bytes("31", expected), expected)
                self.assertEqual(self.focus_id(), focus, "the focus stays where it was")
                if separator == dt.ansi("，"):
                    DESKTOP.press("复制31")
                    self.assertEqual(self.wait_x_clipboard("one，two"), "one，two",
                                     "copied to the X side as UTF-8")

    def test_custom_separator(self):
        self.fill_slot("31", "one")
        DESKTOP.set_x_clipboard("two")
        row = ("自定义1", "自定义2", "自定义3")
        self.assertEqual([DESKTOP.control(n)["shown"] for n in row], [False] * 3, "row hidden at first")

        def ask_for_separator(what):
            self.append("下箭4", CUSTOM_ITEM)
            box = DESKTOP.wait_message_box(dt.BOX_CAPTION)
            self.assertIn(CUSTOM_PROMPT, box["texts"], what)
            self.assertEqual([DESKTOP.control(n)["shown"] for n in row], [True] * 3, f"{what}: row shown")
            self.assertEqual(DESKTOP.text("自定义1"), "自定义字符：")
            self.assertEqual(DESKTOP.text("自定义3"), "关闭")
            DESKTOP.close_message_box(box)
            self.assertEqual(self.wait_bytes("31", b"one", timeout=1), b"one", f"{what}: slot unchanged")
            deadline = time.monotonic() + 3
            while self.focus_id() != DESKTOP.control("自定义2")["id"] and time.monotonic() < deadline:
                time.sleep(0.05)
            self.assertEqual(self.focus_id(), DESKTOP.control("自定义2")["id"], f"{what}: focus in the box")

        with self.subTest("empty separator"):
            ask_for_separator("empty separator")
        with self.subTest("typed separator, used twice"):
            DESKTOP.type_text("-|-")
            self.assertEqual(self.wait_text("自定义2", "-|-"), "-|-")
            self.append("下箭4", CUSTOM_ITEM)
            self.assertEqual(self.wait_bytes("31", b"one-|-two"), b"one-|-two")
            self.append("下箭4", CUSTOM_ITEM)
            self.assertEqual(self.wait_bytes("31", b"one-|-two-|-two"), b"one-|-two-|-two")
            self.assertEqual(DESKTOP.message_boxes(dt.BOX_CAPTION), [])
        with self.subTest("关闭 hides the row and forgets the separator"):
            DESKTOP.press("自定义3")
            time.sleep(0.3)
            self.assertEqual([DESKTOP.control(n)["shown"] for n in row], [False] * 3)
            self.assertEqual(DESKTOP.text("自定义2"), "")
            self.fill_slot("31", "one")
            DESKTOP.set_x_clipboard("two")
            ask_for_separator("after 关闭")

    # ---- reading the clipboard --------------------------------------------------

    def test_text_block_without_zero_byte(self):
        # CF_TEXT put by another program in a block of exactly the text's length,
        # with no zero byte after it. Wine 8 terminates such a block itself, by
        # writing a zero over its last byte, for every reader (the probe reads
        # back the same): the paste takes the block up to that zero and nothing
        # from past the block.
        cases = [
            ("13 ASCII bytes", b"block size 13"),
            ("GBK, odd length", dt.ansi("剪贴板块") + b"xyz"),
            ("zero byte inside", b"before\0after"),
        ]
        for what, block in cases:
            with self.subTest(what):
                answer = DESKTOP.set_windows_clipboard(block, exact=True)
                self.assertEqual(answer["block_size"], len(block))
                delivered = DESKTOP.windows_clipboard()
                self.assertEqual(delivered["block_size"], len(block))
                expected = block[:-1].split(b"\0")[0]
                self.assertEqual(delivered["text_bytes"], expected, "what a reader gets under Wine")
                DESKTOP.press("粘贴33")
                self.assertEqual(self.wait_bytes("33", expected), expected)

    def test_clipboard_held_open_by_another_program(self):
        # (hold ms, slot text afterwards): a short hold is waited out; a long one
        # leaves the paste with nothing, and the slot is emptied.
        cases = [(150, "held 文本"), (1000, "")]
        for hold_ms, expected in cases:
            with self.subTest(f"held {hold_ms} ms"):
                self.fill_slot("32", "before")
                DESKTOP.set_x_clipboard("held 文本")
                # Wine takes the new X text over before the hold begins.
                DESKTOP.wait_for(lambda: DESKTOP.windows_clipboard().get("text") == "held 文本", 5,
                                 what="the X text on the Windows clipboard")
                paste = dt.centre(DESKTOP.control("粘贴32")["rect"])
                DESKTOP.hold_clipboard(hold_ms)
                DESKTOP.click_at(*paste)
                status = DESKTOP.hold_status()
                if status["ended"] and hold_ms < 1000:
                    # A busy machine delivered the click after the short hold:
                    # this case then proves nothing either way.
                    time.sleep(0.3)
                    self.skipTest("the click landed after the hold had ended")
                self.assertFalse(status["ended"], "pasted while the clipboard was held")
                time.sleep(hold_ms / 1000 + 0.3)
                self.assertEqual(self.wait_text("编辑框32", expected, timeout=2), expected)
                self.assertTrue(DESKTOP.hold_status()["ended"])
