// runwal.cpp -- the run driver: NAMES.dat, the files of the run, the problem loop in
// the order the analysis needs, the end of run and the end-of-stage block of the plot
// output file. Every failure ends here with a return code; nothing escapes.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <stdexcept>
#include <string>

#include "pressure/pressure.h"
#include "report/report.h"
#include "run/run_impl.h"
#include "soil/soil.h"
#include "wall/wall.h"

namespace {

// The input lines kept beside the tables: none read in this run yet, so that a value a
// message names from an earlier run says so instead of giving another file's line.
void CLRLIN(Model& m) {
  m.C.LCTRL = m.C.LCTL2 = 0;
  m.D.LKEND = m.D.LPROB = 0;
  m.STA.LPT.fill(0);
  m.WS.LWS.fill(0);
  m.CS.LCROS.fill(0);
  m.REC.LREC4.fill(0);
  m.REC.LRES.fill(0);
  m.TIE.LTIE.fill(0);
  m.SOIL.LWALL = m.SOIL.LSOIL = 0;
  m.SOIL.LLAY.fill(0);
  m.SOIL.LLTOP.fill(0);
  m.SOIL.LLBOT.fill(0);
  m.SOIL.LSUR.fill(0);
  m.SOIL.LSPP.fill(0);
  m.UPY.LUPY.fill(0);
}

// The file that NAMES.dat record IREC (5 to 10) names, as messages name it.
std::string FILKND(int IREC) {
  static const char* const WHAT[11] = {"", "", "", "", "", "input data file", "report file", "plot output file",
                                       "iteration log", "curve-exchange file", "pressure-exchange file"};
  return IREC >= 5 && IREC <= 10 ? WHAT[IREC] : "file";
}

// The host gave the names of the run's files: there is no NAMES.dat.
bool GIVEN(const Run& run) { return run.host != nullptr && run.host->files != nullptr; }

// Where messages say a name of record IREC comes from: " (NAMES.dat record IREC)", or
// nothing when the host gave it.
std::string FROM(const Run& run, int IREC) {
  return GIVEN(run) ? std::string() : " (NAMES.dat record " + std::to_string(IREC) + ")";
}

// The names the host gave, as NAMES.dat would carry them: the version in 12 characters,
// each path in 255.
void GIVNAM(Run& run) {
  auto& D = run.m.D;
  const HostHooks& H = *run.host;
  D.VERSION.fill(' ');
  H.version.copy(D.VERSION.c, std::min(H.version.size(), std::size_t{12}));
  for (int I = 5; I <= 10; ++I) {
    const std::string_view NAME = H.files[I - 5];
    D.NAMES[I].fill(' ');
    if (NAME.size() > 255)
      throw io::FileError("the path of the " + FILKND(I) + " is longer than 255 characters");
    NAME.copy(D.NAMES[I].c, NAME.size());
  }
}

// Start-up steps 1 and 2: the ten records of NAMES.dat. Records 5 to 10 have an end of
// file and error branch: the run goes on with the names read so far.
void RDNAMS(Run& run) {
  auto& D = run.m.D;
  if (GIVEN(run)) return GIVNAM(run);
  run.u.open(LNAM, "NAMES.dat", "run-control file NAMES.dat", true);
  Chars<256> TEXT;
  int IDUM = 0;
  io::read_a(run, LNAM, {"NAMES.dat record 1 (version)"}, 12, D.VERSION);
  io::read_a(run, LNAM, {"NAMES.dat record 2"}, 256, TEXT);
  io::read_a(run, LNAM, {"NAMES.dat record 3"}, 256, TEXT);
  io::list_read(run, LNAM, {"NAMES.dat record 4"}, IDUM);
  for (int I = 5; I <= 10; ++I) D.NAMES[I].fill(' ');
  try {
    for (int I = 5; I <= 10; ++I) {
      // A path is read as 255 characters: a longer one would name another file.
      if (io::read_a(run, LNAM, {"NAMES.dat record", I}, 255, D.NAMES[I])) {
        D.NAMES[I].fill(' ');
        throw io::FileError("NAMES.dat record " + std::to_string(I) + ": the path of the " + FILKND(I) +
                            " is longer than 255 characters");
      }
    }
  } catch (const io::InputError&) {
    io::write(run, LCON, R"((" PLEASE CREATE AN INPUT DATA FILE AND SAVE IT",/," BEFORE COMPUTATION.  TRY IT AGAIN!"))");
    return;  // unit 2 stays open
  }
  run.u.close(LNAM);
}

// Start-up, before any file is created or emptied: every file that NAMES.dat names is
// of a kind the run can use, and no two of its records, nor NAMES.dat itself, name one
// file (the report would overwrite the input data file, the log the plot file, ...).
// The input data file must be a regular file; the report, the plot output file and the
// iteration log a regular file (or none yet) or a character device such as /dev/null;
// the exchange files, which are read back, a regular file or none yet. A device never
// counts as one file with another name: /dev/null may take several outputs.
void CHKNAM(Run& run) {
  const auto& N = run.m.D.NAMES;
  io::FileId ID[11];
  bool USED[11] = {};
  if (!GIVEN(run)) {
    ID[0] = io::identify("NAMES.dat");
    USED[0] = true;
  }
  for (int I = 5; I <= 10; ++I) {
    if (N[I].trimmed().empty()) continue;
    USED[I] = true;
    ID[I] = io::identify(N[I].trimmed());
    const std::string WHO = FILKND(I) + " '" + std::string(N[I].trimmed()) + "'" + FROM(run, I);
    const io::FileId::Kind K = ID[I].kind;
    if (K == io::FileId::UNREACHABLE) throw io::FileError("cannot open " + WHO + ": " + std::strerror(ID[I].err));
    const bool OK = K == io::FileId::REGULAR || K == io::FileId::MISSING || (I >= 6 && I <= 8 && K == io::FileId::DEVICE);
    if (!OK)
      throw io::FileError("cannot open " + WHO + ": it is " + io::kind_text(N[I].trimmed()) + ", not " +
                          (I == 5 || I >= 9 ? "a regular file" : "a regular file or a device"));
  }
  for (int I = 0; I <= 10; ++I)
    for (int J = I + 1; J <= 10; ++J) {
      if (!USED[I] || !USED[J] || ID[I].kind == io::FileId::DEVICE) continue;
      if (!io::same_file(ID[I], ID[J])) continue;
      if (GIVEN(run))
        throw io::FileError("the " + FILKND(I) + " '" + std::string(N[I].trimmed()) + "' and the " + FILKND(J) + " '" +
                            std::string(N[J].trimmed()) + "' are one file; nothing was written");
      const std::string A = I == 0 ? std::string("the run-control file NAMES.dat")
                                   : "record " + std::to_string(I) + " (" + FILKND(I) + " '" +
                                         std::string(N[I].trimmed()) + "')";
      throw io::FileError("NAMES.dat " + A + " and record " + std::to_string(J) + " (" + FILKND(J) + " '" +
                          std::string(N[J].trimmed()) + "') name one file; nothing was written");
    }
}

// Start-up step 3: the input data file, the report, the plot output file and the
// iteration log, in this order.
void OPNALL(Run& run) {
  auto& N = run.m.D.NAMES;
  const int ORDER[4] = {LINP, LOUT, LPLT, LLOG};
  for (int I = 0; I < 4; ++I) {
    const int IU = ORDER[I], IREC = IU == LINP ? 5 : IU == LOUT ? 6 : IU == LPLT ? 7 : 8;
    if (N[IREC].trimmed().empty())
      throw io::FileError("no " + FILKND(IREC) + (GIVEN(run) ? " given" : " named in NAMES.dat") + FROM(run, IREC));
    run.u.open(IU, N[IREC].trimmed(), FILKND(IREC) + FROM(run, IREC), IU == LINP);
  }
}

// The curve depths per soil layer of the run: the host's count for this run when it gives
// one (NCDDEF to MXCD), else BRANTO_CURVE_DEPTHS=N, when set, asks for N of them (NCDDEF
// to MXCD) in place of NCDDEF, read once at the start of the run. A value that is not
// such a whole number gives a warning and the nearest number allowed (NCDDEF for a text
// that is not a number).
void CDEPTH(Run& run) {
  auto& D = run.m.D;
  D.NCDRUN = NCDDEF;
  if (run.host != nullptr && NCDDEF <= run.host->curve_depths && run.host->curve_depths <= MXCD) {
    D.NCDRUN = run.host->curve_depths;
    return;
  }
  const char* S = std::getenv("BRANTO_CURVE_DEPTHS");
  if (S == nullptr || *S == 0) return;
  long long N = 0;
  const char* END = S + std::strlen(S);
  const auto R = std::from_chars(S, END, N);
  const bool NUMBER = R.ec == std::errc() && R.ptr == END;
  if (NUMBER && NCDDEF <= N && N <= MXCD) {
    D.NCDRUN = static_cast<int>(N);
    return;
  }
  if (NUMBER && N > MXCD) D.NCDRUN = MXCD;
  WARN(run, "BRANTO_CURVE_DEPTHS=" + std::string(S, std::min<std::size_t>(std::strlen(S), 40)) +
                " IS NOT A NUMBER OF CURVE DEPTHS PER SOIL LAYER FROM " + std::to_string(NCDDEF) + " TO " +
                std::to_string(MXCD) + ": " + std::to_string(D.NCDRUN) + " ARE USED");
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
                    " IS NEITHER 1 (ENGLISH UNITS) NOR 2 (SI UNITS)" + ONLINE(run.m.C.LCTRL));
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
  s.KMECH = m.ITR.KMECH;
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
  run.m.D.LPROB = run.u.line(LINP);
  RDTITL(run);
  RDCTRL(run);
  run.m.ITR.KEXIT = KXNONE;
  run.m.ITR.ITER = 0;
  run.m.ITR.KMECH = 0;
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
  if (C.NSECT < 0) NEGERR(run, "NSECT", C.NSECT, "CONTROL RECORD", 3, C.LCTRL, "NUMBER OF WALL SECTIONS");
  if (C.NTIE < 0) NEGERR(run, "NTIE", C.NTIE, "CONTROL RECORD", 11, C.LCTRL, "NUMBER OF TIE BACKS");
  // A problem without wall sections keeps the wall in the tables: told when this run has
  // not read one itself.
  if (C.NSECT == 0 && D.KWALRD == 0)
    WARN(run, run.m.ITR.NSECF > 0
                  ? "NO WALL SECTIONS, AND NONE READ BEFORE IN THIS RUN: THE WALL, CROSS SECTIONS, LOADS, "
                    "SUPPORTS, TIE BACKS, SOIL DATA AND PRESSURES LEFT IN THE TABLES BY AN EARLIER RUN ARE USED"
                  : "NO WALL SECTIONS, AND NO WALL READ BEFORE: THE WALL HAS NO RIGIDITY, LOADS OR SUPPORTS");
  if (C.NSECT > 0) {
    D.KWALRD = 1;
    RDWALL(run);  // wall sections, cross sections, nonlinear EI tables
    // Step 8: stiffness and load data, supports and tie backs.
    RDSUPP(run);
    STADAT(run);
    // Step 9: p-y modification factors and earth-pressure data; the pressure table.
    RDSOIL(run);
    CHECKS(run);
    if (D.KCHECK == 0) {
      EARTHP(run);
      PRSLOD(run);
    } else if (C.KEP >= 2) {
      EPPROF(run);  // a reading only: the working layers and their stops
    }
  } else {
    CHECKS(run);
  }
  // Step 10: soil-resistance curves.
  PYCURV(run);
  // Step 11: iteration and results.
  if (D.KCHECK == 0) {
    ITERAT(run);
    D.KEXCD = (run.m.ITR.KEXIT == KXLIMN || run.m.ITR.KEXIT == KXDEFL) ? 1 : 0;
    CHKMEC(run);
    RESULT(run);
  }
  SUMMRY(run, summary);
  if (summary != nullptr && summary->problem_done) summary->problem_done(run.m);
  // Steps 12 to 14: end code.
  RDKEND(run);
  if (D.KEND == 0 || D.KEND == C.ISTAGE) {
    CHKEND(run);
    return true;
  }
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
void END_OF_RUN(Run& run) {
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
  // No solution in this run (NSTA = 0): no tie-back results either.
  const int NT = RES.NSTA > 0 ? std::min(m.C.NTIE, MXTIE) : 0;
  io::list_write(run, LPLT, NT);
  const auto& T = m.TIE;
  for (int I = 1; I <= NT; ++I)  // see TIEPLT for the order of the nine values
    io::write(run, LPLT, "(1X,I5,2X,I5,2X,1P,E12.3,8(2X,1P,E15.4))", I, T.KSTA(I) - 4,
              T.DEPTH(I), T.AREA(I), T.XLU(I), T.ANGLE(I), T.SPACE(I), T.F0(I), T.HFORCE(I),
              T.FSTA(I), T.FTIE(I));
}

namespace {

// A reading of the input only: the input data file is open on LINP already; the report,
// the plot output file and the iteration log are kept in memory and dropped, and no
// exchange file is named, so nothing is written anywhere.
void OPNCHK(Run& run) {
  auto& D = run.m.D;
  for (int I = 5; I <= 10; ++I) D.NAMES[I].fill(' ');
  D.NAMES[5] = run.u.path(LINP);
  for (int IU : {LOUT, LPLT, LLOG}) run.u.open_memory_output(IU, "");
}

// The run itself, every failure caught. CHECK: a reading of the input only (CHKRUN).
int RUNALL(Run& run, RunSummary* summary, bool CHECK) {
  auto& D = run.m.D;
  D.KCHECK = CHECK ? 1 : 0;
  D.KERR = 0;
  D.ERRMSG.fill(' ');
  run.m.WRN.NWARN = 0;
  D.NPROB = 0;
  // Nothing of this run read yet: no wall, no earth-pressure data, no record lines, no
  // solution (the plot file's end-of-stage block shows only what this run computes).
  D.KWALRD = 0;
  D.KEPRD = 0;
  CLRLIN(run.m);
  run.m.RES.NSTA = 0;
  struct Unwatch {
    io::Units& u;
    ~Unwatch() { u.unwatch_kept(); }
  } unwatch{run.u};
  try {
    if (CHECK) {
      OPNCHK(run);
    } else {
      RDNAMS(run);
      CHKNAM(run);
      OPNALL(run);
    }
    CDEPTH(run);
    // A null value of the input keeps what the tables held: told when this run has not
    // read that value itself (it comes from an earlier run, or is the initial value).
    run.u.watch_kept(LINP, &run.m, sizeof(Model), [&run](const io::Kept& k) {
      WARN(run, k.where + " is null and keeps " + k.value + " (a value not read in this run)");
    });
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
    END_OF_RUN(run);
    if (summary != nullptr) {
      summary->code = RC_OK;
      summary->input_error = D.KERR == 1;
      summary->silent_end = D.KERR == 2;
      summary->message = std::string(D.ERRMSG.trimmed());
    }
    return RC_OK;
  } catch (const Stop& s) {
    // the analysis cannot go on: its explanation has been written; the stop line on the
    // console and at the end of the report, the files as written
    try {
      if (!s.code.empty()) io::write(run, LCON, "(A,A)", "STOP ", s.code);
      if (run.u.is_open(LOUT)) io::write(run, LOUT, "(5X,A)", s.code.empty() ? "STOP" : "STOP " + s.code);
      run.u.close_all();
    } catch (...) {
    }
    if (summary != nullptr) {
      summary->code = RC_STOP;
      summary->message = s.text.empty() ? "STOP " + s.code : s.text;
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
  const int code = RUNALL(run, summary, false);
  try {
    WARNSM(run, summary);  // the host gets the warnings however the run ended
  } catch (...) {
  }
  return code;
}

int CHKRUN(Run& run, RunSummary* summary) {
  if (!run.u.is_open(LINP)) throw std::logic_error("CHKRUN: no input data file open on unit 5");
  const int code = RUNALL(run, summary, true);
  run.m.D.KCHECK = 0;
  try {
    WARNSM(run, summary);  // the host gets the warnings however the run ended
  } catch (...) {
  }
  return code;
}
