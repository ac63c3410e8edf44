// run.h -- the run driver: NAMES.dat, the files of a run, the problem loop, the
// reading and echo of the input data file, and the end-of-stage records of the plot file.
// What the entry point and the hosts call; the rest of the folder is in run_impl.h.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>
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
  // a host takes the results of the problem there. In a reading only (CHKRUN), after
  // each problem is read and checked. The library's entry point gives no
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
// CHKRUN -- one reading of the input data file that the caller has opened on unit LINP
// (a file or a text in memory), without NAMES.dat: every problem is read, echoed to a
// report kept in memory and checked (station data, the checks of CHECKS, the working
// layers of the earth pressure, the layers and curve depths of the p-y curves) but not
// analysed: no pressure table, no curves, no iteration, and no file is written. The
// summary gets one entry per problem read (not analysed), the warnings, the error or
// stop. Returns as RUNWAL.
//   reads   the input data file on LINP; the model's tables as the last run left them
//   writes  every table the reading fills; the console; SUMMARY when given
int CHKRUN(Run& run, RunSummary* summary = nullptr);

// ---------------------------------------------------------------------------
// A reading of an input data file without its analysis, kept as data (check.cpp): every
// record read with its input lines, its name and its fields (name, value as read, unit),
// the facts of each problem that a user should confirm (the wall's length, the
// excavation depth, the widths, the curves per soil layer, the earth-pressure
// coefficient of each layer), then the warnings of the checks and the error that ended
// the reading. `branto check` prints it; other hosts take the data as it is.

// One value of a record: the field's name, the value as the READ left it (null values
// keep what the field held), its unit in the problem's unit system (none for counts,
// codes and ratios, and before the control record gives the unit system).
struct ListField {
  std::string name, value, unit;
};
// One record read: its problem, its first and last input line, the values left unread
// on its last line (a sign of a record given twice or with a value too many), its name
// as messages give it ("soil layer top record 2") and its fields.
struct ListRecord {
  int NPROB = 0;
  int first = 0, last = 0, left = 0;
  std::string what;
  std::vector<ListField> fields;
};
// A fact derived from a problem's input, as a name and a text ("wall length",
// "NI * H = 110 * 0.1 = 11 m, HWALL = 11 m").
struct ListFact {
  int NPROB = 0;
  std::string name, value;
};
struct InputListing {
  std::vector<ListRecord> records;
  std::vector<ListFact> facts;
  std::vector<std::string> warnings;  // texts of the WARNING lines, in order
  std::string error;                  // the error or stop that ended the reading, or nothing
  int problems = 0;                   // problems read
  int status = 0;                     // 0 clean, 1 warnings, 2 an error or a stop
};

// LSTINP -- read the input data file at path (LSTTXT: the input given as text, named
// name in messages) on the model m, as CHKRUN reads it: nothing is analysed and no file
// is written. The model keeps what the reading left. curve_depths: the curve depths per
// soil layer of this reading (NCDDEF to MXCD), as a host gives them to a run; 0: as the
// environment says.
InputListing LSTINP(Model& m, std::string_view path, int curve_depths = 0);
InputListing LSTTXT(Model& m, std::string_view name, std::string_view text, int curve_depths = 0);

// The unit of each field that has one, in English and in SI units: the record by the
// last part of its name ("record E2" of "cross section 1, record E2", "point" of "user p-y
// curve 3, point"), the field by its name. One table for the program; the input reference
// gives the same units.
struct FieldUnit {
  const char* record;
  const char* field;
  const char* english;
  const char* si;
};
std::span<const FieldUnit> UNITAB();
// The unit of a field of a record named what (as messages name it) under unit code
// IUNIT; empty when it has none.
std::string_view FLDUNT(std::string_view what, std::string_view field, int IUNIT);
