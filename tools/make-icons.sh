#!/usr/bin/env bash
# Draws the application icons in packaging/icons/ with the program itself:
#   tools/make-icons.sh            (builds build/headless/kyr-headless if needed)
#   KYR_BUILD_DIR=other tools/make-icons.sh
# kyr-headless takes a snapshot of the intro's title glyphs turning (the same
# frame, on the same fixed clock, as docs/screenshots/intro-turn.png). The
# glyphs' box is cut out, padded with black to a square, and scaled down to
# each icon size with ImageMagick's convert. The one-pixel lines are thickened
# first (more for the smaller sizes) so that they survive the scaling.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/headless-runner.sh
command -v convert >/dev/null || { echo "make-icons.sh: ImageMagick's convert is needed" >&2; exit 1; }
out="$PWD/packaging/icons"
mkdir -p "$out"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
printf 'at 13075 snap frame.png\nat 13100 end\n' >"$work/icon.txt"
(cd "$work" && "$runner_abs" --script icon.txt --clock "2026-12-07 12:00:05.37" >/dev/null)

# The glyphs (green K, red Y, yellow R) lie within x 140..845, y 205..580 of
# the 1025 x 730 frame; the box below holds them with a small margin.
box="720x390+132+196"
# size:thickening radius
for entry in 48:4 128:3 256:2; do
    size="${entry%%:*}"
    radius="${entry##*:}"
    convert "$work/frame.png" -crop "$box" +repage \
        -morphology Dilate "Disk:$radius" \
        -background black -gravity center -extent 720x720 \
        -filter Lanczos -resize "${size}x${size}" \
        -strip -define png:exclude-chunks=date,time \
        "PNG32:$out/kyr-$size.png"
done
ls -1 "$out"
