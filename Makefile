# Tavelin: `make run` starts the dictionary, `make test` runs every test.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= 2
# The tests once more under AddressSanitizer and UndefinedBehaviorSanitizer.
ASAN_BUILD_DIR ?= build-asan
# make fuzz: the libFuzzer programs (clang), each run for FUZZ_SECONDS.
FUZZ_BUILD_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60

# Any sanitizer report, a leak included, fails the test; only leaks inside
# system libraries (tests/sanitizers/lsan.supp) are passed over.
SANITIZER_ENV = \
    ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/lsan.supp:print_suppressions=0

# make install: PREFIX and DESTDIR as usual (DESTDIR=/tmp/stage make install).
PREFIX ?= /usr/local

.PHONY: all deps build werror run test test-sanitizers bench fuzz format format-check tidy clean \
        install package

all: build

deps:
	@scripts/install-deps

build: deps
	@if [ ! -f $(BUILD_DIR)/build.ninja ]; then \
	    cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE); fi
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	    echo "make run: no display; start it from a desktop session (or set DISPLAY)" >&2; exit 1; fi
	$(BUILD_DIR)/tavelin

# The tests build with every warning an error.
werror: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DTAVELIN_WERROR=ON \
	    >/dev/null

test: werror build format-check
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)
	@$(MAKE) --no-print-directory test-sanitizers
	@$(MAKE) --no-print-directory tidy

# The unit and in-process GUI tests (not the end-to-end test) under ASan and
# UBSan; only the test programs are built.
test-sanitizers: deps
	@if [ ! -f $(ASAN_BUILD_DIR)/build.ninja ]; then \
	    cmake -S . -B $(ASAN_BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	        -DTAVELIN_SANITIZE=ON -DTAVELIN_WERROR=ON; fi
	@cmake --build $(ASAN_BUILD_DIR) -j $(JOBS) --target tavelin-tests
	@cd $(ASAN_BUILD_DIR) && $(SANITIZER_ENV) ctest --output-on-failure -j $(JOBS) -E '^(e2e|install|package)$$'

# The programs, the starter dictionaries and word lists, the desktop entry,
# the icon, the AppStream metainfo and the manual pages. A user's own
# dictionaries and settings (in their data and configuration folders) are
# never touched.
install: build
	@cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# A Debian package in $(BUILD_DIR): apt install ./$(BUILD_DIR)/tavelin_*.deb
package: build
	@cd $(BUILD_DIR) && cpack -G DEB

# The main table (launch, keystrokes, add and delete as the user feels them,
# memory), then the look-up aids: е and ё in the Russian search, near words,
# and Ctrl+F9 from another program to the pair shown.
bench: build
	@$(BUILD_DIR)/bench/tavelin-bench
	@$(BUILD_DIR)/bench/tavelin-bench-yo-search
	@$(BUILD_DIR)/bench/tavelin-bench-near-words
	@$(BUILD_DIR)/bench/tavelin-bench-selection

fuzz: deps
	@if [ ! -f $(FUZZ_BUILD_DIR)/build.ninja ]; then \
	    cmake -S . -B $(FUZZ_BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	        -DCMAKE_CXX_COMPILER=clang++ -DTAVELIN_FUZZ=ON; fi
	@cmake --build $(FUZZ_BUILD_DIR) -j $(JOBS) \
	    --target tavelin-fuzz-ini tavelin-fuzz-tsv tavelin-fuzz-codecs
	@fuzz/run.sh $(FUZZ_BUILD_DIR) $(FUZZ_SECONDS)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

# Fails on any file clang-format would change.
format-check:
	@git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

# clang-tidy with .clang-tidy's checks on the program's and the tool's sources.
tidy: build
	@git ls-files 'src/*.cpp' 'tools/*.cpp' | \
	    xargs -P $(JOBS) -n 4 clang-tidy -p $(BUILD_DIR) --quiet 2>/dev/null

# Removes the build tree except the user's dictionaries (with their journal
# files) and settings in it,
# and the sanitizer and fuzz builds (which hold neither).
clean:
	@if [ -d $(BUILD_DIR) ]; then \
	    find $(BUILD_DIR) -mindepth 1 -maxdepth 1 ! -name '*.tvl' ! -name '*.tvl-wal' \
	        ! -name '*.tvl-shm' ! -name '*.tvl-journal' ! -name 'Options.ini' \
	        -exec rm -rf {} +; fi
	@rm -rf $(ASAN_BUILD_DIR) $(FUZZ_BUILD_DIR)
