# The whole user-facing interface of the repository.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
CMAKE_FLAGS = -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

.PHONY: run test bench build deps-run deps-test

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

deps-run:
	scripts/deps run

deps-test:
	scripts/deps test
