#!/usr/bin/env bash
# CPU of the real program: kyr under a private Xvfb, the CPU time of each of
# its threads and of the X server read from /proc over a 10 s span in three
# situations:
#   menu   the idle menu
#   game   a level-1 game without keys
#   fire   a level-1 game firing 30 times a second
#
#   tools/measure-cpu.sh [--terminal | --window-keys] [--wakeups]
#                        [build-dir] [kyr options...]
#
# How kyr runs and where its keys come from:
#   --terminal     (the default) as a player runs it: kyr in a pseudo-terminal
#                  of its own, keys typed into that terminal (Down is ESC [ B,
#                  Space a plain ' '). This is what a player's machine pays,
#                  terminal key reader included, so it is the default.
#   --window-keys  standard input from /dev/null, keys typed into the window
#                  with xdotool: the key reader ends at once, as in the
#                  figures taken before --terminal existed.
#   --wakeups      a second line per situation: each thread's context
#                  switches per second (how often it slept and woke).
# build-dir holds shell/kyr: relative to the current folder or to this
# repository (default: this repository's build), so another checkout's build
# can be measured side by side.
#
# Prints one line per situation: kyr's CPU in percent of one core, each
# thread's share, and the Xvfb server's CPU over the same span (drawing and
# keys cost the player that too). CPU time is user plus system time: most of
# what the idle menu costs is spent in the kernel, sleeping and waking.
# Takes about 70 s.
set -euo pipefail

usage() { sed -n '/^#   tools/,/side by side/p' "$0" | sed 's/^# \{0,1\}//'; }

root=$(cd "$(dirname "$0")/.." && pwd)
mode=terminal
wakeups=no
while [ $# -gt 0 ]; do
    case $1 in
        --terminal) mode=terminal ;;
        --window-keys) mode=window ;;
        --wakeups) wakeups=yes ;;
        -h|--help) usage; exit 0 ;;
        *) break ;;
    esac
    shift
done
# The build folder is the first argument unless that is already a kyr option.
build=build
if [ $# -gt 0 ] && [ "${1#-}" = "$1" ]; then
    build=$1
    shift
fi
if [ -x "$build/shell/kyr" ]; then
    kyr=$(cd "$build" && pwd)/shell/kyr
elif [ -x "$root/$build/shell/kyr" ]; then
    kyr=$root/$build/shell/kyr
else
    echo "measure-cpu: no kyr in $build/shell: build it first" >&2
    exit 2
fi
needed="Xvfb xdotool"
[ "$mode" = terminal ] && needed="$needed /usr/bin/python3"
for tool in $needed; do
    command -v "$tool" >/dev/null || { echo "measure-cpu: $tool is missing" >&2; exit 2; }
done

span=10
hz=$(getconf CLK_TCK)
work=$(mktemp -d)
kyr_pid='' xvfb_pid='' typist_pid='' fire_pid='' nap_pid=''

# Every way out: the keys first (xdotool complains of a window that went),
# then the program, its terminal, the X server and the temporary folder.
# kyr in a terminal is the typist's child, not ours: it is watched until gone.
stop() {
    kill "$1" 2>/dev/null || return 0
    for _ in $(seq 30); do
        kill -0 "$1" 2>/dev/null || break
        sleep 0.1
    done
    kill -KILL "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}
cleanup() {
    trap - EXIT INT TERM HUP
    local pid
    for pid in "$fire_pid" "$nap_pid" "$kyr_pid" "$typist_pid" "$xvfb_pid"; do
        if [ -n "$pid" ]; then stop "$pid"; fi
    done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

# A sleep that a signal interrupts at once (a plain sleep holds off the traps).
nap() {
    sleep "$1" &
    nap_pid=$!
    wait "$nap_pid"
    nap_pid=''
}

fail() {
    echo "measure-cpu: $1" >&2
    for log in "$work"/err "$work"/terminal; do
        [ -s "$log" ] && tail -n 40 "$log" | tr -d '\033' >&2
    done
    exit 1
}

exec 3<> <(:)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
read -r -t 15 number <&3 || fail "Xvfb did not start"
exec 3<&-
export DISPLAY=":$number"

# Runs a program in a new pseudo-terminal, as its controlling terminal with
# the size of a plain console, and types into it the keys named on the
# control FIFO, one command a line:
#   type DELAY-MS KEY...           the keys one after the other
#   repeat COUNT DELAY-MS KEY      COUNT presses on a fixed beat
# What the program writes to the terminal is kept in the log. Ends when the
# program's side of the terminal closes.
cat >"$work/typist.py" <<'EOF'
import os, pty, select, signal, struct, sys, termios, fcntl, time

KEYS = {"Up": b"\x1b[A", "Down": b"\x1b[B", "Right": b"\x1b[C", "Left": b"\x1b[D",
        "space": b" ", "Return": b"\r", "Escape": b"\x1b"}

control_path, log_path, pid_path = sys.argv[1:4]
command = sys.argv[4:]
pid, master = pty.fork()
if pid == 0:
    fcntl.ioctl(0, termios.TIOCSWINSZ, struct.pack("HHHH", 25, 80, 0, 0))
    # A background job of a script ignores Ctrl+C and Ctrl+\; a program
    # started from a shell prompt does not.
    signal.signal(signal.SIGINT, signal.SIG_DFL)
    signal.signal(signal.SIGQUIT, signal.SIG_DFL)
    try:
        os.execv(command[0], command)
    finally:
        os._exit(127)
with open(pid_path + ".new", "w") as f:
    f.write(f"{pid}\n")
os.rename(pid_path + ".new", pid_path)

# Read and write: the FIFO never reports an end when a writer closes it.
control = os.open(control_path, os.O_RDWR | os.O_NONBLOCK)
log = open(log_path, "wb", buffering=0)
due = []          # (monotonic time, bytes), in time order
pending = b""

def schedule(words):
    start = max(time.monotonic(), due[-1][0] if due else 0.0)
    if words[0] == "type":
        gap = int(words[1]) / 1000
        for n, key in enumerate(words[2:]):
            due.append((start + n * gap, KEYS[key]))
    elif words[0] == "repeat":
        count, gap = int(words[1]), int(words[2]) / 1000
        due.extend((start + n * gap, KEYS[words[3]]) for n in range(count))

while True:
    timeout = max(0.0, due[0][0] - time.monotonic()) if due else None
    readable, _, _ = select.select([master, control], [], [], timeout)
    if master in readable:
        try:
            data = os.read(master, 4096)
        except OSError:
            data = b""
        if not data:
            break
        log.write(data)
    if control in readable:
        pending += os.read(control, 4096)
        *lines, pending = pending.split(b"\n")
        for line in lines:
            if line.split():
                schedule(line.decode().split())
    now = time.monotonic()
    while due and due[0][0] <= now:
        os.write(master, due.pop(0)[1])
_, status = os.waitpid(pid, 0)
sys.exit(os.waitstatus_to_exitcode(status))
EOF

if [ "$mode" = terminal ]; then
    mkfifo "$work/keys"
    /usr/bin/python3 "$work/typist.py" "$work/keys" "$work/terminal" "$work/pid" "$kyr" "$@" </dev/null &
    typist_pid=$!
    for _ in $(seq 50); do
        [ -s "$work/pid" ] && break
        nap 0.1
    done
    [ -s "$work/pid" ] || fail "the terminal did not start"
    kyr_pid=$(cat "$work/pid")
    exec 4<>"$work/keys"
    type_keys() { echo "type 50 $*" >&4; }
    fire() { echo "repeat $1 33 space" >&4; }
else
    "$kyr" "$@" </dev/null >/dev/null 2>"$work/err" &
    kyr_pid=$!
    type_keys() { xdotool key --window "$window" "$@"; }
    fire() {
        xdotool key --window "$window" --repeat "$1" --delay 33 space 2>/dev/null &
        fire_pid=$!
    }
fi

window=''
for _ in $(seq 100); do
    kill -0 "$kyr_pid" 2>/dev/null || fail "kyr ended before it showed its window"
    window=$(xdotool search --name '^Graph$' 2>/dev/null | head -n1) && [ -n "$window" ] && break
    nap 0.1
done
[ -n "$window" ] || fail "kyr showed no window in 10 s"
[ "$mode" = window ] && xdotool windowfocus --sync "$window"

# One line a thread: id, name, CPU ticks (user + system), context switches
# (voluntary + involuntary). The last line, id "all", is the whole process,
# ended threads included. Names come from comm, their spaces made "_".
snapshot() {
    local pid=$1 task comm id
    for task in /proc/"$pid"/task/* /proc/"$pid"; do
        comm=$(tr ' ' '_' <"$task/comm" 2>/dev/null) || continue
        id=${task##*/}
        [ "$task" = /proc/"$pid" ] && id=all
        awk -v comm="$comm" -v task="$id" '
            FILENAME ~ /stat$/ { sub(/^.*\) /, ""); split($0, f, " "); ticks = f[12] + f[13] }
            /^(non)?voluntary_ctxt_switches:/ { switches += $2 }
            END { if (ticks != "") print task, comm, ticks, switches + 0 }
        ' "$task/stat" "$task/status" 2>/dev/null || true
    done
}

measure() {
    local label=$1 kyr_before xvfb_before kyr_after xvfb_after
    kill -0 "$kyr_pid" 2>/dev/null || fail "kyr ended before the $label span"
    kyr_before=$(snapshot "$kyr_pid")
    xvfb_before=$(snapshot "$xvfb_pid" | tail -n1)
    nap "$span"
    kyr_after=$(snapshot "$kyr_pid")
    xvfb_after=$(snapshot "$xvfb_pid" | tail -n1)
    kill -0 "$kyr_pid" 2>/dev/null || fail "kyr ended during the $label span"
    awk -v label="$label" -v hz="$hz" -v span="$span" -v wakeups="$wakeups" '
        function share(t) { return 100 * t / hz / span }
        FNR == 1 { part++ }
        part == 1 || part == 3 { ticks0[part, $1] = $3; switches0[part, $1] = $4; next }
        {
            key = part - 1
            dt = $3 - ticks0[key, $1]; ds = ($4 - switches0[key, $1]) / span
            if (part == 4) { xticks = dt; xswitches = ds; next }
            if ($1 == "all") { total = dt; tswitches = ds; next }
            # Threads that neither ran nor woke in the span are only counted.
            if (dt == 0 && ds == 0) { idle++; next }
            threads = threads sprintf(" %s %.1f%%", $2, share(dt))
            rates = rates sprintf(" %s %d", $2, ds)
        }
        END {
            if (idle) threads = threads sprintf(" (+%d idle)", idle)
            printf "%-5s %5.1f%% of a core:%s; Xvfb %.1f%%\n", label, share(total), threads, share(xticks)
            if (wakeups == "yes")
                printf "      %5d switches/s:%s; Xvfb %d\n", tswitches, rates, xswitches
        }
    ' <(echo "$kyr_before") <(echo "$kyr_after") <(echo "$xvfb_before") <(echo "$xvfb_after")
}

echo "kyr: $kyr; keys: $( [ "$mode" = terminal ] && echo "typed into its terminal" || echo "typed into its window, standard input /dev/null")"
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
nap 31                        # the intro
measure menu
type_keys Down Down space     # entry 3: Play KYR
nap 4                         # the level's announcement
measure game
fire $((span * 30 + 60))
nap 1
measure fire
echo "load after:  $(cut -d' ' -f1-3 /proc/loadavg)"
