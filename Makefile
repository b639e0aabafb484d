# Front door: `make run` and `make test` install what is missing, build and go.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= 2
CMAKE_ARGS ?=

.PHONY: all deps configure build run test bench sanitize clean demo package

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

test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS) --timeout 600

bench: build
	@bash scripts/bench $(BUILD)

# The engine tests again, built with the address and undefined-behaviour sanitizers.
sanitize: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZAVUV_SANITIZE=ON -DZAVUV_BUILD_UI=OFF
	cmake --build $(ASAN_BUILD) -j$(JOBS) --target zavuv_engine_tests zavuv-cli
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j$(JOBS) --timeout 900

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)

# The Debian package (program, zavuv-cli, zavuv-server, sample data, plug-in SDK) in $(BUILD)/.
package: build
	cmake --build $(BUILD) --target package
