BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)

.PHONY: all setup configure build run test asan tsan bench fuzz clean screenshots

all: build

setup:
	@bash scripts/setup.sh

configure: setup
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@$(BUILD_DIR)/src/telv-q9

test: build
	@cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) --timeout 600

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer: the
# first report ends the test that made it, and leaks fail the test too.
# The browser engine frees some objects with a size other than the one they
# were made with, inside its own code; that one check is off.
# tests/lsan.supp names the libraries whose leaks are not ours.
ASAN_ENV = ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:new_delete_type_mismatch=0 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
asan: setup
	@cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DTELV_SANITIZE=address,undefined >/dev/null
	@cmake --build build-asan -j $(JOBS)
	@cd build-asan && QT_QPA_PLATFORM=offscreen $(ASAN_ENV) ctest --output-on-failure -j $(JOBS) --timeout 600

# The threaded part, the player client, the transfer engine and the workers
# that change the library lists beside the window, under ThreadSanitizer. Qt
# is not built with it; tests/tsan.supp says what that costs.
TSAN_ENV = TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=$(CURDIR)/tests/tsan.supp
tsan: setup
	@cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DTELV_SANITIZE=thread >/dev/null
	@cmake --build build-tsan -j $(JOBS) --target player_tests transfer_tests ops_tests
	@cd build-tsan && QT_QPA_PLATFORM=offscreen $(TSAN_ENV) ctest --output-on-failure -j $(JOBS) --timeout 600 -L '^(player_tests|transfer_tests|ops_workers)$$'

screenshots: build
	@bash scripts/screenshots.sh $(BUILD_DIR)

bench: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target benchmarks
	@bash bench/run.sh $(BUILD_DIR)

fuzz: setup
	@bash scripts/setup.sh packages-fuzz.txt
	@CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DTELV_FUZZ=ON -DCMAKE_BUILD_TYPE=Debug >/dev/null
	@cmake --build build-fuzz -j $(JOBS) --target fuzzers
	@echo "fuzzers are in build-fuzz/fuzz/"

clean:
	rm -rf $(BUILD_DIR) build-fuzz build-asan build-tsan
