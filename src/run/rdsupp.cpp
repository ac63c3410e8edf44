// rdsupp.cpp -- stiffness and load records, restraint records and tie backs as read.
// Only counts, continuation flags and tie-back values are checked here; the station
// tables and their report sections are built from these records by the wall analysis.
#include <string>

#include "report/report.h"
#include "run/run_impl.h"

namespace {

// A continuation flag below 0 means nothing to the range rule: input error.
void CHKCON(Run& run, const char* WHAT, int N, int ICONT, int LINE) {
  if (ICONT < 0)
    INPERR(run, std::string("ERROR -- ") + WHAT + " " + std::to_string(N) + " HAS A NEGATIVE CONTD (" +
                    std::to_string(ICONT) + ")" + ONLINE(LINE));
}

// A tie-back record is one line of seven values. One that runs over several lines or
// leaves values on its line is most likely another record read as a tie back: a
// tie-back record is missing (or NTIE too large), and every record after it is read one
// record early. Warned here, before the errors that the misread records then give.
void CHKTIE(Run& run, int N) {
  const io::RecordSpan R = run.u.last_record(LINP);
  if (R.first == R.last && R.left == 0) return;
  const std::string SHAPE = R.first != R.last ? "RUNS OVER INPUT LINES " + std::to_string(R.first) + " TO " +
                                                    std::to_string(R.last)
                                              : "HOLDS " + std::to_string(7 + R.left) + " VALUES";
  WARN(run, "TIE BACK " + std::to_string(N) + ONLINE(R.first) + " " + SHAPE +
                ", NOT ONE LINE OF 7 VALUES: IF A TIE-BACK RECORD IS MISSING (NTIE = " + std::to_string(run.m.C.NTIE) +
                ", " + ATLINE("CONTROL RECORD", run.m.C.LCTRL) + "), THE RECORDS THAT FOLLOW ARE READ ONE RECORD EARLY");
}

}  // namespace

void RDSUPP(Run& run) {
  const auto& C = run.m.C;
  auto& REC = run.m.REC;
  auto& TIE = run.m.TIE;
  // Stiffness and load records: stations FROM, TO, CONTD, then Q, T, P.
  io::list_read(run, LINP, {"stiffness and load count record", 0, "NREC4"}, REC.NREC4);
  if (REC.NREC4 > MXREC4)
    TOOMCH(run, "NUMBER OF STIFFNESS AND LOAD RECORDS", REC.NREC4, MXREC4, run.u.last_record(LINP).first);
  for (int N = 1; N <= REC.NREC4; ++N) {
    io::list_read(run, LINP, {"stiffness and load record", N, "FROM TO CONTD Q T P"}, REC.IFROM4(N), REC.ITO4(N),
                  REC.ICONT4(N), REC.Q4(N), REC.T4(N), REC.P4(N));
    REC.LREC4(N) = run.u.last_record(LINP).first;
    CHKCON(run, "STIFFNESS AND LOAD RECORD", N, REC.ICONT4(N), REC.LREC4(N));
  }
  // Restraint records: stations FROM, TO, CONTD, then the lateral and rotational stiffness.
  io::list_read(run, LINP, {"restraint count record", 0, "NRES"}, REC.NRES);
  if (REC.NRES > MXRES) TOOMCH(run, "NUMBER OF RESTRAINT RECORDS", REC.NRES, MXRES, run.u.last_record(LINP).first);
  for (int N = 1; N <= REC.NRES; ++N) {
    io::list_read(run, LINP, {"restraint record", N, "FROM TO CONTD S R"}, REC.IFROMR(N), REC.ITOR(N),
                  REC.ICONTR(N), REC.SR(N), REC.RR(N));
    REC.LRES(N) = run.u.last_record(LINP).first;
    CHKCON(run, "RESTRAINT RECORD", N, REC.ICONTR(N), REC.LRES(N));
  }
  // Tie backs: depth, area, modulus, unbonded length, angle, spacing, prestress force.
  if (C.NTIE > MXTIE) TOOMCH(run, "NUMBER OF TIE BACKS", C.NTIE, MXTIE, C.LCTRL);
  for (int N = 1; N <= C.NTIE; ++N) {
    io::list_read(run, LINP, {"tie back", N, "DEPTH AREA ELAS XLU ANGLE SPACE F0"}, TIE.DEPTH(N), TIE.AREA(N),
                  TIE.ELAS(N), TIE.XLU(N), TIE.ANGLE(N), TIE.SPACE(N), TIE.F0(N));
    TIE.LTIE(N) = run.u.last_record(LINP).first;
    CHKTIE(run, N);
    const int IS = STATION(C, TIE.DEPTH(N));
    const std::string T = "ERROR -- TIE BACK " + std::to_string(N);
    const std::string AT = ONLINE(TIE.LTIE(N));
    if (IS < 0 || IS > C.NI)
      INPERR(run, T + " AT STATION " + std::to_string(IS) + " IS OUTSIDE THE WALL (STATIONS 0 TO " +
                      std::to_string(C.NI) + ")" + AT);
    // Its stiffness divides by the unbonded length and by the spacing.
    if (!(TIE.XLU(N) > 0)) INPERR(run, T + ": THE UNBONDED LENGTH MUST BE POSITIVE" + AT);
    if (!(TIE.SPACE(N) > 0)) INPERR(run, T + ": THE ANCHOR SPACING MUST BE POSITIVE" + AT);
    TIE.KSTA(N) = IS + 4;
  }
}
