# Front door. `make run` and `make test` work on a fresh Debian 12 machine:
# both install what is missing first (scripts/bootstrap).
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?=

.PHONY: all bootstrap configure build run test test-core test-asan format-check clean

all: build

bootstrap:
	@bash scripts/bootstrap

configure: bootstrap
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_ARGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@bash scripts/run $(BUILD)

# Every test: the normal build (GUI tests under a virtual display), then the
# core tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
test: build test-asan
	@xvfb-run -a -s "-screen 0 1600x1000x24" ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS) --timeout 600

test-core: build
	@ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS) -L core

test-asan: bootstrap
	@cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKUBRELL_SANITIZE=ON \
	  -DKUBRELL_GUI=OFF -DKUBRELL_BENCH=OFF >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS) --target core_tests
	@ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS) -L core --timeout 900

# Whether the sources are laid out as .clang-format describes.
format-check: bootstrap
	@bash scripts/format-check

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
