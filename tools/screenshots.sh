#!/usr/bin/env bash
# The pictures in docs/screenshots/ are goldens: kyr-headless draws them from
# the scripts in tests/golden/scripts/ (shows.txt: the intro, the menu, the
# demonstration and the credits; game.txt: a game and its outro) on a fixed
# clock, so every run gives the same pictures.
#   tools/screenshots.sh            checks them against a fresh run, pixel for
#                                   pixel, as the Golden.Pictures test does
#   tools/screenshots.sh --record   rewrites them from a fresh run
#   KYR_BUILD_DIR=other tools/screenshots.sh [--record]     (default: build/)
# It builds kyr-headless and kyr-golden (tools/golden/), which does the work:
# a failed check names each differing picture and leaves NAME.actual.png and
# NAME.diff.png (the differing pixels red) in BUILD/golden/pictures/.
# Record only pictures that are meant to change: look at the .diff.png first.
set -euo pipefail
cd "$(dirname "$0")/.."
case "${1:-}" in
    "" | --record) ;;
    *) echo "usage: tools/screenshots.sh [--record]" >&2; exit 2 ;;
esac
build="${KYR_BUILD_DIR:-build}"
[ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target kyr-headless kyr-golden -j2 >/dev/null
exec "$build/tools/golden/kyr-golden" pictures "$@"
