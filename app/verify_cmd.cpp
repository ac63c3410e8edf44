// verify_cmd.cpp -- `branto verify`: runs the verification catalogue and prints its table
// (or VERIFICATION.md with --markdown); exit 0 when every quantity passes.
#include "verify_cmd.h"

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include "run/run.h"
#include "commands.h"
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

namespace {

int verify(bool md, std::string dir) {
  if (dir.empty()) dir = fs::is_directory("verification") ? "verification" : BRANTO_VERIFICATION_DIR;
  try {
    const verify::Catalogue c = verify::run_catalogue(dir, run_quiet);
    const std::string text = md ? verify::markdown(c) : verify::table_text(c);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return c.pass() ? EX_OK : EX_WARNING;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "branto verify: %s\n", e.what());
    return EX_FAILED;
  }
}

}  // namespace

Action add_verify(CLI::App& app, Options&) {
  CLI::App* sub = app.add_subcommand(
      "verify",
      "Runs the verification cases of DIR (default: verification/ in the current directory, else the one of "
      "the source tree the program was built from) and prints one line per compared quantity: case, source, "
      "quantity, reference, computed, difference, tolerance, pass. Exit status 0 when every quantity passes, "
      "1 when one or more fail.");
  auto md = std::make_shared<bool>(false);
  auto dir = std::make_shared<std::string>();
  sub->add_flag("--markdown", *md, "write VERIFICATION.md (its machine-independent content) instead of the table");
  sub->add_option("DIR", *dir, "the folder of verification cases");
  return [md, dir] { return verify(*md, *dir); };
}

}  // namespace host
