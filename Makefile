# Two commands do all the set-up on a fresh Debian 12 machine:
#   make run    build, then run the planner and the plotter on data/demo-keps
#   make test   install what the build needs, build, run every test with CTest
BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?=

.PHONY: all setup configure build run test test-normal test-sanitize fuzz-build fuzz fuzz-corpus bench clean

all: build

setup:
	./scripts/setup

configure: setup
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j$(JOBS)

run: build
	./scripts/run-demo $(BUILD)

# The normal suite, every fuzzing harness over its seed corpus (seconds, not
# open-ended), then the whole suite again under the sanitizers, so that the
# output still ends with CTest's summary line.
test: test-normal
	$(MAKE) --no-print-directory fuzz-corpus
	$(MAKE) --no-print-directory test-sanitize

test-normal: build
	cd $(BUILD) && ctest -j$(JOBS) --output-on-failure

# The whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize: setup
	cmake --preset sanitize
	cmake --build --preset sanitize -j$(JOBS)
	ctest --preset sanitize -j$(JOBS)

# Fuzzing harnesses (clang, libFuzzer, AddressSanitizer, UBSan) in their own
# build directory. `make fuzz` fuzzes each harness for FUZZ_SECONDS;
# `make fuzz-corpus` only runs each over its seeds in fuzz/corpus/.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60

fuzz-build: setup
	cmake -S fuzz -B $(FUZZ_BUILD) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(FUZZ_BUILD) -j$(JOBS)

fuzz: fuzz-build
	./fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

fuzz-corpus: fuzz-build
	./fuzz/run.sh $(FUZZ_BUILD) 0

bench: setup
	cmake -S . -B $(BUILD)-bench -DCMAKE_BUILD_TYPE=Release -DBUILD_BENCHMARKS=ON -DBUILD_TESTING=OFF
	cmake --build $(BUILD)-bench -j$(JOBS)
	for b in $(BUILD)-bench/bench/*/bench_*; do [ -x "$$b" ] && "$$b"; done

# Installs the programs, the desktop entry and the icon (PREFIX=... to choose where).
install: build
	cmake --install $(BUILD) $(if $(PREFIX),--prefix $(PREFIX))

clean:
	rm -rf $(BUILD)
