"""A real desktop for the end-to-end tests: an Xvfb screen, a fresh Wine prefix,
the program started from a run folder under Wine, real mouse and keyboard input
(xdotool), the real X clipboard (xclip), screenshots (ImageMagick) and a probe
program inside the same Wine prefix that reads the program's windows back.

Everything started here is ended by Desktop.close(), also after a failure.
"""

import json
import os
import select
import shutil
import signal
import subprocess
import time
from pathlib import Path

REPO = Path(__file__).resolve().parent.parent
WORK = REPO / "build" / "e2e"
SCREENS = WORK / "screens"
WINE = "/usr/lib/wine/wine64"
SCREEN_SIZE = (1366, 768)

MAIN_TITLE = "Brenvik之Quillo v1.15"
BOX_CAPTION = "Brenvik之Quillo"
EXE_NAME = "zoLapet.exe"
TRAY_CLASS = "__winex11_standalone_tray"
MESSAGE_BOX_CLASS = "#32770"


class DesktopError(RuntimeError):
    pass


def ansi(text):
    """Bytes of a text in the program's ANSI code page (936)."""
    return text.encode("gbk")


def _decode_hex_fields(value):
    """Adds a decoded field beside every "<name>_hex" field, recursively."""
    if isinstance(value, list):
        return [_decode_hex_fields(v) for v in value]
    if isinstance(value, dict):
        out = {}
        for key, item in value.items():
            item = _decode_hex_fields(item)
            out[key] = item
            if key.endswith("_hex") and isinstance(item, str):
                raw = bytes.fromhex(item)
                out[key[:-4] + "_bytes"] = raw
                out[key[:-4]] = raw.decode("gbk", errors="replace")
            elif key.endswith("args_hex") and isinstance(item, list):
                out["args_bytes"] = [bytes.fromhex(a) for a in item]
        return out
    return value


def windows_path(path):
    """The path as a Windows program in the prefix sees it (drive Z: is /)."""
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


def centre(rect):
    left, top, right, bottom = rect
    return (left + right) // 2, (top + bottom) // 2


def _display_free(number):
    lock = Path(f"/tmp/.X{number}-lock")
    if not lock.exists() and not Path(f"/tmp/.X11-unix/X{number}").exists():
        return True
    try:
        pid = int(lock.read_text().strip())
        os.kill(pid, 0)
        return False
    except (OSError, ValueError):
        # A stale lock of a server that is gone.
        for stale in (lock, Path(f"/tmp/.X11-unix/X{number}")):
            try:
                stale.unlink()
            except OSError:
                pass
        return True


def _exit_on_signal(number, _frame):
    raise KeyboardInterrupt(f"signal {number}")


class Program:
    """A Windows program started under Wine; its Unix process is the program."""

    def __init__(self, popen, path, log):
        self.popen = popen
        self.path = path
        self.log = log

    def exit_code(self, timeout):
        """The program's exit code, or None if it is still running after timeout s."""
        try:
            return self.popen.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    def running(self):
        return self.popen.poll() is None

    def kill(self):
        if self.popen.poll() is None:
            self.popen.kill()
            try:
                self.popen.wait(timeout=10)
            except subprocess.TimeoutExpired:
                pass


class Probe:
    """quillo_probe.exe in serve mode: one command line in, one JSON line out."""

    def __init__(self, desktop, exe):
        self.popen = subprocess.Popen(
            [WINE, str(exe), "serve"], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
            stderr=subprocess.DEVNULL, env=desktop.env, cwd=str(WORK))
        self.buffer = b""

    def call(self, *args, timeout=30):
        if self.popen.poll() is not None:
            raise DesktopError(f"probe has ended (code {self.popen.returncode})")
        line = b"\t".join(a if isinstance(a, bytes) else ansi(str(a)) for a in args) + b"\n"
        self.popen.stdin.write(line)
        self.popen.stdin.flush()
        deadline = time.monotonic() + timeout
        fd = self.popen.stdout.fileno()
        while b"\n" not in self.buffer:
            left = deadline - time.monotonic()
            if left <= 0:
                raise DesktopError(f"probe gave no answer to {args!r} within {timeout} s")
            ready, _, _ = select.select([fd], [], [], left)
            if ready:
                chunk = os.read(fd, 65536)
                if not chunk:
                    raise DesktopError(f"probe ended while answering {args!r}")
                self.buffer += chunk
        answer, self.buffer = self.buffer.split(b"\n", 1)
        return _decode_hex_fields(json.loads(answer.decode("ascii").strip()))

    def close(self):
        if self.popen.poll() is None:
            try:
                self.popen.stdin.write(b"quit\n")
                self.popen.stdin.flush()
                self.popen.wait(timeout=5)
            except (OSError, subprocess.TimeoutExpired):
                self.popen.kill()
                self.popen.wait(timeout=5)


class Desktop:
    """Xvfb + a fresh Wine prefix + the probe. Use as a context manager."""

    def __init__(self, build_dir, display=98, name="e2e", keep_prefix=False):
        self.build_dir = Path(build_dir).resolve()
        self.preferred_display = display
        self.name = name
        self.keep_prefix = keep_prefix
        self.xvfb = None
        self.display = None
        self.prefix = None
        self.env = None
        self.probe = None
        self.programs = []
        self.clipboard_owners = []
        self.runs = 0

    # ---- life cycle ---------------------------------------------------------

    def __enter__(self):
        # A run ended from outside (a time limit, a closed terminal) still
        # cleans up: the signal becomes KeyboardInterrupt, which unittest lets
        # through, as it does Ctrl-C, and which leaves the with block.
        for number in (signal.SIGTERM, signal.SIGHUP):
            if signal.getsignal(number) is signal.SIG_DFL:
                signal.signal(number, _exit_on_signal)
        try:
            self.start()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()
        return False

    def start(self):
        for exe in ("quillo_probe.exe",):
            if not (self.build_dir / exe).is_file():
                raise DesktopError(f"{self.build_dir / exe} is missing: build the Windows preset first")
        WORK.mkdir(parents=True, exist_ok=True)
        SCREENS.mkdir(parents=True, exist_ok=True)
        self._remove_leftovers()
        self._start_xvfb()
        self.prefix = WORK / f"prefix-{self.name}-{os.getpid()}"
        shutil.rmtree(self.prefix, ignore_errors=True)
        self.env = dict(os.environ)
        self.env.update({
            "DISPLAY": self.display,
            "WINEPREFIX": str(self.prefix),
            "WINEDEBUG": "-all",
            "WINEDLLOVERRIDES": "mshtml=",
            "WINELOADER": WINE,
            "LANG": "zh_CN.UTF-8",
            "LC_ALL": "zh_CN.UTF-8",
        })
        self.env.pop("WAYLAND_DISPLAY", None)
        boot = subprocess.run([WINE, "wineboot", "-i"], env=self.env, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, timeout=180)
        if boot.returncode != 0:
            raise DesktopError(f"wineboot -i failed with code {boot.returncode}")
        self._wineserver("-w", timeout=180)
        self.check_code_page()
        self.start_probe()

    def clean_up_runs(self):
        """Removes the run folders this desktop made."""
        for folder in WORK.glob(f"run-{self.name}-{os.getpid()}-*"):
            shutil.rmtree(folder, ignore_errors=True)

    def close(self):
        if self.probe:
            try:
                self.probe.close()
            except Exception:
                pass
            self.probe = None
        for program in self.programs:
            program.kill()
        self.programs = []
        self.release_clipboard()
        if self.env:
            try:
                self._wineserver("-k", timeout=30)
            except Exception:
                pass
        if self.xvfb and self.xvfb.poll() is None:
            os.killpg(self.xvfb.pid, signal.SIGTERM)
            try:
                self.xvfb.wait(timeout=10)
            except subprocess.TimeoutExpired:
                os.killpg(self.xvfb.pid, signal.SIGKILL)
                self.xvfb.wait(timeout=10)
        self.xvfb = None
        if self.prefix and not self.keep_prefix:
            shutil.rmtree(self.prefix, ignore_errors=True)

    def reset_wine(self):
        """Ends every Windows process of the prefix (the program, its tray icons,
        the probe) and starts a fresh probe: each group of tests starts clean."""
        if self.probe:
            self.probe.close()
            self.probe = None
        for program in self.programs:
            program.kill()
        self.programs = []
        self.release_clipboard()
        self._wineserver("-k", timeout=30)
        self._wineserver("-w", timeout=30)
        self.start_probe()

    def _remove_leftovers(self):
        """Run folders and prefixes of earlier runs whose process is gone."""
        for folder in list(WORK.glob("run-*-*")) + list(WORK.glob("prefix-*-*")):
            parts = folder.name.split("-")
            pid = next((int(p) for p in parts[2:] if p.isdigit()), None)
            if pid is None or pid == os.getpid():
                continue
            try:
                os.kill(pid, 0)
            except ProcessLookupError:
                shutil.rmtree(folder, ignore_errors=True)
            except OSError:
                pass

    def _start_xvfb(self):
        number = self.preferred_display
        while not _display_free(number):
            number += 1
            if number > self.preferred_display + 20:
                raise DesktopError("no free X display number")
        self.display = f":{number}"
        width, height = SCREEN_SIZE
        self.xvfb = subprocess.Popen(
            ["Xvfb", self.display, "-screen", "0", f"{width}x{height}x24", "-nolisten", "tcp"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
        env = dict(os.environ, DISPLAY=self.display)
        deadline = time.monotonic() + 20
        while time.monotonic() < deadline:
            if self.xvfb.poll() is not None:
                raise DesktopError(f"Xvfb {self.display} ended with code {self.xvfb.returncode}")
            probe = subprocess.run(["xdotool", "getdisplaygeometry"], env=env, capture_output=True)
            if probe.returncode == 0:
                return
            time.sleep(0.1)
        raise DesktopError(f"Xvfb {self.display} did not come up")

    def _wineserver(self, *args, timeout):
        server = shutil.which("wineserver") or "/usr/lib/wine/wineserver64"
        subprocess.run([server, *args], env=self.env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=timeout)

    def start_probe(self):
        self.probe = Probe(self, self.build_dir / "quillo_probe.exe")
        self.probe.call("echo", timeout=90)

    def check_code_page(self):
        """Titles reach the probe through its command line, which Wine converts
        to the ANSI code page: it must be 936 for the GBK texts to match."""
        out = subprocess.run([WINE, str(self.build_dir / "quillo_probe.exe"), "echo", MAIN_TITLE],
                             env=self.env, capture_output=True, timeout=90)
        answer = _decode_hex_fields(json.loads(out.stdout.decode("ascii").strip().splitlines()[-1]))
        if answer["acp"] != 936 or answer["args_bytes"] != [ansi(MAIN_TITLE)]:
            raise DesktopError(f"ANSI code page {answer['acp']} (need 936 with LANG=zh_CN.UTF-8, "
                               f"is the zh_CN.UTF-8 locale generated?); argv {answer['args_bytes']!r}")

    # ---- the program --------------------------------------------------------

    def run_folder_copy(self, exe_name=EXE_NAME, source=None):
        """A new, empty run folder with a copy of the program named exe_name in it."""
        source = Path(source) if source else self.build_dir / EXE_NAME
        if not source.is_file():
            raise DesktopError(f"{source} is missing")
        self.runs += 1
        folder = WORK / f"run-{self.name}-{os.getpid()}-{self.runs}"
        shutil.rmtree(folder, ignore_errors=True)
        folder.mkdir(parents=True)
        path = folder / exe_name
        shutil.copy2(source, path)
        return path

    def start_program(self, exe_name=EXE_NAME, source=None, args=()):
        """Copies the program into a new run folder under exe_name and starts it there."""
        path = self.run_folder_copy(exe_name, source)
        folder = path.parent
        log = open(folder / "wine.log", "wb")
        popen = subprocess.Popen([WINE, str(path), *args], cwd=str(folder), env=self.env,
                                 stdout=log, stderr=subprocess.STDOUT)
        log.close()
        program = Program(popen, path, folder / "wine.log")
        self.programs.append(program)
        return program

    def call(self, *args, timeout=30):
        return self.probe.call(*args, timeout=timeout)

    def window(self, title=MAIN_TITLE):
        return self.call("window", title)

    def wait_for(self, condition, timeout, interval=0.1, what="condition"):
        """Polls condition() until it returns something true; returns that."""
        deadline = time.monotonic() + timeout
        while True:
            result = condition()
            if result:
                return result
            if time.monotonic() > deadline:
                raise DesktopError(f"timed out after {timeout} s waiting for {what}")
            time.sleep(interval)

    def wait_window(self, title=MAIN_TITLE, timeout=30):
        """The window with that title, once it exists and is visible."""
        def visible():
            w = self.window(title)
            return w if w["found"] and w["visible"] else None
        return self.wait_for(visible, timeout, what=f"visible window {title!r}")

    def controls(self, title=MAIN_TITLE):
        answer = self.call("controls", title)
        return answer["controls"] if answer["found"] else []

    def control(self, name, title=MAIN_TITLE):
        answer = self.call("control", title, name)
        if not answer["found"]:
            raise DesktopError(f"control {name!r}: {answer.get('error', 'not found')}")
        return answer

    def text(self, name, title=MAIN_TITLE):
        return self.control(name, title)["text_bytes"].decode("gbk", errors="replace")

    def focus(self, title=MAIN_TITLE):
        return self.call("focus", title)

    def find_class(self, cls):
        return self.call("find-class", cls)["windows"]

    def message_boxes(self, caption=None):
        boxes = [w for w in self.find_class(MESSAGE_BOX_CLASS) if w["visible"]]
        return [b for b in boxes if caption is None or b["title"] == caption]

    def tray_icons(self):
        """Icons shown in Wine's own tray window (there is no X tray here)."""
        icons = []
        for tray in self.find_class(TRAY_CLASS):
            if tray["visible"]:
                icons += [child for child in tray["children"] if child["shown"]]
        return icons

    def windows_clipboard(self):
        return self.call("clipboard")

    def set_windows_clipboard(self, data, exact=False):
        """Puts bytes on the clipboard as CF_TEXT from inside the prefix; with
        exact the memory block holds just them, with no terminating zero byte."""
        answer = self.call("set-clipboard", data.hex(), *(["exact"] if exact else []))
        if not answer.get("set"):
            raise DesktopError(f"could not set the Windows clipboard: {answer}")
        return answer

    def hold_clipboard(self, ms):
        """Another process keeps the clipboard open for ms milliseconds; returns
        once it is open."""
        answer = self.call("hold-clipboard", ms)
        if not answer.get("opened"):
            raise DesktopError("the probe could not open the clipboard")
        return answer

    def hold_status(self):
        return self.call("hold-status")

    def show_window(self, how, title=MAIN_TITLE):
        """ShowWindow on the program's window from outside (SW_SHOW 5, SW_RESTORE 9)."""
        return self.call("show-window", title, how)

    def menus(self):
        """The open pop-up menus (windows of class #32768)."""
        return [m for m in self.find_class("#32768") if m["visible"]]

    def choose_menu_item(self, keys, timeout=5):
        """Waits for an open pop-up menu, then answers it with the keyboard as a
        user does (for example Down, Down, Return; or Escape) and waits until it
        has closed. Returns the menu window as it was open."""
        menu = self.wait_for(lambda: self.menus(), timeout, what="an open pop-up menu")[0]
        for key in keys:
            self.key(key)
            time.sleep(0.05)
        self.wait_for(lambda: not self.menus(), timeout, what="the pop-up menu to close")
        return menu

    def wait_message_box(self, caption, timeout=10):
        """A visible message box with that caption, once it shows its text; its
        children's texts are in "texts"."""
        def shown():
            for box in self.message_boxes(caption):
                texts = [child["text"] for child in box["children"] if child["text"]]
                if len(texts) >= 2:
                    return dict(box, texts=texts)
            return None
        return self.wait_for(shown, timeout, what=f"a message box {caption!r}")

    def close_message_box(self, box, timeout=10):
        """Clicks the box's only button and waits until the box has gone."""
        buttons = [c for c in box["children"] if c["class"].lower() == "button" and c["shown"]]
        if len(buttons) != 1:
            raise DesktopError(f"message box with {len(buttons)} buttons")
        self.click_at(*centre(buttons[0]["rect"]))
        self.wait_for(lambda: not [b for b in self.message_boxes() if b["hwnd"] == box["hwnd"]],
                      timeout, what="the message box to close")

    # ---- input ----------------------------------------------------------------

    def xdotool(self, *args):
        subprocess.run(["xdotool", *map(str, args)], env=self.env, check=True, timeout=30)

    def click_at(self, x, y, button=1):
        # (No --sync: it waits for a pointer motion, which never comes when the
        # pointer already stands there. XTEST events arrive in order anyway.)
        self.xdotool("mousemove", x, y, "click", button)

    def press(self, name, title=MAIN_TITLE, down_only=False):
        """A real left click in the middle of the program's control; with
        down_only the button stays down until mouse_up()."""
        control = self.control(name, title)
        if not control["shown"]:
            raise DesktopError(f"control {name!r} is not visible")
        if down_only:
            self.xdotool("mousemove", *centre(control["rect"]), "mousedown", 1)
        else:
            self.click_at(*centre(control["rect"]))
        return control

    def mouse_up(self, button=1):
        self.xdotool("mouseup", button)

    def drag(self, x, y, dx, dy, steps=6, pause=0.05):
        """Presses the left button at (x, y), moves the pointer by (dx, dy) in a
        few steps as a hand does, and releases it there."""
        self.xdotool("mousemove", x, y, "mousedown", 1)
        time.sleep(0.2)
        done_x = done_y = 0
        for step in range(1, steps + 1):
            to_x, to_y = dx * step // steps, dy * step // steps
            self.xdotool("mousemove_relative", "--", to_x - done_x, to_y - done_y)
            done_x, done_y = to_x, to_y
            time.sleep(pause)
        time.sleep(0.2)
        self.xdotool("mouseup", 1)

    def type_text(self, text):
        self.xdotool("type", "--delay", 30, "--", text)

    def key(self, *keys):
        self.xdotool("key", *keys)

    # ---- the X clipboard --------------------------------------------------------

    def set_x_clipboard(self, text):
        """Makes an X client own the CLIPBOARD selection with the text as UTF-8.
        xclip stays running as the owner until another client takes it over."""
        self.release_clipboard()
        owner = subprocess.Popen(["xclip", "-selection", "clipboard", "-i", "-quiet"],
                                 stdin=subprocess.PIPE, stdout=subprocess.DEVNULL,
                                 stderr=subprocess.DEVNULL, env=self.env)
        owner.stdin.write(text.encode("utf-8"))
        owner.stdin.close()
        self.clipboard_owners.append(owner)
        self.wait_for(lambda: self.x_clipboard() == text, 10, what="xclip to own the clipboard")

    def x_clipboard(self):
        """The CLIPBOARD selection as UTF-8 text, or None when nobody offers text."""
        try:
            out = subprocess.run(["xclip", "-selection", "clipboard", "-o"], env=self.env,
                                 capture_output=True, timeout=10)
        except subprocess.TimeoutExpired:
            return None
        if out.returncode != 0:
            return None
        return out.stdout.decode("utf-8", errors="replace")

    def release_clipboard(self):
        for owner in self.clipboard_owners:
            if owner.poll() is None:
                owner.kill()
            owner.wait(timeout=10)
        self.clipboard_owners = []

    # ---- screenshots ----------------------------------------------------------

    def screenshot(self, name):
        path = SCREENS / f"{name}.png"
        subprocess.run(["import", "-window", "root", str(path)], env=self.env, check=True,
                       timeout=60, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return path


def pixels(path, left, top, width, height):
    """The RGB colours of a rectangle of a picture file, as rows of (r, g, b)."""
    out = subprocess.run(["convert", str(path), "-crop", f"{width}x{height}+{left}+{top}", "+repage",
                          "-depth", "8", "rgb:-"], check=True, capture_output=True, timeout=60).stdout
    if len(out) != width * height * 3:
        raise DesktopError(f"{path}: {len(out)} bytes for a {width} x {height} crop")
    return [[tuple(out[(y * width + x) * 3:(y * width + x) * 3 + 3]) for x in range(width)]
            for y in range(height)]


def pixel(path, x, y):
    return pixels(path, x, y, 1, 1)[0][0]
