# Sourced by the tools that draw with kyr-headless (the icons): sets
# `runner` (and `runner_abs`, its absolute path) to the program in KYR_BUILD_DIR (default build/), building it
# first if it is not there. Run from the project's root.
build="${KYR_BUILD_DIR:-build}"
runner="$build/headless/kyr-headless"
if [ ! -x "$runner" ]; then
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$build" --target kyr-headless -j2
fi
runner_abs="$(cd "$(dirname "$runner")" && pwd)/$(basename "$runner")"
