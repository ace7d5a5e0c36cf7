# Forwards to the CMake presets; scripts/ensure-deps installs what is missing.
FUZZ_SECONDS ?= 30

.PHONY: all deps build test run asan bench fuzz format format-check clean

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

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check:
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	rm -rf build build-asan build-release build-fuzz
