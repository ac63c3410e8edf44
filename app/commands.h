// commands.h -- the subcommands of the command-line host. Each registers its options
// on the application and returns the work it does once the command line is parsed; the
// work returns the exit status. The options of the outputs are shared by every command
// that analyses inputs.
#pragma once

#include <functional>

#include "common.h"

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

}  // namespace host
