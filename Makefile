# The two commands of the README: `make run` and `make test`.
# Each installs what is missing, configures, builds and then runs.

BUILD   ?= build
JOBS    ?= 2
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all deps configure build run console test bench clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

run: build
	./$(BUILD)/realtopia

console: build
	./$(BUILD)/realtopia-console

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

bench: build
	@cmake --build $(BUILD) -j$(JOBS) --target benchmarks
	./$(BUILD)/bench/engine_bench

clean:
	rm -rf $(BUILD)
