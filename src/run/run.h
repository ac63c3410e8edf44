// run.h -- the run driver: NAMES.dat, the files of a run, the problem loop, the
// reading and echo of the input data file, and the end-of-stage records of the plot file.
// What the entry point and the hosts call; the rest of the folder is in run_impl.h.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "model/model.h"

// Return codes of IBRANTO (and RUNWAL).
constexpr int RC_OK = 0;        // the run went through its end: every problem read was
                                // analysed, or a run-ending input check wrote its message
constexpr int RC_FILE = 1;      // NAMES.dat or a file it names could not be opened or written
constexpr int RC_INPUT = 2;     // malformed input, or a file ended before a record was complete
constexpr int RC_STOP = 3;      // the analysis stopped with a stop code (shown on the console)
constexpr int RC_INTERNAL = 4;  // an unexpected failure inside the engine

// How each problem of a run ended, for hosts that show a summary.
struct ProblemSummary {
  int NPROB = 0;      // stage number
  int IUNIT = 0;      // unit code
  int KEXIT = KXNONE; // exit kind of the iteration (KXNONE: not analysed)
  int ITER = 0;       // iterations
  double WMAX = 0;    // deflection of largest magnitude, L
  double XMMAX = 0;   // moment of largest magnitude, F*L
  double ZWMAX = 0;   // depth of WMAX, L (the shallowest station of that magnitude)
  double ZMMAX = 0;   // depth of XMMAX, L
  std::vector<double> FTIE;  // force per tie back of the tie backs in force, F
  int NWARN = 0;      // warnings written for this problem
  int KMECH = 0;      // 1: the solution holds no equilibrium (the wall is a mechanism)
};
struct RunSummary {
  std::vector<ProblemSummary> problems;
  int code = RC_OK;
  bool input_error = false;  // a run-ending input check wrote its message to the report
  bool silent_end = false;   // a negative count or ITMAX ended the run without a message
  std::string message;       // text of the error or stop, for the host
  std::vector<std::string> warnings;  // every warning of the run kept in WRN, in order
  int nwarn = 0;                      // warnings written in the run, kept or not
  // Called after the results of every analysed problem, with the model as they left it:
  // a host takes the results of the problem there. The library's entry point gives no
  // summary, so a run costs nothing more.
  std::function<void(const Model&)> problem_done;
};

// The model of this process, for IBRANTO and the command-line host: one for the life of
// the process, in static storage, cleared once before its first use.
Model& process_model();

// RUNWAL -- one run: NAMES.dat, the files, every problem of the input data file, the end
// of run. Never throws; returns one of the RC_ codes. The model keeps its tables.
//   reads   NAMES.dat in the working directory and the files it names; the model's
//           tables as the last run left them (a null input value keeps them)
//   writes  every table of the model; the report, the iteration log, the plot output
//           file and the two exchange files; the console; SUMMARY when given
int RUNWAL(Run& run, RunSummary* summary = nullptr);
