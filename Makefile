BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)

.PHONY: all setup configure build run test bench fuzz clean

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

bench: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target benchmarks
	@bash bench/run.sh $(BUILD_DIR)

fuzz: setup
	@bash scripts/setup.sh packages-fuzz.txt
	@CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DTELV_FUZZ=ON -DCMAKE_BUILD_TYPE=Debug >/dev/null
	@cmake --build build-fuzz -j $(JOBS) --target fuzzers
	@echo "fuzzers are in build-fuzz/fuzz/"

clean:
	rm -rf $(BUILD_DIR) build-fuzz
