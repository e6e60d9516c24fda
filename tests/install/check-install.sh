#!/usr/bin/env bash
# check-install.sh PART BUILD_DIR WORK_DIR
# Installs the build tree BUILD_DIR into a scratch DESTDIR under WORK_DIR
# (prefix /usr) and checks one PART of the result:
#   layout      every file the install promises is there, and nothing is empty
#   validators  desktop-file-validate and appstreamcli validate --no-net pass
#   manpages    both pages render with man -l and groff -ww without warnings
#   programs    the installed kyr prints its version; the installed
#               kyr-headless runs a script and writes a snapshot
#   package     cpack -G DEB: control fields, file list, dependencies, lintian
# Exits 77 (skipped) when a tool the part needs is missing.
set -euo pipefail
part="$1" build="$2" work="$3"
version=1.0.0
app_id=io.github.kyr_linux.kyr

fail() { echo "FAIL: $*" >&2; exit 1; }
need() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is not installed" >&2; exit 77; }
    done
}

rm -rf "$work"
mkdir -p "$work"
root="$work/root"
install_tree() {
    DESTDIR="$root" cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1 ||
        { cat "$work/install.log" >&2; fail "cmake --install failed"; }
}

expected_files=(
    usr/bin/kyr
    usr/bin/kyr-headless
    usr/share/applications/kyr.desktop
    usr/share/metainfo/$app_id.metainfo.xml
    usr/share/icons/hicolor/48x48/apps/kyr.png
    usr/share/icons/hicolor/128x128/apps/kyr.png
    usr/share/icons/hicolor/256x256/apps/kyr.png
    usr/share/man/man6/kyr.6.gz
    usr/share/man/man6/kyr-headless.6.gz
    usr/share/doc/kyr/README.md
    usr/share/doc/kyr/docs/fidelity.md
    usr/share/doc/kyr/docs/replay-format.md
    usr/share/doc/kyr/docs/recordings/level1.kyrrec
    usr/share/doc/kyr/LICENSE
    usr/share/doc/kyr/LICENSES/font.txt
    usr/share/doc/kyr/copyright
    usr/share/doc/kyr/changelog.gz
)

case "$part" in
layout)
    install_tree
    for f in "${expected_files[@]}"; do
        [ -s "$root/$f" ] || fail "missing or empty: $f"
    done
    for f in usr/bin/kyr usr/bin/kyr-headless; do
        [ -x "$root/$f" ] || fail "not executable: $f"
    done
    # README's pictures, beside it as its links expect
    shots=("$root"/usr/share/doc/kyr/docs/screenshots/*.png)
    [ "${#shots[@]}" -ge 8 ] || fail "expected the README's 8 screenshots, found ${#shots[@]}"
    need file
    for size in 48 128 256; do
        file "$root/usr/share/icons/hicolor/${size}x${size}/apps/kyr.png" | grep -q "PNG image data, $size x $size" ||
            fail "icon ${size}x${size} is not a $size-pixel PNG"
    done
    ;;
validators)
    need desktop-file-validate appstreamcli
    install_tree
    desktop="$root/usr/share/applications/kyr.desktop"
    desktop-file-validate "$desktop" || fail "desktop-file-validate"
    grep -qx 'Exec=kyr' "$desktop" || fail "desktop entry does not start kyr"
    grep -qx 'Terminal=false' "$desktop" || fail "desktop entry asks for a terminal"
    grep -qx 'Icon=kyr' "$desktop" || fail "desktop entry does not name the kyr icon"
    metainfo="$root/usr/share/metainfo/$app_id.metainfo.xml"
    appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"
    grep -q "<id>$app_id</id>" "$metainfo" || fail "metainfo id is not $app_id"
    grep -q '<launchable type="desktop-id">kyr.desktop</launchable>' "$metainfo" ||
        fail "metainfo does not launch the installed desktop entry"
    grep -q "<release version=\"$version\"" "$metainfo" || fail "metainfo has no release $version"
    ;;
manpages)
    need man groff
    install_tree
    for page in kyr kyr-headless; do
        file="$root/usr/share/man/man6/$page.6.gz"
        out="$(MANWIDTH=80 LC_ALL=C.UTF-8 man --warnings=w -l "$file" 2>"$work/$page.err")" ||
            fail "man -l $page failed"
        [ ! -s "$work/$page.err" ] || { cat "$work/$page.err" >&2; fail "man warnings for $page"; }
        for section in NAME SYNOPSIS DESCRIPTION OPTIONS KEYS FILES "EXIT STATUS" "SEE ALSO"; do
            grep -q "^$section\$" <<<"$out" || fail "$page.6 has no $section section"
        done
        zcat "$file" | LC_ALL=C.UTF-8 groff -ww -man -Tutf8 >/dev/null 2>"$work/$page.groff" || fail "groff $page"
        [ ! -s "$work/$page.groff" ] || { cat "$work/$page.groff" >&2; fail "groff warnings for $page"; }
    done
    # every option kyr --help names is documented
    for option in $("$build/shell/kyr" --help | grep -o -- '--[a-z]*' | sort -u); do
        grep -q -- "$option" <<<"$(MANWIDTH=200 LC_ALL=C.UTF-8 man -l "$root/usr/share/man/man6/kyr.6.gz" 2>/dev/null)" ||
            fail "kyr.6 does not document $option"
    done
    ;;
programs)
    install_tree
    [ "$("$root/usr/bin/kyr" --version)" = "kyr $version" ] || fail "installed kyr --version"
    printf 'at 13075 snap title.png\nat 13100 end\n' >"$work/script.txt"
    (cd "$work" && "$root/usr/bin/kyr-headless" --script script.txt --clock "2026-12-07 12:00:05.37" >/dev/null) ||
        fail "installed kyr-headless failed"
    need file
    file "$work/title.png" | grep -q 'PNG image data, 1025 x 730' || fail "no 1025 x 730 snapshot from kyr-headless"
    ;;
package)
    need cpack dpkg-deb dpkg-shlibdeps
    cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/pkg" >"$work/cpack.log" 2>&1 ||
        { cat "$work/cpack.log" >&2; fail "cpack -G DEB failed"; }
    arch="$(dpkg --print-architecture)"
    deb="$work/pkg/kyr_${version}_${arch}.deb"
    [ -f "$deb" ] || fail "no $(basename "$deb")"
    [ "$(dpkg-deb -f "$deb" Package)" = kyr ] || fail "Package is not kyr"
    [ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "Version is not $version"
    [ "$(dpkg-deb -f "$deb" Architecture)" = "$arch" ] || fail "Architecture is not $arch"
    [ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "Section is not games"
    depends="$(dpkg-deb -f "$deb" Depends)"
    for lib in libsdl2- libpng; do
        grep -q "$lib" <<<"$depends" || fail "Depends ($depends) names no $lib package"
    done
    dpkg-deb -x "$deb" "$work/unpacked"
    for f in "${expected_files[@]}"; do
        [ -s "$work/unpacked/$f" ] || fail "package lacks $f"
    done
    ! file "$work/unpacked/usr/bin/kyr" | grep -q 'with debug_info' || fail "packaged kyr is not stripped"
    if command -v lintian >/dev/null 2>&1; then
        # lintian leaves a cache file (mldbm-elf-*) in its temporary
        # directory: give it one in the work folder, made anew each run.
        mkdir -p "$work/lintian-tmp"
        TMPDIR="$work/lintian-tmp" lintian "$deb" >"$work/lintian.txt" 2>&1 || true
        cat "$work/lintian.txt"
        ! grep -q '^E:' "$work/lintian.txt" || fail "lintian reports errors"
    else
        echo "lintian is not installed: the package was not linted" >&2
    fi
    ;;
*)
    fail "unknown part $part"
    ;;
esac
echo "ok: $part"
