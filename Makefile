# Front door: `make run` and `make test` install what is missing, build and go.
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 600
JOBS       ?= 2
CMAKE_ARGS ?=

.PHONY: all deps configure build run test bench sanitize fuzz clean demo package

all: build

deps:
	@bash scripts/install-deps

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_ARGS)

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j$(JOBS)

run: build
	@bash scripts/run

# The tests, then a few seconds of every fuzzing harness where clang 14 is installed.
test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS) --timeout 600
	FUZZ_BUILD=$(FUZZ_BUILD) JOBS=$(JOBS) bash scripts/fuzz --smoke

# Every fuzzing harness for FUZZ_SECONDS each (`make fuzz FUZZ_SECONDS=3600`).
fuzz: deps
	FUZZ_BUILD=$(FUZZ_BUILD) JOBS=$(JOBS) bash scripts/fuzz $(FUZZ_SECONDS)

bench: build
	@bash scripts/bench $(BUILD)

# The whole suite again (engine, command line, server and the widget tests), built
# with the address and undefined-behaviour sanitizers; leaks in Qt's own libraries go
# to scripts/lsan.supp. `make sanitize CMAKE_ARGS=-DZAVUV_BUILD_UI=OFF` leaves out the
# window and its tests.
sanitize: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZAVUV_SANITIZE=ON -DZAVUV_BUILD_UI=ON $(CMAKE_ARGS)
	cmake --build $(ASAN_BUILD) -j$(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp \
	  UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j$(JOBS) --timeout 900

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)

# The Debian package (program, zavuv-cli, zavuv-server, sample data, plug-in SDK) in $(BUILD)/.
package: build
	cmake --build $(BUILD) --target package
