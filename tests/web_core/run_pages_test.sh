#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The compiled core's pages and dialogs under node (pages_test.ts, bundled by the page's
# esbuild). Usage: run_pages_test.sh SOURCE_DIR WASM_DIR. Exits 77 (skipped) when node, the
# web packages or the module are missing.
set -euo pipefail
source_dir=$1 wasm_dir=$2

source "$(dirname "$0")/bundle.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bundle pages_test "$work/pages_test.mjs"
node "$work/pages_test.mjs" "$wasm_dir" "$source_dir/data"
