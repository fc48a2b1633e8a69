# The two commands of the README: `make run` and `make test`.
# Each installs what is missing, configures, builds and then runs.

BUILD   ?= build
JOBS    ?= 2
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
# Warnings in the project's own code are errors in every build made here, where developers and
# CI build; a plain `cmake` configure, a user's or a distribution's, keeps them warnings.
WERROR_FLAGS ?= -DREALTOPIA_WERROR=ON

.PHONY: all deps configure build run console test test-sanitize release test-release package bench fuzz clean web web-run web-test web-bench format check-format check-web-scripts web-format

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) $(WERROR_FLAGS)

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

run: build
	$(BUILD)/realtopia

console: build
	$(BUILD)/realtopia-console

test: build
	@$(MAKE) --no-print-directory check-format
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)
	@$(MAKE) --no-print-directory test-sanitize
	@$(MAKE) --no-print-directory test-release
	@if [ -d $(WEB_BUILD) ] || [ "$${REALTOPIA_WEB_TEST:-}" = 1 ]; then \
		$(MAKE) --no-print-directory web-test; fi

# The engine, window-logic and console tests again, built with AddressSanitizer and
# UndefinedBehaviorSanitizer in a second build directory.
SAN_BUILD ?= build-sanitize
test-sanitize: deps
	@cmake -S . -B $(SAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DREALTOPIA_SANITIZE=ON -DREALTOPIA_DESKTOP=OFF \
		$(WERROR_FLAGS)
	@cmake --build $(SAN_BUILD) -j$(JOBS)
	cd $(SAN_BUILD) && ctest --output-on-failure -j$(JOBS)

# The build users and distributions make: Release, with the flags Debian builds its packages
# with (dpkg-buildflags: fortified sources, stack protector, format checks, read-only
# relocations) on top, in a third build directory. `make package` packs it; `make test`
# builds it and runs its tests.
RELEASE_BUILD ?= build-release
DPKG_CXXFLAGS = $(shell dpkg-buildflags --get CPPFLAGS) $(shell dpkg-buildflags --get CXXFLAGS)
DPKG_LDFLAGS = $(shell dpkg-buildflags --get LDFLAGS)
release: deps
	@cmake -S . -B $(RELEASE_BUILD) -DCMAKE_BUILD_TYPE=Release $(WERROR_FLAGS) \
		-DCMAKE_CXX_FLAGS="$(DPKG_CXXFLAGS)" -DCMAKE_EXE_LINKER_FLAGS="$(DPKG_LDFLAGS)" \
		-DCMAKE_SHARED_LINKER_FLAGS="$(DPKG_LDFLAGS)" -DCMAKE_MODULE_LINKER_FLAGS="$(DPKG_LDFLAGS)"
	@cmake --build $(RELEASE_BUILD) -j$(JOBS)

test-release: release
	cd $(RELEASE_BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

# The Debian package realtopia_<version>_<arch>.deb of the release build, written to
# $(RELEASE_BUILD). lintian checks it: no error and no warning.
package: release
	@bash scripts/install-deps.sh package
	cd $(RELEASE_BUILD) && cpack
	lintian --fail-on error,warning $(RELEASE_BUILD)/realtopia_*.deb

# Every benchmark against its target: the engine, the drawing, start-up against the smallest
# Qt programs with the wake-ups while the splash waits (about 60 s), and CPU use on a virtual
# display (about 70 s). Figures: docs/PERFORMANCE.md.
# Each target met or not is also noted in $(BENCH_SUMMARY); the summary at the end lists them,
# each a ratio with its range within the run, and fails when one is not met. Verdicts are on
# CPU time or medians of rounds paired with a yardstick (bench/BenchRounds.h).
BENCH_SUMMARY = $(abspath $(BUILD))/bench/summary.txt
bench: export REALTOPIA_BENCH_SUMMARY = $(BENCH_SUMMARY)
bench: build
	@bash scripts/install-deps.sh bench
	@cmake --build $(BUILD) -j$(JOBS) --target benchmarks
	@rm -f $(BENCH_SUMMARY)
	$(BUILD)/bench/engine_bench
	$(BUILD)/bench/drawing_bench
	bash bench/startup.sh $(BUILD)
	bash bench/cpu.sh $(BUILD)
	@if [ -d $(WEB_BUILD) ]; then $(MAKE) --no-print-directory web-bench; fi
	@bash bench/summary.sh $(BENCH_SUMMARY)

# The web page's transfer size and the time to its splash against an empty page, in headless
# Chromium (run by `make bench` when build-web/ exists).
web-bench: web
	@bash scripts/install-deps.sh web-test
	node --no-warnings --experimental-websocket bench/web_bench.mjs $(WEB_BUILD)

# libFuzzer targets (clang); FUZZ_SECONDS per target, 600 by default. Not part of `make test`,
# which replays the seed corpora instead.
fuzz:
	@bash scripts/install-deps.sh fuzz
	bash scripts/fuzz.sh

# The game in a web page: build-web/ holds index.html, realtopia.js, realtopia.wasm, the
# pictures and the sounds (Emscripten; its optimiser needs Node's modules on NODE_PATH).
WEB_BUILD ?= build-web
WEB_CMAKE ?= build-emscripten
web:
	@bash scripts/install-deps.sh web
	@NODE_PATH=/usr/share/nodejs emcmake cmake -S . -B $(WEB_CMAKE) -DCMAKE_BUILD_TYPE=Release \
		-DREALTOPIA_TESTS=OFF -DREALTOPIA_DESKTOP=OFF -DREALTOPIA_WEB_OUTPUT=$(CURDIR)/$(WEB_BUILD) \
		$(WERROR_FLAGS) >/dev/null
	@NODE_PATH=/usr/share/nodejs cmake --build $(WEB_CMAKE) -j$(JOBS) --target realtopia-page
	@echo "The page is in $(WEB_BUILD)/"

WEB_PORT ?= 8017
web-run: web
	@echo "Serving $(WEB_BUILD)/ at http://127.0.0.1:$(WEB_PORT)/, brotli- or gzip-compressed (Ctrl+C stops)"
	python3 scripts/serve-web.py $(WEB_BUILD) $(WEB_PORT)

# A seeded game played in the page in headless Chromium (with a mouse and keys at 1280 x 800,
# with taps at 390 x 844) and in realtopia-console; part of `make test` when build-web/ exists
# or REALTOPIA_WEB_TEST=1. `make web-test WEB_SCREENSHOTS=docs/screenshots` also renews the
# page's two screenshots there (web.png, web-phone.png).
web-test: web check-web-scripts
	@bash scripts/install-deps.sh web-test
	@cmake --build $(BUILD) -j$(JOBS) --target realtopia-console
	node --no-warnings --experimental-websocket tests/web/browser_game.mjs \
		$(WEB_BUILD) $(BUILD)/realtopia-console tests/web/moves.txt $(WEB_SCREENSHOTS)

# The C++ files' layout, as .clang-format says (clang-format 14): `make check-format` shows
# each difference and fails on one, `make format` rewrites the files.
check-format:
	@bash scripts/install-deps.sh format
	bash scripts/check-format.sh

format:
	@bash scripts/install-deps.sh format
	bash scripts/check-format.sh --fix

# The page's scripts (web/*.js): ESLint and Prettier, at the versions package-lock.json pins
# (fetched from the npm registry into node_modules/). `make web-test`, and so `make test` when
# build-web/ exists, runs the check; `make web-format` rewrites the files.
check-web-scripts:
	@bash scripts/install-deps.sh web-lint
	bash scripts/check-web-scripts.sh

web-format:
	@bash scripts/install-deps.sh web-lint
	bash scripts/check-web-scripts.sh --fix

clean:
	rm -rf $(BUILD) $(SAN_BUILD) $(RELEASE_BUILD) build-fuzz $(WEB_BUILD) $(WEB_CMAKE)
