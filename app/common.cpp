// common.cpp -- one analysis of one input data file as the command-line host runs it.
// The run works in a private directory made in the output directory: NAMES.dat, the
// outputs under short names and the two scratch exchange files live there, and each
// output is renamed into place when the run is over, so that a failed check writes
// nothing, concurrent runs into one directory never see each other's half-written files,
// and paths of any length reach the engine as short relative names.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>

#include "common.h"
#include "outputs.h"
#include "results/results.h"
#include "run/run.h"

namespace fs = std::filesystem;

namespace host {

namespace {

// Longest path that NAMES.dat carries.
constexpr std::size_t MXPATH = 255;

// The outputs of a run: what messages call them, their extensions and how the host lists
// them. The engine writes the report, plot output file, iteration log and the two
// exchange files (ENGINE, in the order of NAMES.dat); the host writes the results.
struct Kind {
  const char* what;
  const char* ext;
  const char* label;
};
constexpr Kind KINDS[8] = {{"report", ".out", "report:        "},
                           {"plot output file", ".plt", "plot output:   "},
                           {"iteration log", ".log", "iteration log: "},
                           {"JSON results", ".json", "json:          "},
                           {"CSV results", ".csv", "csv:           "},
                           {"HTML report", ".html", "html:          "},
                           {"curve-exchange file", ".curves", "curves:        "},
                           {"pressure-exchange file", ".pressures", "pressures:     "}};
constexpr int ENGINE[5] = {0, 1, 2, 6, 7};

// The kinds of output of a job under the options, in the order of outputs().
std::vector<int> kinds_of(const Options& o) {
  std::vector<int> v{0, 1, 2};
  if (o.json) v.push_back(3);
  if (o.csv) v.push_back(4);
  if (o.html) v.push_back(5);
  if (o.keep_scratch) v.insert(v.end(), {6, 7});
  return v;
}

// An absolute path without "." components; ".." is kept where a symbolic link could make
// the shorter form name another place.
fs::path tidy(const fs::path& p) {
  std::error_code ec;
  fs::path a = fs::absolute(p, ec);
  if (ec) a = p;
  for (const auto& part : a)
    if (part == "..") return a;
  return a.lexically_normal();
}

// A file's identity (device and inode), when it exists.
struct FileId {
  dev_t dev;
  ino_t ino;
  bool operator==(const FileId&) const = default;
};
std::optional<FileId> id_of(const fs::path& p, struct stat* st_out = nullptr) {
  struct stat st;
  if (::stat(p.c_str(), &st) != 0) return std::nullopt;
  if (st_out != nullptr) *st_out = st;
  return FileId{st.st_dev, st.st_ino};
}

// Where writing an output really goes: the file a symbolic link names, else the path.
fs::path target_of(const fs::path& p) {
  std::error_code ec;
  if (!fs::is_symlink(p, ec)) return p;
  fs::path t = fs::weakly_canonical(p, ec);
  return ec ? p : t;
}

// A name NAMES.dat can carry as it is: no line end, no trailing blank, not too long.
bool fits(const std::string& s) {
  return s.size() <= MXPATH && s.find_first_of("\r\n") == std::string::npos && (s.empty() || s.back() != ' ');
}

std::string errtext(int err) { return std::strerror(err); }

// Copy a file whole; false with errno set on failure.
bool copy_whole(const fs::path& from, const fs::path& to) {
  std::error_code ec;
  fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
  if (ec) errno = ec.value();
  return !ec;
}

// A temporary name beside path: ".name.XXXXXX", created empty with the permissions a new
// file gets (mkstemp alone would make it private); nothing on failure.
std::optional<fs::path> temp_beside(const fs::path& path) {
  static const mode_t MASK = [] {
    // Read where the system shows it: setting it to read it would change it for a
    // moment for every thread of the process (an embedding program's too).
    if (std::FILE* f = std::fopen("/proc/self/status", "r")) {
      char line[128];
      unsigned m = 0;
      bool found = false;
      while (!found && std::fgets(line, sizeof line, f) != nullptr) found = std::sscanf(line, "Umask: %o", &m) == 1;
      std::fclose(f);
      if (found) return static_cast<mode_t>(m);
    }
    const mode_t m = ::umask(022);
    ::umask(m);
    return m;
  }();
  std::string t = (path.parent_path() / ("." + path.filename().string() + ".XXXXXX")).string();
  const int fd = ::mkstemp(t.data());
  if (fd < 0) return std::nullopt;
  if (::fchmod(fd, 0666 & ~MASK) != 0) { /* a private file is still a good file */ }
  ::close(fd);
  return fs::path(t);
}

// Put a finished file in place by renaming; across file systems, by a copy under a
// temporary name beside the destination, then renaming. Returns the error, or nothing.
std::string place(const fs::path& from, const fs::path& to) {
  if (::rename(from.c_str(), to.c_str()) == 0) return {};
  int err = errno;
  if (err == EXDEV) {
    if (auto tmp = temp_beside(to)) {
      if (copy_whole(from, *tmp) && ::rename(tmp->c_str(), to.c_str()) == 0) return {};
      err = errno;
      ::unlink(tmp->c_str());
    } else {
      err = errno;
    }
  }
  return errtext(err);
}

// Where an embedded run makes its private directory when it is not in the output
// directory: TMPDIR when it is set, else a directory in memory when the system has one
// that the process may write (the runtime directory of the user, /dev/shm), else /tmp. A
// run that writes nothing keeps only its scratch files there, and they are gone at its
// end: a file system on disk would cost more than the analysis of a small wall.
fs::path scratch_parent() {
  if (const char* t = std::getenv("TMPDIR"); t != nullptr && *t != 0) return t;
  for (const char* env : {"XDG_RUNTIME_DIR", ""}) {
    const char* d = *env != 0 ? std::getenv(env) : "/dev/shm";
    if (d != nullptr && *d == '/' && ::access(d, W_OK | X_OK) == 0) return d;
  }
  return "/tmp";
}

// The private directory of the run in progress, removed when the host is interrupted
// (SIGINT, SIGTERM, SIGHUP): descriptors and names where a signal handler can reach them.
struct Scratch {
  int parent = -1, dir = -1;  // the output directory and the private directory
  char name[32] = {};         // the private directory's name in the output directory
  char files[12][MXPATH + 1] = {};
  int nfiles = 0;
};
Scratch scratch;
volatile sig_atomic_t armed = 0;

extern "C" void interrupted(int sig) {
  if (armed) {
    for (int i = 0; i < scratch.nfiles; ++i) ::unlinkat(scratch.dir, scratch.files[i], 0);
    ::unlinkat(scratch.parent, scratch.name, AT_REMOVEDIR);
  }
  ::signal(sig, SIG_DFL);
  ::raise(sig);
}

void arm(const fs::path& dir, const std::vector<std::string>& files) {
  static bool installed = false;
  if (!installed) {
    struct sigaction sa {};
    sa.sa_handler = interrupted;
    sigemptyset(&sa.sa_mask);
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(sig, &sa, nullptr);
    installed = true;
  }
  scratch.parent = ::open(dir.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  scratch.dir = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  std::snprintf(scratch.name, sizeof scratch.name, "%s", dir.filename().c_str());
  scratch.nfiles = 0;
  for (const std::string& f : files)
    if (scratch.nfiles < 12) std::snprintf(scratch.files[scratch.nfiles++], MXPATH + 1, "%s", f.c_str());
  armed = 1;
}

void disarm() {
  armed = 0;
  for (int* fd : {&scratch.parent, &scratch.dir}) {
    if (*fd >= 0) ::close(*fd);
    *fd = -1;
  }
}

// The progress line of a long run on a terminal: the stage and the iteration, drawn
// from one second on, at most four times a second.
struct Progress {
  timespec start{};
  double last = 0;
  bool drawn = false;
};
double since(const timespec& t0) {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec - t0.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec - t0.tv_nsec);
}
void tick(void* ctx, int NPROB, int ITER) {
  auto* p = static_cast<Progress*>(ctx);
  const double t = since(p->start);
  if (t < 1.0 || t - p->last < 0.25) return;
  p->last = t;
  p->drawn = true;
  std::fprintf(stderr, "\rstage %d: iteration %d ", NPROB, ITER);
  std::fflush(stderr);
}

// ---------------------------------------------------------------------------
// Summary lines and rows.

const char* exit_text(int KEXIT) {
  switch (KEXIT) {
    case KXLIN: return "linear solution";
    case KXCONV: return "converged";
    case KXLIMC: return "closed at the iteration limit";
    case KXLIMN: return "NOT CLOSED at the iteration limit";
    case KXDEFL: return "MAXIMUM ALLOWABLE DEFLECTION EXCEEDED";
    default: return "not analysed";
  }
}
bool warning_exit(int KEXIT) { return KEXIT == KXLIMN || KEXIT == KXDEFL; }
// A closed solution that holds no equilibrium: the wall is a mechanism.
bool no_equilibrium(const ProblemSummary& p) { return p.KMECH == 1; }
bool has_results(const ProblemSummary& p) {
  return p.KEXIT != KXNONE && !warning_exit(p.KEXIT) && !no_equilibrium(p);
}

// One line per problem: stage, how the iteration ended, iterations, the largest
// deflection and moment with their units and the depth of the moment, the warnings (the
// engine's and the host's own).
std::string stage_line(const ProblemSummary& p, const Collector& col) {
  const bool si = p.IUNIT == SI;
  std::string line = "stage " + std::to_string(p.NPROB) + ": " +
                     (no_equilibrium(p) ? "NO EQUILIBRIUM (the wall is a mechanism)" : exit_text(p.KEXIT)) + ", " +
                     std::to_string(p.ITER) + (p.ITER == 1 ? " iteration" : " iterations");
  if (has_results(p)) {
    line += ", largest deflection " + io::format("(1PE11.4)", p.WMAX) + (si ? " M" : " IN") +
            ", largest moment " + io::format("(1PE11.4)", p.XMMAX) + (si ? " KN-M" : " LBS-IN");
    double z = 0;
    std::string unit;
    if (col.moment_depth(p.NPROB, z, unit)) {
      std::string d = io::format("(F12.3)", z);
      line += " at " + d.substr(d.find_first_not_of(' ')) + " " + unit;
    }
  }
  const int nwarn = p.NWARN + col.host_warnings(p.NPROB);
  if (nwarn > 0) line += ", " + std::to_string(nwarn) + (nwarn == 1 ? " warning" : " warnings");
  return line;
}

// A real in the shortest form that reads back to the same value.
std::string real(double v) {
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}

std::string csv_row(const std::string& file, const ProblemSummary* p, int status, const std::string& kind,
                    const std::string& message) {
  std::string r = csv_field(file) + ",";
  if (p != nullptr) {
    r += std::to_string(p->NPROB) + "," + (no_equilibrium(*p) ? "no_equilibrium" : results::exit_word(p->KEXIT)) + "," +
         std::to_string(p->ITER) + "," + (p->IUNIT == SI ? "SI" : p->IUNIT == ENGLISH ? "English" : "") + ",";
    if (has_results(*p)) {
      std::string ties;
      for (double f : p->FTIE) ties += (ties.empty() ? "" : ";") + real(f);
      r += real(p->WMAX) + "," + real(p->ZWMAX) + "," + real(p->XMMAX) + "," + real(p->ZMMAX) + "," + ties + ",";
    } else {
      r += ",,,,,";
    }
    r += std::to_string(p->NWARN) + ",";
  } else {
    r += "," + kind + ",,,,,,,,,";
  }
  return r + std::to_string(status) + "," + csv_field(message);
}

// The text of a failed run for the user, and the console record the engine wrote for it.
struct Failure {
  std::string text, echo, kind;
};
Failure failure(const RunSummary& s) {
  switch (s.code) {
    case RC_OK:
      if (s.input_error) return {"input error: " + s.message, "", "input_error"};
      if (s.silent_end) return {"the run ended early on a negative count or iteration limit", "", "ended_early"};
      return {};
    case RC_STOP:
      return {"the analysis stopped: " + s.message, s.message.size() > 5 ? s.message + "\n" : "", "stop"};
    case RC_INPUT: return {s.message, " " + s.message + "\n", "input_error"};
    case RC_FILE: return {s.message, " " + s.message + "\n", "file_error"};
    default: return {s.message, " " + s.message + "\n", "internal_error"};
  }
}

// The outcome of a run: status, lines, rows, the notices without the record of the
// failure (the host shows that itself, named), then the host's own warnings.
void finish(Outcome& r, const RunSummary& s, std::string console, const std::string& file, const Collector& col) {
  bool warning = false;
  for (const ProblemSummary& p : s.problems) {
    warning = warning || warning_exit(p.KEXIT) || no_equilibrium(p);
    r.lines.push_back(stage_line(p, col));
  }
  const Failure f = failure(s);
  r.status = !f.text.empty() ? EX_FAILED : warning ? EX_WARNING : EX_OK;
  r.error = f.text;
  if (!f.echo.empty() && console.ends_with(f.echo)) console.resize(console.size() - f.echo.size());
  r.notices = std::move(console) + col.warning_lines();
  for (const ProblemSummary& p : s.problems) r.rows.push_back(csv_row(file, &p, r.status, "", ""));
  if (!f.text.empty()) r.rows.push_back(csv_row(file, nullptr, r.status, f.kind, f.text));
}

Outcome refused(const std::string& file, std::string text) { return failed(file, "refused", std::move(text)); }

// The engine's run in the current directory, console captured, with the host's hooks.
// Every run starts on a fresh model, as a new process would: the first on the process's
// model, which comes cleared and whose pages are touched only where a run writes; each
// later one (a worker runs many inputs) on the same model cleared again in place.
Model& fresh_model() {
  static bool used = false;
  Model& m = process_model();
  if (used) {
    std::destroy_at(&m);
    std::construct_at(&m);  // value-initialised: every table cleared
  }
  used = true;
  return m;
}

// The results of each problem go to col, finished with the input's name as shown.
// done: called after col with the model of each problem analysed, when given.
RunSummary engine(const HostHooks& hooks, std::string& console, Collector& col, const std::string& input, Model& m,
                  const std::function<void(const Model&)>& done = nullptr) {
  io::Units u;
  u.capture_console();
  Run run{m, u, &hooks};
  RunSummary s;
  col.attach(s);
  if (done)
    s.problem_done = [take = s.problem_done, &done](const Model& model) {
      take(model);
      done(model);
    };
  RUNWAL(run, &s);  // closes every unit, whatever happens
  console = u.text(LCON);
  col.finish(m, s, input, VERSION);
  return s;
}

// The results asked for, written as DIR/STEM.json, .csv, .html; the error, or nothing.
std::string results_files(const Collector& col, const Options& o, const fs::path& dir, const std::string& stem,
                          std::vector<std::string>& written) {
  std::string err;
  if (!write_outputs(col.r, OutputOptions{o.json, o.csv, o.html}, dir.string(), stem, written, err)) return err;
  return {};
}

// The outputs of a job and the files they really are; the first clash, or nothing.
std::string check_outputs(const Job& job, const Options& o, const FileId& input, std::vector<fs::path>& targets) {
  const std::vector<fs::path> outs = outputs(job, o);
  const std::vector<int> kind = kinds_of(o);
  std::vector<std::optional<FileId>> ids;
  for (std::size_t k = 0; k < outs.size(); ++k) {
    targets.push_back(target_of(outs[k]));
    struct stat st;
    ids.push_back(id_of(targets[k], &st));
    if (!ids[k]) continue;
    if (!S_ISREG(st.st_mode))
      return std::string("the ") + KINDS[kind[k]].what + " " + quote(outs[k].string()) +
             " exists and is not a regular file: remove it or write the outputs elsewhere with --out-dir";
    if (*ids[k] == input)
      return std::string("the ") + KINDS[kind[k]].what + " " + quote(outs[k].string()) + " would overwrite the input data file " +
             quote(job.input) + ": give the input data file another extension (for example " +
             quote(job.stem + ".dat") + ") or write the outputs elsewhere with --out-dir";
    for (std::size_t j = 0; j < k; ++j)
      if ((ids[j] && *ids[j] == *ids[k]) || targets[j] == targets[k])
        return std::string("the ") + KINDS[kind[j]].what + " " + quote(outs[j].string()) + " and the " + KINDS[kind[k]].what +
               " " + quote(outs[k].string()) + " are one file: remove the link between them";
  }
  return {};
}

}  // namespace

// ---------------------------------------------------------------------------
void add_output_options(CLI::App& app, Options& o) {
  app.add_option("--out-dir", o.out_dir, "write the outputs into DIR (made if missing) instead of beside each input")
      ->type_name("DIR");
  app.add_flag("--keep-scratch", o.keep_scratch,
               "keep the curve- and pressure-exchange files (NAME.curves, NAME.pressures) beside the outputs");
  app.add_flag("-q,--quiet", o.quiet, "leave out the engine's console notices");
  app.add_flag("--json", o.json, "also write NAME.json: every result of every stage at full precision");
  app.add_flag("--csv", o.csv, "also write NAME.csv: the stations of every stage as one table");
  app.add_flag("--html", o.html, "also write NAME.html: the results with charts, one self-contained page");
  add_curve_depths(app);
}

void add_curve_depths(CLI::App& app) {
  // The engine reads the number of curve depths from its environment at the start of a
  // run; workers inherit it.
  app.add_option_function<int>(
         "--curve-depths",
         [](const int& n) { ::setenv("BRANTO_CURVE_DEPTHS", std::to_string(n).c_str(), 1); },
         "generate p-y curves at N depths per soil layer (5 to 50; default 5), as BRANTO_CURVE_DEPTHS=N does")
      ->type_name("N")
      ->check(CLI::Range(NCDDEF, MXCD));
}

int usage_error(const std::string& text) {
  std::fprintf(stderr, "branto: %s\nRun 'branto --help' for the usage.\n", text.c_str());
  return EX_USAGE;
}

Outcome failed(const std::string& label, const std::string& kind, std::string text) {
  Outcome r;
  r.status = EX_FAILED;
  r.error = std::move(text);
  r.rows.push_back(csv_row(label, nullptr, r.status, kind, r.error));
  return r;
}

std::string quote(std::string_view s) { return "'" + io::printable(s) + "'"; }

int worse(int a, int b) { return std::max(a, b); }

Job job_for(const std::string& input, const Options& o) {
  Job j;
  j.input = input;
  j.label = input;
  const fs::path in = tidy(input);
  j.stem = in.stem().string();
  j.out_dir = o.out_dir.empty() ? in.parent_path() : tidy(o.out_dir);
  return j;
}

std::vector<fs::path> outputs(const Job& job, const Options& o) {
  std::vector<fs::path> v;
  for (int k : kinds_of(o)) v.push_back(job.out_dir / (job.stem + KINDS[k].ext));
  return v;
}

std::vector<std::string> output_labels(const Options& o) {
  std::vector<std::string> v;
  for (int k : kinds_of(o)) v.push_back(KINDS[k].label);
  return v;
}

std::string check_jobs(const std::vector<Job>& jobs, const Options& o) {
  // Every input and every output once, by identity where the file exists and by path:
  // a file met twice may only be an input of two jobs, or belong to one job.
  struct Seen {
    std::size_t job;
    bool input;
    fs::path path;
  };
  std::map<std::string, Seen> by_path;
  std::map<std::pair<dev_t, ino_t>, Seen> by_id;
  auto clash = [&](const Seen& x, const Seen& y) -> std::string {
    if (x.job == y.job || (x.input && y.input)) return {};
    const Seen& out = x.input ? y : x;
    const Seen& other = x.input ? x : y;
    return quote(jobs[out.job].label) + " would write " + quote(out.path.string()) + ", which is " +
           (other.input ? "the input data file " : "also an output of ") + quote(jobs[other.job].label) +
           ": give the inputs different names or write the outputs elsewhere with --out-dir";
  };
  auto see = [&](const Seen& x) -> std::string {
    if (auto [it, fresh] = by_path.try_emplace(x.path.string(), x); !fresh)
      if (std::string e = clash(it->second, x); !e.empty()) return e;
    if (const auto id = id_of(x.path))
      if (auto [it, fresh] = by_id.try_emplace({id->dev, id->ino}, x); !fresh)
        if (std::string e = clash(it->second, x); !e.empty()) return e;
    return {};
  };
  for (std::size_t i = 0; i < jobs.size(); ++i) {
    if (std::string e = see({i, true, tidy(jobs[i].input)}); !e.empty()) return e;
    for (const fs::path& p : outputs(jobs[i], o))
      if (std::string e = see({i, false, target_of(p)}); !e.empty()) return e;
  }
  return {};
}

std::string check_apart(const std::vector<std::pair<std::string, std::string>>& files, const std::vector<Job>& jobs,
                        const Options& o) {
  auto same = [](const fs::path& a, const fs::path& b) {
    const auto ia = id_of(a), ib = id_of(b);
    return (ia && ib && *ia == *ib) || tidy(a) == tidy(b);
  };
  for (std::size_t f = 0; f < files.size(); ++f) {
    const auto& [what, path] = files[f];
    const std::string head = "the " + what + " " + quote(path) + " is ";
    for (std::size_t g = 0; g < f; ++g)
      if (same(path, files[g].second)) return head + "also the " + files[g].first;
    for (const Job& j : jobs) {
      if (same(path, j.input)) return head + "also the input data file " + quote(j.input);
      for (const fs::path& out : outputs(j, o))
        if (same(path, target_of(out))) return head + "also an output of " + quote(j.label);
    }
  }
  return {};
}

std::string csv_header() {
  return "file,stage,exit,iterations,units,max_deflection,max_deflection_depth,max_moment,max_moment_depth,"
         "tieback_forces,warnings,status,message";
}

std::string csv_field(std::string_view v) {
  if (v.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(v);
  std::string q = "\"";
  for (char c : v) q += c == '"' ? std::string("\"\"") : std::string(1, c);
  return q + "\"";
}

std::string write_file(const fs::path& path, std::string_view text) {
  auto tmp = temp_beside(path);
  if (!tmp) return "cannot write " + quote(path.string()) + ": " + errtext(errno);
  std::FILE* f = std::fopen(tmp->c_str(), "wb");
  bool ok = f != nullptr && std::fwrite(text.data(), 1, text.size(), f) == text.size();
  int err = errno;
  if (f != nullptr && std::fclose(f) != 0 && ok) {
    ok = false;
    err = errno;
  }
  if (ok && ::rename(tmp->c_str(), path.c_str()) != 0) {
    ok = false;
    err = errno;
  }
  if (ok) return {};
  ::unlink(tmp->c_str());
  return "cannot write " + quote(path.string()) + ": " + errtext(err ? err : EIO);
}

Outcome analyse(const Job& job, const Options& o, bool progress, Embedding* emb) {
  const fs::path in = tidy(job.input);
  const bool from_text = emb != nullptr && emb->from_text;
  const bool write = emb == nullptr || emb->write;
  if (emb != nullptr) emb->outcome = "refused";
  // A sweep's input is written first, whole.
  if (!job.text.empty()) {
    std::error_code ec;
    fs::create_directories(in.parent_path(), ec);
    if (std::string e = write_file(in, job.text); !e.empty()) return refused(job.label, e);
  }
  // The input must be a regular file that can be read.
  struct stat st {};
  if (!from_text) {
    if (::stat(in.c_str(), &st) != 0 || ::access(in.c_str(), R_OK) != 0)
      return refused(job.label, "cannot read the input data file " + quote(job.input) + ": " + errtext(errno));
    if (!S_ISREG(st.st_mode))
      return refused(job.label, "the input data file " + quote(job.input) + " is not a regular file");
  }
  // No output may be the input or another output; nothing is written before this check.
  std::vector<fs::path> targets;
  std::error_code ec;
  if (write) {
    if (std::string e = check_outputs(job, o, FileId{st.st_dev, st.st_ino}, targets); !e.empty())
      return refused(job.label, e);
    fs::create_directories(job.out_dir, ec);
    if (ec)
      return refused(job.label, "cannot make the output directory " + quote(job.out_dir.string()) + ": " + ec.message());
  }
  // The private directory, in the output directory. Embedded, the engine is given the
  // paths of the files in it: in a temporary directory when nothing is written or when
  // they would not fit.
  std::string work = (job.out_dir / ".branto-XXXXXX").string();
  if (emb != nullptr && (!write || !fits(work + "/branto.pressures")))
    work = (scratch_parent() / "branto-XXXXXX").string();
  if (::mkdtemp(work.data()) == nullptr)
    return refused(job.label, "cannot write in the " + std::string(write && work.starts_with(job.out_dir.string())
                                                                         ? "output directory " + quote(job.out_dir.string())
                                                                         : "temporary directory " + quote(work)) +
                                  ": " + errtext(errno));
  const fs::path dir = work;

  // Names for the engine: the input by its absolute path, or by a link in the private
  // directory when that path does not fit; the outputs by short names there (embedded:
  // their paths).
  const std::string base = emb != nullptr ? "branto" : fits(job.stem + KINDS[7].ext) ? job.stem : "branto";
  std::string input = in.string();
  bool linked = false;
  int link_err = 0;
  std::vector<std::string> files{"NAMES.dat"};  // names inside the private directory only
  std::string e;
  if (from_text) {
    input = (dir / "input.dat").string();
    files.push_back("input.dat");
    e = write_file(input, emb->text);
  } else if (!fits(input)) {
    input = in.filename().string();
    bool clash = !fits(input) || input == "NAMES.dat";
    for (const Kind& k : KINDS) clash = clash || input == base + k.ext;
    if (clash) input = "input.dat";
    linked = ::symlink(in.c_str(), (dir / input).c_str()) == 0;
    link_err = errno;
    if (emb != nullptr) input = (dir / input).string();
    if (linked) files.push_back(fs::path(input).filename().string());
  }
  std::string names = std::string(VERSION) + "\ncommand-line host\n\n0\n" + input + "\n";
  std::string given[6] = {input};
  for (int i = 0; i < 5; ++i) {
    const std::string name = base + KINDS[ENGINE[i]].ext;
    names += name + "\n";
    given[i + 1] = emb != nullptr ? (dir / name).string() : name;
  }
  for (const Kind& k : KINDS) files.push_back(base + k.ext);
  if (emb == nullptr) arm(dir, files);
  if (e.empty() && !from_text && !linked && !fits(in.string()))
    e = "cannot link to the input data file: " + errtext(link_err);
  if (e.empty() && emb == nullptr) e = write_file(dir / "NAMES.dat", names);
  if (!e.empty()) {
    fs::remove_all(dir, ec);
    if (emb == nullptr) disarm();
    return refused(job.label, e);
  }
  Outcome r;

  // The run, in the private directory.
  const std::vector<fs::path> outs = outputs(job, o);
  const std::string shown_in = from_text ? job.input : in.string(), shown_out = outs[0].string(),
                    shown_plt = outs[1].string();
  HostHooks hooks;
  hooks.input = shown_in;
  hooks.report = shown_out;
  hooks.plot = shown_plt;
  const std::string_view views[6] = {given[0], given[1], given[2], given[3], given[4], given[5]};
  if (emb != nullptr) {
    hooks.version = VERSION;
    hooks.files = views;
    hooks.curve_depths = emb->curve_depths;
  }
  Progress prog;
  if (progress && isatty(STDERR_FILENO)) {
    clock_gettime(CLOCK_MONOTONIC, &prog.start);
    hooks.iteration = tick;
    hooks.ctx = &prog;
  }
  std::string console;
  RunSummary s;
  Collector col;
  std::vector<std::string> made_results;
  std::string results_error;
  if (emb != nullptr) {
    s = engine(hooks, console, col, shown_in, *emb->model, emb->problem_done);
    if (write) results_error = results_files(col, o, dir, base, made_results);
  } else {
    const int here = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (::chdir(dir.c_str()) != 0) {
      s.code = RC_FILE;
      s.message = "cannot work in " + quote(dir.string()) + ": " + errtext(errno);
    } else {
      s = engine(hooks, console, col, shown_in, fresh_model());
      results_error = results_files(col, o, dir, base, made_results);
    }
    if (here >= 0) {
      if (::fchdir(here) != 0) { /* the host uses absolute paths from here on */ }
      ::close(here);
    }
  }
  if (prog.drawn) std::fprintf(stderr, "\r\033[K");
  // Embedded, messages name the input as the caller named it, not as the engine opened it
  // (the text's file or a link in the private directory).
  if (emb != nullptr && input != shown_in)
    for (std::string* t : {&console, &s.message, &col.r.message})
      for (std::size_t at = 0; (at = t->find(input, at)) != std::string::npos; at += shown_in.size())
        t->replace(at, input.size(), shown_in);
  finish(r, s, std::move(console), job.label, col);
  if (!results_error.empty()) {
    if (!r.error.empty()) r.error += "\nbranto: ";
    r.error += results_error;
    r.status = EX_FAILED;
  }

  // Each output the run wrote goes into place; the rest goes with the private directory.
  const std::vector<int> kind = kinds_of(o);
  for (std::size_t k = 0; write && k < outs.size(); ++k) {
    const fs::path made = dir / (base + KINDS[kind[k]].ext);
    r.files.emplace_back();
    if (!fs::exists(made, ec)) continue;
    if (std::string why = place(made, targets[k]); !why.empty()) {
      if (!r.error.empty()) r.error += "\nbranto: ";
      r.error += std::string("cannot put the ") + KINDS[kind[k]].what + " in place as " + quote(outs[k].string()) + ": " + why;
      r.status = EX_FAILED;
    } else {
      r.files.back() = outs[k].string();
    }
  }
  fs::remove_all(dir, ec);
  if (emb != nullptr) {
    emb->summary = std::move(s);
    emb->outcome = col.r.outcome;
    emb->results = std::move(col.r);
  } else {
    disarm();
  }
  return r;
}

Outcome analyse_names(const Options& o) {
  // The outputs named in NAMES.dat, as they were before the run: a file is listed after
  // the run only when the run wrote it.
  struct Before {
    std::string path;
    bool exists;
    struct stat st;
  };
  std::vector<Before> before;
  std::string input;  // record 5, for the results
  {
    std::ifstream f("NAMES.dat", std::ios::binary);
    std::string line;
    for (int I = 1; I <= 8 && std::getline(f, line); ++I) {
      if (I < 5) continue;
      line = line.substr(0, MXPATH);
      while (!line.empty() && (line.back() == ' ' || line.back() == '\r')) line.pop_back();
      if (I == 5) {
        input = line;
        continue;
      }
      Before b{line, false, {}};
      b.exists = !line.empty() && ::stat(line.c_str(), &b.st) == 0;
      before.push_back(b);
    }
  }
  HostHooks hooks;
  std::string console;
  Collector col;
  const RunSummary s = engine(hooks, console, col, input, fresh_model());
  Outcome r;
  finish(r, s, std::move(console), "NAMES.dat", col);
  // The results asked for go beside the report, named after it.
  std::vector<std::string> made;
  if (!before.empty() && !before[0].path.empty()) {
    const fs::path rp(before[0].path);
    if (std::string e = results_files(col, o, rp.parent_path(), rp.stem().string(), made); !e.empty()) {
      if (!r.error.empty()) r.error += "\nbranto: ";
      r.error += e;
      r.status = EX_FAILED;
    }
  }
  for (const Before& b : before) {
    struct stat st;
    r.files.emplace_back();
    if (b.path.empty() || ::stat(b.path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
    const bool changed = !b.exists || st.st_ino != b.st.st_ino || st.st_size != b.st.st_size ||
                         st.st_mtim.tv_sec != b.st.st_mtim.tv_sec || st.st_mtim.tv_nsec != b.st.st_mtim.tv_nsec;
    if (changed) r.files.back() = b.path;
  }
  r.files.insert(r.files.end(), made.begin(), made.end());
  return r;
}

}  // namespace host
