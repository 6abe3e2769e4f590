# Thin wrapper over CMake: `make run` to play, `make test` to check everything.
MAKEFLAGS += --no-print-directory
BUILD_DIR ?= build
ASAN_DIR ?= build-asan
FUZZ_DIR ?= build-fuzz
WEB_DIR ?= build-web
WEB_PORT ?= 8000
FUZZ_SECONDS ?= 60
JOBS ?= $(shell nproc)
PYTHON ?= /usr/bin/python3

.PHONY: all run game test web serve-web e2e-compat deps configure build asan-test bench ladder tune fuzz artwork screenshots package format format-check clean

all: build

# The groups of Debian packages (scripts/install-deps) each goal needs: `deps`
# installs those of every goal on the command line in one go, before anything
# is configured. The game's alone for `make run`, `make game` and `make build`;
# a configure without the test packages leaves the tests and benchmarks out.
DEPS_test = game test web browser
DEPS_web = web
DEPS_serve-web = web
DEPS_e2e-compat = game test
DEPS_asan-test = game test
DEPS_bench = game test
DEPS_tune = game test
DEPS_ladder = game test chart
DEPS_fuzz = game test fuzz
DEPS_artwork = test
DEPS_screenshots = game test
DEPS_package = game test
DEPS_format = format
DEPS_format-check = format
DEPS = $(sort $(foreach goal,$(or $(MAKECMDGOALS),all),$(or $(DEPS_$(goal)),game)))

deps:
	@scripts/install-deps $(DEPS)

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTRIXO_WEB_DIR=$(abspath $(WEB_DIR)) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

# The game alone (the program; configuring links data/ beside it), so that
# `make run` opens the window without building every test and benchmark first.
game: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target vantrixo

# Leaving from the menu ends the program with status 1, as it always has;
# scripts/run-game turns that quit into success and lets failures through.
run: game
	@scripts/run-game $(BUILD_DIR)/vantrixo

# The same game for browsers, built with Debian's Emscripten into $(WEB_DIR):
# index.html, vantrixo.js, vantrixo.wasm and data/ packed as vantrixo.data.
# Its JavaScript optimiser needs Debian's acorn, which a node of another
# origin does not see without NODE_PATH.
EMSDK_ENV = NODE_PATH=/usr/share/nodejs
web: deps
	@$(EMSDK_ENV) emcmake cmake -S . -B $(WEB_DIR) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@$(EMSDK_ENV) cmake --build $(WEB_DIR) -j $(JOBS)

# Serves the page on this machine only; open the address it prints.
serve-web: web
	@echo "vantrixo in the browser: http://127.0.0.1:$(WEB_PORT)/ (Ctrl-C stops the server)"
	@$(PYTHON) -m http.server $(WEB_PORT) --bind 127.0.0.1 --directory $(WEB_DIR)

# Every test (the browser's on the page in $(WEB_DIR)), then the end-to-end
# tests once more on the other SDL 1.2: the compatibility library over SDL 2
# that newer distributions ship instead.
test: build web
	@ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)
	@$(E2E_COMPAT)

e2e-compat: build
	@$(E2E_COMPAT)

# Debian's libsdl1.2-compat keeps its libSDL-1.2.so.0 in a folder of its own;
# the program must really load it from there.
define E2E_COMPAT
lib=$$(dpkg -L libsdl1.2-compat | grep '/libSDL-1.2.so.0$$'); dir=$${lib%/*}; \
LD_LIBRARY_PATH=$$dir ldd $(BUILD_DIR)/vantrixo | grep -q "=> $$lib " || \
  { echo "$(BUILD_DIR)/vantrixo does not load $$lib"; exit 1; }; \
echo "End-to-end tests on the SDL 1.2 compatibility library ($$lib):"; \
LD_LIBRARY_PATH=$$dir ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS) -L e2e
endef

# Every unit test again under AddressSanitizer + UndefinedBehaviorSanitizer,
# leak checking on, built on the portable paths (no SSE2, no AVX2 search) so
# they are tested too.
asan-test: deps
	@cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DVANTRIXO_SANITIZE=ON -DVANTRIXO_PORTABLE=ON \
	  -DVANTRIXO_BENCH=OFF >/dev/null
	@cmake --build $(ASAN_DIR) -j $(JOBS)
	@ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --test-dir $(ASAN_DIR) --output-on-failure -j $(JOBS) -LE 'e2e|web'

# Benchmarks of the computer player's search (Google Benchmark): positions
# searched from the root, and whole computer-against-computer games.
bench: build
	@cd $(BUILD_DIR) && ./vantrixo_bench

# Matches between the computer's settings, printed as a cross table; then
# every setting against the sparring partners with the hand-written and the
# shipped table, printed and drawn to docs/charts/ladder.png.
ladder: build
	@cd $(BUILD_DIR) && ./vantrixo_ladder
	@$(PYTHON) tools/ladder_chart.py $(BUILD_DIR)/ladder.tsv docs/charts/ladder.png

# Tunes the value table against the sparring partners (40 minutes with the
# defaults on two cores busy with other work: 33 of tuning, 6 of reporting):
# writes $(BUILD_DIR)/tune/tuned.brd and tune.log. TUNE_ARGS passes options,
# e.g. TUNE_ARGS="--seed 3 --evaluations 40".
tune: build
	@cd $(BUILD_DIR) && ./vantrixo_tune $(TUNE_ARGS)

# libFuzzer on the value-table loader: built with clang-14 and ASan+UBSan in
# its own directory, run for FUZZ_SECONDS from the committed seeds (new finds
# go to $(FUZZ_DIR)/corpus; the seeds also replay in every `make test`).
fuzz: deps
	@cmake -S . -B $(FUZZ_DIR) -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DVANTRIXO_SANITIZE=ON -DVANTRIXO_FUZZ=ON -DVANTRIXO_BENCH=OFF >/dev/null
	@cmake --build $(FUZZ_DIR) -j $(JOBS) --target vantrixo_fuzz_loadvalues
	@mkdir -p $(FUZZ_DIR)/corpus
	@$(FUZZ_DIR)/vantrixo_fuzz_loadvalues -max_total_time=$(FUZZ_SECONDS) \
	  $(FUZZ_DIR)/corpus tests/fuzz/corpus

# Regenerates every picture under data/ from tools/ (the PNGs are committed).
artwork: deps
	@$(PYTHON) tools/make_artwork.py

# Renders the menu, a game, a flip frame and the results to docs/*.png.
screenshots: build
	@rm -rf $(BUILD_DIR)/screenshots && mkdir -p $(BUILD_DIR)/screenshots docs
	@cd $(BUILD_DIR) && SDL_VIDEODRIVER=dummy ./vantrixo_screenshots screenshots
	@for f in $(BUILD_DIR)/screenshots/*.bmp; do \
	  convert "$$f" -strip docs/$$(basename "$$f" .bmp).png; \
	done
	@echo "Screenshots written to docs/."

# A Debian package of the game, built with CPack.
package: build
	@cd $(BUILD_DIR) && cpack -G DEB

# One formatter version for everyone, and only on the C++ sources: it would
# take any other file (a CMakeLists.txt, say) for C++ and mangle it.
CLANG_FORMAT = clang-format-14
FORMATTED = $$(git ls-files '*.cpp' '*.h')

format: deps
	@$(CLANG_FORMAT) -i $(FORMATTED)

format-check: deps
	@$(CLANG_FORMAT) --dry-run -Werror $(FORMATTED)

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) $(FUZZ_DIR) $(WEB_DIR)
