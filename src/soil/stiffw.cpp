// stiffw.cpp -- p-y curves of stiff clay with free water, static and cyclic: a square-root
// start that softens to a residual resistance, from the ultimate resistance of the clay
// wedge (or of flow around the element, or the earth-pressure form of a continuous wall).
#include <algorithm>
#include <cmath>
#include <string>

#include "soil/soil_impl.h"

void STIFWC(double PC, double Y50, double AS, double AC, double KX, bool CYC, PyCurve& CV) {
  CV.Y(1) = 0;
  if (!CYC) {
    const double YA = AS * Y50;
    for (int J = 1; J <= 12; ++J) CV.Y(1 + J) = 0.5 * J * YA;
    CV.Y(14) = 10 * YA;
    CV.Y(15) = 14 * YA;
    CV.Y(16) = 18 * YA;
    CV.Y(17) = 200 * YA;
    for (int J = 1; J <= NPYP; ++J) {
      const double Y = CV.Y(J);
      double P = 0;
      if (Y <= YA) {
        P = 0.5 * PC * std::sqrt(Y / Y50);
      } else if (Y <= 6 * YA) {
        P = PC * (0.5 * std::sqrt(Y / Y50) - 0.055 * std::pow(Y / YA - 1, 1.25));
      } else if (Y <= 18 * YA) {
        P = 0.5 * PC * std::sqrt(6 * AS) - 0.411 * PC - 0.0625 * PC / Y50 * (Y - 6 * YA);
      } else {
        P = PC * (1.225 * std::sqrt(AS) - 0.75 * AS - 0.411);
      }
      CV.P(J) = std::min(P, KX * Y);
    }
  } else {
    const double YP = 4.1 * AS * Y50;
    for (int J = 1; J <= 12; ++J) CV.Y(1 + J) = 0.05 * J * YP;
    CV.Y(14) = 1.0 * YP;
    CV.Y(15) = 1.4 * YP;
    CV.Y(16) = 1.8 * YP;
    CV.Y(17) = 20 * YP;
    for (int J = 1; J <= NPYP; ++J) {
      const double Y = CV.Y(J);
      double P = 0;
      if (Y <= 0.6 * YP) {
        P = AC * PC * (1 - std::pow(std::fabs((Y - 0.45 * YP) / (0.45 * YP)), 2.5));
      } else if (Y <= 1.8 * YP) {
        P = 0.936 * AC * PC - 0.085 * PC * (Y - 0.6 * YP) / Y50;
      } else {
        P = 0.936 * AC * PC - 0.102 * PC * YP / Y50;
      }
      CV.P(J) = std::min(P, KX * Y);
    }
  }
}

void STIFFW(Run& run, int N) {
  auto& SW = run.m.SW;
  const auto& S = run.m.SOIL;
  const bool ENG = run.m.C.IUNIT == ENGLISH;
  const double B = S.WP;
  const bool CONT = SW.SRATIO < 1.1;
  const bool CYC = CYCLIC(run.m);
  const double THETA = S.BETAE / DEGRAD;
  const double SLOPE = THETA > 1.0E-20 ? 1 / (1 + std::tan(THETA)) : 1.0;
  double CU = 0, CA = 0, GAMMA = 0, E50 = 0, KPY = 0;

  auto AT_DEPTH = [&](int I, double D) {
    CU = CLOOK(run, D);
    CA = CAVG(run, N, I);
    GAMMA = GAMAVG(run, D);
    E50 = E50LK(run, D);
    KPY = KPYLK(run, D);
    PYPOS(run, N, E50, "E50", "STIFF CLAY WITH FREE WATER");
    // Every p is held under k*x*y: without k the curve would carry nothing.
    PYPOS(run, N, KPY, "KPY", "STIFF CLAY WITH FREE WATER");
    return EqIn{KQSTW, CU, CA, GAMMA, B, 0};
  };

  auto AT_SIDE = [&](int KSIDE, double X, double XS) {
    const bool EXC = KSIDE == KEXCS;
    // Steps 1 to 3: ultimate resistance.
    double PC = 0;
    if (!CONT) {
      double PCT = 2 * CA * B + GAMMA * B * XS + 2.83 * CA * XS;
      if (EXC) PCT = PCT * SLOPE;
      PC = std::min(PCT, 11 * CU * B);
    } else {
      PC = PUCONT(run, KSIDE, CU, GAMMA, XS, B, SLOPE);
    }
    // The curve, static or cyclic, with the coefficients at x/b.
    const double Y50 = E50 * (CONT ? SW.YREF : B);
    const double AS = STIFAS(XS / B), AC = STIFAC(XS / B);
    PyCurve CV;
    STIFWC(PC, Y50, AS, AC, KPY * XS, CYC, CV);
    double PMU = 1, YMU = 1;
    PYMODS(run, X, KSIDE, PYOFFS(run, X, CU, B), CV, PMU, YMU);
    // The report and the curve-exchange records.
    PYSIDE(run, KSIDE);
    io::write(run, LOUT, R"((/,/,9X,"DEPTH BELOW GS",6X,"DIAM",8X,"C",9X,"CAVG",4X,"GAMMA AVG",6X,"E50"))");
    io::write(run, LOUT, R"((16X,A3,13X,A2,2X,A3,"/",A2,"**2",2X,A3,"/",A2,"**2",2X,A3,"/",A2,"**3"))", SW.UDEP,
              SW.ULEN, SW.UFOR, SW.ULEN, SW.UFOR, SW.ULEN, SW.UFOR, SW.ULEN);
    io::write(run, LOUT, "(9X,F10.2,5X,F10.3,3(1X,1P,E10.2),1P,E12.4)", ENG ? XS / 12 : XS, B, CU, CA, GAMMA, E50);
    io::write(run, LOUT, R"((/,37X,"Y,",A2,13X,"P,",A3,A1,A2))", SW.ULEN, SW.UFOR, "/", SW.ULEN);
    for (int J = 1; J <= NPYP; ++J) PYLINE(run, "(21X,2F20.3)", "(I5,1X,1P,E10.3,1X,1P,E10.3)", J, CV.Y(J), CV.P(J));
    PYMULT(run, PMU, YMU);
    // The layer integral takes the residual resistance, as the equivalent depth does.
    const double FS = CYC ? 0.936 * AC - 0.418 * AS : 1.225 * std::sqrt(AS) - 0.411 - 0.75 * AS;
    return PC * FS;
  };

  PYLAYR(run, N, AT_DEPTH, AT_SIDE);
}
