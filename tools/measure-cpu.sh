#!/usr/bin/env bash
# CPU of the real program as a player runs it: kyr under a private Xvfb,
# keys typed into its window with xdotool, the CPU time of all its threads
# read from /proc over a 10 s span in three situations:
#   menu   the idle menu
#   game   a level-1 game without keys
#   fire   a level-1 game firing 30 times a second
#   tools/measure-cpu.sh [build-dir] [kyr options...]
# Prints one line per situation: percent of one core, and per thread.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
shift || true
kyr="$build/shell/kyr"
[ -x "$kyr" ] || { echo "build $kyr first" >&2; exit 2; }
span=10
hz=$(getconf CLK_TCK)

work=$(mktemp -d)
cleanup() {
    [ -n "${kyr_pid:-}" ] && kill "$kyr_pid" 2>/dev/null || true
    [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

exec 3<> <(:)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
read -r -t 15 number <&3
export DISPLAY=":$number"

# Ticks of CPU time of every thread: name and utime+stime.
thread_ticks() {
    for stat in /proc/"$kyr_pid"/task/*/stat; do
        awk '{ sub(/^[0-9]+ \(/, ""); name=$0; sub(/\).*/, "", name); n=split($0, f, " "); print name, f[12]+f[13] }' "$stat" 2>/dev/null || true
    done
}

measure() {
    local label=$1 before after
    before=$(thread_ticks)
    sleep "$span"
    after=$(thread_ticks)
    awk -v label="$label" -v hz="$hz" -v span="$span" '
        NR == FNR { b[FNR] = $NF; next }
        { total += $NF - b[FNR]; line = line sprintf(" %s %.1f%%", $1, 100 * ($NF - b[FNR]) / hz / span) }
        END { printf "%-5s %5.1f%% of a core:%s\n", label, 100 * total / hz / span, line }
    ' <(echo "$before") <(echo "$after")
}

"$kyr" "$@" </dev/null >/dev/null 2>"$work/err" &
kyr_pid=$!
for _ in $(seq 100); do
    id=$(xdotool search --name '^Graph$' 2>/dev/null | head -n1) && [ -n "$id" ] && break
    sleep 0.1
done
xdotool windowfocus --sync "$id"
sleep 31                      # the intro
measure menu
xdotool key --window "$id" Down Down space    # entry 3: Play KYR
sleep 4                       # the level's announcement
measure game
xdotool key --window "$id" --repeat $((span * 30 + 60)) --delay 33 space &
sleep 1
measure fire
kill %1 2>/dev/null || true
