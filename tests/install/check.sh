#!/usr/bin/env bash
# What an install and the Debian package put on a system, checked as a
# distribution would: the desktop entry, the AppStream metainfo and the
# manual pages validate, every file is where the desktop looks for it, and
# the package installs and goes away again.
#
# Usage: check.sh install|package BUILD_DIR
set -uo pipefail
what=$1
BUILD=$(realpath "$2")
SOURCE=$(cd "$(dirname "$0")/../.." && pwd)
WORK=$(mktemp -d /tmp/tavelin-install-XXXXXX)
trap 'rm -rf "$WORK"' EXIT
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }
app_id=org.example.Tavelin
version=$(sed -n 's/.*kVersion\[\] = "\(.*\)";/\1/p' "$BUILD/generated/Version.h")
[ -n "$version" ] || { echo "no version in $BUILD/generated/Version.h"; exit 1; }

check_install() {
    local root=$WORK/root
    DESTDIR=$root cmake --install "$BUILD" --prefix /usr >"$WORK/install.log" 2>&1 ||
        { cat "$WORK/install.log"; fail "cmake --install"; return; }
    local usr=$root/usr file
    for file in bin/tavelin bin/tavelin-dict share/tavelin/EA.tvl share/tavelin/RA.tvl \
        share/tavelin/en-hy.tsv share/tavelin/ru-hy.tsv share/applications/$app_id.desktop \
        share/metainfo/$app_id.metainfo.xml share/icons/hicolor/scalable/apps/$app_id.svg \
        share/man/man1/tavelin.1 share/man/man1/tavelin-dict.1; do
        [ -s "$usr/$file" ] || fail "not installed: $file"
    done
    local size
    for size in 16 32 48 64 128 256; do
        file=share/icons/hicolor/${size}x${size}/apps/$app_id.png
        identify -format '%wx%h' "$usr/$file" 2>/dev/null | grep -qx "${size}x$size" ||
            fail "$file is not a ${size}x$size picture"
    done
    desktop-file-validate "$usr/share/applications/$app_id.desktop" || fail "desktop-file-validate"
    appstreamcli validate --no-net "$usr/share/metainfo/$app_id.metainfo.xml" >"$WORK/as.log" 2>&1 ||
        { cat "$WORK/as.log"; fail "appstreamcli validate"; }
    grep -q "<release version=\"$version\"" "$usr/share/metainfo/$app_id.metainfo.xml" ||
        fail "the metainfo has no release $version"
    local page
    for page in tavelin tavelin-dict; do
        local warnings
        warnings=$(groff -ww -man -Tutf8 -z "$usr/share/man/man1/$page.1" 2>&1)
        [ -z "$warnings" ] || fail "groff -ww $page.1: $warnings"
        warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$usr/share/man/man1/$page.1" 2>&1 >/dev/null)
        [ -z "$warnings" ] || fail "man -l $page.1: $warnings"
        LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$usr/share/man/man1/$page.1" 2>/dev/null |
            grep -q "Tavelin $version" || fail "$page.1 does not give the version $version"
    done
    [ "$("$usr/bin/tavelin" --version)" = "tavelin $version" ] || fail "tavelin --version"
    [ "$("$usr/bin/tavelin-dict" --version)" = "tavelin-dict $version" ] || fail "tavelin-dict --version"
    # The installed program tells where a user's files go.
    HOME=$WORK/home XDG_DATA_HOME= XDG_CONFIG_HOME= "$usr/bin/tavelin" --help >"$WORK/help" 2>&1
    grep -q '^Installed mode' "$WORK/help" || fail "--help does not say installed mode: $(cat "$WORK/help")"
    grep -q "Dictionaries: $WORK/home/.local/share/tavelin\$" "$WORK/help" || fail "--help: $(cat "$WORK/help")"
    grep -q "Settings:     $WORK/home/.config/tavelin/Options.ini\$" "$WORK/help" || fail "--help: $(cat "$WORK/help")"
    grep -q "Starter dictionaries: $usr/share/tavelin\$" "$WORK/help" || fail "--help: $(cat "$WORK/help")"
    [ ! -e "$WORK/home/.local" ] || fail "--help made files"
    # The starters made from data/, never the build tree's own dictionaries.
    cmp -s "$BUILD/share/tavelin/EA.tvl" "$usr/share/tavelin/EA.tvl" ||
        fail "the installed EA.tvl is not the starter made from data/"
    [ "$("$usr/bin/tavelin-dict" count "$usr/share/tavelin/EA.tvl")" = "$(grep -c . "$SOURCE/data/en-hy.tsv")" ] ||
        fail "the starter EA.tvl does not hold the word list"
}

check_package() {
    rm -f "$BUILD"/tavelin_*.deb
    (cd "$BUILD" && cpack -G DEB) >"$WORK/cpack.log" 2>&1 || { cat "$WORK/cpack.log"; fail "cpack"; return; }
    local deb
    deb=$(ls "$BUILD"/tavelin_"$version"_*.deb 2>/dev/null | head -1)
    [ -n "$deb" ] || { fail "no tavelin_${version}_*.deb"; return; }
    [ "$(dpkg-deb -f "$deb" Package)" = tavelin ] || fail "Package field"
    [ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "Version field: $(dpkg-deb -f "$deb" Version)"
    dpkg-deb -f "$deb" Maintainer | grep -q '<.*@.*>' || fail "Maintainer field"
    local depends
    depends=$(dpkg-deb -f "$deb" Depends)
    # Computed from the programs' libraries, not written by hand.
    for lib in libqt6widgets6 libqt6gui6 libqt6core6 libsqlite3-0 libc6; do
        echo "$depends" | grep -q "$lib (>=" || fail "Depends lacks $lib: $depends"
    done
    dpkg-deb -c "$deb" | awk '{print $6}' >"$WORK/contents"
    for file in ./usr/bin/tavelin ./usr/bin/tavelin-dict ./usr/share/tavelin/EA.tvl \
        ./usr/share/applications/$app_id.desktop ./usr/share/man/man1/tavelin.1; do
        grep -qx "$file" "$WORK/contents" || fail "the package lacks $file"
    done
    ! grep -q -e '/Options.ini$' -e 'tests' "$WORK/contents" || fail "the package holds test or user files"
    if [ "$(id -u)" -ne 0 ] || ! command -v apt-get >/dev/null; then
        echo "skipped: installing and removing the package needs root and apt-get"
        return
    fi
    if dpkg-query -W -f='${Status}' tavelin 2>/dev/null | grep -q 'install ok installed'; then
        echo "skipped: a tavelin package is installed on this machine already; left alone"
        return
    fi
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$deb" >"$WORK/apt.log" 2>&1 ||
        { cat "$WORK/apt.log"; fail "apt-get install $deb"; return; }
    [ "$(/usr/bin/tavelin --version)" = "tavelin $version" ] || fail "installed tavelin --version"
    [ -f /usr/share/applications/$app_id.desktop ] || fail "no installed desktop entry"
    DEBIAN_FRONTEND=noninteractive apt-get remove -y -q tavelin >"$WORK/apt.log" 2>&1 ||
        { cat "$WORK/apt.log"; fail "apt-get remove tavelin"; }
    [ ! -e /usr/bin/tavelin ] && [ ! -e /usr/share/tavelin ] || fail "files left after removal"
    rm -f "$deb"
}

case $what in
install) check_install ;;
package) check_package ;;
*) echo "usage: check.sh install|package BUILD_DIR"; exit 2 ;;
esac
[ "$failures" -eq 0 ] && echo "$what: ok"
[ "$failures" -eq 0 ]
