#!/usr/bin/env bash
# Checks a built Debian package: its name and version, a Depends entry for
# every Qt library the program links plus the platform plugins, exactly the
# expected files (the help pages and the copyright file among them), metadata
# the validators accept, a program that tells its version when unpacked into
# an empty root and writes nothing beside itself when started, and no error
# from lintian.
#   packaging/check-package.sh ferrovane_<version>-1_<arch>.deb
set -euo pipefail
deb=$(realpath "$1")
cd "$(dirname "$0")/.."
id=io.github.ferrovane.Ferrovane
version=$(sed -n 's/^project(Ferrovane VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
fail() { echo "check-package: $*" >&2; exit 1; }

[ "$(dpkg-deb -f "$deb" Package)" = ferrovane ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version-1" ] || fail "version is not $version-1"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"

# Every Qt library the program needs must come from a package it depends on.
needed=$(readelf -d "$root/usr/bin/ferrovane" | sed -n 's/.*NEEDED.*\[\(libQt6[^]]*\)\].*/\1/p')
[ -n "$needed" ] || fail "the program links no Qt library?"
for lib in $needed; do
    owner=$(dpkg -S "*/$lib" 2>/dev/null | head -1 | cut -d: -f1)
    [ -n "$owner" ] || fail "no installed package holds $lib"
    grep -Eq "(^|, )$owner( |,|$)" <<<"$depends" || fail "Depends lacks $owner (for $lib)"
done
grep -Eq "(^|, )qt6-qpa-plugins( |,|$)" <<<"$depends" || fail "Depends lacks qt6-qpa-plugins"
# The simulator is optional at run time: recommended, never required.
[ "$(dpkg-deb -f "$deb" Recommends)" = ngspice ] || fail "Recommends is not ngspice"
grep -q ngspice <<<"$depends" && fail "Depends names ngspice"

expected=$( (printf '%s\n' usr/bin/ferrovane "usr/share/applications/$id.desktop" \
                "usr/share/metainfo/$id.metainfo.xml" "usr/share/mime/packages/$id.xml" \
                "usr/share/icons/hicolor/scalable/apps/$id.svg" \
                usr/share/doc/ferrovane/copyright usr/share/doc/ferrovane/changelog.Debian.gz
             for p in assets/pictures/*; do echo "usr/share/ferrovane/pictures/${p##*/}"; done
             for p in help/*; do echo "usr/share/ferrovane/help/${p##*/}"; done) |
           sort)
actual=$(cd "$root" && find . -type f | sed 's|^\./||' | sort)
[ "$actual" = "$expected" ] || fail "contents differ:
$(diff <(echo "$expected") <(echo "$actual") || true)"

desktop-file-validate "$root/usr/share/applications/$id.desktop"
appstreamcli validate --no-net --no-color "$root/usr/share/metainfo/$id.metainfo.xml" >/dev/null ||
    fail "appstreamcli rejects the metainfo"
[ "$("$root/usr/bin/ferrovane" --version)" = "Ferrovane $version" ] || fail "--version"
# Started once, the installed program writes its data files into the user's
# folder and nothing beside itself.
packaging/check-first-start.sh "$root/usr/bin"
# Lintian's errors fail the check; its warnings are shown.
lintian --fail-on error --tag-display-limit 0 "$deb" || fail "lintian reports errors"
echo "check-package: $(basename "$deb") is good"
