// verify.h -- the verification catalogue: cases of verification/ (an input data file or
// a few, and a description NAME.json of the source, the quantities compared, their
// reference formulas and tolerances), run through the engine as a user runs it, each
// quantity taken from the results of a problem and compared with its reference.
//
// The catalogue needs only a way to run one input data file: RunInput, given by the host.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "model/model.h"
#include "results/results.h"

namespace verify {

// Called after every problem of a run, with the model as the problem left it.
using ProblemHook = std::function<void(const Model&)>;
// Runs the input data file INPUT once, calling EACH after every problem; returns the
// run's code (RC_OK when it went through its end) and, when the run ended on an input
// check, its message in MESSAGE.
using RunInput = std::function<int(const std::string& input, const ProblemHook& each, std::string& message)>;

// What one problem leaves for the comparisons: its results, and the working earth-
// pressure layers that the results do not carry (rows 1..NLW).
struct EarthLayer {
  double ZTOP = 0, KA = 0, KP = 0, K0 = 0;  // KA: the coefficient in use (after KOPT)
  double PA1 = 0, PA2 = 0, PA3 = 0, PA4 = 0, PW1 = 0, PW2 = 0, Z1 = 0, Z2 = 0, Z3 = 0;
};
struct Problem {
  results::Stage stage;
  std::vector<EarthLayer> layers;
};
Problem take_problem(const Model& m);

// One compared quantity.
struct Row {
  std::string quantity;
  std::string unit;
  double reference = 0;      // from the published formula
  std::string formula;       // the reference as the description writes it
  std::string model;         // the expected value's formula, when there is one
  double computed = 0;       // by the engine
  bool has_expected = false; // the model differs from the reference by a known amount
  double expected = 0;       // the reference carried over to what the model does
  std::string known;         // why it differs
  bool relative = true;      // tolerance relative to the expected value, else absolute
  double tolerance = 0;
  std::string reason;        // why this tolerance
  bool bound = false;        // show the computed value as its order of magnitude only
  bool pass = false;
  std::string error;         // why no value could be computed
};

struct Case {
  std::string name;      // the file name of the description, without .json
  std::string title;
  std::string source;    // short, for the table
  std::string citation;  // the full reference
  std::string about;     // what the case models and how
  std::vector<std::string> inputs;  // its input data files
  std::vector<std::pair<std::string, std::string>> parameters;  // name, value or formula
  std::vector<Row> rows;
  std::string error;     // a description or run that failed
  bool pass() const;
};

struct Catalogue {
  std::vector<Case> cases;
  int quantities() const;
  int failed() const;
  bool pass() const { return failed() == 0; }
};

// Every case of DIR (NAME.json and its inputs), in the order of their names.
Catalogue run_catalogue(const std::string& dir, const RunInput& run);
// One case from its description file.
Case run_case(const std::string& json_path, const RunInput& run);

// The table for the console: case, source, quantity, reference, computed, difference,
// tolerance, pass; and a last line with the counts.
std::string table_text(const Catalogue& c);
// VERIFICATION.md: the cases with their sources, inputs, tables, tolerances and known
// differences; nothing that depends on the machine or the day.
std::string markdown(const Catalogue& c);

}  // namespace verify
