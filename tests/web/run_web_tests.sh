#!/usr/bin/env bash
# The web build's tests: builds the page (build-web/, or RANVEL_WEB_BUILD)
# when needed, then
#   run_web_tests.sh browser   the game in headless Chromium (tests/web/browser.test.mjs)
#   run_web_tests.sh floor     the floor's kernels as WebAssembly, under node
# Skipped (exit 77) only when emscripten or chromium is not installed.
set -uo pipefail
cd "$(dirname "$0")/../.."
what=${1:-browser}
build=${RANVEL_WEB_BUILD:-build-web}

if ! command -v emcc >/dev/null; then
  echo "SKIP: emscripten is not installed (make web installs it)"
  exit 77
fi
if [ "$what" = browser ] && ! command -v chromium >/dev/null; then
  echo "SKIP: chromium is not installed (make web installs it)"
  exit 77
fi

# One build at a time (ctest may start both tests together). Debian's emcc
# finds its JavaScript helpers (acorn) only through NODE_PATH.
mkdir -p "$build"
log="$build/web_tests_build.log"
if ! flock "$build/.build-lock" bash -c '
       build=$1 log=$2
       export NODE_PATH=/usr/share/nodejs
       { [ -f "$build/CMakeCache.txt" ] || emcmake cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release; } >"$log" 2>&1 &&
         cmake --build "$build" -j 2 >>"$log" 2>&1' _ "$build" "$log"; then
  echo "FAIL: the web build failed:"
  tail -40 "$log"
  exit 1
fi

case "$what" in
  floor)
    # The glue of node >= 18 runs only without node's own fetch.
    exec node --no-experimental-fetch "$build/ranvel-floor-tests.js"
    ;;
  browser)
    if [ ! -d tests/web/node_modules/puppeteer-core ]; then
      (cd tests/web && npm ci --no-audit --no-fund) || { echo "FAIL: npm ci in tests/web failed"; exit 1; }
    fi
    exec node --test --test-concurrency=1 tests/web/browser.test.mjs
    ;;
  *)
    echo "usage: $0 browser|floor" >&2
    exit 2
    ;;
esac
