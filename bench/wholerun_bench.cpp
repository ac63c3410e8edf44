// wholerun_bench.cpp -- whole runs through the entry point, as a host makes them: the
// shared library loaded once, NAMES.dat naming a bundled example and the outputs in a
// scratch directory, IBRANTO called once per run (the model's tables persist from one
// call to the next, as for any host). One benchmark per example, and one that runs every
// example in turn; the bytes written per run are counted as throughput.
#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Entry = int (*)(int, int);

// The entry point of the library, loaded once for the process.
Entry entry() {
  static Entry e = [] {
    void* h = dlopen(BRANTO_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    return h ? reinterpret_cast<Entry>(dlsym(h, "IBRANTO")) : nullptr;
  }();
  return e;
}

// A scratch directory with the NAMES.dat of one example; the process works in it.
struct Scratch {
  fs::path dir;
  explicit Scratch(const std::string& name) {
    dir = fs::temp_directory_path() / ("branto-bench-" + name + "-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const fs::path in = fs::path(BRANTO_SOURCE_DIR) / "examples" / (name + ".dat");
    std::ofstream f(dir / "NAMES.dat");
    f << "bench\ntext line\ntext line\n0\n" << in.string() << "\n";
    for (const char* ext : {".out", ".plt", ".log", ".curves", ".pressures"}) f << (dir / (name + ext)).string() << "\n";
  }
  ~Scratch() {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
  std::size_t bytes() const {
    std::size_t n = 0;
    for (const auto& e : fs::directory_iterator(dir))
      if (e.path().filename() != "NAMES.dat") n += fs::file_size(e.path());
    return n;
  }
};

// Runs in the scratch directories given, one after the other, per iteration.
void runs(benchmark::State& state, const std::vector<std::string>& names) {
  if (entry() == nullptr) {
    state.SkipWithError("libbranto.so or IBRANTO not found");
    return;
  }
  setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
  std::vector<Scratch> dirs;
  dirs.reserve(names.size());
  for (const std::string& n : names) dirs.emplace_back(n);
  const fs::path here = fs::current_path();
  // The console notices of the runs go to /dev/null, as a host without a console has it.
  std::fflush(stderr);
  const int err = dup(2);
  std::FILE* null = std::fopen("/dev/null", "w");
  if (null != nullptr) dup2(fileno(null), 2);
  std::size_t bytes = 0;
  for (auto _ : state) {
    bytes = 0;
    for (const Scratch& s : dirs) {
      fs::current_path(s.dir);
      if (entry()(0, 0) != 0) state.SkipWithError("the run did not end normally");
    }
    state.PauseTiming();
    for (const Scratch& s : dirs) bytes += s.bytes();
    state.ResumeTiming();
  }
  fs::current_path(here);
  std::fflush(stderr);
  dup2(err, 2);
  close(err);
  if (null != nullptr) std::fclose(null);
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
  state.counters["bytes_per_run"] = static_cast<double>(bytes);
}

const std::vector<std::string> EXAMPLES = {"softclay_cantilever",  "softclay_staged_tieback",
                                           "seven_soils_shafts",    "english_sheet_pile_tieback",
                                           "si_nonlinear_shafts",   "si_drilled_shafts_user_curves"};

void BM_WholeRun(benchmark::State& state) { runs(state, {EXAMPLES[static_cast<std::size_t>(state.range(0))]}); }
BENCHMARK(BM_WholeRun)->DenseRange(0, 5)->Unit(benchmark::kMillisecond)->ArgName("example");

void BM_EveryExample(benchmark::State& state) { runs(state, EXAMPLES); }
BENCHMARK(BM_EveryExample)->Unit(benchmark::kMillisecond);

}  // namespace
