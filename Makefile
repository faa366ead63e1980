# SPDX-License-Identifier: GPL-3.0-or-later
# Talvero: `make run` starts the program, `make test` builds and runs every test.
# Every target first installs the Debian packages it needs when any is missing, and only those
# (tools/debian-packages.txt says which target needs what).

CMAKE_FLAGS ?= -DTALVERO_WERROR=$(if $(TALVERO_WERROR),$(TALVERO_WERROR),OFF)

.PHONY: all run test asan fuzz bench fairness lint package package-check fresh-check format clean \
	core-check web web-build web-test web-bench

all: test

deps-%:
	@tools/install-deps.sh $*

run: deps-run
	cmake --preset debug $(CMAKE_FLAGS)
	cmake --build --preset debug --target talvero
	./build/debug/app/talvero

test: deps-test
	cmake --preset debug $(CMAKE_FLAGS)
	cmake --build --preset debug
	ctest --preset debug

asan: deps-asan
	cmake --preset asan $(CMAKE_FLAGS)
	cmake --build --preset asan
	ctest --preset asan

# Coverage-guided fuzzing of the settings reading path with libFuzzer, FUZZ_SECONDS long, from
# the seeds in fuzz/corpus; what it learns stays in build/fuzz/corpus for the next run. Prints
# the closing figures; a finding fails the target and is kept as build/fuzz/crash-* (or leak-,
# timeout-, oom-), with the fuzzer's report in build/fuzz/fuzz.log.
FUZZ_SECONDS ?= 300
FUZZER = build/fuzz/fuzz/talvero_settings_fuzzer
fuzz: deps-fuzz
	cmake --preset fuzz $(CMAKE_FLAGS)
	cmake --build --preset fuzz
	mkdir -p build/fuzz/corpus
	$(FUZZER) -max_total_time=$(FUZZ_SECONDS) -timeout=10 -max_len=4096 -print_final_stats=1 \
		-dict=fuzz/settings.dict -artifact_prefix=build/fuzz/ build/fuzz/corpus fuzz/corpus \
		>build/fuzz/fuzz.log 2>&1 || { tail -n 80 build/fuzz/fuzz.log; exit 1; }
	grep -E 'DONE|^Done|^stat::' build/fuzz/fuzz.log

# The start-up figures need a real X display; the others run offscreen inside the program.
bench: deps-bench
	cmake --preset release $(CMAKE_FLAGS)
	cmake --build --preset release --target talvero_bench
	xvfb-run -a -s "-screen 0 1920x1080x24" ./build/release/bench/talvero_bench

# The fairness report: 10^8 dice for every number of sides through the engine, about 15 s.
# Prints the figures ("name: value unit") and draws docs/fairness.png.
fairness: deps-fairness
	cmake --preset release $(CMAKE_FLAGS)
	cmake --build --preset release --target talvero_fairness
	./build/release/fairness/talvero_fairness docs/fairness.png

# A .deb of the release build, in build/release.
package: deps-package
	cmake --preset release $(CMAKE_FLAGS)
	cmake --build --preset release
	cd build/release && cpack -G DEB

# Installs that .deb with apt, tries the installed program under Xvfb, removes it again.
package-check: package
	tools/check-package.sh

# `make test` on a minimal Debian 12 made with debootstrap, from a clean clone of HEAD, as a
# newcomer with sudo runs it. Needs root; prints what it installed and how long each step took.
fresh-check:
	tools/fresh-check.sh

format: deps-format
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

# The Qt-free core built with g++, with em++ to WebAssembly and with mingw-w64 for Windows; the
# golden trace of each, run natively, with node and with wine, must be the same bytes.
core-check: deps-core-check
	TALVERO_WERROR=$(TALVERO_WERROR) tools/core-check.sh

# The phone edition: the core compiled to WebAssembly with emscripten, assembled with the page's
# files into build/web (tools: web/tools/), then served on 127.0.0.1:$(WEB_PORT) until Ctrl+C.
# Any static HTTPS host serves build/web just as well.
WEB_PORT ?= 8080
WEB_NODE_MODULES = web/node_modules/.package-lock.json

web: web-build
	node web/tools/serve.mjs build/web $(WEB_PORT)

web-build: deps-web
	TALVERO_WERROR=$(TALVERO_WERROR) tools/web-build.sh

# The browser tests' tools (typescript, puppeteer-core, axe-core), as pinned in the lockfile;
# puppeteer drives Debian's chromium and downloads no browser of its own.
$(WEB_NODE_MODULES): web/package.json web/package-lock.json
	cd web && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund
	touch $@

# The web edition's checks: types, the core through node, the page in headless Chromium against
# the captions of the native golden tool, installability and offline start.
# The test files are named one by one, as node 18's `node --test` takes no folder of them.
web-test: deps-web-test $(WEB_NODE_MODULES) web-build
	cmake --preset core-native $(CMAKE_FLAGS)
	cmake --build --preset core-native
	web/node_modules/.bin/tsc --noEmit -p web
	node --test web/tests/*.test.mjs

# The web edition's figures ("name: value unit", with their limits): the first visit's gzip
# payload, a roll's paint and a cached start against a bare page, the memory after 100,000 rolls.
web-bench: deps-web-bench $(WEB_NODE_MODULES) web-build
	node web/bench/web-bench.mjs

# Static checks: cppcheck over the program's code, and every source formatted as .clang-format says.
lint: deps-lint
	cppcheck --enable=warning,performance,portability --std=c++20 --library=qt --inline-suppr \
		--error-exitcode=1 --quiet -I . engine ui settings app fuzz trace
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	rm -rf build
