#!/usr/bin/env bash
# The Debian package made from the built tree, unpacked into a scratch root and
# run from there as an installed engine runs: without --data, finding the sample
# game beside it. Nothing outside the scratch folder is touched, the player's
# settings, savegames and cache included.
# Usage: package_test.sh CPACK BUILD_DIR VERSION
set -euo pipefail
if [ $# -ne 3 ]; then
    echo "usage: $0 CPACK BUILD_DIR VERSION" >&2
    exit 2
fi
cpack=$1 build=$2 version=$3

fail() {
    echo "package test: $*" >&2
    exit 1
}

for tool in dpkg-deb dpkg-shlibdeps file desktop-file-validate man; do
    command -v "$tool" >/dev/null || fail "'$tool' is not installed (scripts/install-deps.sh installs it)"
done

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# -B keeps the staging folder and the package out of the build tree.
if ! "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1; then
    cat "$scratch/cpack.log" >&2
    fail "cpack failed"
fi
deb=$scratch/out/morvane_${version}_amd64.deb
[ -f "$deb" ] || fail "cpack made no $(basename "$deb"), only: $(ls "$scratch/out")"

# The libraries come from dpkg-shlibdeps, the font from the package's own list.
depends=$(dpkg-deb --field "$deb" Depends)
depended=$(tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//')
for package in libc6 libstdc++6 libsdl2-2.0-0 fonts-dejavu-core; do
    grep --quiet --line-regexp --fixed-strings "$package" <<<"$depended" || fail "Depends lacks $package: $depends"
done

root=$scratch/root
dpkg-deb --extract "$deb" "$root"
expected="usr/bin/morvane
usr/bin/morvane-modelgen
usr/bin/morvane-pack
usr/bin/morvane-synth
usr/share/applications/morvane.desktop
usr/share/icons/hicolor/256x256/apps/morvane.png
usr/share/man/man6/morvane.6
usr/share/morvane/game/resource.000"
files=$(cd "$root" && find . -type f -printf '%P\n' | LC_ALL=C sort)
[ "$files" = "$expected" ] || fail "the package holds other files than expected:
$(diff <(echo "$expected") <(echo "$files") || true)"

desktop-file-validate "$root/usr/share/applications/morvane.desktop" || fail "the desktop entry is not valid"
icon=$(file --brief "$root/usr/share/icons/hicolor/256x256/apps/morvane.png")
[[ $icon == "PNG image data, 256 x 256,"* ]] || fail "the icon is no 256 x 256 PNG: $icon"
man_warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
    man --warnings -E UTF-8 -l -Tutf8 -Z "$root/usr/share/man/man6/morvane.6" 2>&1 >/dev/null)
[ -z "$man_warnings" ] || fail "the manual page has mistakes: $man_warnings"

export HOME=$scratch/home XDG_CONFIG_HOME=$scratch/home/config XDG_DATA_HOME=$scratch/home/data \
    XDG_CACHE_HOME=$scratch/home/cache SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME"
for tool in morvane-pack morvane-modelgen morvane-synth; do
    "$root/usr/bin/$tool" --help >/dev/null || fail "$tool --help failed"
done
shown=$("$root/usr/bin/morvane" --version) || fail "morvane --version failed"
[ "$shown" = "morvane $version" ] || fail "morvane --version says '$shown', the package is $version"
"$root/usr/bin/morvane" --headless --frames 3 --config "$scratch/settings.toml" --saves "$scratch/saves" ||
    fail "the unpacked morvane did not play the unpacked sample game"
echo "package test: $(basename "$deb") ($(stat --format=%s "$deb") bytes) installs and runs"
echo "Depends: $depends"
