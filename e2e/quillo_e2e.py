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
import harness  # noqa: E402


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
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build-dir", default="build/win64", help="folder with zoLapet.exe and quillo_probe.exe")
    parser.add_argument("--display", type=int, default=98, help="X display number to start from")
    parser.add_argument("-k", dest="patterns", action="append", help="only tests whose name holds PATTERN")
    parser.add_argument("--keep-prefix", action="store_true", help="keep the Wine prefix for a look afterwards")
    args = parser.parse_args()

    loader = unittest.TestLoader()
    if args.patterns:
        loader.testNamePatterns = [f"*{p}*" for p in args.patterns]
    # Every e2e/test_*.py module holds test groups; they run in name order.
    here = Path(__file__).resolve().parent
    suite = unittest.TestSuite(loader.loadTestsFromModule(__import__(path.stem))
                               for path in sorted(here.glob("test_*.py")))
    planned = suite.countTestCases()

    started = time.monotonic()
    result = None
    try:
        with dt.Desktop(args.build_dir, display=args.display, name="tests",
                        keep_prefix=args.keep_prefix) as desktop:
            harness.set_desktop(desktop)
            print(f"e2e: X display {desktop.display}, Wine prefix {desktop.prefix}", flush=True)
            runner = unittest.TextTestRunner(verbosity=2, resultclass=Summary, stream=sys.stdout)
            result = runner.run(suite)
    except KeyboardInterrupt as stop:
        print(f"e2e: interrupted ({stop or 'Ctrl-C'})")
        result = None
    except Exception:
        traceback.print_exc()
    finally:
        harness.set_desktop(None)

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
