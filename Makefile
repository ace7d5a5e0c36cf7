# SPDX-License-Identifier: GPL-3.0-or-later
# Forwards to the CMake presets; scripts/ensure-deps installs what is missing.
FUZZ_SECONDS ?= 30
# Where `make install` puts the programs; DESTDIR=... stages them elsewhere as usual.
PREFIX ?= /usr/local

.PHONY: all deps build test run asan bench fuzz package install uninstall format format-check clean web-core web web-run

all: build

deps:
	@scripts/ensure-deps

build: deps
	cmake --preset dev
	cmake --build --preset dev

test: build web
	ctest --preset dev

run: build
	scripts/run-with-virtual-radio build/bin

asan: deps
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

bench: deps
	cmake --preset release
	cmake --build --preset release
	scripts/run-benchmarks build-release
	$(MAKE) web
	bench/web_core_bench.sh . build-release/bin
	node bench/web_page_bench.mjs

# The core and the virtual radio in WebAssembly (emscripten), into build-web/wasm.
web-core: deps
	NODE_PATH=/usr/share/nodejs cmake --preset web-core
	NODE_PATH=/usr/share/nodejs cmake --build --preset web-core

fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz
	scripts/run-fuzzers build-fuzz $(FUZZ_SECONDS)

package: deps
	cmake --preset package -DCMAKE_INSTALL_PREFIX=/usr
	cmake --build --preset package
	cd build-package && cpack
	lintian --fail-on error,warning,info --display-info build-package/halvex_$$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-package/CMakeCache.txt)_$$(dpkg --print-architecture).deb

install: deps
	cmake --preset package -DCMAKE_INSTALL_PREFIX=$(PREFIX)
	cmake --build --preset package
	cmake --install build-package --strip

uninstall:
	cmake --build build-package --target uninstall

# The site in build-web/site: the core module (web-core), then the page around it.
web: deps web-core
	cd web && npm run build

# localhost is a secure context, which Web Serial needs.
web-run: web
	@echo "Halvex in the browser: http://localhost:8870/"
	cd web && npx vite preview --host localhost --port 8870 --strictPort

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i
	cd web && npx prettier --write --log-level warn . ../tests/web ../bench/web_page_bench.mjs

format-check:
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
	cd web && npx prettier --check --log-level warn . ../tests/web ../bench/web_page_bench.mjs && npm run --silent lint

clean:
	rm -rf build build-asan build-release build-package build-fuzz build-web
