#!/usr/bin/env bash
# The window system and the terminal stay behind the platform layer: SDL and
# Xlib headers only in the SDL window files and the benchmarks/tests that
# compare against SDL, termios only in the console's terminal files.
set -euo pipefail
cd "$(dirname "$0")/.."
fail=0
sdl=$(git grep -l -E '#include *[<"](SDL|X11/)' -- '*.cpp' '*.h' | grep -v -E '^platform/graph/Sdl|^bench/|^tests/' || true)
tio=$(git grep -l -E '#include *<(termios|pty)\.h>' -- '*.cpp' '*.h' | grep -v -E '^platform/console/|^tests/' || true)
if [ -n "$sdl" ]; then echo "SDL or Xlib included outside the SDL window files: $sdl"; fail=1; fi
if [ -n "$tio" ]; then echo "termios included outside the console files: $tio"; fail=1; fi
[ $fail -eq 0 ] && echo "platform boundary: ok"
exit $fail
