// outputs.cpp -- the results of a run for the command-line host: taken per problem, its
// equilibrium warnings, and the JSON, CSV and HTML files.
#include "outputs.h"

#include <cstdio>
#include <filesystem>

#include "export/export.h"

namespace host {

void Collector::finish(const Model& m, const RunSummary& s, const std::string& input, const std::string& version) {
  results::take_warnings(m, r);
  r.input = input;
  r.version = version;
  r.date = results::analysis_date();
  r.outcome = "ok";
  r.message.clear();
  if (s.code == RC_STOP) {
    r.outcome = "stop";
  } else if (s.code == RC_INPUT) {
    r.outcome = "input_error";
  } else if (s.code == RC_FILE) {
    r.outcome = "file_error";
  } else if (s.code != RC_OK) {
    r.outcome = "internal_error";
  } else if (s.input_error) {
    r.outcome = "input_error";
  } else if (s.silent_end) {
    r.outcome = "ended_early";
  }
  if (r.outcome != "ok") r.message = s.message;
}

int Collector::host_warnings(int NPROB) const {
  int n = 0;
  for (const results::Stage& s : r.stages)
    if (s.stage == NPROB && s.equilibrium.large) ++n;
  return n;
}

std::string Collector::warning_lines() const {
  std::string t;
  for (const results::Stage& s : r.stages)
    if (s.equilibrium.large) t += "WARNING -- " + s.equilibrium.warning + "\n";
  return t;
}

bool Collector::moment_depth(int NPROB, double& depth, std::string& unit) const {
  for (const results::Stage& s : r.stages)
    if (s.stage == NPROB && !s.stations.depth.empty()) {
      depth = s.summary.largest_moment.depth;
      unit = s.units.depth;
      return true;
    }
  return false;
}

bool write_outputs(const results::RunResults& r, const OutputOptions& o, const std::string& dir,
                   const std::string& stem, std::vector<std::string>& written, std::string& err) {
  namespace fs = std::filesystem;
  const struct {
    bool on;
    const char* ext;
    std::string (*text)(const results::RunResults&);
  } KINDS[] = {{o.json, ".json", outputs::json_text}, {o.csv, ".csv", outputs::csv_text}, {o.html, ".html", outputs::html_text}};
  for (const auto& k : KINDS) {
    if (!k.on) continue;
    const std::string path = (fs::path(dir) / (stem + k.ext)).string();
    if (!outputs::write_file(path, k.text(r), err)) return false;
    written.push_back(path);
  }
  return true;
}

}  // namespace host
