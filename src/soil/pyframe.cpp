// pyframe.cpp -- what the soil models share around their curves: the side depth with
// the equivalent depth, the multipliers and the pressure offset, the side lines, point
// lines and multiplier line of the report, the records of the curve-exchange file,
// and the layer integrals behind the equivalent depth.
#include <algorithm>
#include <cmath>
#include <string>

#include "report/report.h"
#include "soil/soil_impl.h"

double XSIDE(Run& run, int N, double D, int KSIDE) {
  const auto& SW = run.m.SW;
  double X = N == 1 ? D : SW.HEQ(N) + (D - SW.XT(N));
  if (KSIDE == KBACK) X += run.m.C.XEXC;
  return X;
}

void PYXHDR(Run& run, double X) {
  auto& SW = run.m.SW;
  if (!io::list_write_held(run, LPYW, X, 2 * NPYP) || SW.NHELD == MXXCRV) {
    SW.KHELD = 0;
    return;
  }
  const int IC = ++SW.NHELD;
  SW.HX(IC) = X;
  SW.HNPT(IC) = 0;
}

void PYSIDE(Run& run, int KSIDE) {
  if (KSIDE == KEXCS) {
    io::write(run, LOUT, R"((/,/,9X,"AT THE EXCAVATION SIDE"))");
  } else {
    io::write(run, LOUT, R"((/,/,9X,"AT THE BACKFILL SIDE"))");
  }
}

void PYMODS(Run& run, double X, int KSIDE, double OFFSET, PyCurve& CV, double& PM, double& YM) {
  PM = PMULT(run, X);
  YM = YMULT(run, X);
  const double SIGN = KSIDE == KEXCS ? -1.0 : 1.0;
  for (int J = 1; J <= NPYP; ++J) {
    CV.Y(J) = CV.Y(J) * YM;
    CV.P(J) = CV.P(J) * PM + SIGN * OFFSET;
  }
}

void PYLINE(Run& run, const char* LINE, const char* XREC, int J, double Y, double P) {
  auto& SW = run.m.SW;
  // A point out of the range of the numbers ends the run here, naming its soil layer,
  // before it reaches the report or the curve-exchange file.
  if (!std::isfinite(Y) || !std::isfinite(P)) {
    const int N = std::clamp(SW.NLCUR, 1, MXLAY);
    const int L = std::clamp(SW.LNUM(N), 1, MXLAY);
    run.u.close(LPYW);
    NONFIN(run, "POINT " + std::to_string(J) + " OF A P-Y CURVE OF SOIL LAYER " + std::to_string(L),
           INREC(run, "soil layer", L, run.m.SOIL.LLAY(L)) + "; " +
               INREC(run, "wall record", 0, run.m.SOIL.LWALL));
  }
  io::write(run, LOUT, LINE, Y, P);
  // The point as the file holds it (P and Y rounded as their fields show them).
  const bool HELD = io::write_held(run, LPYW, XREC, J, P, Y);
  const int IC = SW.NHELD;
  if (!HELD || IC < 1 || SW.HNPT(IC) == MXXPT) {
    SW.KHELD = 0;
    return;
  }
  const int K = ++SW.HNPT(IC);
  SW.HP(IC, K) = P;
  SW.HY(IC, K) = Y;
}

void PYMULT(Run& run, double PM, double YM) {
  io::write(run, LOUT, R"((/,21X," P-Multiplier = ",1P,E10.3," Y-Multiplier = ",1P,E10.3))", PM, YM);
}

// The station load at X is divided by h in QLOAD and only by the spacing ratio here.
double PYOFFS(Run& run, double X, double C, double B) {
  const double Q = QLOAD(run, X) / run.m.SW.SRATIO - 2 * C * B;
  return Q > 1.0E-10 ? Q : 0.0;
}

void FACCUM(Run& run, int N, int I, double D, double R) {
  auto& SW = run.m.SW;
  if (I == 1) {
    SW.F(N) = 0;
  } else {
    SW.F(N) += 0.5 * (SW.FPREV + R) * (D - SW.DPREV);
  }
  SW.FPREV = R;
  SW.DPREV = D;
}

void FBOTTM(Run& run, int N, double R) {
  auto& SW = run.m.SW;
  SW.F(N) += R * (SW.XB(N) - SW.DPREV);
}

void PYERR(Run& run, int N, const std::string& TEXT) {
  run.u.close(LPYW);
  const auto& S = run.m.SOIL;
  const int J = run.m.SW.LNUM(N);
  if (J < 1 || J > MXLAY || S.LLAY(J) < 1) INPERR(run, TEXT);
  INPERR(run, TEXT + " (INPUT LINES " + std::to_string(S.LLAY(J)) + " TO " + std::to_string(S.LLBOT(J)) + ")");
}

void PYPOS(Run& run, int N, double V, const char* WHAT, const char* MODEL) {
  if (V > 0) return;
  PYERR(run, N, std::string("ERROR -- ") + WHAT + " MUST BE POSITIVE FOR THE P-Y CURVES OF SOIL LAYER " +
                 std::to_string(run.m.SW.LNUM(N)) + " (" + MODEL + " MODEL)");
}

double PUCONT(Run& run, int KSIDE, double C, double GAMMA, double XS, double B, double SLOPE) {
  if (KSIDE == KEXCS) return (2 * C + GAMMA * XS) * B * SLOPE;
  return (2 * C + SVBACK(run, XS)) * B;
}
