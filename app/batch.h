// batch.h -- many analyses, N at a time, each in a worker process of its own with its own
// model, so that every output is the one a single run would write.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "common.h"

namespace host {

// Run the jobs with at most workers at a time. show(i, outcome) is called for every job
// in job order, as soon as it and every job before it have ended. A progress line is
// drawn on standard error when it is a terminal. Returns the worst status.
int run_batch(const std::vector<Job>& jobs, const Options& o, int workers,
              const std::function<void(std::size_t, const Outcome&)>& show);

// Show an outcome as a batch does: summary lines named by label on standard output,
// notices and the error on standard error.
void show_named(const std::string& label, const Outcome& r, const Options& o);

// Write the summary rows of the outcomes under the header (leading columns: prefix of
// each row, in job order). Returns the error message, or nothing.
std::string write_summary(const std::string& path, const std::string& header,
                          const std::vector<std::string>& rows);

// A value for the job-count option: 1 to 256.
int check_workers(int n);

}  // namespace host
