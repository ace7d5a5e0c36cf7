#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Bundles web_core_bench.ts with the page's esbuild and runs it on one CPU, as transfer_bench
# keeps its link and radio on one: a wake across CPUs on a virtual machine costs milliseconds
# a radio on a cable never does.
# Usage: web_core_bench.sh SOURCE_DIR NATIVE_BIN_DIR
set -euo pipefail
source_dir=$1 bin_dir=$2
esbuild=$source_dir/web/node_modules/.bin/esbuild
wasm_dir=$source_dir/build-web/wasm
if [[ ! -x "$esbuild" || ! -e "$wasm_dir/halvex.wasm" ]]; then
    echo "web_core_bench skipped: needs make web-core and npm ci in web/"
    exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$esbuild" "$source_dir/bench/web_core_bench.ts" --bundle --platform=node --format=esm \
    --log-level=warning --outfile="$work/web_core_bench.mjs"
echo "== web_core_bench"
first_cpu=$(taskset -pc $$ | sed 's/.*: //; s/[-,].*//')
taskset -c "$first_cpu" node "$work/web_core_bench.mjs" "$wasm_dir" "$source_dir/data" "$bin_dir/halvex-cli" "$bin_dir/radio-sim"
