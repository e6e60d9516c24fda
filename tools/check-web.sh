#!/usr/bin/env bash
# The web page's part of ./check: builds the page (with Emscripten's
# run-time assertions, which catch a wait that Asyncify does not cover) and
# its tests in build-web-check/, then runs them: the rasteriser, the
# geometry and the golden traces as WebAssembly under node, and the page in
# headless Chromium, compared with the native build given.
#   tools/check-web.sh NATIVE_BUILD [ctest arguments]
set -euo pipefail
cd "$(dirname "$0")/.."
native=$(cd "$1" && pwd)
shift
# Debian's emscripten finds its JavaScript parser (acorn) only here.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
build=build-web-check
emcmake cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DKYR_BUILD_TESTS=ON -DKYR_BUILD_BENCH=OFF \
    -DKYR_WEB_ASSERTIONS=ON -DKYR_NATIVE_BUILD="$native" >/dev/null
cmake --build "$build" -j"$(nproc)"
ctest --test-dir "$build" --output-on-failure --no-tests=error -j2 "$@"
