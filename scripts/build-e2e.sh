#!/usr/bin/env bash
# The 64-bit program for the end-to-end tests: the win64 preset with every web
# address pointed at the test server on 127.0.0.1.
set -euo pipefail
cd "$(dirname "$0")/.."
port=${QUILLO_E2E_PORT:-18231}
base="http://127.0.0.1:$port"
cmake --preset win64 -B build/e2e-win64 \
  -DQUILLO_MAIN_ONLINE_PAGE="$base/online/main.htm" \
  -DQUILLO_SEARCHBOX_ONLINE_PAGE="$base/online/searchbox.htm" \
  -DQUILLO_MINI_ONLINE_PAGE="$base/online/mini.htm" \
  -DQUILLO_CHANNEL_HOST="$base" \
  -DQUILLO_UPDATE_PAGE="$base/home/" >/dev/null
cmake --build build/e2e-win64 -j"${JOBS:-2}"
