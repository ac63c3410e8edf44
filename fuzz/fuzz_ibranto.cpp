// fuzz_ibranto.cpp -- whole runs of the library's entry point for coverage-guided
// fuzzing: each input becomes the input data file of a run directory in memory (tmpfs
// when there is one), IBRANTO runs it from NAMES.dat as a host does, and the call must
// return a code from 0 to 4 with no descriptor left open. The model tables carry over
// from one input to the next, as in a host's process. Anything else aborts, so that the
// fuzzer keeps the input.
#include <dirent.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" int IBRANTO(int, int);

namespace {

// Descriptors open in this process.
int open_fds() {
  DIR* d = opendir("/proc/self/fd");
  if (d == nullptr) return -1;
  int n = 0;
  while (readdir(d) != nullptr) ++n;
  closedir(d);
  return n;
}

void put(const std::string& path, const void* data, std::size_t size) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr || (size > 0 && std::fwrite(data, 1, size, f) != size) || std::fclose(f) != 0) {
    std::perror(path.c_str());
    std::abort();
  }
}

// The run directory, made once per process, and made the current directory: NAMES.dat
// names the input data file and the five files the run writes, all in it.
void enter_run_dir() {
  static bool done = false;
  if (done) return;
  done = true;
  const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  std::string dir = std::string(base) + "/branto-fuzz-" + std::to_string(getpid());
  if (mkdtemp(dir.append("-XXXXXX").data()) == nullptr || chdir(dir.c_str()) != 0) {
    std::perror(dir.c_str());
    std::abort();
  }
  static const char NAMES[] = "FUZZ\ntext line\ntext line\n0\nin.dat\nin.out\nin.plt\nin.log\nin.pyc\nin.prs\n";
  put("NAMES.dat", NAMES, sizeof NAMES - 1);
  static std::string where = dir;
  std::atexit([] {
    for (const char* f : {"NAMES.dat", "in.dat", "in.out", "in.plt", "in.log", "in.pyc", "in.prs"})
      unlink((where + "/" + f).c_str());
    rmdir(where.c_str());
  });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  enter_run_dir();
  put("in.dat", data, size);
  const int before = open_fds();
  const int rc = IBRANTO(0, 0);
  const int after = open_fds();
  if (rc < 0 || rc > 4) {
    std::fprintf(stderr, "IBRANTO returned %d\n", rc);
    std::abort();
  }
  if (after != before) {
    std::fprintf(stderr, "IBRANTO left %d descriptors open\n", after - before);
    std::abort();
  }
  return 0;
}
