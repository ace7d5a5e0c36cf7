#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package from this build's install and checks what apt would get: the
# file list, the computed library dependencies, and a program that runs from the unpacked
# files in a fresh home.
# usage: package_test.sh BUILD_DIR VERSION SOURCE_DIR
set -euo pipefail

build=$1
version=$2
source=$3

scratch=$(mktemp -d "${TMPDIR:-/tmp}/halvex-package-XXXXXX")
trap 'rm -rf "$scratch"' EXIT

fail() {
    echo "package test: $*" >&2
    exit 1
}

cpack --config "$build/CPackConfig.cmake" -B "$scratch" >"$scratch/cpack.log" 2>&1 ||
    fail "cpack failed: $(cat "$scratch/cpack.log")"
deb=$scratch/halvex_${version}_$(dpkg --print-architecture).deb
[[ -f $deb ]] || fail "no $(basename "$deb"): $(ls "$scratch")"

[[ $(dpkg-deb -f "$deb" Package) == halvex ]] || fail "the package is not named halvex"
[[ $(dpkg-deb -f "$deb" Version) == "$version" ]] || fail "the package version is not $version"
depends=$(dpkg-deb -f "$deb" Depends)
names=$(tr ',' '\n' <<<"$depends" | awk '{print $1}')
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libyaml-cpp0.7 \
    qt6-qpa-plugins; do
    grep -qxF "$library" <<<"$names" || fail "Depends lacks $library: $depends"
done
recommends=$(dpkg-deb -f "$deb" Recommends)
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
    ./usr/share/doc/halvex/copyright ./usr/share/doc/halvex/changelog.gz
    ./usr/share/lintian/overrides/halvex
)
for language in "$source"/data/*.lang; do
    expected+=("./usr/share/halvex/$(basename "$language")")
done
for file in "${expected[@]}"; do
    grep -qxF "$file" "$scratch/files" || fail "the package lacks $file"
done
strays=$(grep -v '^\./usr/\(bin\|share\)/' "$scratch/files" | grep -vxF -e ./ -e ./usr/ || true)
[[ -z $strays ]] || fail "the package installs outside /usr/bin and /usr/share: $strays"
grep -q '/radio-sim$' "$scratch/files" && fail "the package holds a program named radio-sim"
grep -q '/glossaries' "$scratch/files" && fail "the package holds the translators' glossaries"

# What Debian's archive checks would say; a warning or an error fails. The test build is not
# hardened, so its informational tags are shown but do not count here; `make package` counts
# them on the release package.
lintian --fail-on error,warning --display-info "$deb" >"$scratch/lintian.log" 2>&1 ||
    fail "lintian: $(cat "$scratch/lintian.log")"
cat "$scratch/lintian.log"

# The packaged programs carry no build paths: they run from wherever they are unpacked.
dpkg-deb -x "$deb" "$scratch/unpacked"
home=$scratch/home
mkdir -p "$home"
env -i PATH=/usr/bin:/bin HOME="$home" "$scratch/unpacked/usr/bin/halvex-cli" new \
    -o "$home/new.pgm" || fail "the packaged halvex-cli cannot make a file"
[[ -f $home/.config/halvex/setting.ini ]] || fail "the packaged halvex-cli made no user settings"
changelog=$(gzip -dc "$scratch/unpacked/usr/share/doc/halvex/changelog.gz" | head -n 1)
[[ $changelog == "halvex ($version) "* ]] || fail "the changelog is not of $version: $changelog"
echo "package test: passed"
