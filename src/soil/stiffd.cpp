// stiffd.cpp -- p-y curves of stiff clay without free water: a quarter-power curve up to
// the ultimate resistance, stretched by the number of cycles under cyclic loading.
#include <algorithm>
#include <cmath>
#include <string>

#include "soil/soil_impl.h"

namespace {

// Points 2 to 15 as fractions of ys = 16*y50.
constexpr double YSFRAC[14] = {0.00001, 0.00005, 0.0001, 0.0005, 0.001, 0.005, 0.01,
                               0.025,   0.05,    0.075,  0.1,    0.25,  0.5,   1.0};

}  // namespace

void STIFDC(double PU, double Y50, double NCYC, bool CYC, PyCurve& CV) {
  const double YS = 16 * Y50;
  const double L = 16 + 9.6 * std::log10(NCYC);
  const double YEND = 1.25 * Y50 * L;
  CV.Y(1) = 0;
  for (int J = 0; J < 14; ++J) CV.Y(2 + J) = YS * YSFRAC[J];
  CV.Y(16) = (YS + YEND) / 2;
  CV.Y(17) = YEND;
  const double YC = (1 + 0.6 * std::log10(NCYC)) * Y50;
  for (int J = 1; J <= NPYP; ++J) {
    const double Y = CV.Y(J);
    if (!CYC) {
      CV.P(J) = Y <= YS ? 0.5 * PU * std::pow(Y / Y50, 0.25) : PU;
    } else {
      CV.P(J) = std::min(PU, 0.5 * PU * std::pow(Y / YC, 0.25));
    }
  }
}

void STIFFD(Run& run, int N) {
  auto& SW = run.m.SW;
  const auto& S = run.m.SOIL;
  const bool ENG = run.m.C.IUNIT == ENGLISH;
  const double B = S.WP;
  const bool CONT = SW.SRATIO < 1.1;
  const bool CYC = CYCLIC(run.m);
  const double THETA = S.BETAE / DEGRAD;
  const double SLOPE = THETA > 1.0E-20 ? 1 / (1 + std::tan(THETA)) : 1.0;
  // One cycle under static loading; fewer than one cycle count as one, which keeps the
  // stretch factors of the curve positive.
  if (!CYC) SW.CYCLES = 1.0;
  const double NCYC = std::max(1.0, SW.CYCLES);
  double CU = 0, CA = 0, GAMMA = 0, E50 = 0;

  auto AT_DEPTH = [&](int I, double D) {
    CU = CLOOK(run, D);
    CA = CAVG(run, N, I);
    GAMMA = GAMAVG(run, D);
    E50 = E50LK(run, D);
    PYPOS(run, N, E50, "E50", "STIFF CLAY WITHOUT FREE WATER");
    return EqIn{KQSTD, CU, CA, GAMMA, B, 0};
  };

  auto AT_SIDE = [&](int KSIDE, double X, double XS) {
    const bool EXC = KSIDE == KEXCS;
    // Steps 1 to 3: ultimate resistance, never more than 9*c*b.
    double PU = 0;
    if (!CONT) {
      PU = (3 * B + 0.5 * XS) * CA + GAMMA * XS * B;
      if (EXC) PU = PU * SLOPE;
      PU = std::min(PU, 9 * CU * B);
    } else {
      PU = PUCONT(run, KSIDE, CU, GAMMA, XS, B, SLOPE);
    }
    // Steps 4 to 8: the curve.
    const double Y50 = 2.5 * E50 * (CONT ? SW.YREF : B);
    PyCurve CV;
    STIFDC(PU, Y50, NCYC, CYC, CV);
    double PMU = 1, YMU = 1;
    PYMODS(run, X, KSIDE, PYOFFS(run, X, CU, B), CV, PMU, YMU);
    // The report (five decimals) and the curve-exchange records.
    PYSIDE(run, KSIDE);
    io::write(run, LOUT, R"((/,/,10X,"DEPTH BELOW GS",5X,"DIAM",8X,"C",7X,"CAVG",4X,"GAMMA AVG",5X,"E50"))");
    io::write(run, LOUT, R"((17X,A3,13X,A2,1X,A3,"/",A2,"**2",1X,A3,"/",A2,"**2",1X,A3,"/",A2,"**3"))", SW.UDEP,
              SW.ULEN, SW.UFOR, SW.ULEN, SW.UFOR, SW.ULEN, SW.UFOR, SW.ULEN);
    io::write(run, LOUT, R"((10X,F10.2,5X,F10.3,1P,3E10.2,1P,E12.4,/,38X,"Y",19X,"P",/,38X,A2,15X,A3,A1,A2))",
              ENG ? XS / 12 : XS, B, CU, CA, GAMMA, E50, SW.ULEN, SW.UFOR, "/", SW.ULEN);
    for (int J = 1; J <= NPYP; ++J)
      PYLINE(run, "(1X,20X,2F20.5)", "(I5,1X,1P,E10.3,1X,1P,E10.3)", J, CV.Y(J), CV.P(J));
    PYMULT(run, PMU, YMU);
    return PU;
  };

  PYLAYR(run, N, AT_DEPTH, AT_SIDE);
}
