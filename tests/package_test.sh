#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the Debian package as apt would get it: its fields and computed library
# dependencies, the file list, the debug-symbol package beside it, file times no later than
# the changelog's, and programs that run from the unpacked files in a fresh home.
# usage: package_test.sh PACKAGE.deb VERSION SOURCE_DIR   (make package runs it)
set -euo pipefail

deb=$1
version=$2
source=$3

scratch=$(mktemp -d "${TMPDIR:-/tmp}/halvex-package-XXXXXX")
trap 'rm -rf "$scratch"' EXIT

fail() {
    echo "package test: $*" >&2
    exit 1
}

[[ -f $deb ]] || fail "no $deb"
[[ $(dpkg-deb -f "$deb" Package) == halvex ]] || fail "the package is not named halvex"
[[ $(dpkg-deb -f "$deb" Version) == "$version" ]] || fail "the package version is not $version"
depends=$(dpkg-deb -f "$deb" Depends)
names=$(tr ',' '\n' <<<"$depends" | awk '{print $1}')
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libyaml-cpp0.7 \
    qt6-qpa-plugins; do
    grep -qxF "$library" <<<"$names" || fail "Depends lacks $library: $depends"
done
recommends=$(dpkg-deb -f "$deb" Recommends | tr -s ' ')
grep -qF "fonts-noto-cjk | fonts-wqy-microhei" <<<"$recommends" ||
    fail "Recommends lacks a CJK font, so the Chinese interface would be empty boxes: $recommends"
grep -qw qt6-translations-l10n <<<"$recommends" ||
    fail "Recommends lacks qt6-translations-l10n, so Qt's dialogs would stay English: $recommends"

dpkg-deb -c "$deb" | awk '{print $6}' >"$scratch/files"
expected=(
    ./usr/bin/halvex ./usr/bin/halvex-cli ./usr/bin/halvex-radio-sim
    ./usr/share/halvex/setting.ini
    ./usr/share/applications/org.halvex.Halvex.desktop
    ./usr/share/metainfo/org.halvex.Halvex.metainfo.xml
    ./usr/share/mime/packages/org.halvex.Halvex.xml
    ./usr/share/icons/hicolor/scalable/apps/org.halvex.Halvex.svg
    ./usr/share/icons/hicolor/48x48/apps/org.halvex.Halvex.png
    ./usr/share/man/man1/halvex.1.gz ./usr/share/man/man1/halvex-cli.1.gz
    ./usr/share/man/man1/halvex-radio-sim.1.gz
    ./usr/share/doc/halvex/copyright ./usr/share/doc/halvex/changelog.Debian.gz
    ./usr/share/doc/halvex/examples
    ./usr/share/bash-completion/completions/halvex-cli
    ./usr/share/zsh/vendor-completions/_halvex-cli
    ./usr/share/lintian/overrides/halvex
)
for file in "$source"/data/*.lang "$source"/data/*.html; do
    expected+=("./usr/share/halvex/$(basename "$file")")
done
for file in "$source"/data/*.html "$source"/data/*.png; do
    expected+=("./usr/share/doc/halvex/$(basename "$file")")
done
for file in "$source"/data/examples/*; do
    name=$(basename "$file")
    expected+=("./usr/share/halvex/examples/$name" "./usr/share/halvex/examples/${name%.*}.pgm")
done
for file in "${expected[@]}"; do
    grep -qxF "$file" "$scratch/files" || fail "the package lacks $file"
done
strays=$(grep -v '^\./usr/\(bin\|share\)/' "$scratch/files" | grep -vxF -e ./ -e ./usr/ || true)
[[ -z $strays ]] || fail "the package installs outside /usr/bin and /usr/share: $strays"
grep -q '/radio-sim$' "$scratch/files" && fail "the package holds a program named radio-sim"
grep -q '/glossaries' "$scratch/files" && fail "the package holds the translators' glossaries"

# Every file dated no later than the changelog entry, so two builds of one source agree.
epoch=$(gzip -dc <(dpkg-deb --fsys-tarfile "$deb" | tar -xOf - ./usr/share/doc/halvex/changelog.Debian.gz) |
    dpkg-parsechangelog -l - -S Timestamp)
late=$(dpkg-deb --fsys-tarfile "$deb" | python3 -c '
import sys, tarfile
for member in tarfile.open(fileobj=sys.stdin.buffer, mode="r|"):
    if member.mtime > int(sys.argv[1]):
        print(member.name, member.mtime)' "$epoch")
[[ -z $late ]] || fail "files are dated after the changelog ($epoch): $late"

# The debug symbols of each program, found by its build ID as gdb looks them up.
dbgsym=$(dirname "$deb")/halvex-dbgsym_${version}_$(dpkg-deb -f "$deb" Architecture).deb
[[ -f $dbgsym ]] || fail "no debug-symbol package $(basename "$dbgsym")"
dpkg-deb -x "$deb" "$scratch/unpacked"
dpkg-deb -c "$dbgsym" | awk '{print $6}' >"$scratch/debug-files"
for program in halvex halvex-cli halvex-radio-sim; do
    id=$(readelf -n "$scratch/unpacked/usr/bin/$program" | sed -n 's/.*Build ID: //p')
    [[ -n $id ]] || fail "$program has no build ID"
    grep -qxF "./usr/lib/debug/.build-id/${id:0:2}/${id:2}.debug" "$scratch/debug-files" ||
        fail "the debug-symbol package has no symbols for $program ($id)"
done

# The packaged programs carry no build paths: they run from wherever they are unpacked.
home=$scratch/home
mkdir -p "$home"
as_user() { env -i PATH=/usr/bin:/bin HOME="$home" "$scratch/unpacked/usr/bin/halvex-cli" "$@"; }
as_user new -o "$home/new.pgm" || fail "the packaged halvex-cli cannot make a file"
[[ -f $home/.config/halvex/setting.ini ]] || fail "the packaged halvex-cli made no user settings"
for example in "$scratch"/unpacked/usr/share/halvex/examples/*.pgm; do
    as_user info "$example" | grep -q "Used channels: [1-9]" ||
        fail "the example $(basename "$example") holds no channel"
done
for guide in "$source"/data/*.html "$source"/data/*.png; do
    cmp -s "$guide" "$scratch/unpacked/usr/share/doc/halvex/$(basename "$guide")" ||
        fail "the guide $(basename "$guide") under /usr/share/doc/halvex is not the program's"
done
changelog=$(gzip -dc "$scratch/unpacked/usr/share/doc/halvex/changelog.Debian.gz" | head -n 1)
[[ $changelog == "halvex ($version) "* ]] || fail "the changelog is not of $version: $changelog"
echo "package test: passed"
