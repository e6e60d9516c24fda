#!/usr/bin/env bash
# Memory of loading a large recording: writes a valid recording of about
# SIZE MB (the header of docs/recordings/level1.kyrrec, then key lines with
# rising poll numbers and a clock line every eight events, then an end line),
# has kyr-headless load it and replay 1 ms of it, and prints the peak resident
# memory next to the file's size. The file is removed afterwards.
#
#   tools/measure-replay-load.sh [--short] SIZE_MB [build-dir]
#
#   --short    event lines without the recorder's comment ("poll N key ...")
#              and key-less event lines: the most events a megabyte can hold.
# build-dir holds headless/kyr-headless (default: this repository's build).
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
short=0
if [[ ${1:-} == --short ]]; then short=1; shift; fi
size_mb=${1:?usage: measure-replay-load.sh [--short] SIZE_MB [build-dir]}
build=${2:-$here/build}
[[ $build = /* ]] || build=$PWD/$build
headless=$build/headless/kyr-headless
[[ -x $headless ]] || { echo "no $headless" >&2; exit 1; }

file=$(mktemp /tmp/kyr-big-XXXXXX.kyrrec)
trap 'rm -f "$file"' EXIT

{
    head -n 3 "$here/docs/recordings/level1.kyrrec"
    awk -v limit=$((size_mb * 1000000)) -v short=$short 'BEGIN {
        bytes = 0; poll = 1; n = 0
        while (bytes < limit) {
            if (n % 8 == 0) line = "clock 2026 12 7 15 31 11 53 0 0"
            else if (short && n % 2) line = "poll " poll " event 2"
            else if (short) line = "poll " poll " key 1 1 40 80 0 256"
            else if (n % 2) line = "poll " poll " key 1 1 40 80 0 256  # DOWN down"
            else line = "poll " poll " key 0 1 40 80 0 256  # DOWN up"
            print line
            bytes += length(line) + 1
            poll += (n % 3 == 0); n++
        }
        print "end stopped 0 poll " poll " requests 0"
    }'
} >"$file"

events=$(grep -c '^poll ' "$file" || true)
log=$(mktemp /tmp/kyr-big-time-XXXXXX)
trap 'rm -f "$file" "$log"' EXIT
# --until 1 stops the replay long before its recorded end (status 0 or 3);
# status 2 means the file was refused.
status=0
/usr/bin/time -v -o "$log" "$headless" --replay "$file" --until 1 >/dev/null 2>"$log.err" || status=$?
if [[ $status == 2 ]]; then cat "$log.err" >&2; rm -f "$log.err"; exit 1; fi
rm -f "$log.err"
peak_kb=$(awk '/Maximum resident set size/ { print $NF }' "$log")
seconds=$(awk -F': ' '/Elapsed \(wall clock\)/ { print $2 }' "$log")
bytes=$(stat -c %s "$file")
printf 'file %d MB (%d events): peak RSS %d MB, %s (m:ss) to load and start\n' $((bytes / 1000000)) "$events" \
    $((peak_kb / 1000)) "$seconds"
