# make              build everything into build/
# make demo         build only the library and the host, analyse the bundled example
# make test         build everything and run the whole test suite
# make install      install the host, the library and the documentation under PREFIX
# make asan         build into build-asan/ with the sanitizers and run the tests there
# make bench        build and run the benchmarks
BUILD ?= build
ASAN ?= build-asan
PREFIX ?= /usr/local
GEN = -G Ninja

.PHONY: all test demo install host asan bench clean

all: $(BUILD)/build.ninja
	cmake --build $(BUILD)

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) $(GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo

# The library and the host alone: no GoogleTest, no benchmarks needed.
host: $(BUILD)/build.ninja
	cmake --build $(BUILD) --target host

test: all
	ctest --test-dir $(BUILD) --output-on-failure --no-tests=error

demo: host
	rm -rf $(BUILD)/demo && mkdir -p $(BUILD)/demo
	$(BUILD)/branto --out-dir $(BUILD)/demo examples/softclay_cantilever.dat
	@echo "report: $(BUILD)/demo/softclay_cantilever.out"

install: host
	cmake --install $(BUILD) --prefix $(PREFIX)

asan:
	cmake -S . -B $(ASAN) $(GEN) -DCMAKE_BUILD_TYPE=Debug -DBRANTO_SANITIZE=ON
	cmake --build $(ASAN)
	ctest --test-dir $(ASAN) --output-on-failure

bench: all
	$(BUILD)/bench/branto_bench

clean:
	rm -rf $(BUILD) $(ASAN)
