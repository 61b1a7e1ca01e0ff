# Kestrum build entry points, a thin layer over CMakePresets.json.
# `make run` builds and starts the program, `make test` builds and runs
# every test. PRESET=ci (warnings as errors) is what CI uses.
PRESET     ?= dev
ASAN_PRESET ?= asan
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?=

.PHONY: deps configure build run test test-asan demo bench fuzz package clean

deps:
	@scripts/install-deps.sh

configure: deps
	cmake --preset $(PRESET) $(CMAKE_ARGS)

build: configure
	cmake --build --preset $(PRESET) -j $(JOBS)

run: build
	@scripts/run.sh build/kestrum

test: build
	ctest --preset $(PRESET) -j $(JOBS)

test-asan: deps
	cmake --preset $(ASAN_PRESET) $(CMAKE_ARGS)
	cmake --build --preset $(ASAN_PRESET) -j $(JOBS)
	ctest --preset $(ASAN_PRESET) -j $(JOBS)

demo: build
	@scripts/demo.sh build

bench: build
	@bench/run.sh build

# A .deb of the program, its desktop entry, icon and help pages, in build/.
package: build
	cmake --build --preset $(PRESET) --target package

fuzz: deps
	@scripts/fuzz.sh 60

clean:
	rm -rf build build-asan build-fuzz
