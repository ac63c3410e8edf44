// runwal.cpp -- the run driver: NAMES.dat, the files of the run, the problem loop in
// the order the analysis needs, the end of run and the end-of-stage block of the plot
// output file. Every failure ends here with a return code; nothing escapes.
#include <algorithm>
#include <cmath>
#include <exception>

#include "pressure/pressure.h"
#include "report/report.h"
#include "run/run.h"
#include "soil/soil.h"
#include "wall/wall.h"

namespace {

// Start-up steps 1 and 2: the ten records of NAMES.dat. Records 5 to 10 have an end of
// file and error branch: the run goes on with the names read so far.
void RDNAMS(Run& run) {
  auto& D = run.m.D;
  run.u.open(LNAM, "NAMES.dat", "run-control file NAMES.dat", true);
  Chars<256> TEXT;
  int IDUM = 0;
  io::read_a(run, LNAM, {"NAMES.dat record 1 (version)"}, 12, D.VERSION);
  io::read_a(run, LNAM, {"NAMES.dat record 2"}, 256, TEXT);
  io::read_a(run, LNAM, {"NAMES.dat record 3"}, 256, TEXT);
  io::list_read(run, LNAM, {"NAMES.dat record 4"}, IDUM);
  for (int I = 5; I <= 10; ++I) D.NAMES[I].fill(' ');
  try {
    for (int I = 5; I <= 10; ++I) io::read_a(run, LNAM, {"NAMES.dat record", I}, 255, D.NAMES[I]);
  } catch (const io::InputError&) {
    io::write(run, LCON, R"((" PLEASE CREATE AN INPUT DATA FILE AND SAVE IT",/," BEFORE COMPUTATION.  TRY IT AGAIN!"))");
    return;  // unit 2 stays open
  }
  run.u.close(LNAM);
}

// Start-up step 3: the input data file, the report, the plot output file and the
// iteration log, in this order.
void OPNALL(Run& run) {
  auto& N = run.m.D.NAMES;
  static const char* const WHAT[11] = {"", "", "", "", "", "input data file", "report file",
                                       "plot output file", "iteration log", "", ""};
  const int ORDER[4] = {LINP, LOUT, LPLT, LLOG};
  for (int I = 0; I < 4; ++I) {
    const int IU = ORDER[I], IREC = IU == LINP ? 5 : IU == LOUT ? 6 : IU == LPLT ? 7 : 8;
    if (N[IREC].trimmed().empty())
      throw io::FileError(std::string("no ") + WHAT[IREC] + " named in NAMES.dat (record " +
                          std::to_string(IREC) + ")");
    run.u.open(IU, N[IREC].trimmed(), WHAT[IREC], IU == LINP);
  }
}

// Problem heading, identically in the report and the iteration log.
void HEADNG(Run& run, int IU) {
  const auto& C = run.m.C;
  const auto& D = run.m.D;
  io::list_write(run, IU);
  if (C.ISTAGE > 1) {
    io::write(run, IU, R"((/,6X,"Stage No :",I2,2X,A70))", D.NPROB, D.TITLE1);
  } else if (D.NPROB == 1) {
    io::write(run, IU, R"((/,6X,A70))", D.TITLE);
  } else {
    io::write(run, IU, R"((/,6X,"Long Term :",2X,A70))", D.TITLE1);
  }
}

// Unit labels of the problem; a unit code other than 1 or 2 is an input error.
void UNITS(Run& run) {
  const int IUNIT = run.m.C.IUNIT;
  if (IUNIT == SI) {
    SETLAB(run, -1);
  } else if (IUNIT == ENGLISH) {
    SETLAB(run, 1);
  } else {
    INPERR(run, "ERROR -- UNIT CODE " + std::to_string(IUNIT) +
                    " IS NEITHER 1 (ENGLISH UNITS) NOR 2 (SI UNITS)");
  }
}

// The summary line of a problem for the host.
void SUMMRY(Run& run, RunSummary* summary) {
  if (summary == nullptr) return;
  const auto& m = run.m;
  ProblemSummary s;
  s.NPROB = m.D.NPROB;
  s.IUNIT = m.C.IUNIT;
  s.KEXIT = m.ITR.KEXIT;
  s.ITER = m.ITR.ITER;
  if (s.KEXIT != KXLIMN && s.KEXIT != KXDEFL && s.KEXIT != KXNONE) {
    for (int K = 4; K <= m.RES.NSTA + 3; ++K) {
      if (std::fabs(m.RES.DEFL(K)) > std::fabs(s.WMAX)) {
        s.WMAX = m.RES.DEFL(K);
        s.ZWMAX = m.RES.X(K);
      }
      if (std::fabs(m.RES.XMOM(K)) > std::fabs(s.XMMAX)) {
        s.XMMAX = m.RES.XMOM(K);
        s.ZMMAX = m.RES.X(K);
      }
    }
    for (int I = 1; I <= std::min(m.TIE.NTIEF, MXTIE); ++I) s.FTIE.push_back(m.TIE.FTIE(I));
  }
  summary->problems.push_back(s);
}

// The warnings of the run for the host: their texts, and the count of each problem.
void WARNSM(Run& run, RunSummary* summary) {
  if (summary == nullptr) return;
  const auto& WRN = run.m.WRN;
  summary->nwarn = WRN.NWARN;
  summary->warnings.clear();
  for (int I = 1; I <= std::min(WRN.NWARN, MXWARN); ++I) {
    summary->warnings.emplace_back(WRN.TEXT(I).trimmed());
    for (ProblemSummary& p : summary->problems)
      if (p.NPROB == WRN.NPROB(I)) ++p.NWARN;
  }
}

// One problem, from its title to its end code. Returns true when the run ends after it.
bool PROBLM(Run& run, RunSummary* summary) {
  auto& C = run.m.C;
  auto& D = run.m.D;
  // Steps 1 and 2: title and control record.
  RDTITL(run);
  RDCTRL(run);
  run.m.ITR.KEXIT = KXNONE;
  run.m.ITR.ITER = 0;
  // Steps 3 to 5: header and problem heading.
  if (D.NPROB > 1) {
    io::list_write(run, LOUT);
    io::list_write(run, LOUT);
  }
  HEADER(run);
  HEADNG(run, LOUT);
  HEADNG(run, LLOG);
  // Step 6: unit labels.
  UNITS(run);
  // Step 7: control echo, second control record, specified points, wall data.
  ECHCTL(run);
  RDCTL2(run);
  RDSPEC(run);
  if (C.NSECT < 0) ENDSIL(run);
  if (C.NSECT > 0) {
    RDWALL(run);  // wall sections, cross sections, nonlinear EI tables
    // Step 8: stiffness and load data, supports and tie backs.
    RDSUPP(run);
    STADAT(run);
    // Step 9: p-y modification factors and earth-pressure data; the pressure table.
    RDSOIL(run);
    EARTHP(run);
    PRSLOD(run);
  }
  // Step 10: soil-resistance curves.
  PYCURV(run);
  // Step 11: iteration and results.
  ITERAT(run);
  D.KEXCD = (run.m.ITR.KEXIT == KXLIMN || run.m.ITR.KEXIT == KXDEFL) ? 1 : 0;
  RESULT(run);
  SUMMRY(run, summary);
  // Steps 12 to 14: end code.
  RDKEND(run);
  if (D.KEND == 0 || D.KEND == C.ISTAGE) return true;
  D.KPLOT = D.KEND == 9 ? 2 : C.ISTAGE;
  if (D.KEXCD == 1) {
    PLTEND(run, 0);
    D.KPLOT = 0;
  } else {
    PLTEND(run, D.KPLOT);
  }
  return false;
}

// End of run: "END OF ANALYSIS", the last end-of-stage block, the units closed.
void ENDRUN(Run& run) {
  for (int IU : {LOUT, LLOG})
    io::write(run, IU, R"((/,/,"     END OF ANALYSIS                             "))");
  PLTEND(run, run.m.D.KEXCD == 1 ? 0 : run.m.D.KPLOT);
  for (int IU : {LOUT, LINP, LPLT, LNAM, LLOG}) run.u.close(IU);
}

// A failure that ends the run early: the message goes to the console and, when it is
// open, to the report; every unit is closed with what was written.
int FAILED(Run& run, RunSummary* summary, int code, const std::string& text) {
  try {
    io::write(run, LCON, "(1X,A)", text);
    if (run.u.is_open(LOUT)) io::write(run, LOUT, R"((/,/,5X,A))", text);
  } catch (...) {
  }
  try {
    run.u.close_all();
  } catch (...) {
  }
  if (summary != nullptr) {
    summary->code = code;
    summary->message = text;
  }
  return code;
}

}  // namespace

void PLTEND(Run& run, int KODEP) {
  const auto& m = run.m;
  const auto& RES = m.RES;
  io::list_write(run, LPLT, KODEP, RES.NSTA, m.C.IUNIT);
  if (m.D.KEXCD == 1) return;  // short form
  for (int K = 4; K <= RES.NSTA + 3; ++K)
    io::write(run, LPLT, "(7(1X,1P,E13.4))", RES.X(K), RES.DEFL(K), RES.XMOM(K), RES.SHEAR(K),
              RES.XNF(K), RES.EI(K), RES.SR(K));
  const int NT = std::min(m.C.NTIE, MXTIE);
  io::list_write(run, LPLT, NT);
  const auto& T = m.TIE;
  for (int I = 1; I <= NT; ++I)  // see TIEPLT for the order of the nine values
    io::write(run, LPLT, "(1X,I5,2X,I5,2X,1P,E12.3,8(2X,1P,E15.4))", I, T.KSTA(I) - 4,
              T.DEPTH(I), T.AREA(I), T.XLU(I), T.ANGLE(I), T.SPACE(I), T.F0(I), T.HFORCE(I),
              T.FSTA(I), T.FTIE(I));
}

namespace {

// The run itself, every failure caught.
int RUNALL(Run& run, RunSummary* summary) {
  auto& D = run.m.D;
  D.KERR = 0;
  D.ERRMSG.fill(' ');
  run.m.WRN.NWARN = 0;
  D.NPROB = 0;
  try {
    RDNAMS(run);
    OPNALL(run);
    D.NPROB = 0;
    D.KPLOT = 1;
    D.KGENEP = 0;
    D.KGENPY = 0;
    D.KEXCD = 0;
    try {
      while (!PROBLM(run, summary)) {
      }
    } catch (const EndRun&) {
      // a run-ending input check wrote its message (or a silent end): end of run
    }
    ENDRUN(run);
    if (summary != nullptr) {
      summary->code = RC_OK;
      summary->input_error = D.KERR == 1;
      summary->silent_end = D.KERR == 2;
      summary->message = std::string(D.ERRMSG.trimmed());
    }
    return RC_OK;
  } catch (const Stop& s) {
    // the analysis cannot go on: the stop code on the console, the files as written
    try {
      if (!s.code.empty()) io::write(run, LCON, "(A,A)", "STOP ", s.code);
      run.u.close_all();
    } catch (...) {
    }
    if (summary != nullptr) {
      summary->code = RC_STOP;
      summary->message = "STOP " + s.code;
    }
    return RC_STOP;
  } catch (const io::InputError& e) {
    return FAILED(run, summary, RC_INPUT, e.what());
  } catch (const io::FileError& e) {
    return FAILED(run, summary, RC_FILE, e.what());
  } catch (const std::exception& e) {
    return FAILED(run, summary, RC_INTERNAL, std::string("internal error: ") + e.what());
  } catch (...) {
    return FAILED(run, summary, RC_INTERNAL, "internal error");
  }
}

}  // namespace

int RUNWAL(Run& run, RunSummary* summary) {
  const int code = RUNALL(run, summary);
  try {
    WARNSM(run, summary);  // the host gets the warnings however the run ended
  } catch (...) {
  }
  return code;
}
