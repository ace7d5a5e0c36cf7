# SPDX-License-Identifier: GPL-3.0-or-later
# Forwards to the CMake presets; scripts/ensure-deps installs what is missing.
FUZZ_SECONDS ?= 30
# Where `make install` puts the programs; DESTDIR=... stages them elsewhere as usual.
PREFIX ?= /usr/local

.PHONY: all deps build test run asan bench fuzz package install uninstall format format-check clean

all: build

deps:
	@scripts/ensure-deps

build: deps
	cmake --preset dev
	cmake --build --preset dev

test: build
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

fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz
	scripts/run-fuzzers build-fuzz $(FUZZ_SECONDS)

package: deps
	scripts/build-package build-package

install: deps
	cmake --preset install -DCMAKE_INSTALL_PREFIX=$(PREFIX)
	cmake --build --preset install
	cmake --install build-install --strip

uninstall:
	cmake --build build-install --target uninstall

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check:
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	rm -rf build build-asan build-release build-install build-package build-fuzz
