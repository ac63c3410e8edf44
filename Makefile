# make        build into build/
# make test   build and run the whole test suite
# make demo   build and run the bundled example; print where its report is
# make asan   build into build-asan/ with the sanitizers and run the tests there
# make bench  build and run the benchmarks
BUILD ?= build
ASAN ?= build-asan
GEN = -G Ninja

.PHONY: all test demo asan bench clean

all: $(BUILD)/build.ninja
	cmake --build $(BUILD)

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) $(GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo

test: all
	ctest --test-dir $(BUILD) --output-on-failure

demo: all
	rm -rf $(BUILD)/demo && mkdir -p $(BUILD)/demo
	$(BUILD)/branto --out-dir $(BUILD)/demo examples/softclay_cantilever.dat
	@echo "report: $(BUILD)/demo/softclay_cantilever.out"

asan:
	cmake -S . -B $(ASAN) $(GEN) -DCMAKE_BUILD_TYPE=Debug -DBRANTO_SANITIZE=ON
	cmake --build $(ASAN)
	ctest --test-dir $(ASAN) --output-on-failure

bench: all
	$(BUILD)/bench/branto_bench

clean:
	rm -rf $(BUILD) $(ASAN)
