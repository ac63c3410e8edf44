// verify_cmd.cpp -- `branto verify`: runs the verification catalogue and prints its table
// (or VERIFICATION.md with --markdown); exit 0 when every quantity passes.
#include "verify_cmd.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include "run/run.h"
#include "verify.h"

namespace fs = std::filesystem;

namespace host {

int run_quiet(const std::string& input, const verify::ProblemHook& each, std::string& message) {
  std::error_code ec;
  const fs::path in = fs::absolute(input, ec);
  if (ec || !fs::is_regular_file(in)) {
    message = "cannot read the input data file '" + input + "'";
    return RC_FILE;
  }
  char tmpl[] = "/tmp/branto-verify-XXXXXX";
  if (mkdtemp(tmpl) == nullptr) {
    message = "cannot create a working directory";
    return RC_FILE;
  }
  const fs::path work = tmpl;
  {
    std::ofstream f(work / "NAMES.dat");
    f << "verify\nverification\n\n0\n" << in.string() << "\n";
    for (const char* ext : {".out", ".plt", ".log", ".curves", ".pressures"}) f << (work / ("run" + std::string(ext))).string() << "\n";
  }
  const fs::path here = fs::current_path();
  fs::current_path(work);
  // A model of its own, cleared: no case runs on the tables another case left.
  const auto m = std::make_unique<Model>();
  io::Units u;
  u.capture_console();
  Run run{*m, u};
  RunSummary s;
  s.problem_done = each;
  const int code = RUNWAL(run, &s);
  fs::current_path(here);
  fs::remove_all(work, ec);
  message = s.input_error || s.silent_end || code != RC_OK ? s.message : "";
  if (message.empty() && s.silent_end) message = "the run ended early";
  return code;
}

int verify_main(const std::vector<std::string>& args) {
  bool md = false;
  std::string dir;
  for (const std::string& a : args) {
    if (a == "--markdown") {
      md = true;
    } else if (a == "--help" || a == "-h") {
      std::printf(
          "usage: branto verify [--markdown] [DIR]\n"
          "\n"
          "Runs the verification cases of DIR (default: verification/ in the current\n"
          "directory, else the one of the source tree the program was built from) and prints\n"
          "one line per compared quantity: case, source, quantity, reference, computed,\n"
          "difference, tolerance, pass. --markdown writes VERIFICATION.md instead.\n"
          "Exit status: 0 every quantity passes, 1 one or more fail, 64 a usage error.\n");
      return 0;
    } else if (!a.empty() && a[0] == '-') {
      std::fprintf(stderr, "branto verify: unknown option '%s'\n", a.c_str());
      return 64;
    } else if (dir.empty()) {
      dir = a;
    } else {
      std::fprintf(stderr, "usage: branto verify [--markdown] [DIR]\n");
      return 64;
    }
  }
  if (dir.empty()) dir = fs::is_directory("verification") ? "verification" : BRANTO_VERIFICATION_DIR;
  try {
    const verify::Catalogue c = verify::run_catalogue(dir, run_quiet);
    const std::string text = md ? verify::markdown(c) : verify::table_text(c);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return c.pass() ? 0 : 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "branto verify: %s\n", e.what());
    return 2;
  }
}

}  // namespace host
