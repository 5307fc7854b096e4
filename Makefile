# Tavelin: `make run` starts the dictionary, `make test` runs every test.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= 2

.PHONY: all deps build run test bench format clean

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

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

bench: build
	@$(BUILD_DIR)/bench/tavelin-bench

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

# Removes the build tree except the user's dictionaries and settings in it.
clean:
	@if [ -d $(BUILD_DIR) ]; then \
	    find $(BUILD_DIR) -mindepth 1 -maxdepth 1 ! -name '*.tvl' ! -name 'Options.ini' \
	        -exec rm -rf {} +; fi
