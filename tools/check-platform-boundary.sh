#!/usr/bin/env bash
# Checks the boundaries between the libraries, from the #include lines of the
# committed sources:
#  1. The window system and the terminal stay behind the platform layer: SDL
#     and Xlib headers only in platform/sdl (and the benchmarks and
#     tests that compare against SDL), termios only in platform/console (and
#     the tests and benchmarks that type into a terminal), Emscripten's
#     headers only in platform/web.
#  2. A header in a `detail/` folder is private to the library of the folder
#     above it: only that library includes it. Tests and benchmarks may look
#     inside the library they exercise.
#  3. Folders depend on each other only downwards, in the order of LAYERS;
#     the few upward includes that the program's module structure asks for
#     are listed in UPWARD, each with its reason.
set -euo pipefail
cd "$(dirname "$0")/.."
fail=0
report() { echo "$1"; fail=1; }

# 1. Window system and terminal.
sdl=$(git grep -l -E '#include *[<"](SDL|X11/)' -- '*.cpp' '*.h' | grep -v -E '^platform/sdl/|^bench/|^tests/' || true)
tio=$(git grep -l -E '#include *<(termios|pty)\.h>' -- '*.cpp' '*.h' | grep -v -E '^platform/console/|^tests/|^bench/' || true)
[ -z "$sdl" ] || report "SDL or Xlib included outside platform/sdl: $sdl"
[ -z "$tio" ] || report "termios included outside platform/console: $tio"
ems=$(git grep -l -E '#include *<emscripten' -- '*.cpp' '*.h' | grep -v -E '^platform/web/' || true)
[ -z "$ems" ] || report "Emscripten included outside platform/web: $ems"

# Lowest first. A file belongs to the longest folder of this list that holds it.
LAYERS=(platform platform/console platform/graph/raster platform/graph platform/sdl platform/web platform/runtime
        engine3d/geometry engine3d game shows shell headless webpage)
# "including file's folder -> included file": allowed against the order.
UPWARD=(
  # The geometry library implements the engine's one header, QX3D.h.
  "engine3d/geometry -> engine3d/QX3D.h"
  # The game reads the player's keys with the program's arrow-key reader.
  "game -> shell/StandardLib.h"
  # A game that is lost ends in the outro.
  "game -> shows/Shows.h"
)

folder_of() {   # the layer folder that holds a path, or nothing
    local path=$1 best="" f
    for f in "${LAYERS[@]}"; do
        case "$path" in "$f"/*) [ ${#f} -gt ${#best} ] && best=$f ;; esac
    done
    echo "$best"
}
rank_of() {
    local i
    for i in "${!LAYERS[@]}"; do [ "${LAYERS[$i]}" = "$1" ] && { echo "$i"; return; }; done
    echo -1
}
upward_allowed() {
    local rule
    for rule in "${UPWARD[@]}"; do [ "$rule" = "$1 -> $2" ] && return 0; done
    return 1
}

while IFS=: read -r file include; do
    included=$(sed -E 's/.*#include *"([^"]+)".*/\1/' <<<"$include")
    # 2. Private headers.
    if [[ "$included" == */detail/* ]]; then
        owner=${included%%/detail/*}
        case "$file" in
            "$owner"/*|tests/*|bench/*) ;;
            *) report "$file includes $included, private to $owner" ;;
        esac
    fi
    # 3. Downwards only (tests, benchmarks and tools stand above everything).
    from=$(folder_of "$file")
    to=$(folder_of "$included")
    [ -n "$from" ] && [ -n "$to" ] || continue
    if [ "$(rank_of "$to")" -gt "$(rank_of "$from")" ] && ! upward_allowed "$from" "$included"; then
        report "$file includes $included: $from may not depend on $to"
    fi
done < <(git grep -E '^#include *"' -- '*.cpp' '*.h' ':!tests' ':!bench' ':!tools'; \
         git grep -E '^#include *".*/detail/' -- 'tests/*' 'bench/*' 'tools/*' || true)

[ $fail -eq 0 ] && echo "library boundaries: ok"
exit $fail
