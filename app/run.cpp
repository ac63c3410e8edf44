// run.cpp -- `branto INPUT` (one input, in this process), `branto --names` (the
// NAMES.dat of the current directory, as a host does) and `branto run A.dat B.dat ...`
// (many inputs, N at a time, each in a worker process, with a summary table).
#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>

#include "batch.h"
#include "commands.h"

namespace host {

namespace {

// Notices, summary lines, the error and the files written, as the plain host shows them.
int show_plain(const Outcome& r, const Options& o) {
  if (!o.quiet) std::fputs(r.notices.c_str(), stderr);
  for (const std::string& l : r.lines) std::printf("%s\n", l.c_str());
  if (!r.error.empty()) std::fprintf(stderr, "branto: %s\n", r.error.c_str());
  const std::vector<std::string> label = output_labels(o);
  for (std::size_t k = 0; k < r.files.size() && k < label.size(); ++k)
    if (!r.files[k].empty()) std::printf("%s%s\n", label[k].c_str(), r.files[k].c_str());
  return r.status;
}

}  // namespace

Action add_plain(CLI::App& app, Options& o) {
  struct Plain {
    std::vector<std::string> inputs;
    bool names = false;
  };
  auto p = std::make_shared<Plain>();
  app.add_option("INPUT", p->inputs, "the input data file; outputs INPUT.out (report), INPUT.plt (plot output "
                                     "file) and INPUT.log (iteration log), INPUT without its extension");
  app.add_flag("--names", p->names, "run from the NAMES.dat of the current directory, as a host does");
  add_output_options(app, o);
  return [p, &app, &o]() {
    if (p->names) {
      if (!p->inputs.empty()) return usage_error("--names reads NAMES.dat and takes no input data file");
      if (!o.out_dir.empty()) return usage_error("--names writes the files NAMES.dat names; --out-dir does not apply");
      return show_plain(analyse_names(o), o);
    }
    if (p->inputs.empty()) return usage_error("no input data file given");
    if (p->inputs.size() > 1) {
      std::string all;
      for (const std::string& i : p->inputs) all += " " + quote(i);
      return usage_error("one input data file expected, " + std::to_string(p->inputs.size()) + " given:" + all +
                         "\nTo analyse several, use: branto run FILE...");
    }
    (void)app;
    return show_plain(analyse(job_for(p->inputs[0], o), o, true), o);
  };
}

Action add_run(CLI::App& app, Options& o) {
  struct Batch {
    std::vector<std::string> inputs;
    int workers = 1;
    std::string summary;
  };
  auto b = std::make_shared<Batch>();
  CLI::App* sub = app.add_subcommand("run", "analyse many input data files, N at a time");
  sub->add_option("FILE", b->inputs, "input data files")->required();
  sub->add_option("-j,--jobs", b->workers, "analyses at a time, each in a worker process (default 1)")
      ->check(CLI::Range(1, 256));
  sub->add_option("--summary", b->summary, "write one row per stage per file into this CSV file")
      ->type_name("FILE.csv");
  add_output_options(*sub, o);
  return [b, &o]() {
    std::vector<Job> jobs;
    for (const std::string& i : b->inputs) jobs.push_back(job_for(i, o));
    std::string clash = check_jobs(jobs, o);
    if (clash.empty() && !b->summary.empty()) clash = check_apart({{"summary", b->summary}}, jobs, o);
    if (!clash.empty()) {
      std::fprintf(stderr, "branto: %s\n", clash.c_str());
      return EX_FAILED;
    }
    std::vector<std::string> rows;
    int status = run_batch(jobs, o, b->workers, [&](std::size_t i, const Outcome& r) {
      show_named(jobs[i].label, r, o);
      rows.insert(rows.end(), r.rows.begin(), r.rows.end());
    });
    if (!b->summary.empty()) {
      if (std::string e = write_summary(b->summary, csv_header(), rows); !e.empty()) {
        std::fprintf(stderr, "branto: %s\n", e.c_str());
        status = EX_FAILED;
      }
    }
    return status;
  };
}

}  // namespace host
