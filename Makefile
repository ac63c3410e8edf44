# make              build everything into build/
# make demo         build only the library and the host, analyse the bundled example
# make test         build everything and run the whole test suite
# make install      install the host, the library and the documentation under PREFIX
# make asan         build into build-asan/ with the sanitizers and run the tests there
#                   (CXX=clang++ make asan: with clang, into build-asan-clang/)
# make fuzz         build the libFuzzer target with clang into build-fuzz/ and fuzz whole runs
#                   for FUZZ_SECONDS (120) from the committed corpus
# make bench        build and run the benchmarks
BUILD ?= build
PREFIX ?= /usr/local
GEN = -G Ninja
# A compiler named in the environment or on the command line is the one CMake takes.
ifneq ($(filter environment command line,$(origin CXX)),)
  CXXOPT = -DCMAKE_CXX_COMPILER=$(CXX)
endif
ASAN ?= $(if $(findstring clang,$(CXX)),build-asan-clang,build-asan)
FUZZ ?= build-fuzz
FUZZ_CXX ?= clang++
FUZZ_SECONDS ?= 120
# Each run of the engine takes well under a second; a few problems of 9999 iterations
# each, under the sanitizers, take longer but never this long.
FUZZ_TIMEOUT ?= 120

.PHONY: all test demo install host asan fuzz bench clean

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
	cmake -S . -B $(ASAN) $(GEN) $(CXXOPT) -DCMAKE_BUILD_TYPE=Debug -DBRANTO_SANITIZE=ON
	cmake --build $(ASAN)
	ctest --test-dir $(ASAN) --output-on-failure

# The corpus grows in $(FUZZ)/corpus, seeded from fuzz/corpus; findings go to
# $(FUZZ)/findings. The engine's console output is closed (the fuzzer keeps its own).
fuzz:
	cmake -S . -B $(FUZZ) $(GEN) -DCMAKE_CXX_COMPILER=$(FUZZ_CXX) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DBRANTO_FUZZ=ON -DBRANTO_TESTS=OFF -DBRANTO_BENCH=OFF
	cmake --build $(FUZZ) --target fuzz_ibranto
	mkdir -p $(FUZZ)/corpus $(FUZZ)/findings
	cp -n fuzz/corpus/* $(FUZZ)/corpus/
	$(FUZZ)/fuzz/fuzz_ibranto $(FUZZ)/corpus -dict=fuzz/branto.dict -max_total_time=$(FUZZ_SECONDS) \
	  -timeout=$(FUZZ_TIMEOUT) -rss_limit_mb=4096 -close_fd_mask=3 \
	  -artifact_prefix=$(FUZZ)/findings/ -print_final_stats=1

bench: all
	$(BUILD)/bench/branto_bench

clean:
	rm -rf $(BUILD) build-asan build-asan-clang $(FUZZ)
