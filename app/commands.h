// commands.h -- the subcommands of the command-line host. Each registers its options
// on the application and returns the work it does once the command line is parsed; the
// work returns the exit status. The options of the outputs are shared by every command
// that analyses inputs.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "common.h"
#include "run/run.h"

namespace host {

using Action = std::function<int()>;

// branto [options] INPUT; branto --names
Action add_plain(CLI::App& app, Options& o);
// branto run A.dat B.dat ... [-j N] [--summary FILE.csv]
Action add_run(CLI::App& app, Options& o);
// branto sweep TEMPLATE.dat PARAMS.csv [-j N] [--shard i/n] [--summary FILE.csv]
Action add_sweep(CLI::App& app, Options& o);
// branto verify [--markdown] [DIR]
Action add_verify(CLI::App& app, Options& o);
// branto check INPUT: the annotated listing, nothing analysed or written
Action add_check(CLI::App& app);
// branto new TYPE [--si|--english]: a starter input on standard output
Action add_new(CLI::App& app);

// The listing of `branto check` as the host prints it: each record with its lines, its
// name and its fields, the facts of each problem, the warnings, the error and a last line
// that names the input (label) and the outcome.
std::string format_listing(const InputListing& l, const std::string& label);
std::string format_record(const ListRecord& r);
// The types of `branto new` and the text of each (nullptr: no such type).
std::vector<std::string> starter_types();
const char* starter_text(const std::string& type, bool si);

}  // namespace host
