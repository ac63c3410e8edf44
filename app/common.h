// common.h -- what the subcommands of the command-line host share: the options of the
// outputs, one analysis of one input data file in a private working directory with the
// user's files kept safe, the summary line and summary row of each problem, the status.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "results/results.h"
#include "run/run.h"

namespace CLI {
class App;
}

namespace host {

constexpr const char* VERSION = "1.0.0";
// Exit status: every problem analysed; a warning exit; an input error, a stop or a
// file that could not be read or written; a usage error.
constexpr int EX_OK = 0, EX_WARNING = 1, EX_FAILED = 2, EX_USAGE = 64;

// Options that shape the outputs of every analysis: plain runs, batches and sweeps.
// Options added here reach every subcommand that analyses inputs.
struct Options {
  std::string out_dir;        // where the outputs go; empty: beside each input
  bool keep_scratch = false;  // keep the curve- and pressure-exchange files beside the outputs
  bool quiet = false;         // leave out the engine's console notices
  bool json = false, csv = false, html = false;  // results beside the report: STEM.json,
                                                 // STEM.csv, STEM.html
};
void add_output_options(CLI::App& app, Options& o);
// --curve-depths N (part of the output options; alone on commands that only read).
void add_curve_depths(CLI::App& app);

// A usage error found after parsing: its message, then exit status EX_USAGE.
int usage_error(const std::string& text);

// One analysis: an input data file and the base name of its outputs in a directory.
struct Job {
  std::string input;               // the input data file as the user named it
  std::string label;               // how lines, messages and summary rows name it
  std::string stem;                // outputs stem.out, stem.plt, stem.log
  std::filesystem::path out_dir;   // absolute
  std::string text;                // sweeps: the text to write into input first
};
// The job of an input data file under the options: outputs named after the input,
// in the output directory or beside the input.
Job job_for(const std::string& input, const Options& o);

// The files a job will write, in order: report, plot output file, iteration log, then
// the JSON, CSV and HTML results asked for, then, when kept, the curve- and
// pressure-exchange files.
std::vector<std::filesystem::path> outputs(const Job& job, const Options& o);
// How the host lists each of those files, in the same order ("report:        ").
std::vector<std::string> output_labels(const Options& o);

// What one analysis leaves for the host to show.
struct Outcome {
  int status = EX_FAILED;
  std::vector<std::string> lines;  // one summary line per problem
  std::string error;               // why the analysis failed or was refused, or nothing
  std::string notices;             // the engine's console notices, as written
  std::vector<std::string> files;  // in the order of outputs(): each file written, or nothing
  std::vector<std::string> rows;   // one summary row per problem (CSV, no line end)
};

// How a program that embeds the host (the Python package) has a job analysed: on a
// model of its own, with the names of the files given to the engine directly (no
// NAMES.dat, no change of the current directory, no signal handlers), so that analyses
// in several threads of one process are independent.
struct Embedding {
  Model* model = nullptr;    // cleared by the caller (value-initialised)
  bool write = true;         // put the outputs in place; false: nothing is written but
                             // the scratch files in a private temporary directory
  bool from_text = false;    // the input data file is text, not a file: the job's input
  std::string text;          // only names it
  int curve_depths = 0;      // curve depths per soil layer; 0: the default
  // Called with the model after the results of each problem analysed, when given.
  std::function<void(const Model&)> problem_done;
  // What the run gives back.
  RunSummary summary;
  results::RunResults results;
  std::string outcome;       // results.outcome, or "refused" when nothing ran
};

// Analyse one job in this process: refuse before anything is written when an output
// would be the input or another output, work in a private directory in the output
// directory, put each output in place by renaming it when the run is over.
// progress: draw a progress line of the iteration on a terminal during long runs.
// emb: embedded, as that says.
Outcome analyse(const Job& job, const Options& o, bool progress, Embedding* emb = nullptr);

// The run from NAMES.dat in the current directory, as a host of the library does.
Outcome analyse_names(const Options& o);

// The outcome of a job refused or lost before or outside its run: kind is the word of
// its summary row ("refused", "crashed").
Outcome failed(const std::string& label, const std::string& kind, std::string text);

// Check a set of jobs before any runs: no output of one job may be the input or an
// output of another. Returns the message of the first clash, or nothing.
std::string check_jobs(const std::vector<Job>& jobs, const Options& o);

// Check files the host reads or writes beside the jobs (a sweep's template and table, a
// summary; each given as what it is and its path): none may be an input or an output of
// a job, or another of them. Returns the message of the first clash, or nothing.
std::string check_apart(const std::vector<std::pair<std::string, std::string>>& files, const std::vector<Job>& jobs,
                        const Options& o);

// The columns of the summary rows and one field of a row (RFC 4180 quoting).
std::string csv_header();
std::string csv_field(std::string_view v);

// Write a text file whole under a temporary name beside it, then rename it into place.
// Returns the error message, or nothing.
std::string write_file(const std::filesystem::path& path, std::string_view text);

// The worse of two exit statuses.
int worse(int a, int b);

// A path or value for a message: quoted, bytes that do not print escaped.
std::string quote(std::string_view s);

}  // namespace host
