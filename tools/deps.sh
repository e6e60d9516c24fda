# The Debian packages that building, running and testing need. Sourced by
# ./play and ./check, which call kyr_install_deps with their extra packages.
# Missing packages are installed with apt-get, as root or through sudo.
# Where apt-get is missing, or KYR_NO_DEPS=1 is set, nothing is installed:
# one line names the packages needed and the build carries on (CMake's
# configure step then reports whatever is really missing).
kyr_install_deps() {
    local wanted=(cmake make g++ pkg-config libsdl2-dev libx11-dev libpng-dev "$@")
    local missing=()
    local p
    if command -v dpkg-query >/dev/null 2>&1; then
        for p in "${wanted[@]}"; do
            dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
        done
    else
        missing=("${wanted[@]}")
    fi
    [ ${#missing[@]} -eq 0 ] && return 0

    local why=""
    if [ "${KYR_NO_DEPS:-0}" = 1 ]; then
        why="KYR_NO_DEPS=1: installing nothing"
    elif ! command -v apt-get >/dev/null 2>&1; then
        why="no apt-get here: installing nothing"
    elif [ "$(id -u)" -ne 0 ] && ! command -v sudo >/dev/null 2>&1; then
        why="not root and no sudo: cannot install with apt-get"
    fi
    if [ -n "$why" ]; then
        echo "$why. Packages needed (Debian names): ${missing[*]}" >&2
        return 0
    fi

    echo "Installing: ${missing[*]}" >&2
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    if ! { "${sudo[@]}" apt-get update -qq &&
           DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"; }; then
        echo "Installing with apt-get failed. Install these packages yourself, then run again with KYR_NO_DEPS=1: ${missing[*]}" >&2
        return 1
    fi
}
