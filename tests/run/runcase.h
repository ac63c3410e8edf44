// runcase.h -- whole runs in a scratch directory: NAMES.dat, an input data file, one
// run, and the files it wrote, read back as lines.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "../engine.h"
#include "run/run_impl.h"

// The engine's own units and run stay unused: each run() opens the files of NAMES.dat
// on fresh units, as a host does.
struct RunCase : Engine {
  RunSummary summary;
  int code = -1;
  std::string console;

  // base: the folder for the scratch directory (the temporary folder by default; many
  // short runs go faster in memory, e.g. /dev/shm).
  explicit RunCase(const std::string& name, const std::filesystem::path& base = std::filesystem::temp_directory_path())
      : Engine("test-" + name, base) {}

  void file(const std::string& name, const std::string& text) const {
    std::ofstream f(dir / name, std::ios::binary);
    f << text;
  }
  // NAMES.dat naming in.dat, in.out, in.plt, in.log, in.pyc, in.prs (relative paths).
  void names(int nrec = 10) const {
    const char* rec[10] = {"9.0", "text line", "text line", "0", "in.dat", "in.out", "in.plt", "in.log",
                           "in.pyc", "in.prs"};
    std::string t;
    for (int i = 0; i < nrec; ++i) t += std::string(rec[i]) + "\n";
    file("NAMES.dat", t);
  }
  // One run in the scratch directory.
  int run() {
    const auto here = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    io::Units units;
    units.capture_console();
    Run r{m, units};
    code = RUNWAL(r, &summary);
    console = units.text(0);
    std::filesystem::current_path(here);
    return code;
  }
  std::vector<std::string> lines(const std::string& name) const { return split(Engine::file(name)); }
  std::string text(const std::string& name) const { return Engine::file(name); }
};

// A problem without wall sections: title, control record (unit code, stage indicator,
// tie backs as given), second control record, no specified points, no curves.
inline std::string problem(const std::string& title, int iunit, int istage, int itmax = 10) {
  return title + "\n" + std::to_string(iunit) + " 0 0 0 0 0 0 0 " + std::to_string(istage) +
         " 0 0 0\n10 12.0 10.0 0.001 0.0 1.0 120.0 " + std::to_string(itmax) + " 0 0\n";
}
