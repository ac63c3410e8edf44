// run.h -- the run driver: NAMES.dat, the files of a run, the problem loop, the
// reading and echo of the input data file, and the end-of-stage records of the plot file.
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
int RUNWAL(Run& run, RunSummary* summary = nullptr);

// The report header of one problem: banner, file names, time and date.
void HEADER(Run& run);

// Windows path rules: drive ("C:"), directory (ending with its separator), base name and
// extension (the last dot and at most four characters after it), of the path held in a
// buffer of width characters.
struct PathParts {
  std::string drive, dir, base, ext;
};
PathParts split_path(std::string_view path, std::size_t width = 256);

// Input of the control records and specified points, with their echo.
void RDTITL(Run& run);   // title record
void RDCTRL(Run& run);   // control record
void ECHCTL(Run& run);   // "PROGRAM CONTROL PARAMETERS" and the hinge note
void RDCTL2(Run& run);   // second control record, its checks and the wall geometry lines
void RDSPEC(Run& run);   // specified deflections and slopes, coded into KODE
void RDKEND(Run& run);   // end code
// A negative count or iteration limit ends the run with a message naming the field:
// "ERROR -- NAME = VALUE (REC, VALUE IVAL, INPUT LINE n): A NEGATIVE WHAT ENDS THE RUN".
[[noreturn]] void NEGERR(Run& run, const char* NAME, int VALUE, const char* REC, int IVAL, int LINE,
                         const char* WHAT);

// Input groups of a problem with wall sections, read in file order with their echo.
void RDWALL(Run& run);   // wall sections, cross sections, nonlinear EI tables
void RDSUPP(Run& run);   // stiffness and load records, restraints and tie backs
void RDSOIL(Run& run);   // p-y modification factors, earth-pressure and soil-profile data
void RDPYU(Run& run);    // user p-y curves into UPY (NPYU of them)
// Soil-resistance curves by KPYGEN and NPYU: user curves, generated curves, or none.
void PYCURV(Run& run);

// The checks that never change the analysis (checks.cpp), each finding one WARNING line:
//   CHECKS  after the input of a problem is read, before the analysis: the wall length
//           against HWALL, the excavation depth given twice, RV6 against the width WA
//           with tie backs; with wall sections read: stations without rigidity, and with
//           the soil profile read: where it ends, soil type codes, implausible optional
//           earth-pressure coefficients; generated curves that no layer can give
//   CHKMEC  after the solution: a solution that counts as closed but whose largest
//           deflection exceeds the length of the wall, or that is not finite, is no
//           equilibrium (ITR.KMECH = 1)
//   CHKEND  after the end code that ends the run: data left unread in the input
void CHECKS(Run& run);
void CHKMEC(Run& run);
void CHKEND(Run& run);

// The end-of-stage block of the plot output file, with first value KODEP (short form
// when the last solution ended in a warning exit).
void PLTEND(Run& run, int KODEP);
