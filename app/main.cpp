// branto -- the command-line host: runs one input data file as a host application would
// (a run-control file naming the input and the outputs, one run of the engine), then
// prints one summary line per problem and the paths of the files written.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "outputs.h"
#include "verify_cmd.h"
#include "run/run.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* VERSION = "1.0.0";
constexpr int EX_OK = 0, EX_WARNING = 1, EX_FAILED = 2, EX_USAGE = 64;

void usage(std::FILE* f) {
  std::fprintf(f,
               "usage: branto [--out-dir DIR] [--curve-depths N] [--json] [--csv] [--html] INPUT\n"
               "       branto [--curve-depths N] [--json] [--csv] [--html] --names\n"
               "       branto verify [--markdown] [DIR]\n"
               "       branto --help | --version\n"
               "\n"
               "Analyses the retaining-wall problems of the input data file INPUT and writes\n"
               "the report INPUT.out, the plot output file INPUT.plt and the iteration log\n"
               "INPUT.log (INPUT without its extension), next to INPUT or in DIR.\n"
               "--names runs from the NAMES.dat of the current directory, as a host does.\n"
               "--curve-depths N generates p-y curves at N depths per soil layer (5 to 50,\n"
               "default 5), as the environment variable BRANTO_CURVE_DEPTHS=N does.\n"
               "--json, --csv, --html also write INPUT.json (every result, full precision),\n"
               "INPUT.csv (the stations of every stage) and INPUT.html (report with charts).\n"
               "verify runs the verification cases and compares each quantity with its\n"
               "reference (see VERIFICATION.md; branto verify --help).\n"
               "\n"
               "Exit status: 0 every problem analysed, 1 a problem ended in a warning exit\n"
               "or holds no equilibrium, 2 input error or stop, 64 usage error.\n");
}

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

// One summary line per problem, the outcome of the run, the files; the exit status.
int report(const RunSummary& s, const host::Collector& col, const std::string& out, const std::string& plt,
           const std::string& log, const std::vector<std::string>& written) {
  col.print_warnings();
  bool warning = false;
  for (const ProblemSummary& p : s.problems) {
    const bool si = p.IUNIT == SI;
    // A closed solution that holds no equilibrium: the wall is a mechanism.
    std::string line = "stage " + std::to_string(p.NPROB) + ": " +
                       (p.KMECH == 1 ? "NO EQUILIBRIUM (the wall is a mechanism)" : exit_text(p.KEXIT)) + ", " +
                       std::to_string(p.ITER) + (p.ITER == 1 ? " iteration" : " iterations");
    if (p.KEXIT == KXLIMN || p.KEXIT == KXDEFL || p.KMECH == 1) {
      warning = true;
    } else if (p.KEXIT != KXNONE) {
      line += ", largest deflection " + io::format("(1PE11.4)", p.WMAX) + (si ? " M" : " IN") +
              ", largest moment " + io::format("(1PE11.4)", p.XMMAX) + (si ? " KN-M" : " LBS-IN");
      double z = 0;
      std::string unit;
      if (col.moment_depth(p.NPROB, z, unit)) {
        std::string d = io::format("(F12.3)", z);
        d.erase(0, d.find_first_not_of(' '));
        line += " at " + d + " " + unit;
      }
    }
    const int nwarn = p.NWARN + col.host_warnings(p.NPROB);
    if (nwarn > 0) line += ", " + std::to_string(nwarn) + (nwarn == 1 ? " warning" : " warnings");
    std::printf("%s\n", line.c_str());
  }
  int status = warning ? EX_WARNING : EX_OK;
  if (s.code != RC_OK) {
    status = EX_FAILED;  // the engine has written its message or stop code to the console
  } else if (s.input_error) {
    std::fprintf(stderr, "branto: input error: %s\n", s.message.c_str());
    status = EX_FAILED;
  } else if (s.silent_end) {
    std::fprintf(stderr, "branto: the run ended early on a negative count or iteration limit\n");
    status = EX_FAILED;
  }
  if (!out.empty()) std::printf("report:        %s\n", out.c_str());
  if (!plt.empty()) std::printf("plot output:   %s\n", plt.c_str());
  if (!log.empty()) std::printf("iteration log: %s\n", log.c_str());
  for (const std::string& w : written) std::printf("%-15s%s\n", (fs::path(w).extension().string().substr(1) + ":").c_str(), w.c_str());
  return status;
}

// The results of the run to the files asked for, beside the report.
int outputs(const RunSummary& s, host::Collector& col, const Model& m, const std::string& input,
            const host::OutputOptions& o, const std::string& report_path, std::vector<std::string>& written) {
  col.finish(m, s, input, VERSION);
  const fs::path rp(report_path);
  std::string err;
  if (!host::write_outputs(col.r, o, rp.parent_path().string(), rp.stem().string(), written, err)) {
    std::fprintf(stderr, "branto: %s\n", err.c_str());
    return EX_FAILED;
  }
  return EX_OK;
}

int run_names(const host::OutputOptions& o) {
  Model& m = process_model();
  io::Units u;
  Run run{m, u};
  RunSummary s;
  host::Collector col;
  col.attach(s);
  RUNWAL(run, &s);
  auto name = [&](int I) { return std::string(m.D.NAMES[I].trimmed()); };
  std::vector<std::string> written;
  const int st = outputs(s, col, m, name(5), o, name(6), written);
  const int r = report(s, col, name(6), name(7), name(8), written);
  return st != EX_OK ? st : r;
}

int run_input(const std::string& input, const std::string& out_dir, const host::OutputOptions& o) {
  std::error_code ec;
  const fs::path in = fs::absolute(input, ec);
  if (ec || !fs::is_regular_file(in)) {
    std::fprintf(stderr, "branto: cannot read the input data file '%s'\n", input.c_str());
    return EX_FAILED;
  }
  const fs::path dir = out_dir.empty() ? in.parent_path() : fs::absolute(out_dir);
  fs::create_directories(dir, ec);
  if (ec) {
    std::fprintf(stderr, "branto: cannot create '%s': %s\n", dir.c_str(), ec.message().c_str());
    return EX_FAILED;
  }
  const std::string stem = in.stem().string();
  const std::string names[6] = {in.string(),
                                (dir / (stem + ".out")).string(),
                                (dir / (stem + ".plt")).string(),
                                (dir / (stem + ".log")).string(),
                                (dir / (stem + ".curves")).string(),
                                (dir / (stem + ".pressures")).string()};
  for (const std::string& n : names) {
    if (n.size() > 255) {  // NAMES.dat holds 255 characters per path
      std::fprintf(stderr, "branto: path longer than 255 characters: %s\n", n.c_str());
      return EX_FAILED;
    }
  }
  // The run-control file goes into a private directory, which the run works in.
  char tmpl[] = "/tmp/branto-XXXXXX";
  if (mkdtemp(tmpl) == nullptr) {
    std::perror("branto: cannot create a working directory");
    return EX_FAILED;
  }
  const fs::path work = tmpl;
  {
    std::ofstream f(work / "NAMES.dat");
    f << VERSION << "\ncommand-line host\n\n0\n";
    for (const std::string& n : names) f << n << "\n";
  }
  const fs::path here = fs::current_path();
  fs::current_path(work);
  Model& m = process_model();
  io::Units u;
  Run run{m, u};
  RunSummary s;
  host::Collector col;
  col.attach(s);
  RUNWAL(run, &s);
  fs::current_path(here);
  fs::remove_all(work, ec);
  std::vector<std::string> written;
  const int st = outputs(s, col, m, input, o, names[1], written);
  const int r = report(s, col, names[1], names[2], names[3], written);
  return st != EX_OK ? st : r;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == "verify") return host::verify_main(std::vector<std::string>(argv + 2, argv + argc));
  std::string input, out_dir;
  bool names = false;
  host::OutputOptions o;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--help" || a == "-h") {
      usage(stdout);
      return EX_OK;
    } else if (a == "--version") {
      std::printf("branto %s\n", VERSION);
      return EX_OK;
    } else if (a == "--names") {
      names = true;
    } else if (a == "--json") {
      o.json = true;
    } else if (a == "--csv") {
      o.csv = true;
    } else if (a == "--html") {
      o.html = true;
    } else if (a == "--out-dir" && i + 1 < argc) {
      out_dir = argv[++i];
    } else if (a.rfind("--out-dir=", 0) == 0) {
      out_dir = a.substr(10);
    } else if (a == "--curve-depths" && i + 1 < argc) {
      setenv("BRANTO_CURVE_DEPTHS", argv[++i], 1);  // the engine reads it at the start of the run
    } else if (a.rfind("--curve-depths=", 0) == 0) {
      setenv("BRANTO_CURVE_DEPTHS", a.substr(15).c_str(), 1);
    } else if (!a.empty() && a[0] == '-') {
      std::fprintf(stderr, "branto: unknown option '%s'\n", a.c_str());
      usage(stderr);
      return EX_USAGE;
    } else if (input.empty()) {
      input = a;
    } else {
      usage(stderr);
      return EX_USAGE;
    }
  }
  if (names == !input.empty() || (names && !out_dir.empty())) {
    usage(stderr);
    return EX_USAGE;
  }
  try {
    return names ? run_names(o) : run_input(input, out_dir, o);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "branto: %s\n", e.what());
    return EX_FAILED;
  }
}
