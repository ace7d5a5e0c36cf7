#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The compiled core's pages and dialogs under node (pages_test.ts, bundled by the page's
# esbuild). Usage: run_pages_test.sh SOURCE_DIR WASM_DIR. Exits 77 (skipped) when node, the
# web packages or the module are missing.
set -euo pipefail
source_dir=$1 wasm_dir=$2

esbuild=$source_dir/web/node_modules/.bin/esbuild
for needed in "$wasm_dir/halvex.js" "$wasm_dir/halvex.wasm" "$esbuild"; do
    if [[ ! -e "$needed" ]]; then
        echo "skipped: $needed is missing (make web-core builds the module, npm ci in web/ the packages)"
        exit 77
    fi
done
if ! command -v node >/dev/null; then
    echo "skipped: node is not installed"
    exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$esbuild" "$source_dir/tests/web_core/pages_test.ts" --bundle --platform=node --format=esm \
    --log-level=warning --outfile="$work/pages_test.mjs"
node "$work/pages_test.mjs" "$wasm_dir" "$source_dir/data"
