# The two commands of the README:
#   make run    builds the program and prints the report
#   make test   builds all three builds and runs every test
# Both install the Debian packages they need (as root; otherwise they say which).

JOBS ?= $(shell nproc)

.PHONY: run test build test-native test-win64 build-win32 bench format clean

run: build
	./build/snapshot

build:
	scripts/install-deps native
	cmake --preset native >/dev/null
	cmake --build build -j $(JOBS)

test: test-native test-win64 build-win32

test-native: build
	ctest --test-dir build --output-on-failure -j $(JOBS)

test-win64:
	scripts/install-deps native windows
	cmake --preset win64 >/dev/null
	cmake --build build-win64 -j $(JOBS)
	scripts/wine-prefix build-win64/wineprefix
	ctest --test-dir build-win64 --output-on-failure

build-win32:
	scripts/install-deps native windows
	cmake --preset win32 >/dev/null
	cmake --build build-win32 -j $(JOBS)

bench: build
	scripts/install-deps bench
	bench/run

format:
	find src tests bench -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	rm -rf build build-win64 build-win32
