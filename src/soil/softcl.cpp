// softcl.cpp -- p-y curves of soft clay, static and cyclic: the cube-root curve up to
// the ultimate resistance Np*c*b (or the earth-pressure form of a continuous wall),
// softened beyond three y50 under cyclic loading. Serves every type code without a
// model of its own.
#include <cmath>
#include <string>

#include "soil/soil_impl.h"

namespace {

constexpr double JSOFT = 0.5;      // J of the ultimate resistance
constexpr double YMIN = 1.0E-14;   // smallest deflection the curve formula takes
// Deflections of the 17 points as fractions of 8*y50.
constexpr double YFRAC[NPYP] = {0,   0.00025, 0.0025, 0.0075, 0.02, 0.04, 0.06, 0.1, 0.15,
                                0.225, 0.3,   0.4,    0.5,    0.65, 0.8,  1.0,  1.2};

}  // namespace

void SOFTPY(double PU, double Y50, double XS, double XR, bool CYC, PyCurve& CV, Arr<int, 1, NPYP>& WARN,
            double& K0) {
  K0 = 0.5 * PU * std::cbrt(Y50 / YMIN) / Y50;
  const double PR = 0.72 * PU, PE = 0.72 * PU * XS / XR;
  for (int J = 1; J <= NPYP; ++J) {
    const double Y = 8 * Y50 * YFRAC[J - 1];
    double P = 0;
    WARN(J) = 0;
    if (Y < YMIN) {
      P = K0 * Y;
      WARN(J) = J > 1 ? 1 : 0;
    } else if (Y <= 3 * Y50 || (!CYC && Y <= 8 * Y50)) {
      P = 0.5 * PU * std::cbrt(Y / Y50);
    } else if (!CYC) {
      P = PU;
    } else if (XS < XR) {
      P = Y <= 15 * Y50 ? PR + (Y - 3 * Y50) * (PE - PR) / (12 * Y50) : PE;
    } else {
      P = PR;
    }
    CV.Y(J) = Y;
    CV.P(J) = P;
  }
}

void SOFTCL(Run& run, int N) {
  const auto& SW = run.m.SW;
  const auto& S = run.m.SOIL;
  const bool ENG = run.m.C.IUNIT == ENGLISH;
  const double B = S.WP;
  const bool CONT = SW.SRATIO < 1.1;  // continuous wall: earth-pressure form
  const bool CYC = CYCLIC(run.m);
  const double THETA = S.BETAE / DEGRAD;
  const double SLOPE = THETA > 0 ? 1 / (1 + std::tan(THETA)) : 1.0;
  double CU = 0, E50 = 0, GAMMA = 0;

  // Strength, E50 and unit weight once per curve depth, at the depth below the
  // excavation surface; the side depth enters only the resistance.
  auto AT_DEPTH = [&](int, double D) {
    CU = CLOOK(run, D);
    E50 = E50LK(run, D);
    GAMMA = GAMAVG(run, D);
    // An E50 of 0 (or below) leaves the curve without a deflection scale.
    PYPOS(run, N, E50, "E50", "SOFT CLAY");
    return EqIn{KQSOFT, CU, CU, GAMMA, B, 0};
  };

  auto AT_SIDE = [&](int KSIDE, double X, double XS) {
    // Steps 1 to 3: ultimate resistance.
    double PU = 0;
    if (!CONT) {
      double NP = CU > 0 ? 3 + GAMMA * XS / CU + JSOFT * XS / B : 0;
      if (KSIDE == KEXCS) NP = NP * SLOPE;
      PU = NP <= 9 ? NP * CU * B : 9 * CU * B;
    } else {
      PU = PUCONT(run, KSIDE, CU, GAMMA, XS, B, SLOPE);
    }
    // Steps 4 to 6: the curve.
    const double Y50 = 2.5 * E50 * (CONT ? SW.YREF : B);
    const double DEN = GAMMA * B + JSOFT * CU;
    double XR = DEN > 0 ? 6 * CU * B / DEN : 0;
    if (!(XR >= 1.0E-6)) XR = B;
    PyCurve CV;
    Arr<int, 1, NPYP> WARN;
    double K0 = 0;
    SOFTPY(PU, Y50, XS, XR, CYC, CV, WARN, K0);
    // Step 7: multipliers and the pressure offset.
    double PM = 1, YM = 1;
    PYMODS(run, X, KSIDE, PYOFFS(run, X, CU, B), CV, PM, YM);
    // Step 8: the report and the curve-exchange records.
    PYSIDE(run, KSIDE);
    const auto& L = SW;
    io::write(run, LOUT, R"((/,9X,"DEPTH BELOW GS",7X,"DIAM",8X,"C",7X,"GAMMA AVG",6X,"E50"))");
    io::write(run, LOUT, R"((15X,A3,14X,A2,3X,A3,"/",A2,"**2",3X,A3,"/",A2,"**3"))", L.UDEP, L.ULEN, L.UFOR,
              L.ULEN, L.UFOR, L.ULEN);
    io::write(run, LOUT, "(8X,F10.2,6X,F10.3,1X,1P,E11.4,1X,1P,E11.4,1X,1P,E12.4)", ENG ? XS / 12 : XS, B, CU,
              GAMMA, E50);
    io::write(run, LOUT, R"((/,37X,"Y,",A2,13X,"P,",A3,A1,A2))", L.ULEN, L.UFOR, "/", L.ULEN);
    for (int J = 1; J <= NPYP; ++J) {
      PYLINE(run, "(1X,20X,2F20.3)", "(I5,2(1X,1P,E10.3))", J, CV.Y(J), CV.P(J));
      if (WARN(J) != 0)
        io::write(run, LOUT, R"((/,29X,"**** WARNING ****",/,5X,"DEFLECTION IS LESS THAN 1.0E-14.  THE PROGRAM",/,5X,"USED A SOIL MODULUS OF ",E12.4))", K0);
    }
    PYMULT(run, PM, YM);
    // The resistance of the layer integral: pu, or its cyclic value.
    if (!CYC) return PU;
    return XS >= XR ? 0.72 * PU : 0.72 * PU * XS / XR;
  };

  PYLAYR(run, N, AT_DEPTH, AT_SIDE);
}
