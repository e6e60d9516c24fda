#!/usr/bin/env bash
# Checks that ./play and ./check keep their own build folders and settings:
# clones the committed state of this checkout into a scratch folder, runs the
# configure steps of ./play, ./check and ./play again there (the README's
# order, then once more), and checks that build/ builds the tests and
# build-play/ is a separate folder that does not.
#   tools/check-setup.sh [repository]   (default: this checkout)
# Installs no packages (KYR_NO_DEPS=1). Exit status 0 when all holds, 1 with
# a message otherwise, 77 (skipped) without git or outside a git checkout.
set -euo pipefail
repo="${1:-$(cd "$(dirname "$0")/.." && pwd)}"
if ! command -v git >/dev/null 2>&1 || ! git -C "$repo" rev-parse --verify -q HEAD >/dev/null 2>&1; then
    echo "check-setup: skipped: needs git and a git checkout with a commit" >&2
    exit 77
fi
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "check-setup: $*" >&2; exit 1; }

git clone -q "$repo" "$work/kyr"
cd "$work/kyr"
step() {
    KYR_NO_DEPS=1 KYR_CONFIGURE_ONLY=1 "./$1" >"$work/$1.log" 2>&1 ||
        { cat "$work/$1.log" >&2; fail "the configure step of ./$1 failed"; }
}
value() {  # value FOLDER VARIABLE: the variable's value in FOLDER's CMake cache
    sed -n "s/^$2:[A-Z]*=//p" "$1/CMakeCache.txt"
}
check_folders() {
    [ -f build/CMakeCache.txt ] || fail "./check made no build/CMakeCache.txt"
    [ -f build-play/CMakeCache.txt ] || fail "./play made no build-play/CMakeCache.txt"
    [ "$(value build KYR_BUILD_TESTS)" = ON ] ||
        fail "$1: build/ has KYR_BUILD_TESTS=$(value build KYR_BUILD_TESTS), not ON"
    [ -f build/tests/CTestTestfile.cmake ] || fail "$1: build/ registers no tests"
    [ "$(value build-play KYR_BUILD_TESTS)" = OFF ] ||
        fail "$1: build-play/ has KYR_BUILD_TESTS=$(value build-play KYR_BUILD_TESTS), not OFF"
}

step play
[ ! -e build ] || fail "./play touched build/"
step check
check_folders "./play then ./check"
step play
check_folders "./play, ./check, ./play"
echo "check-setup: ./play builds in build-play/, ./check in build/ with the tests"
