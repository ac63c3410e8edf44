// siltpy.cpp -- p-y curves of silt, a soil with cohesion and friction: the frictional
// resistance of sand and the cohesive resistance of clay, shaped by where the initial
// straight line meets the curve.
#include <algorithm>
#include <cmath>
#include <string>

#include "soil/soil_impl.h"

namespace {

constexpr double DELTA10 = 0.1745333;   // ten degrees of wall friction, radians
constexpr double COS10 = 0.9848077;     // its cosine

}  // namespace

int SILTCV(const SandPar& S, bool NOCURV, PyCurve& CV) {
  const double YP = NOCURV ? 0.0 : S.PU / S.KX;
  int SHAPE = 1;
  double YI = 0;
  if (!NOCURV && !(S.YK >= 0 && S.YK < S.YM)) {
    YI = (S.PM - S.YM * S.M) / (S.KX - S.M);
    if (YI >= S.YM && YI < S.YU) {
      SHAPE = 2;
    } else if (YP >= S.YU) {
      SHAPE = 3;
    }
  }
  if (SHAPE == 1) {
    SANDCV(S, true, NOCURV, CV);
  } else if (SHAPE == 2) {
    // The initial line meets the straight part at yi.
    CV.Y(1) = 0;
    for (int J = 1; J <= 8; ++J) CV.Y(1 + J) = YI * J / 8;
    for (int J = 1; J <= 5; ++J) CV.Y(9 + J) = YI + (S.YU - YI) * J / 6;
    CV.Y(15) = S.YU;
    CV.Y(16) = 1.1 * S.YU;
    CV.Y(17) = 1.2 * S.YU;
    for (int J = 1; J <= NPYP; ++J) {
      const double Y = CV.Y(J);
      double P = S.PU;
      if (Y <= YI) {
        P = S.KX * Y;
      } else if (Y <= S.YU) {
        P = S.KX * YI + S.M * (Y - YI);
      }
      CV.P(J) = std::min(P, S.KX * Y);
    }
  } else {
    // The initial line reaches pu directly at yp.
    for (int J = 0; J <= 12; ++J) CV.Y(1 + J) = YP * J / 12;
    CV.Y(14) = 1.05 * YP;
    CV.Y(15) = 1.1 * YP;
    CV.Y(16) = 1.15 * YP;
    CV.Y(17) = 1.2 * YP;
    for (int J = 1; J <= NPYP; ++J) CV.P(J) = CV.Y(J) <= YP ? S.KX * CV.Y(J) : S.PU;
  }
  return SHAPE;
}

void SILTPY(Run& run, int N) {
  auto& SW = run.m.SW;
  const auto& S = run.m.SOIL;
  const bool ENG = run.m.C.IUNIT == ENGLISH;
  const double B = S.WP;
  const bool CONT = SW.SRATIO < 1.1;
  const double BREF = CONT ? SW.YREF : B;
  const int KSTAT = CYCLIC(run.m) ? 0 : 1;
  const double THETAE = S.BETAE / DEGRAD;
  double PHID = 0, CU = 0, GAMMA = 0, KPY = 0;

  auto AT_DEPTH = [&](int, double D) {
    PHID = PHILK(run, D);
    CU = CLOOK(run, D);
    GAMMA = GAMAVG(run, D);
    KPY = KPYLK(run, D);
    PYPOS(run, N, KPY, "KPY", "SILT");
    return EqIn{KQSILT, CU, CU, GAMMA, B, PHID};
  };

  auto AT_SIDE = [&](int KSIDE, double X, double XS) {
    const bool EXC = KSIDE == KEXCS;
    const double THETA = EXC && std::fabs(THETAE) > 1.0E-15 ? THETAE : 0.0;
    const double PHI = PHID * PISAND / 180;
    // Steps 1 and 2: frictional resistance; steps 3 and 4: cohesive resistance.
    double PPHI = 0, PC = 0;
    if (!CONT) {
      double PST = 0, PSD = 0;
      SANDPS(PHID, GAMMA, XS, B, THETA, PST, PSD);
      PPHI = std::min(PST, PSD);
      PC = SILTPC(CU, GAMMA, XS, B, EXC ? THETAE : 0.0);
    } else if (PHID > 0 && XS > 0) {
      const double KP = KPLAYR(run, N, PHI, DELTA10, COS10, THETA);
      PPHI = EXC ? KP * B * XS * GAMMA : KP * B * SVBACK(run, XS);
      if (CU > 0) {
        PC = 2 * CU * std::sqrt(KP) * B;
        if (EXC && THETAE > 1.0E-20) PC = PC / (1 + std::tan(THETAE));
      }
    }
    // Steps 5 to 7: characteristic values and the shape.
    const double A = SANDA(KSTAT, XS / BREF), BC = SANDB(KSTAT, XS / BREF);
    const double PU = A * PPHI, PM = 1.5 * PPHI + PC;
    const bool NOCURV = !(PPHI > 0) || !(XS > 0);
    const SandPar P = SANDPR(PU, PM, 3 * BREF / 80, BREF / 60, KPY * XS, BREF, NOCURV);
    PyCurve CV;
    SILTCV(P, NOCURV, CV);
    // Step 8: multipliers and the offset, with the active coefficient of the side.
    const double TK = std::tan(PISAND / 4 - PHI / 2);
    double KA = TK * TK;
    if (EXC && THETAE > 1.0E-10) {
      const double CT = std::cos(THETAE), CP = std::cos(PHI);
      const double SR = std::sqrt(std::max(0.0, CT * CT - CP * CP));
      KA = CT * (CT - SR) / (CT + SR);
    }
    double Q = QLOAD(run, X) / SW.SRATIO - 2 * CU * std::sqrt(KA) * B;
    if (Q < 1.0E-5) Q = 0;
    double PMU = 1, YMU = 1;
    PYMODS(run, X, KSIDE, Q, CV, PMU, YMU);
    // The report (the heading ends with "Pu" and the letter phi of the console code
    // page) and the curve-exchange records.
    PYSIDE(run, KSIDE);
    io::write(run, LOUT, R"((/,/,5X,"DEPTH",6X,"DIAM",6X,"PHI",2X,"GAMMA AVG",8X,"A",9X,"B",5X,"Puc",7X,"Pu",A1))",
              "\xED");
    io::write(run, LOUT, R"((7X,A3,8X,A2,11X,A3,"/",A2,"**3",24X,A3,"/",A2,4X,A3,"/",A2))", SW.UDEP, SW.ULEN,
              SW.UFOR, SW.ULEN, SW.UFOR, SW.ULEN, SW.UFOR, SW.ULEN);
    io::write(run, LOUT, "(2F10.2,F10.1,1P,E10.3,0P,2F10.2,1P,2E10.3)", ENG ? XS / 12 : XS, B, PHID, GAMMA, A, BC,
              PC, PPHI);
    io::write(run, LOUT, R"((/,38X,"Y",19X,"P",/,38X,A2,15X,A3,A1,A2))", SW.ULEN, SW.UFOR, "/", SW.ULEN);
    for (int J = 1; J <= NPYP; ++J) PYLINE(run, "(21X,2E20.3)", "(I5,2(2X,E10.3))", J, CV.Y(J), CV.P(J));
    PYMULT(run, PMU, YMU);
    // The layer integral takes the frictional and the cohesive resistance together.
    return PU + PC;
  };

  PYLAYR(run, N, AT_DEPTH, AT_SIDE, true);
}
