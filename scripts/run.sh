#!/usr/bin/env bash
# Builds the 64-bit zoLapet.exe and starts it under Wine.
#
#   scripts/run.sh
#
# On the current X display (DISPLAY set) the program keeps running; with no
# display it runs on a virtual Xvfb screen and is ended after the screenshot.
# Either way a screenshot is left at build/run/screenshot.png.
# Installs what it needs with apt-get (Debian), once, when something is missing.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$repo"

title="Brenvik之Quillo v1.15"
wine=/usr/lib/wine/wine64
run_dir="$repo/build/run"
shot="$run_dir/screenshot.png"

# ---- what the run needs (installed once, when missing; zh_CN.UTF-8 generated) ----
scripts/install-deps.sh cmake ninja-build g++-mingw-w64-x86-64 wine wine64 xvfb imagemagick \
    fonts-wqy-microhei locales

# ---- build ---------------------------------------------------------------------
cmake --preset win64
cmake --build --preset win64

# ---- run -------------------------------------------------------------------------
mkdir -p "$run_dir/app"
cp build/win64/zoLapet.exe "$run_dir/app/zoLapet.exe"
rm -f "$shot"

export WINEPREFIX="$run_dir/prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mshtml="
export LANG=zh_CN.UTF-8
export LC_ALL=zh_CN.UTF-8

xvfb_pid=""
if [ -z "${DISPLAY:-}" ]; then
    # A virtual screen on the first free display number from :90 on.
    n=90
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1366x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    echo "run: virtual screen $DISPLAY"
fi

cleanup_virtual() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
}
program_pid=""
if [ -n "$xvfb_pid" ]; then trap cleanup_virtual EXIT; fi

if [ ! -d "$WINEPREFIX" ]; then
    echo "run: creating the Wine prefix $WINEPREFIX"
    "$wine" wineboot -i >/dev/null 2>&1
    wineserver -w
fi

(cd "$run_dir/app" && exec "$wine" "$run_dir/app/zoLapet.exe" >"$run_dir/wine.log" 2>&1) &
program_pid=$!
echo "run: zoLapet.exe started (process $program_pid)"

# Wait for the main window when the probe is there, then give it time to paint.
if [ -f build/win64/quillo_probe.exe ]; then
    "$wine" build/win64/quillo_probe.exe wait-window "$title" 30000 >/dev/null 2>&1 || true
    sleep 2
else
    sleep 5
fi
import -window root "$shot"
echo "run: screenshot $shot"

if [ -n "$xvfb_pid" ]; then
    echo "run: ending the program on the virtual screen"
else
    echo "run: the program keeps running on $DISPLAY; it ends through its tray menu (退出)"
fi
