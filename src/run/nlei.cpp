// nlei.cpp -- the nonlinear EI data of a problem: the user-defined moment-curvature sets
// (set k belongs to cross section k) and the per-section sets, the table each nonlinear
// cross section uses in the iteration, and their report sections.
#include <string>

#include "report/report.h"
#include "run/input.h"
#include "run/run_impl.h"

namespace {

constexpr int KUSER = 10;  // nonlinear kind whose table is a user-defined set

bool ISUSER(const Run& run, int I) { return run.m.CS.INONL(I) != 0 && run.m.CS.NLKIND(I) == KUSER; }

// A point count read from the file: checked against the table, a negative one is none.
int NPOINT(Run& run, int N) {
  if (N > MXEIP) TOOMCH(run, "NUMBER OF POINTS OF A NONLINEAR EI SET", N, MXEIP, run.u.last_record(LINP).first);
  return N < 0 ? 0 : N;
}

// Group 7, first part: NEIU sets, each an axial thrust and its (moment, curvature) points.
void RDUSER(Run& run) {
  const int NEIU = run.m.C.NEIU;
  auto& NEI = run.m.NEI;
  if (NEIU <= 0) return;
  if (NEIU > MXEIS) TOOMCH(run, "NUMBER OF USER-DEFINED NONLINEAR EI SETS", NEIU, MXEIS, run.m.C.LCTRL);
  int IDUM = 0;
  io::list_read(run, LINP, {"user-defined EI record", 0, "NUMBER"}, IDUM);
  for (int K = 1; K <= NEIU; ++K) {
    const std::string W = "user-defined EI set " + std::to_string(K);
    io::list_read(run, LINP, {W + ", thrust record", 0, "THRUST"}, NEI.UTHRST(K));
    int NP = 0;
    io::list_read(run, LINP, {W + ", point count record", 0, "SET NEIP"}, IDUM, NP);
    NEI.NEIP(K) = NPOINT(run, NP);
    for (int N = 1; N <= NEI.NEIP(K); ++N)
      io::list_read(run, LINP, {W + ", point", N, "MOMENT CURVATURE"}, NEI.UBM(K, N), NEI.UCURV(K, N));
  }
}

// Group 7, second part: for every cross section a count of sets, each a record of two
// reals (the axial thrust, then a value that is kept for nothing), a point count and the
// (moment, curvature) points. The first set of a nonlinear section other than the user
// kind is its table; every further set, and the sets of other sections, are read and
// dropped.
void RDSECT(Run& run) {
  const int NCROSS = run.m.C.NCROSS;
  auto& NEI = run.m.NEI;
  for (int I = 1; I <= NCROSS; ++I) {
    int IDUM = 0;
    io::list_read(run, LINP, {"section EI data", I, "ISEC NTH"}, IDUM, NEI.NTH(I));
    const bool KEEP = run.m.CS.INONL(I) != 0 && !ISUSER(run, I);
    for (int S = 1; S <= NEI.NTH(I); ++S) {
      const std::string W = CSREC(I, "EI set " + std::to_string(S));
      double THR = 0, XDUM = 0;
      io::list_read(run, LINP, {W + ", thrust record", 0, "THRUST VALUE"}, THR, XDUM);
      int NP = 0;
      io::list_read(run, LINP, {W + ", point count record", 0, "NUMBER NPOINTS"}, IDUM, NP);
      NP = NPOINT(run, NP);
      const bool TABLE = KEEP && S == 1;
      double BM = 0, CURV = 0;
      for (int N = 1; N <= NP; ++N) {
        io::list_read(run, LINP, {W + ", point", N, "MOMENT CURVATURE"}, BM, CURV);
        if (TABLE) {
          NEI.BM(I, N) = BM;
          NEI.CURV(I, N) = CURV;
        }
      }
      if (TABLE) {
        NEI.THRUST(I) = THR;
        NEI.NMP(I) = NP;
        NEI.INUSE(I) = 1;
      }
    }
  }
}

// The block of one moment-curvature set: set number, thrust, headings and the points
// with EI = moment / curvature (0 where the curvature is 0).
void ECHSET(Run& run, int ISET, double THRUST, int NP, const double* CURV, const double* BM) {
  const auto& L = run.m.LAB;
  io::write(run, LOUT, R"((/,5X,"   SET          =  ",I5))", ISET);
  io::write(run, LOUT, R"((/,5X,"   AXIAL THRUST =  ",F10.4,2X,A4))", THRUST, L.UFOR4);
  io::write(run, LOUT, R"((/,5X,"   N  ",9X," CURVATURE ",7X," MOMENT ",7X,"   EI   "))");
  io::write(run, LOUT, R"((5X,8X,9X,"RAD/",A2,9X,A4,"-",A2,9X,A4,"-",A2,"**2"))", L.ULEN2, L.UFOR4, L.ULEN2, L.UFOR4,
            L.ULEN2);
  for (int N = 1; N <= NP; ++N) {
    const double C = CURV[N - 1], M = BM[N - 1];
    WBLANK(run, LOUT, 5);
    WINT(run, LOUT, 5, N);
    WBLANK(run, LOUT, 4);
    WREAL(run, LOUT, 14, 5, C);
    WBLANK(run, LOUT, 4);
    WREAL(run, LOUT, 14, 5, M);
    WBLANK(run, LOUT, 4);
    WREAL(run, LOUT, 14, 5, C == 0 ? 0.0 : M / C);
    WEOL(run, LOUT);
  }
}

// "USER DEFINED NONLINEAR EI": the sets whose cross section is of the user kind.
void ECHUSR(Run& run) {
  const auto& C = run.m.C;
  const auto& NEI = run.m.NEI;
  bool ANY = false;
  for (int I = 1; I <= C.NCROSS; ++I) ANY = ANY || ISUSER(run, I);
  if (!ANY) return;
  io::write(run, LOUT, R"((/,5X,"* USER DEFINED NONLINEAR EI *"))");
  for (int K = 1; K <= C.NEIU && K <= C.NCROSS; ++K)
    if (ISUSER(run, K)) ECHSET(run, K, NEI.UTHRST(K), NEI.NEIP(K), &NEI.UCURV(K, 1), &NEI.UBM(K, 1));
  io::list_write(run, LOUT);
}

// "INTERNALLY GENERATED NONLINEAR EI": the table of every other nonlinear section.
void ECHGEN(Run& run) {
  const auto& NEI = run.m.NEI;
  bool FIRST = true;
  for (int I = 1; I <= run.m.C.NCROSS; ++I) {
    if (run.m.CS.INONL(I) == 0 || ISUSER(run, I) || NEI.NMP(I) <= 0) continue;
    if (FIRST) io::write(run, LOUT, R"((/,5X,"* INTERNALLY GENERATED NONLINEAR EI *"))");
    FIRST = false;
    ECHSET(run, I, NEI.THRUST(I), NEI.NMP(I), &NEI.CURV(I, 1), &NEI.BM(I, 1));
  }
  if (!FIRST) io::list_write(run, LOUT);
}

}  // namespace

void RDNEI(Run& run) {
  const int NCROSS = run.m.C.NCROSS;
  auto& NEI = run.m.NEI;
  for (int I = 1; I <= NCROSS; ++I) {
    NEI.NMP(I) = 0;
    NEI.INUSE(I) = 0;
    NEI.THRUST(I) = 0;
  }
  RDUSER(run);
  ECHUSR(run);
  // A section of the user kind takes set I of the user-defined sets; without one it has
  // no table (its rigidity stays that of the first solution).
  for (int I = 1; I <= NCROSS && I <= run.m.C.NEIU; ++I) {
    if (!ISUSER(run, I)) continue;
    NEI.THRUST(I) = NEI.UTHRST(I);
    NEI.NMP(I) = NEI.NEIP(I);
    for (int N = 1; N <= NEI.NMP(I); ++N) {
      NEI.CURV(I, N) = NEI.UCURV(I, N);
      NEI.BM(I, N) = NEI.UBM(I, N);
    }
    NEI.INUSE(I) = 1;
  }
  RDSECT(run);
  ECHGEN(run);
}
