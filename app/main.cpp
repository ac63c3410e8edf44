// branto -- the command-line host: analyses input data files as a host application of
// the library would (a run-control file naming the input and the outputs, one run of the
// engine per input), one at a time, in batches or as a parameter sweep.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <map>

#include "commands.h"

int main(int argc, char** argv) {
  using namespace host;
  CLI::App app{"Analyses the retaining-wall problems of input data files.", "branto"};
  app.set_version_flag("--version", std::string("branto ") + VERSION);
  app.require_subcommand(0, 1);
  app.footer(
      "Exit status: 0 every problem analysed, 1 a problem ended in a warning exit or holds\n"
      "no equilibrium, 2 an input error, a stop or a file that could not be read or written,\n"
      "64 a usage error.");
  Options o;
  const Action plain = add_plain(app, o);
  std::map<std::string, Action> commands{{"run", add_run(app, o)}, {"sweep", add_sweep(app, o)}, {"verify", add_verify(app, o)}};
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    return usage_error(e.what());
  }
  try {
    const auto subs = app.get_subcommands();
    if (subs.empty()) return plain();
    if (app.count("INPUT") > 0 || app.count("--names") > 0)
      return usage_error("'" + subs.front()->get_name() + "' must come first: branto " + subs.front()->get_name() +
                         " [options] ...");
    return commands.at(subs.front()->get_name())();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "branto: %s\n", e.what());
    return EX_FAILED;
  }
}
