# The two commands of the README:
#   make run    builds the program and its language catalogue, and prints the report
#   make test   builds the four builds and runs every test
# and the packages: make package (Debian), make package-win64 (a zip).
# Both install the Debian packages they need (as root; otherwise they say which).

JOBS ?= $(shell nproc)

.PHONY: run test test-all configure character-tables build build-all test-native test-asan build-e2e test-e2e-static fuzz \
	fuzz-build fuzz-smoke configure-win64 build-win64 program-win64 wine-prefix-win64 test-win64 \
	test-profile-oracle build-win32 test-win32 lint bench format clean package test-package package-win64

run: build
	./build/snapshot

configure:
	scripts/install-deps native
	cmake --preset native >/dev/null

# The character tables that the build generates, which lint needs as well.
character-tables: configure
	cmake --build build --target unicode_tables

# The program and its language catalogue (QUORVANT.cat beside it): all that
# `make run` needs, without the tests.
build: character-tables
	cmake --build build -j $(JOBS) --target snapshot

# Everything of the native build: the program, the tests and what they need.
build-all: configure
	cmake --build build -j $(JOBS)

# The native unit suite runs once, under the sanitizers (test-asan); the
# plain build makes only the shipped program, which the end-to-end tests run
# as well (test-e2e-static). The packages are installed first, all at once
# (the 32-bit root's too, which it would otherwise install while the package
# test may hold apt's lock); then the stages run two at a time: each build
# folder is built by one target alone and each run waits for the builds it
# needs, so that the runs that are one process (Wine, qemu, a fuzzer) fill the
# time a core would wait. The longest chains are listed first: make starts
# them in this order, and lint, the longest of all (clang-tidy's analyser),
# left last would run alone at the end.
test:
	scripts/install-deps native windows zip fuzz package package-test i386
	$(MAKE) --no-print-directory -j2 --output-sync=target test-all

test-all: lint fuzz-smoke test-asan test-win32 test-profile-oracle test-win64 package-win64 \
	test-e2e-static test-package

test-native: build-all
	ctest --test-dir build --output-on-failure -j $(JOBS)

# The native tests under the sanitizers, built by clang with the fuzz targets
# (one build, one compile of the library): any finding fails the test.
SANITIZER_ENV = LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	UBSAN_OPTIONS=print_stacktrace=1 ASAN_OPTIONS=allow_user_segv_handler=1
test-asan: fuzz-build
	$(SANITIZER_ENV) ctest --test-dir build-asan --output-on-failure -j $(JOBS)

# The end-to-end tests against the static program of the plain build, which
# is the one shipped. Each run that needs a locale points LOCPATH at the test
# locales itself.
build-e2e: build
	cmake --build build -j $(JOBS) --target e2e_tests

test-e2e-static: build-e2e
	./build/tests/e2e_tests

# Each fuzz target for FUZZ_SECONDS (make test gives each a few seconds).
FUZZ_SECONDS ?= 60
fuzz-build:
	scripts/install-deps native fuzz
	cmake --preset asan >/dev/null
	cmake --build build-asan -j $(JOBS)

fuzz: fuzz-build
	fuzz/run $(FUZZ_SECONDS)

# make test's turn: a few seconds each.
fuzz-smoke: fuzz-build
	fuzz/run 5

# The Windows 64-bit build: the program alone (program-win64) for the zip,
# everything for the tests (build-win64). Its wine prefix is prepared once.
configure-win64:
	scripts/install-deps native windows
	cmake --preset win64 >/dev/null

program-win64: configure-win64
	cmake --build build-win64 -j $(JOBS) --target snapshot

build-win64: program-win64
	cmake --build build-win64 -j $(JOBS)

wine-prefix-win64:
	scripts/install-deps native windows
	scripts/wine-prefix build-win64/wineprefix

test-win64: build-win64 wine-prefix-win64
	ctest --test-dir build-win64 --output-on-failure

# The POSIX settings store against the platform's own profile functions:
# every case of the corpus goes through kernel32 under wine64 (one process for
# them all) and through the store, which must read and leave the same.
# The store is the sanitizers' build's.
test-profile-oracle: fuzz-build build-win64 wine-prefix-win64
	$(SANITIZER_ENV) PROFILE_ORACLE=$(CURDIR)/build-win64/tests/profile_oracle.exe ./build-asan/tests/profile_oracle_test

build-win32:
	scripts/install-deps native windows
	cmake --preset win32 >/dev/null
	cmake --build build-win32 -j $(JOBS)

# The 32-bit build's tests under 32-bit Wine, in an i386 root whose programs
# run under qemu-user (as root; the root is set up the first time, in
# /var/cache/snapshot-i386).
test-win32: build-win32
	scripts/i386-session sh -c 'scripts/i386-exec scripts/wine-prefix build-win32/wineprefix && \
	    ctest --test-dir build-win32 --output-on-failure'

# The Debian package of the native build, in build/packages/: the program and
# its catalogue, not the tests. CPack is run directly, not through the build's
# package target, so that no second build runs in the folder meanwhile.
package: build
	scripts/install-deps package
	rm -f build/packages/*.deb
	cd build && cpack --config CPackConfig.cmake >/dev/null

# Installs the package with apt-get, runs it and removes it again (as root;
# otherwise the test says it was skipped).
test-package: package build-e2e
	scripts/install-deps package-test
	SNAPSHOT_DEB=$$(ls build/packages/*.deb) ./build/tests/e2e_tests --gtest_filter='DebianPackage.*'

# The Windows 64-bit zip: SNAPSHOT.EXE, QUORVANT.DLL, the example settings
# file and README.TXT, in build-win64/packages/; unpacked, its program must
# report under wine64.
package-win64: program-win64 wine-prefix-win64
	scripts/install-deps zip
	rm -f build-win64/packages/*.zip
	cd build-win64 && cpack --config CPackConfig.cmake >/dev/null
	scripts/check-win-zip build-win64/packages/*.zip

bench: build
	scripts/install-deps bench
	cmake --build build -j $(JOBS) --target mount_table_bench cgroup_memory_bench
	bench/run

SOURCES = $(shell git ls-files '*.cpp' '*.h')
NATIVE_SOURCES = $(shell git ls-files 'src/*.cpp' | grep -v '/win32/')

# The code is formatted by .clang-format and clean for the checks .clang-tidy
# enables. clang-tidy checks one file per run: with several, its analyser
# carries state from one file into the next and reports faults that are not there.
# It needs the compile commands that configuring writes and the character
# tables that the build generates, not the build itself.
lint: character-tables
	@echo "clang-format and clang-tidy over the sources"
	@clang-format --dry-run --Werror $(SOURCES)
	@out=$$(echo $(NATIVE_SOURCES) | xargs -n 1 -P $(JOBS) clang-tidy -p build --quiet 2>&1); \
	 status=$$?; echo "$$out" | grep -v 'warnings generated'; exit $$status

format:
	clang-format -i $(SOURCES)

clean:
	rm -rf build build-asan build-win64 build-win32
