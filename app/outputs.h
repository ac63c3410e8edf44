// outputs.h -- what the command-line host adds to a run: the results of every problem,
// their equilibrium warnings, and the JSON, CSV and HTML files beside the other outputs.
#pragma once

#include <string>
#include <vector>

#include "results/results.h"
#include "run/run.h"

namespace host {

struct OutputOptions {
  bool json = false, csv = false, html = false;
};

// Takes the results of each problem of the run that SUMMARY is given to.
struct Collector {
  results::RunResults r;
  void attach(RunSummary& summary) {
    summary.problem_done = [this](const Model& m) { r.stages.push_back(results::take_stage(m)); };
  }
  // After the run: the warnings per stage, how the run ended, the file and version.
  void finish(const Model& m, const RunSummary& s, const std::string& input, const std::string& version);
  // The host's own warnings of stage NPROB (a large equilibrium residual), each printed as
  // a "WARNING -- " line on standard error once.
  int host_warnings(int NPROB) const;
  std::string warning_lines() const;  // each "WARNING -- ..." with its line end
  // The depth of the largest moment of stage NPROB and its unit, false without results.
  bool moment_depth(int NPROB, double& depth, std::string& unit) const;
};

// The files asked for, DIR/STEM.json, .csv, .html; their paths, or an error text.
bool write_outputs(const results::RunResults& r, const OutputOptions& o, const std::string& dir,
                   const std::string& stem, std::vector<std::string>& written, std::string& err);

}  // namespace host
