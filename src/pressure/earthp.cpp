// earthp.cpp -- the earth pressure of a problem by its option: the generated table read
// back from the pressure-exchange file and scaled by the wall widths, or the specified
// pairs; the depth and active earth pressure listing, the load per station, and the
// pressure block of the plot output file.
#include <algorithm>
#include <cmath>
#include <span>
#include <string>

#include "pressure/pressure_impl.h"
#include "report/report.h"

namespace {

// Rows of the listing and of the plot block: every row of a table of at most 50 rows,
// else every sixth (English) or fourth (SI) row from the first, and always the last.
// The specified pairs are all listed.
bool LISTED(const Run& run, int I, int N) {
  if (run.m.C.KEP == 1 || N <= 50 || I == N) return true;
  const int KSTEP = run.m.C.IUNIT == ENGLISH ? 6 : 4;
  return (I - 1) % KSTEP == 0;
}

// Column header of the listing; the depth label is that of the depths listed.
void LSTHDR(Run& run, std::string_view UDEP) {
  const auto& L = run.m.LAB;
  io::write(run, LOUT, R"((/,/,8X," DEPTH         ACTIVE EARTH PRESSURE",/,8X,1X,A3,17X,A4,A1,A2,/,8X,"--------       ------------------------"))",
            UDEP, L.UFOR4, L.USLASH, L.ULEN2);
}

// Pressure block of the plot output file: the listed rows, eight columns each. Two
// columns are patched in the table itself: a zero PT_ACTIVE becomes 1.0E-7, and with
// KEP = 1 PT_TOTAL takes PT_LOAD (the load per station).
void PLTPRS(Run& run) {
  auto& PRS = run.m.PRS;
  auto& PT = PRS.PT;
  const int N = PRS.NPRES;
  int NLIST = 0;
  for (int I = 1; I <= N; ++I)
    if (LISTED(run, I, N)) ++NLIST;
  io::list_write(run, LPLT, NLIST);
  for (int I = 1; I <= N; ++I) {
    if (!LISTED(run, I, N)) continue;
    if (PT(I, PT_ACTIVE) == 0) PT(I, PT_ACTIVE) = 1.0E-7f;
    if (run.m.C.KEP == 1) PT(I, PT_TOTAL) = PT(I, PT_LOAD);
    io::write(run, LPLT, "(10(2X,E10.3))", PT(I, PT_DEPTH), PT(I, PT_LOAD), PT(I, PT_TOTAL), PT(I, PT_EARTH),
              PT(I, PT_SURFACE), PT(I, PT_ENVELOPE), PT(I, PT_SIGMAH), PT(I, PT_WATER));
  }
}

// Options 2 to 5: the pressure-exchange file read back, scaled, listed, times H. The rows
// come as BULK kept them while it wrote the file, rounded as the file holds them, or,
// when it could not keep them, from the file itself.
void PRSBAK(Run& run) {
  const auto& C = run.m.C;
  const auto& SOIL = run.m.SOIL;
  auto& PRS = run.m.PRS;
  auto& PT = PRS.PT;
  LSTHDR(run, run.m.LAB.ULENB.view());
  int NPRES = 0;
  PRS.NPRES = 0;
  if (PRS.KHELD == 1) {
    NPRES = PRS.NHELD;
    for (int I = 1; I <= NPRES; ++I)
      for (int K = 1; K <= NPTCOL; ++K) PT(I, K) = PRS.PH(I, K);
  } else {
    const auto& NAME = run.m.D.NAMES[10];
    run.u.open(LXCH, NAME.trimmed(), "pressure-exchange file", true);
    io::list_read(run, LXCH, {"pressure-exchange file, row count", 0, "NPRES"}, NPRES);
    if (NPRES > MXPRES) TOOMCH(run, "ROWS OF THE PRESSURE TABLE", NPRES, MXPRES);
    if (NPRES < 0) INPERR(run, "ERROR -- THE PRESSURE-EXCHANGE FILE HOLDS A NEGATIVE ROW COUNT");
    for (int I = 1; I <= NPRES; ++I)
      io::list_read(run, LXCH, {"pressure-exchange file, row", I}, std::span<double>(&PT(I, 1), NPTCOL));
    run.u.close(LXCH);
  }
  PRS.KHELD = 0;
  PRS.NPRES = NPRES;
  // Width: WA, and WP from the first row below the excavation-side ground surface on.
  double WIDTH = SOIL.WA;
  for (int I = 1; I <= NPRES; ++I) {
    if (PT(I, PT_DEPTH) > C.XEXC) WIDTH = SOIL.WP;
    for (int K = PT_ACTIVE; K <= PT_TOTAL; ++K) PT(I, K) = PT(I, K) * WIDTH;
    PT(I, PT_LOAD) = PT(I, PT_TOTAL);
  }
  // The listing shows PT_LOAD as a force per unit length of wall; then it becomes the
  // load per station, once.
  for (int I = 1; I <= NPRES; ++I)
    if (LISTED(run, I, NPRES))
      io::write(run, LOUT, "(6X,1P,E10.3,10X,1P,E10.3)", PRDEP(C, PT(I, PT_DEPTH)), PT(I, PT_LOAD));
  for (int I = 1; I <= NPRES; ++I) PT(I, PT_LOAD) = PT(I, PT_LOAD) * C.H;
  // The widths and the increment length may carry a table of finite pressures beyond
  // the range of the numbers.
  for (int I = 1; I <= NPRES; ++I)
    for (int K = 1; K <= NPTCOL; ++K)
      if (!std::isfinite(PT(I, K)))
        NONFIN(run, "ROW " + std::to_string(I) + " OF THE PRESSURE TABLE TIMES THE WIDTHS WA, WP AND H",
               INREC(run, "wall record of the earth-pressure data", 0, run.m.SOIL.LWALL));
}

// Option 1: the specified pairs, with the surcharges of the list, times H.
void SPECEP(Run& run) {
  const auto& C = run.m.C;
  const auto& SOIL = run.m.SOIL;
  auto& PRS = run.m.PRS;
  auto& PT = PRS.PT;
  io::write(run, LOUT, R"((/,/,6X,50("*"),/,6X,"*        SPECIFIED ACTIVE EARTH PRESSURE         *",/,6X,50("*"),/))");
  LSTHDR(run, run.m.LAB.ULEN3.view());
  if (SOIL.NSPP > MXSPP) TOOMCH(run, "NUMBER OF SPECIFIED PRESSURE PAIRS", SOIL.NSPP, MXSPP);
  const int N = std::max(SOIL.NSPP, 0);
  // The surcharge list and the free height are those of the last generated problem.
  run.m.EP.HFREE = SOIL.HFREE;
  const bool SURCH = SOIL.NSUR > 0;
  if (SURCH) SURREF(run);
  PRS.NPRES = 0;
  for (int I = 1; I <= N; ++I) {
    const double D = SOIL.SPPD(I), P = SOIL.SPPP(I);
    io::write(run, LOUT, "(6X,1P,E10.3,10X,1P,E10.3)", D, P);
    for (int K = 1; K <= NPTCOL; ++K) PT(I, K) = 0;
    PT(I, PT_DEPTH) = D;
    PT(I, PT_ACTIVE) = P;
    PT(I, PT_LOAD) = P * C.H;
    if (SURCH) {
      SURPRS(run, D);
      PT(I, PT_SURCHARGE) = run.m.EP.SIGMAH * SOIL.WA;
      PT(I, PT_LOAD) = (PT(I, PT_ACTIVE) + PT(I, PT_SURCHARGE)) * C.H;
    }
    if (!std::isfinite(PT(I, PT_LOAD)) || !std::isfinite(PT(I, PT_SURCHARGE)))
      NONFIN(run, "THE LOAD OF SPECIFIED PRESSURE " + std::to_string(I) + (SURCH ? " WITH THE SURCHARGES" : ""),
             INREC(run, "specified pressure", I, run.m.SOIL.LSPP(std::min(I, MXSPP))));
  }
  PRS.NPRES = N;
}

}  // namespace

void EARTHP(Run& run) {
  const int KEP = run.m.C.KEP;
  run.m.PRS.NPRES = 0;
  if (KEP >= 2) {
    PRESS7(run);
    PRSBAK(run);
    PLTPRS(run);
  } else if (KEP == 1) {
    SPECEP(run);
    PLTPRS(run);
  } else if (KEP == 0) {
    io::list_write(run, LPLT, 0);
  }
}
