# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the compiled core's tests: exits 77 (skipped) when node, the web packages or the
# module are missing, and bundles a test of tests/web_core/ with the page's esbuild.
# Needs source_dir and wasm_dir; gives bundle NAME OUTFILE.
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

bundle() {
    "$esbuild" "$source_dir/tests/web_core/$1.ts" --bundle --platform=node --format=esm \
        --log-level=warning --outfile="$2"
}
