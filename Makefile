# Front door. `make run` and `make test` work on a fresh Debian 12 machine:
# both install what is missing first (scripts/bootstrap).
BUILD      ?= build
ASAN_BUILD ?= build-asan
BUILD_32   ?= build-32
ASAN_BUILD_32 ?= build-32-asan
GUI_BUILD_32  ?= build-32-gui
I386       := -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/i386-linux-gnu.cmake
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?=

.PHONY: all bootstrap bootstrap-32 configure build run test test-core test-asan test-32 build-32-gui format-check clean

all: build

bootstrap:
	@bash scripts/bootstrap

configure: bootstrap
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_ARGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@bash scripts/run $(BUILD)

# Every test: the normal build (GUI tests under a virtual display), the core
# tests again under AddressSanitizer and UndefinedBehaviorSanitizer, and the
# 32-bit build. The layout check comes first: it takes a second.
test: format-check build test-asan test-32
	@xvfb-run -a -s "-screen 0 1600x1000x24" ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS) --timeout 600

test-core: build
	@ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS) -L core

test-asan: bootstrap
	@cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKUBRELL_SANITIZE=ON \
	  -DKUBRELL_GUI=OFF -DKUBRELL_BENCH=OFF >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS) --target core_tests
	@ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS) -L core --timeout 900

bootstrap-32: bootstrap
	@bash scripts/bootstrap-32

# The 32-bit (i386) build of the core, kubrell-cli and their tests: the tests
# pass there, its kubrell-cli writes the same files as the 64-bit one byte for
# byte, and the document reader survives hostile input under the sanitizers
# (only where i386 programs run natively: the sanitizers do not run under the
# emulator scripts/bootstrap-32 registers where the kernel cannot run them).
test-32: configure bootstrap-32
	@cmake --build $(BUILD) -j $(JOBS) --target kubrell-cli make_samples
	@cmake -S . -B $(BUILD_32) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(I386) \
	  -DKUBRELL_GUI=OFF -DKUBRELL_BENCH=OFF -DKUBRELL_COMPARE_WITH=$(abspath $(BUILD)) $(CMAKE_ARGS) >/dev/null
	@cmake --build $(BUILD_32) -j $(JOBS)
	@ctest --test-dir $(BUILD_32) --output-on-failure -j $(JOBS) --timeout 600
	@if bash scripts/i386-emulated; then \
	  echo "test-32: i386 programs run under qemu on this machine, where AddressSanitizer cannot run;" \
	    "the i386 reader is tested without the sanitizers only"; \
	else \
	  cmake -S . -B $(ASAN_BUILD_32) -G Ninja -DCMAKE_BUILD_TYPE=Debug $(I386) -DKUBRELL_SANITIZE=ON \
	    -DKUBRELL_GUI=OFF -DKUBRELL_BENCH=OFF $(CMAKE_ARGS) >/dev/null && \
	  cmake --build $(ASAN_BUILD_32) -j $(JOBS) --target reader_tests && \
	  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	    $(ASAN_BUILD_32)/tests/reader_tests --gtest_brief=1; \
	fi

# The desktop program for i386 (the toolkit's i386 packages install beside
# the 64-bit ones); not part of `make test`.
build-32-gui: bootstrap
	@bash scripts/bootstrap-32 --gui
	@cmake -S . -B $(GUI_BUILD_32) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(I386) \
	  -DKUBRELL_BENCH=OFF $(CMAKE_ARGS) >/dev/null
	@cmake --build $(GUI_BUILD_32) -j $(JOBS) --target kubrell

# Whether the sources are laid out as .clang-format describes.
format-check: bootstrap
	@bash scripts/format-check

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(BUILD_32) $(ASAN_BUILD_32) $(GUI_BUILD_32)
