#!/usr/bin/env bash
# Regenerates the pictures in docs/screenshots/ with the headless runner:
#   tools/screenshots.sh            (builds build/headless/kyr-headless if needed)
#   KYR_BUILD_DIR=other tools/screenshots.sh
# Two scripted runs on a fixed clock, so every run gives the same pictures:
#   1. intro (its turn), menu, demonstration (three scenes), Close, credits;
#   2. a game at level 8 without firing, until the enemies' fire ends it,
#      and the outro that follows.
# Times are virtual milliseconds. The intro ends at 29050; the demonstration
# and the credits run on fixed waits, so their pictures are taken in the
# middle of a frame's wait. The game's times depend on the game's rules:
# re-check the game and outro pictures after changing them.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/headless-runner.sh
out="$PWD/docs/screenshots"
mkdir -p "$out"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
clock="2026-12-07 12:00:05.37"

# Run 1. The demonstration starts when SPACE is read at 30700 (T); its scenes
# start at T+750 (1), T+3250 (2), T+5750 (3), T+35600 (4), T+73125 (5),
# T+93375 (6), T+106500 (7), T+121550 (8) and it ends at T+131600.
# Credits start at 163100; the lines stand still from 180625 on.
cat >"$work/shows.txt" <<'SCRIPT'
at 13075 snap intro-turn.png
at 30000 snap menu.png
at 30500 key UP
at 30600 key UP
at 30700 key SPACE
# scene 4, frame 900: the painting cube's trails
at 88812 snap demo-painting.png
# scene 5, frame 350: the wave under both wave texts
at 121550 snap demo-wave.png
# scene 6, frame 200: the digits of pi behind the black cross
at 129087 snap demo-pi.png
at 163000 key DOWN
at 163100 key SPACE
at 188137 snap credits.png
SCRIPT

# Run 2. Entry 6 to level 8, entry 3 to play; the game starts at 30300.
{
    for t in 30000 30010 30020 30030 30040; do echo "at $t key DOWN"; done
    for t in 30110 30120 30130 30140 30150 30160 30170; do echo "at $t key RIGHT"; done
    for t in 30210 30220 30230; do echo "at $t key UP"; done
    echo "at 30300 key SPACE"
    echo "at 55750 snap game.png"
    echo "at 63000 snap outro.png"
    echo "at 63100 end"
} >"$work/game.txt"

for script in shows game; do
    (cd "$work" && "$runner_abs" --script "$script.txt" --clock "$clock" >/dev/null)
done
cp "$work"/*.png "$out"/
ls -1 "$out"
