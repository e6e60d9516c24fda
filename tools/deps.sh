# Installs the Debian packages that building, running and testing need, if
# any is missing. Sourced by ./play and ./check. Uses apt-get as root, or
# sudo when run as another user.
kyr_install_deps() {
    local wanted=(cmake make g++ pkg-config libsdl2-dev libx11-dev libpng-dev "$@")
    local missing=()
    local p
    for p in "${wanted[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}" >&2
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
