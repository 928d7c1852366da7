# Entry points for newcomers and CI.  The real build is CMake; this wraps it.
BUILD ?= build
JOBS  ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all deps configure build run test bench bench-instructions test-sanitize fuzz fuzz-run clean

all: build

deps:
	./scripts/install-deps.sh

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

configure: $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Sets up, builds and starts the calculator.
run: deps build
	./$(BUILD)/tavrel

test: deps build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	./$(BUILD)/bench/tavrel-bench
	./bench/skrf_compare.sh ./$(BUILD)/bench/tavrel-bench

# Instructions per Analyze and per microstrip sweep (callgrind): steady on a busy machine.
bench-instructions: build
	./bench/instructions.sh ./$(BUILD)/bench/tavrel-bench

# Whole test suite under AddressSanitizer and UndefinedBehaviorSanitizer
# (SANITIZE_GUI=OFF: only the toolkit-free layers, as CI runs it).
SANITIZE_GUI ?= ON
test-sanitize:
	cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAVREL_SANITIZE=ON \
	  -DTAVREL_BUILD_GUI=$(SANITIZE_GUI) -DTAVREL_BUILD_BENCH=OFF
	cmake --build build-sanitize -j $(JOBS)
	cd build-sanitize && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD) build-sanitize build-fuzz

# libFuzzer targets (clang): settings file, number reading, every line model,
# the batch command's input and the field solver's input path.
FUZZ_SECONDS ?= 600
fuzz:
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DTAVREL_FUZZ=ON -DTAVREL_BUILD_GUI=OFF -DTAVREL_BUILD_TESTS=OFF -DTAVREL_BUILD_BENCH=OFF
	cmake --build build-fuzz -j $(JOBS) --target settings_fuzz numbers_fuzz models_fuzz batch_fuzz fieldsolver_fuzz cpw_for_tavrel

fuzz-run: fuzz
	for t in settings_fuzz numbers_fuzz models_fuzz batch_fuzz fieldsolver_fuzz; do \
	  mkdir -p build-fuzz/corpus/$$t && \
	  ./build-fuzz/fuzz/$$t build-fuzz/corpus/$$t fuzz/corpus/$$t -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 -artifact_prefix=build-fuzz/$$t- || exit 1; \
	done
