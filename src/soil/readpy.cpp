// readpy.cpp -- the generated p-y curves read back from the curve-exchange file: one
// 33-point support curve per curve depth at its nearest station, the backfill side for
// negative deflections and the excavation side for positive ones, with their copies in
// the plot output file. The curves come as PYGEN kept them while it wrote the file,
// rounded as the file holds them, or, when it could not keep them, from the file itself.
#include <algorithm>
#include <cmath>
#include <string>

#include "report/report.h"
#include "soil/soil_impl.h"

namespace {

constexpr int NPSUP = 33;  // points of a support curve built from the two sides
static_assert(NPSUP <= MXCPT, "the support curve of a curve depth fits a record of CRV");

// Leave the file and end the run with the message of F.
template <class F>
[[noreturn]] void XCHEND(Run& run, F&& END) {
  run.u.close(LXCH);
  END();
  throw EndRun{};  // not reached: END ends the run
}

// PYGEN kept every generated curve that the count record announces, each with the
// points of both sides.
bool KEPT(const SoilWork& SW) {
  if (SW.KHELD != 1 || SW.NHELD != SW.NXCNT - SW.NUSRF) return false;
  for (int IC = 1; IC <= SW.NHELD; ++IC)
    if (SW.HNPT(IC) != 2 * NPYP) return false;
  return true;
}

}  // namespace

void READPY(Run& run) {
  const auto& C = run.m.C;
  auto& SW = run.m.SW;
  auto& CRV = run.m.CRV;
  const bool HELD = KEPT(SW);
  SW.KHELD = 0;
  // Step 1: the count, to the console and the plot output file. The plot file counts the
  // curve blocks that follow it, the generated curves: the user curves at the head of the
  // exchange file have their blocks already, ahead of this record (USRCRV).
  int NCURV = 0;
  if (HELD) {
    NCURV = SW.NXCNT;
  } else {
    run.u.open(LXCH, run.m.D.NAMES[9].trimmed(), "curve-exchange file", true);
    io::list_read(run, LXCH, {"curve-exchange file, number of curves", 0, "NCURV"}, NCURV);
  }
  const int NSKIP = std::clamp(SW.NUSRF, 0, std::max(NCURV, 0));
  io::list_write(run, LCON, NCURV);
  io::list_write(run, LPLT, C.IUNIT, NCURV - NSKIP);
  // Step 2: the limit (the user curves and as many generated ones as the layers can
  // have), a negative count, no curve. The file is closed in every case.
  if (NCURV > MXXCRV) XCHEND(run, [&] { TOOMCH(run); });
  if (NCURV < 0) XCHEND(run, [&] { ENDSIL(run); });
  if (NCURV == 0) {
    io::write(run, LOUT, "(/,A)", "                    ");
    run.u.close(LXCH);
    return;
  }
  // The user curves at the head of the file were taken from the input already.
  for (int I = 1; I <= NSKIP && !HELD; ++I) {
    int KEY = 0, NP = 0;
    io::list_read(run, LXCH, {"curve-exchange file, user curve", I, "KEY NPOINTS"}, KEY, NP);
    if (NP < 0 || NP > MXCPT)
      XCHEND(run, [&] { INPERR(run, "ERROR -- CURVE-EXCHANGE FILE: USER CURVE " + std::to_string(I) +
                                         " HAS " + std::to_string(NP) + " POINTS"); });
    for (int J = 1; J <= NP; ++J) {
      int IDUM = 0;
      double Y = 0, P = 0;
      io::list_read(run, LXCH, {"curve-exchange file, user curve point", J, "J Y P"}, IDUM, Y, P);
    }
  }
  const int NG = NCURV - NSKIP;
  if (CRV.NCRV + NG > MXCRV)
    XCHEND(run, [&] { TOOMCH(run, "NUMBER OF SUPPORT CURVES", CRV.NCRV + NG, MXCRV); });
  // Step 3: each generated curve.
  double X = 0, PF[2 * NPYP + 1] = {}, YF[2 * NPYP + 1] = {};
  for (int IC = 1; IC <= NG; ++IC) {
    int NPT = 0;
    if (HELD) {
      X = SW.HX(IC);
    } else {
      io::list_read(run, LXCH, {"curve-exchange file, curve", IC, "X NPOINTS"}, X, NPT);
    }
    NPT = NPSUP;
    const int IS = NEAREST(X / C.H);
    if (IS < -2 || IS > C.NI + 2)
      XCHEND(run, [&] { INPERR(run, "ERROR -- P-Y CURVE " + std::to_string(IC) +
                                         " LIES OUTSIDE THE STATIONS OF THE WALL (STATION " +
                                         std::to_string(IS) + ")"); });
    io::write(run, LPLT, "(1X,F10.2,1X,I5)", X, NPT);
    for (int J = 1; J <= 2 * NPYP; ++J) {
      if (HELD) {
        PF[J] = SW.HP(IC, J);
        YF[J] = SW.HY(IC, J);
      } else {
        int IDUM = 0;
        io::list_read(run, LXCH, {"curve-exchange file, curve point", J, "J P Y"}, IDUM, PF[J], YF[J]);
      }
    }
    // Backfill points 34 down to 18 with the deflection negated, then excavation points
    // 2 to 17 with the resistance negated; point 1 (the excavation origin) is not used.
    const int K = ++CRV.NCRV;
    CRV.FROM(K) = IS + 4;
    CRV.TO(K) = IS + 4;
    CRV.CONTD(K) = IC < NG ? 1 : 0;
    CRV.POINTS(K) = NPSUP;
    for (int KP = 1; KP <= NPSUP; ++KP) {
      double Y = 0, P = 0;
      if (KP <= NPYP) {
        Y = -YF[35 - KP];
        P = PF[35 - KP];
      } else {
        Y = YF[KP - 16];
        P = -PF[KP - 16];
      }
      io::list_write(run, LPLT, Y, P);
      CRV.Y(K, KP) = Y;
      CRV.F(K, KP) = P * C.H;  // force per station
      if (!std::isfinite(CRV.F(K, KP)))
        XCHEND(run, [&] {
          NONFIN(run, "THE FORCE PER STATION OF GENERATED P-Y CURVE " + std::to_string(IC) + ", P TIMES H,",
                 INREC(run, "second control record", 0, run.m.C.LCTL2));
        });
    }
  }
  // Step 4.
  run.u.close(LXCH);
}
