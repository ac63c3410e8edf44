// readcase.h -- one reader of the input data file on memory units: the model, an input
// unit holding the text and a report unit kept in memory, for calling the readers of
// single groups directly.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "report/report.h"
#include "run/run_impl.h"

struct ReadCase {
  std::unique_ptr<Model> m = std::make_unique<Model>();
  io::Units u;
  Run run{*m, u};
  Control& C = m->C;

  // The problem's control values for the groups read here: unit system, NI, H and the
  // counts that the groups need.
  explicit ReadCase(const std::string& text, int iunit = SI, int ni = 20, double h = 0.5) {
    u.capture_console();
    u.open_memory_input(LINP, "in.dat", text);
    u.open_memory_output(LOUT, "in.out");
    C.IUNIT = iunit;
    C.NI = ni;
    C.H = h;
    SETLAB(run, iunit == ENGLISH ? 1 : -1);
  }
  // Call a reader; true when it ended the run (an input check wrote its message).
  bool ends(const std::function<void(Run&)>& f) {
    try {
      f(run);
    } catch (const EndRun&) {
      return true;
    }
    return false;
  }
  std::string out() const { return u.text(LOUT); }
  std::vector<std::string> lines() const {
    std::vector<std::string> v;
    std::string t = out(), s;
    for (char c : t) {
      if (c == '\n') {
        v.push_back(s);
        s.clear();
      } else {
        s += c;
      }
    }
    if (!s.empty()) v.push_back(s);
    return v;
  }
  bool has(const std::string& line) const {
    for (const auto& l : lines())
      if (l == line) return true;
    return false;
  }
};

// Text of n records made by f(k), k = 1..n, one per line.
inline std::string records(int n, const std::function<std::string(int)>& f) {
  std::string t;
  for (int k = 1; k <= n; ++k) t += f(k) + "\n";
  return t;
}
