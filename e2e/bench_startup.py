#!/usr/bin/env python3
"""Start-up benchmark (not a test): the time from CreateProcess to a visible
main window under Wine, zoLapet.exe against minimal_window.exe (a program that
only opens one window), several runs each in one Wine session, measured inside
the prefix by quillo_probe.exe with QueryPerformanceCounter. Also the size of
the 32-bit product.

    python3 e2e/bench_startup.py [--build-dir build/win64] [--win32-exe build/win32/zoLapet.exe] [--runs 7]

Aims: median ratio at most 1.5, 32-bit zoLapet.exe at most 512 KiB. Prints the
numbers and writes them to build/e2e/bench.txt.
"""

import argparse
import statistics
import time
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import desktop as dt  # noqa: E402

RATIO_AIM = 1.5
SIZE_AIM = 512 * 1024
MINIMAL_TITLE = "Minimal Window"


def launch(desktop, exe, title, args=(), settle=3.0):
    # The probe ends each started program; the pause lets Wine finish cleaning
    # up after it (its windows, its tray icon) before the next start is timed.
    time.sleep(settle)
    answer = desktop.call("launch-time", dt.windows_path(exe), title, 60000, *args, timeout=90)
    if not answer.get("started") or not answer.get("found"):
        raise dt.DesktopError(f"{exe.name}: no visible window {title!r} ({answer})")
    return float(answer["ms"])


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build-dir", default="build/win64", help="folder with zoLapet.exe, minimal_window.exe, quillo_probe.exe")
    parser.add_argument("--win32-exe", default="build/win32/zoLapet.exe", help="the 32-bit product whose size is reported")
    parser.add_argument("--runs", type=int, default=7, help="measured runs of each program (after one warm-up run each)")
    parser.add_argument("--display", type=int, default=97)
    args = parser.parse_args()

    build = Path(args.build_dir).resolve()
    lines = []
    with dt.Desktop(build, display=args.display, name="bench") as desktop:
        program = desktop.run_folder_copy(dt.EXE_NAME)
        minimal = desktop.run_folder_copy("minimal_window.exe", build / "minimal_window.exe")
        launch(desktop, program, dt.MAIN_TITLE)
        launch(desktop, minimal, MINIMAL_TITLE, [MINIMAL_TITLE])
        times = {"zoLapet": [], "minimal": []}
        for _ in range(args.runs):
            # Alternating runs share whatever the machine is doing at the time.
            times["zoLapet"].append(launch(desktop, program, dt.MAIN_TITLE))
            times["minimal"].append(launch(desktop, minimal, MINIMAL_TITLE, [MINIMAL_TITLE]))
        desktop.clean_up_runs()

    median_program = statistics.median(times["zoLapet"])
    median_minimal = statistics.median(times["minimal"])
    ratio = median_program / median_minimal
    pair_ratio = statistics.median(p / m for p, m in zip(times["zoLapet"], times["minimal"]))
    lines.append(f"start-up to visible window under Wine, {args.runs} runs each ({build.name} build):")
    lines.append("  zoLapet.exe        ms: " + " ".join(f"{t:.0f}" for t in times["zoLapet"]))
    lines.append("  minimal_window.exe ms: " + " ".join(f"{t:.0f}" for t in times["minimal"]))
    lines.append(f"  median zoLapet {median_program:.0f} ms, median minimal {median_minimal:.0f} ms")
    lines.append(f"  ratio of medians {ratio:.2f} (median of run-pair ratios {pair_ratio:.2f}); "
                 f"aim at most {RATIO_AIM}: {'met' if ratio <= RATIO_AIM else 'NOT met'}")

    win32 = Path(args.win32_exe)
    if win32.is_file():
        size = win32.stat().st_size
        lines.append(f"size of {win32}: {size} bytes ({size / 1024:.1f} KiB); aim at most 512 KiB: "
                     f"{'met' if size <= SIZE_AIM else 'NOT met'}")
    else:
        lines.append(f"size of {win32}: not built (cmake --preset win32 && cmake --build --preset win32)")

    text = "\n".join(lines)
    print(text)
    dt.WORK.mkdir(parents=True, exist_ok=True)
    (dt.WORK / "bench.txt").write_text(text + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
