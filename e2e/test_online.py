"""End-to-end tests of the advert lines and of opening links: the main online
page is served by a web server on 127.0.0.1 (e2e/web.py), made with the page
author's tool; links go to a stand-in browser registered as the default one
in the Wine registry, which records the command line it was started with."""

import json
import os
import re
import shutil
import subprocess
import time
import traceback
from pathlib import Path
from urllib.parse import urlsplit

import desktop as dt
import web
from harness import DESKTOP, ProgramGroup

CLIENTS_KEY = r"HKLM\SOFTWARE\Clients\StartMenuInternet"
TEST_CLIENT = "QUILLOTEST.EXE"
UPPER_LINE = "标签_上广告"
LOWER_LINE = "标签_假下并广告"
TITLE_LINE = "标签_窗口假上"  # always holds the window's caption: read to see whether the window answers
DEFAULT_LOWER_TEXT = "淘宝淘实惠"
NO_BROWSER_CAPTION = "提示："
NO_BROWSER_TEXT = "未发现默认网络浏览器或默认网络浏览器配置错误，该网址已送至剪贴板。"
FETCH_WAIT = 10.0  # seconds the window waits for a download


# ---- what the program under test was built with --------------------------------

def build_settings(build_dir):
    """The build-time web addresses of the exe in build_dir, from its CMake cache
    (the defaults of scripts/build-e2e.sh when there is none)."""
    values = {
        "QUILLO_MAIN_ONLINE_PAGE": "http://127.0.0.1:18231/online/main.htm",
        "QUILLO_CHANNEL_HOST": "http://127.0.0.1:18231",
        "QUILLO_CHANNEL_PID": "mm_10000000_0_0",
        "QUILLO_CHANNEL_EVENT_ID": "101329",
        "QUILLO_ONLINE_KEY_TEXT": "zeqi",
    }
    cache = Path(build_dir) / "CMakeCache.txt"
    if cache.is_file():
        values.update(_cache_values(cache))
    main = urlsplit(values["QUILLO_MAIN_ONLINE_PAGE"])
    if main.scheme != "http" or main.hostname != "127.0.0.1":
        raise dt.DesktopError(f"{build_dir} was not built for the test server "
                              f"(main page {values['QUILLO_MAIN_ONLINE_PAGE']}): use scripts/build-e2e.sh")
    return {
        "port": main.port or 80,
        "main_path": main.path,
        "base": f"http://127.0.0.1:{main.port or 80}",
        "channel_link": (values["QUILLO_CHANNEL_HOST"] + "/go/chn/tbk_channel/channelcode.php?pid="
                         + values["QUILLO_CHANNEL_PID"] + "&eventid=" + values["QUILLO_CHANNEL_EVENT_ID"]),
        "key_text": values["QUILLO_ONLINE_KEY_TEXT"],
    }


def _cache_values(cache):
    found = {}
    for line in cache.read_text(errors="replace").splitlines():
        match = re.match(r"(QUILLO_\w+):\w+=(.*)$", line)
        if match:
            found[match.group(1)] = match.group(2)
    return found


def blocktool(key_text):
    """The page author's tool (a host build): $QUILLO_BLOCKTOOL, else the native
    preset's, else one built here. Its key text must be the program's."""
    tool = Path(os.environ.get("QUILLO_BLOCKTOOL") or dt.REPO / "build" / "native" / "quillo_blocktool")
    if not tool.is_file():
        folder = dt.WORK / "blocktool"
        for command in (["cmake", "-S", str(dt.REPO), "-B", str(folder), "-G", "Ninja",
                         "-DCMAKE_BUILD_TYPE=RelWithDebInfo"],
                        ["cmake", "--build", str(folder), "--target", "quillo_blocktool", "-j2"]):
            subprocess.run(command, check=True, stdout=subprocess.DEVNULL, timeout=900)
        tool = folder / "quillo_blocktool"
    cache = tool.parent / "CMakeCache.txt"
    tool_key = _cache_values(cache).get("QUILLO_ONLINE_KEY_TEXT", "zeqi") if cache.is_file() else "zeqi"
    if tool_key != key_text:
        raise dt.DesktopError(f"{tool} enciphers with key text {tool_key!r}, the program reads {key_text!r}")
    return tool


def main_page(tool, plain):
    """A GBK page whose main block enciphers plain, as a publisher makes it."""
    source = dt.WORK / f"main-plain-{os.getpid()}.txt"
    source.write_bytes(dt.ansi(plain))
    try:
        block = subprocess.run([str(tool), "encode", str(source), "--main"], check=True,
                               capture_output=True, timeout=60).stdout
    finally:
        source.unlink()
    head = ('<html><head><meta http-equiv="Content-Type" content="text/html; charset=gbk">'
            "<title>Quillo 联机信息</title></head><body><p>这一页由 Quillo 读取。</p>\n<!-- ")
    return dt.ansi(head) + block + dt.ansi(" -->\n</body></html>\n")


# ---- the Wine registry -----------------------------------------------------------

def reg(*args, check=True):
    out = subprocess.run([dt.WINE, "reg", *args], env=DESKTOP.env, capture_output=True, timeout=60)
    if check and out.returncode != 0:
        raise dt.DesktopError(f"reg {' '.join(args)} failed with code {out.returncode}: "
                              f"{out.stdout.decode('gbk', 'replace')}")
    return out


def remove_browsers():
    """No default Start-menu Internet client, and no client registered at all."""
    reg("delete", CLIENTS_KEY, "/f", check=False)


def register_browser(command):
    """TEST_CLIENT, with that open command, becomes the default client."""
    reg("add", CLIENTS_KEY + "\\" + TEST_CLIENT + r"\shell\open\command", "/ve", "/d", command, "/f")
    reg("add", CLIENTS_KEY, "/ve", "/d", TEST_CLIENT, "/f")


class RegistrySnapshot:
    """The browser registration as it was, put back when a group ends (the
    Wine prefix is shared by every group of the run)."""

    def __init__(self):
        self.saved = dt.WORK / f"clients-{os.getpid()}.reg"
        self.existed = reg("export", CLIENTS_KEY, dt.windows_path(self.saved), "/y", check=False).returncode == 0

    def restore(self):
        remove_browsers()
        if self.existed:
            reg("import", dt.windows_path(self.saved))
        self.saved.unlink(missing_ok=True)


# ---- the stand-in browser --------------------------------------------------------

class StandInBrowser:
    """standin_browser.exe in a folder of its own; each start leaves launch-<n>.json there."""

    def __init__(self):
        source = DESKTOP.build_dir / "standin_browser.exe"
        if not source.is_file():
            raise dt.DesktopError(f"{source} is missing: build the Windows preset first")
        self.folder = dt.WORK / f"run-{DESKTOP.name}-{os.getpid()}-browser"
        shutil.rmtree(self.folder, ignore_errors=True)
        self.folder.mkdir(parents=True)
        self.exe = self.folder / "standin_browser.exe"
        shutil.copy2(source, self.exe)
        # Quoted, the way browsers register themselves.
        self.command = '"' + dt.windows_path(self.exe) + '"'

    def launches(self):
        files = sorted(self.folder.glob("launch-*.json"), key=lambda p: int(p.stem.split("-")[1]))
        return [dt._decode_hex_fields(json.loads(p.read_text())) for p in files]

    def wait_launch(self, count, timeout=10):
        """The count-th recorded start, or None."""
        deadline = time.monotonic() + timeout
        while True:
            launches = self.launches()
            if len(launches) >= count or time.monotonic() > deadline:
                return launches[count - 1] if len(launches) >= count else None
            time.sleep(0.1)

    def remove(self):
        shutil.rmtree(self.folder, ignore_errors=True)


# ---- the groups ------------------------------------------------------------------

class OnlineGroup(ProgramGroup):
    """One start of the program against the test server, with the browser
    registration the group sets up in prepare() before the start."""

    server = None
    snapshot = None
    browser = None

    @classmethod
    def setUpClass(cls):
        cls.start_error = None
        cls.program = None
        began = time.monotonic()
        try:
            cls.settings = build_settings(DESKTOP.build_dir)
            DESKTOP.reset_wine()
            cls.snapshot = RegistrySnapshot()
            cls.server = web.Server(cls.settings["port"])
            cls.server.start()
            cls.prepare()
            ready = time.monotonic()
            cls.program = DESKTOP.start_program(cls.exe_name)
            cls.started()
            print(f"[{cls.__name__}: clean Wine session and set-up {ready - began:.1f} s, "
                  f"program ready {cls.shown_at - ready:.1f} s]", flush=True)
        except Exception:
            cls.start_error = traceback.format_exc()

    @classmethod
    def prepare(cls):
        pass

    @classmethod
    def started(cls):
        cls.main = DESKTOP.wait_window(timeout=60)
        cls.shown_at = time.monotonic()

    @classmethod
    def tearDownClass(cls):
        super().tearDownClass()
        for step in (lambda: cls.server and cls.server.stop(),
                     lambda: cls.snapshot and cls.snapshot.restore(),
                     lambda: cls.browser and cls.browser.remove()):
            try:
                step()
            except Exception:
                traceback.print_exc()
        cls.server = cls.snapshot = cls.browser = None

    def assert_window_answers(self):
        began = time.monotonic()
        self.assertEqual(DESKTOP.text(TITLE_LINE), dt.MAIN_TITLE)
        self.assertLess(time.monotonic() - began, 1.0, "the window answers at once")


class OnlineAdverts(OnlineGroup):
    """A page made with the page author's tool, a stand-in browser registered."""

    UPPER_TEXT = "新版 Quillo 1.16 发布"
    LOWER_TEXT = "春季特卖：全场五折"

    @classmethod
    def prepare(cls):
        base = cls.settings["base"]
        # A link with a space and quotation marks, ending in a backslash; and
        # one ending in a character whose second GBK byte is 0x5C, the byte of
        # a backslash, right before the closing quotation mark.
        cls.upper_link = base + '/promo/春季 特卖.htm?q="x y"&from=quillo\\'
        cls.lower_link = base + "/shop/item.htm?id=42&name=錦"
        assert dt.ansi("錦")[1:] == b"\\"
        plain = (f"[广告文本开始]{cls.LOWER_TEXT}[广告文本结束]"
                 f"[广告链接开始]{cls.lower_link}[广告链接结束]"
                 f"[上广告文本开始]{cls.UPPER_TEXT}[上广告文本结束]"
                 f"[上广告链接开始]{cls.upper_link}[上广告链接结束]")
        tool = blocktool(cls.settings["key_text"])
        cls.server.route(cls.settings["main_path"], main_page(tool, plain))
        cls.browser = StandInBrowser()
        remove_browsers()
        register_browser(cls.browser.command)

    @classmethod
    def started(cls):
        super().started()
        cls.before = (DESKTOP.text(UPPER_LINE), DESKTOP.text(LOWER_LINE))
        cls.request = cls.server.wait_request(cls.settings["main_path"], timeout=12)
        cls.lines = None
        cls.set_at = None
        deadline = time.monotonic() + FETCH_WAIT + 2
        while cls.request and time.monotonic() < deadline:
            lines = (DESKTOP.text(UPPER_LINE), DESKTOP.text(LOWER_LINE))
            if lines != cls.before:
                cls.lines, cls.set_at = lines, time.monotonic()
                break
            time.sleep(0.05)
        time.sleep(0.3)
        DESKTOP.screenshot("online-adverts")

    def test_first_tick_shows_both_lines(self):
        self.assertEqual(self.before, ("", DEFAULT_LOWER_TEXT), "lines before the first tick")
        self.assertIsNotNone(self.request, "the main page was asked for within 12 s of the window showing")
        tick = self.request.at - self.shown_at
        print(f"    first request {tick:.2f} s after the window showed; "
              f"lines set {self.set_at - self.request.at if self.set_at else float('nan'):.2f} s after it")
        self.assertGreaterEqual(tick, 4.5, "the first tick comes 5 to 7 s after start-up")
        self.assertLessEqual(tick, 7.5, "the first tick comes 5 to 7 s after start-up")
        self.assertEqual((self.request.method, self.request.path, self.request.version),
                         ("GET", self.settings["main_path"], "HTTP/1.0"))
        self.assertEqual(self.request.headers.get("user-agent"), "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)")
        self.assertEqual(self.lines, (self.UPPER_TEXT + " |", self.LOWER_TEXT))
        self.assertLess(self.set_at - self.request.at, 2.0, "lines set as soon as the page has arrived")
        self.assertEqual(len(self.server.requests_for(self.settings["main_path"])), 1, "one fetch per tick")

    def test_press_on_a_line_starts_the_browser_with_its_link(self):
        # (line, link as the browser's one argument, end of its command line)
        cases = [
            (UPPER_LINE, self.upper_link.replace('"', "%22"),
             ' "' + self.upper_link.replace('"', "%22") + '\\"'),
            (LOWER_LINE, self.lower_link, ' "' + self.lower_link + '"'),
        ]
        for number, (line, argument, tail) in enumerate(cases, start=1):
            with self.subTest(line):
                DESKTOP.press(line)
                launch = self.browser.wait_launch(number)
                self.assertIsNotNone(launch, "the stand-in browser was started")
                print(f"    {line}: command line {launch['command_line_bytes']!r}")
                self.assertEqual(launch["command_line_bytes"], dt.ansi(self.browser.command + tail))
                self.assertEqual(launch["args_bytes"], [dt.ansi(dt.windows_path(self.browser.exe)), dt.ansi(argument)],
                                 "the link arrives as one argument")
                self.assertTrue(launch["startup_flags"] & 1, "STARTF_USESHOWWINDOW")
                self.assertEqual(launch["show_window"], 1, "SW_SHOWNORMAL")
                self.assert_window_answers()
        self.assertEqual(len(self.browser.launches()), len(cases), "one start per press")
        self.assertEqual(DESKTOP.message_boxes(), [])


class OnlineNoAnswer(OnlineGroup):
    """The server takes the request for the main page and does not answer;
    no browser is registered."""

    @classmethod
    def prepare(cls):
        tool = blocktool(cls.settings["key_text"])
        late_page = main_page(tool, "[广告文本开始]迟到的广告[广告文本结束][上广告文本开始]迟到[上广告文本结束]")
        cls.server.route(cls.settings["main_path"], late_page, hold=True)
        remove_browsers()

    @classmethod
    def started(cls):
        """Reads the title line again and again, from before the tick until the
        window has answered again for a while. A read sends WM_GETTEXT to the
        label (the probe's SendMessageTimeout); under Wine a read sent to the
        frozen window comes back, empty, only once the window takes up its
        messages again, and a read that gets the caption back shows that the
        window answers."""
        super().started()
        path = cls.settings["main_path"]
        cls.samples = []  # (began, ended, answered)
        cls.request = None
        deadline = time.monotonic() + 7.5 + FETCH_WAIT + 6
        while time.monotonic() < deadline:
            began = time.monotonic()
            try:
                answered = DESKTOP.text(TITLE_LINE) == dt.MAIN_TITLE
            except dt.DesktopError:
                answered = False
            cls.samples.append((began, time.monotonic(), answered))
            cls.request = cls.request or cls.server.wait_request(path, timeout=0)
            if cls.request and began > cls.request.at + FETCH_WAIT + 2 and answered:
                break
            time.sleep(0.1)
        cls.lines_after_wait = (DESKTOP.text(UPPER_LINE), DESKTOP.text(LOWER_LINE))
        # The late answer reaches the worker that is still waiting for it.
        cls.server.release(path)
        time.sleep(2)
        cls.lines_after_late_page = (DESKTOP.text(UPPER_LINE), DESKTOP.text(LOWER_LINE))

    def test_window_frozen_for_the_wait_then_defaults(self):
        self.assertIsNotNone(self.request, "the main page was asked for")
        at = self.request.at
        before = [s for s in self.samples if s[1] < at]
        self.assertTrue(before and all(s[2] for s in before), "the window answered before the tick")
        after = [s for s in self.samples if s[1] > at]
        back = next((s for s in after if s[2]), None)
        self.assertIsNotNone(back, "the window answered again")
        unanswered = after[:after.index(back)]
        print("    reads (start, end, answered) from the request on: "
              + ", ".join(f"({b - at:+.2f}, {e - at:+.2f}, {int(a)})" for b, e, a in after[:len(unanswered) + 2]))
        self.assertTrue(unanswered, "reads went unanswered after the request")
        # The unanswered reads follow each other without a gap: the window
        # did not answer at any moment in between.
        self.assertLess(unanswered[0][0] - at, 0.5)
        gaps = [later[0] - earlier[1] for earlier, later in zip(unanswered, unanswered[1:])]
        self.assertLess(max(gaps, default=0), 0.5)
        frozen_until = unanswered[-1][1] - at
        answered_at = back[1] - at
        print(f"    request {at - self.shown_at:.2f} s after the window showed; no answer until "
              f"{frozen_until:.2f} s after it; answered again at {answered_at:.2f} s")
        self.assertGreater(frozen_until, FETCH_WAIT - 1.0, "frozen for the whole wait")
        self.assertLess(answered_at, FETCH_WAIT + 1.0, "the wait ends after 10 s")
        self.assertEqual(self.lines_after_wait, ("", DEFAULT_LOWER_TEXT), "defaults after the wait")
        self.assertEqual(self.lines_after_late_page, ("", DEFAULT_LOWER_TEXT),
                         "a page arriving after the wait changes nothing at this tick")
        self.assertTrue(self.program.running())
        self.assert_window_answers()

    def test_lower_line_without_browser_puts_the_link_on_the_clipboard(self):
        missing = dt.windows_path(dt.WORK / "no-such-folder" / "browser.exe")
        cases = [
            ("no browser registered", remove_browsers),
            ("client whose command names a missing file", lambda: register_browser(f'"{missing}"')),
        ]
        for number, (what, registration) in enumerate(cases):
            with self.subTest(what):
                registration()
                DESKTOP.set_x_clipboard(f"something else {number}")
                DESKTOP.press(LOWER_LINE)

                def box():
                    return [b for b in DESKTOP.message_boxes(NO_BROWSER_CAPTION)
                            if NO_BROWSER_TEXT in [child["text"] for child in b["children"]]]
                found = DESKTOP.wait_for(box, 15, what="the no-browser message box")[0]
                if number == 0:
                    DESKTOP.screenshot("online-no-browser")
                clipboard = DESKTOP.windows_clipboard()
                self.assertEqual(clipboard.get("text_bytes"), dt.ansi(self.settings["channel_link"]))
                # (The X side takes the text over from Wine at its own pace; the
                # Windows clipboard above is what the program wrote.)
                buttons = [c for c in found["children"] if c["class"].lower() == "button" and c["shown"]]
                self.assertEqual(len(buttons), 1, "an OK box")
                DESKTOP.click_at(*dt.centre(buttons[0]["rect"]))
                DESKTOP.wait_for(lambda: not DESKTOP.message_boxes(NO_BROWSER_CAPTION), 10, what="the box to close")
                self.assert_window_answers()
