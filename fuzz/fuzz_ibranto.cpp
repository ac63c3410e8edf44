// fuzz_ibranto.cpp -- whole runs of the library's entry point for coverage-guided
// fuzzing: each input becomes the input data file of a run directory in memory (tmpfs
// when there is one), IBRANTO runs it from NAMES.dat as a host does, and the call must
// return a code from 0 to 4 with no descriptor left open, and no number it writes may be
// Infinity or NaN. The model tables carry over from one input to the next, as in a
// host's process. Anything else aborts, so that the fuzzer keeps the input.
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

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

// The run directory, made once per process: NAMES.dat names the input data file and the
// five files the run writes, all in it. The fuzzer's own paths stay relative to the
// directory it was started in, so the run directory is entered only for each call.
const std::string& run_dir() {
  static std::string dir;
  if (!dir.empty()) return dir;
  const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  std::string d = std::string(base) + "/branto-fuzz-" + std::to_string(getpid()) + "-XXXXXX";
  if (mkdtemp(d.data()) == nullptr) {
    std::perror(d.c_str());
    std::abort();
  }
  dir = d;
  static const char NAMES[] = "FUZZ\ntext line\ntext line\n0\nin.dat\nin.out\nin.plt\nin.log\nin.pyc\nin.prs\n";
  put(dir + "/NAMES.dat", NAMES, sizeof NAMES - 1);
  std::atexit([] {
    for (const char* f : {"NAMES.dat", "in.dat", "in.out", "in.plt", "in.log", "in.pyc", "in.prs"})
      unlink((dir + "/" + f).c_str());
    rmdir(dir.c_str());
  });
  return dir;
}

// Does the text hold either word, in any case?
bool holds(std::string_view text, std::string_view a, std::string_view b) {
  const auto ieq = [](char x, char y) { return std::tolower(static_cast<unsigned char>(x)) == y; };
  for (std::string_view w : {a, b})
    if (std::search(text.begin(), text.end(), w.begin(), w.end(), ieq) != text.end()) return true;
  return false;
}

// The file of the run directory that holds a number written as Infinity or NaN, or none.
// Input that holds either word itself is passed over: the echo copies its texts.
const char* nonfinite_output(const std::string& dir, std::string_view input) {
  if (holds(input, "inf", "nan")) return nullptr;
  for (const char* f : {"in.out", "in.plt", "in.log", "in.pyc", "in.prs"}) {
    std::FILE* fp = std::fopen((dir + "/" + f).c_str(), "rb");
    if (fp == nullptr) continue;
    std::string text;
    char buf[1 << 16];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, fp)) > 0;) text.append(buf, n);
    std::fclose(fp);
    if (text.find("Infinity") != std::string::npos || text.find("NaN") != std::string::npos) return f;
  }
  return nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string& dir = run_dir();
  // Outputs of the input before go: a file that this run does not write keeps them.
  for (const char* f : {"in.out", "in.plt", "in.log", "in.pyc", "in.prs"}) unlink((dir + "/" + f).c_str());
  put(dir + "/in.dat", data, size);
  const int before = open_fds();
  const int here = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (here < 0 || chdir(dir.c_str()) != 0) {
    std::perror(dir.c_str());
    std::abort();
  }
  const int rc = IBRANTO(0, 0);
  if (fchdir(here) != 0) {
    std::perror("fchdir");
    std::abort();
  }
  close(here);
  const int after = open_fds();
  if (rc < 0 || rc > 4) {
    std::fprintf(stderr, "IBRANTO returned %d\n", rc);
    std::abort();
  }
  if (after != before) {
    std::fprintf(stderr, "IBRANTO left %d descriptors open\n", after - before);
    std::abort();
  }
  if (const char* f = nonfinite_output(dir, {reinterpret_cast<const char*>(data), size})) {
    std::fprintf(stderr, "IBRANTO wrote a number that is not finite into %s\n", f);
    std::abort();
  }
  return 0;
}
