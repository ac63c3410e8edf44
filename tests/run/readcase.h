// readcase.h -- one reader of the input data file on memory units: the model, an input
// unit holding the text and a report unit kept in memory, for calling the readers of
// single groups directly.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "../engine.h"
#include "run/run_impl.h"

struct ReadCase : Engine {
  Control& C = m.C;

  // The problem's control values for the groups read here: unit system, NI, H and the
  // counts that the groups need.
  explicit ReadCase(const std::string& text, int iunit = SI, int ni = 20, double h = 0.5) {
    u.open_memory_input(LINP, "in.dat", text);
    u.open_memory_output(LOUT, "in.out");
    C.IUNIT = iunit;
    C.NI = ni;
    C.H = h;
    SETLAB(run, iunit == ENGLISH ? 1 : -1);
  }
  // Call a reader; true when it ended the run (an input check wrote its message).
  bool ends(const std::function<void(Run&)>& f) {
    return Engine::ends([&] { f(run); });
  }
  std::string out() const { return u.text(LOUT); }
  std::vector<std::string> lines() const { return split(out()); }
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
