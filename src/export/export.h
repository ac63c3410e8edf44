// export.h -- the results of a run written for people and programs: a JSON document that
// follows docs/results.schema.json, a CSV table of the stations of every stage, and a
// self-contained HTML report with inline SVG charts. Each reads the results values only.
#pragma once

#include <string>

#include "results/results.h"

namespace outputs {

// The JSON document of the run, numbers at full precision (they read back to the same
// doubles); a value that is not finite is null.
std::string json_text(const results::RunResults& r);

// One RFC 4180 table (CRLF line ends): a header record, then one record per station of
// every stage that was analysed, with its stage number, unit system and exit.
std::string csv_text(const results::RunResults& r);

// The HTML report: per stage the summary, the charts against depth and the wall, the
// tables of tie backs, restraints, node reactions and the equilibrium check; the
// envelopes across stages; the p-y curves in force; the warnings. No scripts, no
// external files.
std::string html_text(const results::RunResults& r);

// Write TEXT to PATH (replacing it); false with a message in ERR when it fails.
bool write_file(const std::string& path, const std::string& text, std::string& err);

}  // namespace outputs
