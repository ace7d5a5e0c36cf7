#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The compiled core's link test under node (link_test.ts, bundled by the page's esbuild), then
# the native side: the file the page saved, written by halvex-cli to radio-sim's demo radio,
# must leave that radio's memory byte for byte as the page's write left the virtual radio's.
# Usage: run_link_test.sh SOURCE_DIR WASM_DIR HALVEX_CLI RADIO_SIM. Exits 77 (skipped) when
# node, the web packages or the module are missing.
set -euo pipefail
source_dir=$1 wasm_dir=$2 cli=$3 radio_sim=$4

source "$(dirname "$0")/bundle.sh"

work=$(mktemp -d)
radio=
trap '[[ -n "$radio" ]] && kill "$radio" 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT

bundle link_test "$work/link_test.mjs"
node "$work/link_test.mjs" "$wasm_dir" "$source_dir/data" "$work"

# Long time-outs: a good answer ends each wait at once, and a busy machine's slow one must not
# fail the write.
sed -e 's/^readtime=.*/readtime=2000/' -e 's/^writetime=.*/writetime=2000/' \
    "$source_dir/data/setting.ini" >"$work/setting.ini"
"$radio_sim" --link "$work/radio" --demo --memory "$work/radio-after-cli-write.bin" &
radio=$!
for _ in $(seq 100); do
    [[ -e "$work/radio" ]] && break
    sleep 0.1
done
"$cli" write --settings "$work/setting.ini" --device "$work/radio" --no-verify "$work/edited.pgm"
for _ in $(seq 100); do
    [[ -s "$work/radio-after-cli-write.bin" ]] && break
    sleep 0.1
done
if ! cmp "$work/radio-after-web-write.bin" "$work/radio-after-cli-write.bin"; then
    echo "FAILED: the radio holds other bytes after the page's write than after halvex-cli's"
    exit 1
fi
echo "ok: the page's write and halvex-cli's leave the radio's memory the same"

# The page's files against the native program's: an opened file saved, its channel list and
# text form, and the two examples imported into new documents.
settings=(--settings "$work/setting.ini")
fixture=$source_dir/tests/data/pgm/v1_05_channels.pgm
"$cli" dump "${settings[@]}" "$fixture" | "$cli" apply "${settings[@]}" - -o "$work/cli-opened.pgm"
"$cli" export "${settings[@]}" "$fixture" -o "$work/cli-opened.csv" 2>/dev/null
"$cli" dump "${settings[@]}" "$fixture" -o "$work/cli-opened.yaml"
"$cli" import "${settings[@]}" "$source_dir/data/examples/murs.csv" -o "$work/cli-murs.pgm" 2>/dev/null
"$cli" apply "${settings[@]}" "$source_dir/data/examples/demo.yaml" -o "$work/cli-demo.pgm"
for file in opened.pgm opened.csv opened.yaml murs.pgm demo.pgm; do
    if ! cmp "$work/$file" "$work/cli-$file"; then
        echo "FAILED: the page's $file differs from halvex-cli's"
        exit 1
    fi
done
echo "ok: the page saves, exports and imports the files halvex-cli does, byte for byte"
