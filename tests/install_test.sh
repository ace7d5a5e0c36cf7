#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a scratch DESTDIR and uses it as a user with a fresh home would:
# the installed programs must find their data under the prefix, keep the user's settings in
# the XDG folders and write nothing else outside those and the files they are asked for.
# usage: install_test.sh BUILD_DIR SOURCE_DIR WITH_DESKTOP(0|1)
set -euo pipefail

build=$1
source=$2
desktop=$3

scratch=$(mktemp -d "${TMPDIR:-/tmp}/halvex-install-XXXXXX")
radio=
cleanup() {
    if [[ -n "$radio" ]]; then kill "$radio" 2>/dev/null || true; wait "$radio" 2>/dev/null || true; fi
    if [[ -n "${program:-}" ]]; then kill "$program" 2>/dev/null || true; wait "$program" 2>/dev/null || true; fi
    rm -rf "$scratch"
}
trap cleanup EXIT

fail() {
    echo "install test: $*" >&2
    exit 1
}

# Waits up to 20 s for a path to appear.
wait_for() {
    for _ in $(seq 200); do
        [[ -e "$1" || -L "$1" ]] && return 0
        sleep 0.1
    done
    fail "$2"
}

root=$scratch/root
DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
prefix=$root/usr
for program in halvex-cli halvex-radio-sim $([[ $desktop == 1 ]] && echo halvex); do
    [[ -x $prefix/bin/$program ]] || fail "$program was not installed in bin/"
done
[[ ! -e $prefix/bin/radio-sim ]] || fail "the virtual radio was installed under a generic name"
cmp -s "$source/data/setting.ini" "$prefix/share/halvex/setting.ini" ||
    fail "the default setting.ini was not installed in share/halvex/"
[[ -f $prefix/share/icons/hicolor/scalable/apps/org.halvex.Halvex.svg ]] || fail "no scalable icon"
for size in 16 22 24 32 48 64 128 256; do
    [[ -f $prefix/share/icons/hicolor/${size}x${size}/apps/org.halvex.Halvex.png ]] ||
        fail "no ${size} px icon"
done
for guide in "$source"/data/*.html "$source"/data/*.png; do
    cmp -s "$guide" "$prefix/share/doc/halvex/$(basename "$guide")" ||
        fail "the guide $(basename "$guide") is not installed in share/doc/halvex/"
done
[[ -f $prefix/share/bash-completion/completions/halvex-cli ]] || fail "no bash completion"
[[ -f $prefix/share/zsh/vendor-completions/_halvex-cli ]] || fail "no zsh completion"
installed_tree() { (cd "$root" && find . -type f -print0 | sort -z | xargs -0 sha256sum); }
installed_before=$(installed_tree)

# The desktop integration files, checked with the tools the desktop itself uses.
desktop-file-validate "$prefix/share/applications/org.halvex.Halvex.desktop" ||
    fail "the desktop entry is not valid"
appstreamcli validate --no-net "$prefix/share/metainfo/org.halvex.Halvex.metainfo.xml" >/dev/null ||
    fail "the AppStream metadata is not valid"
mimedb=$scratch/mimedb
mkdir -p "$mimedb/mime/packages"
cp "$prefix/share/mime/packages/org.halvex.Halvex.xml" "$mimedb/mime/packages/"
complaints=$(XDG_DATA_HOME=$mimedb update-mime-database "$mimedb/mime" 2>&1) ||
    fail "update-mime-database failed: $complaints"
[[ -z $complaints ]] || fail "update-mime-database complained about the MIME type: $complaints"
for page in halvex halvex-cli halvex-radio-sim; do
    file=$prefix/share/man/man1/$page.1.gz
    [[ -f $file ]] || fail "no manual page $page(1)"
    text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$file" 2>"$scratch/man-warnings") ||
        fail "man cannot render $page(1)"
    [[ ! -s $scratch/man-warnings ]] || fail "$page(1) has warnings: $(cat "$scratch/man-warnings")"
    for section in NAME SYNOPSIS DESCRIPTION "EXIT STATUS" FILES ENVIRONMENT EXAMPLES; do
        grep -q "^$section" <<<"$text" || fail "$page(1) has no $section section"
    done
done

# A user with a fresh home and nothing else.
home=$scratch/home
work=$home/work
mkdir -p "$work" "$scratch/runtime"
chmod 700 "$scratch/runtime"
user_environment=(PATH="$prefix/bin:/usr/bin:/bin" HOME="$home" LANG=C.UTF-8
    XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_STATE_HOME="$home/state"
    XDG_CACHE_HOME="$home/cache" XDG_RUNTIME_DIR="$scratch/runtime"
    XDG_DATA_DIRS="$mimedb:/usr/share" QT_QPA_PLATFORM=offscreen)
# exec, so that a program started in the background is the process $! names.
as_user() { exec env -i "${user_environment[@]}" "$@"; }
settings=$home/config/halvex/setting.ini

# Copied away from its data, with no settings of the user's own, the program says so and
# makes nothing.
mkdir -p "$scratch/bare/bin"
cp "$prefix/bin/halvex-cli" "$scratch/bare/bin/"
if message=$( (as_user "$scratch/bare/bin/halvex-cli" new -o "$work/new.pgm") 2>&1); then
    fail "halvex-cli ran without any setting.ini"
fi
grep -q "Can not find the file setting.ini!" <<<"$message" || fail "no missing-settings message: $message"
[[ ! -e $work/new.pgm && ! -e $home/config ]] || fail "halvex-cli wrote files without settings"

(as_user halvex-cli new -o "$work/new.pgm") || fail "halvex-cli new failed"
cmp -s "$settings" "$source/data/setting.ini" ||
    fail "the user's setting.ini was not made from the installed default"
(as_user halvex-cli info "$work/new.pgm") | grep -q "Used channels: 0 of 128" ||
    fail "halvex-cli info did not describe the new file"

# Every example opens, with channels (the demo with the virtual radio's).
examples=("$prefix"/share/halvex/examples/*.pgm)
[[ ${#examples[@]} -ge 5 ]] || fail "only ${#examples[@]} examples in share/halvex/examples/"
for example in "${examples[@]}"; do
    (as_user halvex-cli info "$example") | grep -q "Used channels: [1-9]" ||
        fail "the example $(basename "$example") holds no channel"
done

# Our files are known by their header; a grey-map image of the same extension stays one.
printf 'P5\n2 2\n255\n\0\0\0\0' >"$work/grey.pgm"
for pair in "new.pgm application/x-rq870-program" "grey.pgm image/x-portable-graymap"; do
    read -r name type <<<"$pair"
    found=$(as_user gio info -a standard::content-type "$work/$name" | sed -n 's/.*content-type: //p')
    [[ $found == "$type" ]] || fail "$name was taken for $found, not $type"
done

# The virtual radio links its port where the programs look; a port search finds it and
# remembers it in the user's settings, never in the installed default. Generous time-outs:
# the machine may be busy with other builds.
sed -i 's/^readtime=.*/readtime=1000/; s/^writetime=.*/writetime=1000/' "$settings"
as_user halvex-radio-sim --port 2 --memory "$work/radio.pgm" >"$scratch/radio.log" 2>&1 &
radio=$!
wait_for "$home/config/halvex/ports/COM2" "the virtual radio did not link ports/COM2"
(as_user halvex-cli read --port 1 -o "$work/read.pgm") || fail "halvex-cli read found no radio"
grep -q '^com=2' "$settings" || fail "the port found was not written to the user's setting.ini"
(as_user halvex-cli write --port 2 "$work/new.pgm") || fail "halvex-cli write failed"
kill "$radio"
status=0; wait "$radio" || status=$?
[[ $status == 0 ]] || fail "the virtual radio ended with $status: $(cat "$scratch/radio.log")"
radio=
cmp -s "$work/radio.pgm" "$work/new.pgm" || fail "the radio does not hold the written file"

if [[ $desktop == 1 ]]; then
    # The window cannot be looked at offscreen; the recent-file list proves the file opened.
    as_user halvex "$work/read.pgm" >"$scratch/halvex.log" 2>&1 &
    program=$!
    recent="$home/config/halvex/Halvex.conf"
    wait_for "$recent" "the installed halvex did not open read.pgm: $(cat "$scratch/halvex.log")"
    grep -q "read.pgm" "$recent" || fail "read.pgm is not in the recent-file list"
    kill -0 "$program" || fail "the installed halvex ended: $(cat "$scratch/halvex.log")"
    kill "$program"
    wait "$program" 2>/dev/null || true
    program=
fi

[[ "$(installed_tree)" == "$installed_before" ]] || fail "a program changed the installed tree"
strays=$(cd "$home" && find . -mindepth 1 -maxdepth 1 ! -name config ! -name data ! -name state \
    ! -name cache ! -name work)
[[ -z $strays ]] || fail "files were written outside the XDG folders: $strays"
DESTDIR=$root cmake --build "$build" --target uninstall >/dev/null || fail "uninstall failed"
left=$(find "$root" -type f)
[[ -z $left ]] || fail "uninstall left files behind: $left"
echo "install test: passed"
