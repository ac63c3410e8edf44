// profile.cpp -- what every soil model looks up at a depth: strength, friction angle,
// E50, rock quality and KPY in the strength distribution, the average unit weight, the
// average strength, the vertical stress of the backfill, the earth-pressure load of a
// station, and the P- and Y-multipliers.
#include <algorithm>
#include <cmath>
#include <string>

#include "report/report.h"
#include "soil/soil_impl.h"

namespace {

// How a doubled boundary point (bottom of the upper layer, top of the lower) is read.
enum class Bound { LOWER, MEAN };
constexpr double VTINY = 1.0E-20;  // a boundary value below this counts as not given

// Value of column V of the strength distribution at D: linear between the two points
// around D; at a doubled boundary point by the rule B. PASTEND is set when D lies below
// the last point (the last value is returned).
double DLOOK(const SoilWork& SW, const Table<double, 1, MXSTRP>& V, double D, Bound B, bool& PASTEND) {
  const auto& XS = SW.XS;
  const int N = SW.NSP;
  PASTEND = false;
  if (N <= 0) {
    PASTEND = true;
    return 0;
  }
  if (!(D <= XS(N))) {
    PASTEND = true;
    return V(N);
  }
  if (D < XS(1)) return V(1);
  for (int I = 1; I <= N; ++I) {
    if (D == XS(I)) {
      if (I == N || XS(I + 1) != XS(I)) return V(I);
      const double UP = V(I), LO = V(I + 1);
      if (B == Bound::LOWER) return LO >= VTINY ? LO : UP;
      if (UP >= VTINY && LO >= VTINY) return 0.5 * (UP + LO);
      return UP >= VTINY ? UP : LO;
    }
    if (I < N && XS(I) < D && D < XS(I + 1))
      return V(I) + (V(I + 1) - V(I)) * (D - XS(I)) / (XS(I + 1) - XS(I));
  }
  return V(N);
}

// The warning of a depth beyond one of the input curves, written twice to the console.
void WARNPAST(Run& run, double D, const char* LAYOUT) {
  for (int K = 1; K <= 2; ++K) io::write(run, LCON, LAYOUT, D);
}

// The stop of a lookup below the end of a distribution WHAT that ends at XEND: the depth
// X and the end below the top of the wall, the deepest layer that reaches there.
[[noreturn]] void BEYSTP(Run& run, std::string_view CODE, const char* WHAT, double X, double XEND) {
  const auto& SW = run.m.SW;
  const auto& S = run.m.SOIL;
  std::string T = "ERROR -- A P-Y CURVE NEEDS THE " + std::string(WHAT) + " AT THE DEPTH " + LTEXT(run, X) +
                  " BELOW THE TOP OF THE WALL, BELOW THE END OF ITS DISTRIBUTION AT " + LTEXT(run, XEND);
  if (SW.NLI >= 1 && SW.LNUM(SW.NLI) >= 1 && SW.LNUM(SW.NLI) <= MXLAY) {
    const int J = SW.LNUM(SW.NLI);
    T += " (" + ATLINE("BOTTOM OF SOIL LAYER " + std::to_string(J), S.LLAY(J)) + ")";
  }
  STOPMS(run, CODE, T);
}

}  // namespace

double CLOOK(Run& run, double D) {
  bool PASTEND = false;
  const double V = DLOOK(run.m.SW, run.m.SW.SS, D, Bound::LOWER, PASTEND);
  if (PASTEND) {
    WARNPAST(run, D, R"((/,29X,"**** WARNING ****",/,5X,"THE VALUE OF X =",E9.2,"IS BEYOND THE EXTENT OF",/,5X,"THE INPUT STRENGTH CURVE"))");
    BEYSTP(run, "1", "STRENGTH", run.m.C.XEXC + D, run.m.C.XEXC + run.m.SW.XS(std::max(run.m.SW.NSP, 1)));
  }
  return V;
}

double PHILK(Run& run, double D) {
  bool PASTEND = false;
  const double V = DLOOK(run.m.SW, run.m.SW.PHIS, D, Bound::MEAN, PASTEND);
  if (PASTEND) {
    WARNPAST(run, D, R"((/,29X,"**** WARNING ****",/,5X,"THE VALUE OF X =",E9.2,"IS BEYOND THE EXTENT OF",/,5X,"THE INPUT PHI CURVE"))");
    // the method gives this stop no code
    BEYSTP(run, "", "FRICTION ANGLE", run.m.C.XEXC + D, run.m.C.XEXC + run.m.SW.XS(std::max(run.m.SW.NSP, 1)));
  }
  return V;
}

double E50LK(Run& run, double D) {
  bool PASTEND = false;
  return DLOOK(run.m.SW, run.m.SW.E50S, D, Bound::MEAN, PASTEND);
}

double RQDLK(Run& run, double D) {
  bool PASTEND = false;
  return DLOOK(run.m.SW, run.m.SW.RQDS, D, Bound::MEAN, PASTEND);
}

double KPYLK(Run& run, double D) {
  bool PASTEND = false;
  return DLOOK(run.m.SW, run.m.SW.KPYS, D, Bound::MEAN, PASTEND);
}

// Trapezoid-rule integral of the unit-weight distribution from the surface to D,
// divided by D. Near the surface the first positive weight of the distribution.
double GAMAVG(Run& run, double D) {
  const auto& SW = run.m.SW;
  const auto& XG = SW.XG;
  const auto& GG = SW.GG;
  const int N = SW.NGP;
  if (N <= 0 || !(D <= XG(N)))
    BEYSTP(run, "4", "AVERAGE UNIT WEIGHT", run.m.C.XEXC + D, run.m.C.XEXC + (N > 0 ? XG(N) : 0.0));
  if (D < 1.0E-6) {
    for (int I = 1; I <= N; ++I)
      if (GG(I) > 0) return GG(I);
    return 0;
  }
  double SUM = 0;
  for (int I = 1; I < N; ++I) {
    const double X0 = XG(I), X1 = XG(I + 1);
    if (D <= X0) break;
    if (X1 <= X0) continue;  // the break at the water table or a layer boundary
    const double XE = std::min(D, X1);
    const double GE = XE == X1 ? GG(I + 1) : GG(I) + (GG(I + 1) - GG(I)) * (XE - X0) / (X1 - X0);
    SUM += 0.5 * (GG(I) + GE) * (XE - X0);
  }
  return SUM / D;
}

double CAVG(Run& run, int N, int I) {
  auto& SW = run.m.SW;
  if (N == 1) {
    // Mean of the top strength and the strength at the depth, within the layer.
    const double D = SW.XC(1, I);
    if (SW.NSP <= 0 || !(D <= SW.XS(SW.NSP)))
      io::write(run, LOUT, R"((/,29X,"**** WARNING ****",/,5X,"THE VALUE OF X =",E9.2,"IS BEYOND THE EXTENT OF THE",/,5X,"INPUT CURVE FOR STRENGTH"))", D);
    const double T = SW.XB(1) - SW.XT(1);
    const double CX = T > 0 ? SW.ST(1) + (SW.SB(1) - SW.ST(1)) * (D - SW.XT(1)) / T : SW.ST(1);
    return 0.5 * (SW.ST(1) + CX);
  }
  // Trapezoid average over the layer's curve depths down to this one.
  if (I <= 1) return CLOOK(run, SW.XC(N, 1));
  double SUM = 0, CP = CLOOK(run, SW.XC(N, 1));
  for (int J = 2; J <= I; ++J) {
    const double CJ = CLOOK(run, SW.XC(N, J));
    SUM += 0.5 * (CP + CJ) * (SW.XC(N, J) - SW.XC(N, J - 1));
    CP = CJ;
  }
  const double SPAN = SW.XC(N, I) - SW.XC(N, 1);
  return SPAN > 0 ? SUM / SPAN : CP;
}

// Surcharge plus the weight of the input layers down to X; sand layers below the
// backfill water table weigh less by the water they displace.
double SVBACK(Run& run, double X) {
  const auto& S = run.m.SOIL;
  const double GAMW = run.m.SW.GAMW;
  const int NL = std::clamp(S.NL, 0, MXLAY);
  double SV = S.QSURF, ZTOP = 0;
  for (int J = 1; J <= NL; ++J) {
    const double ZB = S.ZBOT(J);
    if (!(ZB > ZTOP)) break;  // a layer of no thickness ends the profile
    if (X <= ZTOP) break;
    const double ZE = std::min(X, ZB);
    SV += S.GAMMA(J) * (ZE - ZTOP);
    if (S.LTYPE(J) == 4) {
      const double WET = ZE - std::max(ZTOP, S.ZWA);
      if (WET > 0) SV -= GAMW * WET;
    }
    ZTOP = ZB;
  }
  if (!(X <= ZTOP)) {
    io::write(run, LOUT, R"((/,29X,"**** WARNING ****",/,5X,"THE VALUE OF X =",E9.2,"IS BEYOND THE EXTENT OF",/,5X,"THE INPUT CURVE FOR UNIT WEIGHT"))", X);
    BEYSTP(run, "4", "VERTICAL STRESS OF THE BACKFILL", X, ZTOP);
  }
  return SV;
}

// Column 2 of the pressure table (the load of a station) at X, divided by h once.
double QLOAD(Run& run, double X) {
  const auto& PT = run.m.PRS.PT;
  const int N = std::min(run.m.PRS.NPRES, MXPRES);
  if (N <= 0) return 0;
  double Q = PT(N, PT_LOAD);
  if (X <= PT(1, PT_DEPTH)) {
    Q = PT(1, PT_LOAD);
  } else if (X < PT(N, PT_DEPTH)) {
    for (int I = 1; I < N; ++I) {
      const double X0 = PT(I, PT_DEPTH), X1 = PT(I + 1, PT_DEPTH);
      if (X0 <= X && X < X1) {
        Q = PT(I, PT_LOAD) + (PT(I + 1, PT_LOAD) - PT(I, PT_LOAD)) * (X - X0) / (X1 - X0);
        break;
      }
    }
  }
  return Q / run.m.C.H;
}

namespace {

// Factor of the modification table at X: linear between rows, the row's value at an
// exact row depth, 1.0 above the first row and below the last.
double PYMTAB(const SoilInput& S, int N, const Table<double, 1, MXPYM>& V, double X) {
  const auto& D = S.PYMD;
  if (X < D(1) || X > D(N)) return 1.0;
  for (int I = 1; I <= N; ++I)
    if (X == D(I)) return V(I);
  for (int I = 1; I < N; ++I)
    if (D(I) < X && X < D(I + 1)) return V(I) + (V(I + 1) - V(I)) * (X - D(I)) / (D(I + 1) - D(I));
  return 1.0;
}

}  // namespace

double PMULT(Run& run, double X) {
  const auto& S = run.m.SOIL;
  // Step 1: closely-spaced wall elements, r = WA/WP as given.
  const double R = run.m.SW.RWAWP;
  double F = 0.5292 * std::pow(R, 0.5659);
  if (R >= 3.1 || R < 1.1 || X < run.m.C.XEXC || !std::isfinite(F)) F = 1.0;
  // Steps 2 and 3: the modification table, and its option.
  const int N = std::min(run.m.C.NPYMOD, MXPYM);
  if (N <= 0) return F;
  double P = PYMTAB(S, N, S.PYMP, X);
  if (S.KPYOPT == 1) P = P * F;
  return P;
}

double YMULT(Run& run, double X) {
  const auto& S = run.m.SOIL;
  const int N = std::min(run.m.C.NPYMOD, MXPYM);
  if (N <= 0) return 1.0;
  return PYMTAB(S, N, S.PYMY, X);
}
