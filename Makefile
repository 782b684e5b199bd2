# The whole user-facing interface of the repository.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
CMAKE_FLAGS = -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

PREFIX ?= /usr/local

.PHONY: run test bench install package build deps-run deps-test check-sanitized

run: deps-run
	cmake $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR) --target vorlin
	$(BUILD_DIR)/app/vorlin

test: deps-test
	cmake $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR)
	ctest --test-dir $(BUILD_DIR) --output-on-failure --timeout 600

bench: deps-test
	cmake $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR)
	scripts/run-benchmarks $(BUILD_DIR)

# The unit and window tests, the X11 and office tests among them, built with
# AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/); then the
# tests that start threads built with ThreadSanitizer (build-tsan/).
check-sanitized: deps-test
	scripts/check-sanitized

# Installs into PREFIX: lib/vorlin/ (the program and its delivered files),
# bin/vorlin, the menu entry, the icons and the AppStream description.
install: deps-run
	cmake $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR) --target vorlin vorlin_seed vorlin_icons
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# A Debian package in $(BUILD_DIR)/.
package: deps-test
	cmake $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR) --target vorlin vorlin_seed vorlin_icons
	cd $(BUILD_DIR) && cpack -G DEB

deps-run:
	scripts/deps run

deps-test:
	scripts/deps test
