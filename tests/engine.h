// engine.h -- the engine as every test builds it: a model on the heap, the units, the run,
// the console captured, the clock fixed at 2023-11-14 22:13:20 UTC, and a scratch
// directory when a test names one. The fixtures of the folders derive from it.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "report/report.h"

struct Engine {
  std::unique_ptr<Model> mp = std::make_unique<Model>();
  Model& m = *mp;
  io::Units u;
  Run run{m, u};
  std::filesystem::path dir;  // the scratch directory; empty without a name

  // SCRATCH: a name for the scratch directory (created empty under BASE, removed at the
  // end); none when empty.
  explicit Engine(const std::string& scratch = "",
                  const std::filesystem::path& base = std::filesystem::temp_directory_path()) {
    setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
    if (!scratch.empty()) {
      dir = base / ("branto-" + scratch + "-" + std::to_string(getpid()));
      std::filesystem::remove_all(dir);
      std::filesystem::create_directories(dir);
    }
    u.capture_console();
  }
  ~Engine() {
    std::error_code ec;
    if (!dir.empty()) std::filesystem::remove_all(dir, ec);
  }
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  // Call F; true when it ended the run (an input check wrote its message).
  bool ends(const std::function<void()>& F) {
    try {
      F();
    } catch (const EndRun&) {
      return true;
    }
    return false;
  }
  std::string text(int IU) const { return u.text(IU); }
  std::vector<std::string> lines(int IU) const { return split(u.text(IU)); }
  // A file of the scratch directory, whole.
  std::string file(const std::string& name) const {
    std::ifstream f(dir / name, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
  }
  // Lines of a text; a last line without its end counts, an empty text has none.
  static std::vector<std::string> split(const std::string& t) {
    std::vector<std::string> v;
    std::istringstream ss(t);
    for (std::string s; std::getline(ss, s);) v.push_back(s);
    return v;
  }
};
