// fatal.cpp -- the messages of the input checks that end the run: written to the
// report, kept for the host, then the run goes to its end (EndRun).
#include <string>

#include "report/report.h"

namespace {

// Keep the first line of a run-ending message for the host.
void KEEPMS(Run& run, int KERR, std::string_view text) {
  auto& D = run.m.D;
  D.KERR = KERR;
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  D.ERRMSG.assign(text);
}

}  // namespace

void TOOMCH(Run& run) {
  io::write(run, LOUT, R"((/,/,"     TOO MUCH DATA FOR AVAILABLE STORAGE",/,/))");
  KEEPMS(run, 1, "TOO MUCH DATA FOR AVAILABLE STORAGE");
  throw EndRun{};
}

void TOOMCH(Run& run, std::string_view what, int value, int limit) {
  // The limits that the input does not announce get a second line naming the table.
  io::write(run, LOUT, R"((/,/,"     TOO MUCH DATA FOR AVAILABLE STORAGE",/,5X,A," =",I11,", AT MOST",I6,/,/))",
            what, value, limit);
  KEEPMS(run, 1, "TOO MUCH DATA FOR AVAILABLE STORAGE: " + std::string(what) + " = " +
                     std::to_string(value) + ", at most " + std::to_string(limit));
  throw EndRun{};
}

void NOTORD(Run& run) {
  io::write(run, LOUT, R"((/,/,"     ERROR STOP -- STATIONS NOT IN ORDER"))");
  KEEPMS(run, 1, "ERROR STOP -- STATIONS NOT IN ORDER");
  throw EndRun{};
}

void BEYOND(Run& run) {
  io::write(run, LOUT, R"((/,/,"     ERROR -- NON-ZERO TABLE 4 DATA BEYOND END"))");
  KEEPMS(run, 1, "ERROR -- NON-ZERO TABLE 4 DATA BEYOND END");
  throw EndRun{};
}

void INPERR(Run& run, std::string_view text) {
  io::write(run, LOUT, R"((/,/,5X,A))", text);
  KEEPMS(run, 1, text);
  throw EndRun{};
}

void WARN(Run& run, std::string_view TEXT) {
  auto& WRN = run.m.WRN;
  ++WRN.NWARN;
  if (WRN.NWARN <= MXWARN) {
    WRN.NPROB(WRN.NWARN) = run.m.D.NPROB;
    WRN.TEXT(WRN.NWARN).assign(TEXT);
  }
  if (run.u.is_open(LOUT)) io::write(run, LOUT, R"(("WARNING -- ",A))", TEXT);
  io::write(run, LCON, R"(("WARNING -- ",A))", TEXT);
}

void ENDSIL(Run& run) {
  run.m.D.KERR = 2;
  throw EndRun{};
}

std::string INREC(Run& run, std::string_view WHAT, int N, int LINE) {
  std::string R(WHAT);
  if (N > 0) R += " " + std::to_string(N);
  if (LINE <= 0) return R + ", read by an earlier run";
  const std::string F = run.u.is_open(LINP) ? run.u.path(LINP) : std::string();
  return (F.empty() ? std::string() : F + ", ") + "line " + std::to_string(LINE) + ": " + R;
}

void NONFIN(Run& run, std::string_view VALUE, std::string_view RECORD) {
  INPERR(run, "ERROR -- " + std::string(VALUE) + " IS NOT A FINITE NUMBER (" + std::string(RECORD) + ")");
}
