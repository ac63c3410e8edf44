// verify_cmd.h -- the `verify` subcommand of the command-line host, and the quiet run of
// one input data file that the verification catalogue uses.
#pragma once

#include <string>
#include <vector>

#include "verify.h"

namespace host {

// One run of INPUT in a private working directory, with a model of its own and the
// engine's console notices kept from the terminal; EACH after every problem.
int run_quiet(const std::string& input, const verify::ProblemHook& each, std::string& message);


}  // namespace host
