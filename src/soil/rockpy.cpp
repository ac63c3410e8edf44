// rockpy.cpp -- p-y curves of rock (a stiff bilinear curve from the rock strength) and
// of weak rock (a linear start and a quarter-power branch up to the ultimate rock
// resistance, reduced by the rock quality). Neither takes the pressure offset of the
// soil models, and both keep the true depth of their layer.
#include <algorithm>
#include <cmath>
#include <string>

#include "report/report.h"
#include "soil/soil_impl.h"

namespace {

// Weak rock: points as multiples of yrm (no point at 0).
constexpr double YRFRAC[NPYP] = {0.0005, 0.001, 0.003, 0.006, 0.009, 0.02, 0.04, 0.06, 0.08,
                                 0.1,    0.25,  0.5,   0.75,  1.0,   4,    8,    12};

}  // namespace

// From y2 on the curve holds the resistance that the second branch reaches there, b*su
// times the P-multiplier.
void ROCKCV(double SU, double B, double PM, PyCurve& CV) {
  const double K1 = 2000 * SU, Y1 = 0.0004 * B, P1 = K1 * Y1;
  const double Y2 = (B * SU - P1) / (100 * SU) + Y1;
  for (int J = 1; J <= NPYP; ++J) {
    const double Y = Y2 * (J - 1) / 15;
    double P = B * SU;
    if (Y < Y1) {
      P = K1 * Y;
    } else if (Y < Y2) {
      P = P1 + 100 * SU * (Y - Y1);
    }
    CV.Y(J) = Y;
    CV.P(J) = PM * P;
  }
}

void WROCKC(double QAVG, double EIR, double KRM, double RQD, double B, double XR, PyCurve& CV, double& PUR,
            double& KIR) {
  const double ALPHA = 1 - RQD / 150;
  if (XR <= 3 * B) {
    PUR = ALPHA * QAVG * (B + 1.4 * XR);
    KIR = (100 + 400 * XR / (3 * B)) * EIR;
  } else {
    PUR = 5.2 * ALPHA * QAVG * B;
    KIR = 500 * EIR;
  }
  const double YRM = KRM * B;
  // The linear start ends where it meets the quarter-power branch.
  const double DEN = std::pow(YRM, 0.25) * KIR;
  const double YA = DEN > 0 ? std::pow(0.5 * PUR / DEN, 4.0 / 3.0) : 0.0;
  for (int J = 1; J <= NPYP; ++J) {
    const double Y = YRM * YRFRAC[J - 1];
    CV.Y(J) = Y;
    CV.P(J) = Y < YA ? KIR * Y : std::min(PUR, 0.5 * PUR * std::pow(Y / YRM, 0.25));
  }
}

void ROCKPY(Run& run, int N) {
  auto& SW = run.m.SW;
  const bool ENG = run.m.C.IUNIT == ENGLISH;
  const double B = run.m.SOIL.WP;
  double SU = 0;

  auto AT_DEPTH = [&](int, double D) {
    SU = 0.5 * CLOOK(run, D);
    // The second branch is measured in steps of the strength: it cannot be 0.
    if (!(SU > 0))
      PYERR(run, N, "ERROR -- THE STRENGTH OF ROCK MUST BE POSITIVE FOR THE P-Y CURVES OF SOIL LAYER " +
                     std::to_string(SW.LNUM(N)));
    return EqIn{KQNONE, 0, 0, 0, 0, 0};
  };

  auto AT_SIDE = [&](int KSIDE, double X, double XS) {
    PyCurve CV;
    ROCKCV(SU, B, PMULT(run, X), CV);
    const double YM = YMULT(run, X);
    for (int J = 1; J <= NPYP; ++J) CV.Y(J) = CV.Y(J) * YM;
    // The report (the side in the heading, no multiplier line) and the exchange records.
    if (KSIDE == KEXCS) {
      io::write(run, LOUT, R"((/,/,17X,"DEPTH-EXCAVATION SIDE",5X,"DIAM",8X,"C",7X))");
    } else {
      io::write(run, LOUT, R"((/,/,17X,"DEPTH-BACKFILL SIDE  ",5X,"DIAM",8X,"C",7X))");
    }
    io::write(run, LOUT, R"((31X,A3,13X,A2,1X,A3,"/",A2,"**2"))", SW.UDEP, SW.ULEN, SW.UFOR, SW.ULEN);
    io::write(run, LOUT, R"((24X,F10.2,5X,F10.3,1P,E10.1,/,38X,"Y",19X,"P",/,38X,A2,15X,A3,A1,A2))",
              ENG ? XS / 12 : XS, B, SU, SW.ULEN, SW.UFOR, "/", SW.ULEN);
    for (int J = 1; J <= NPYP; ++J) PYLINE(run, "(1X,20X,2F20.3)", "(I5,1X,1P,2E10.3)", J, CV.Y(J), CV.P(J));
    return B * SU;
  };

  PYLAYR(run, N, AT_DEPTH, AT_SIDE);
}

void WROCKPY(Run& run, int N) {
  auto& SW = run.m.SW;
  const auto& S = run.m.SOIL;
  const bool ENG = run.m.C.IUNIT == ENGLISH;
  const double B = S.WP;
  const bool CONT = SW.SRATIO < 1.1;
  double QUR = 0, QAVG = 0, EIR = 0, KRM = 0, RQD = 0, GAMMA = 0, XR = 0;
  const std::string LAYER = std::to_string(SW.LNUM(N));

  auto AT_DEPTH = [&](int I, double D) {
    QUR = CLOOK(run, D);
    // A rock without strength has no curve: the run stops at the first such depth.
    if (QUR < 1.0E-10) {
      io::write(run, LCON, R"((/,7X,"--------------------WARNING----------------------",/,7X,"THE COHESIVE STRENGTH IS 0 FOR ROCK ACCORING TO THE INPUT",/,7X,"DATA. PLEASE ENTER THE CORRECT VALUE AND RUN IT AGAIN."))");
      run.u.close(LPYW);
      STOPMS(run, "", "ERROR -- THE STRENGTH OF WEAK ROCK IS 0 AT THE DEPTH " + LTEXT(run, run.m.C.XEXC + D) +
                          " BELOW THE TOP OF THE WALL, IN SOIL LAYER " + LAYER +
                          ONLINE(S.LLTOP(SW.LNUM(N))) + ": ITS P-Y CURVES CANNOT BE BUILT");
    }
    QAVG = CAVG(run, N, I);
    EIR = KPYLK(run, D);
    KRM = E50LK(run, D);
    RQD = RQDLK(run, D);
    GAMMA = GAMAVG(run, D);
    PYPOS(run, N, KRM, "E50", "WEAK ROCK");
    if (!(RQD >= 0 && RQD <= 100))
      PYERR(run, N, "ERROR -- THE ROCK QUALITY DESIGNATION OF SOIL LAYER " + LAYER + " MUST LIE FROM 0 TO 100 PERCENT");
    XR = D - SW.XT(N);  // below the top of the rock, the same on both sides
    return EqIn{KQNONE, 0, 0, 0, 0, 0};
  };

  auto AT_SIDE = [&](int KSIDE, double X, double XS) {
    // The backfill side of a continuous wall must lie within the input layers.
    if (CONT && KSIDE == KBACK) SVBACK(run, XS);
    PyCurve CV;
    double PUR = 0, KIR = 0;
    WROCKC(QAVG, EIR, KRM, RQD, B, XR, CV, PUR, KIR);
    double PMU = 1, YMU = 1;
    PYMODS(run, X, KSIDE, 0.0, CV, PMU, YMU);
    PYSIDE(run, KSIDE);
    io::write(run, LOUT, R"((/,/,14X,"DEPTH",5X,"DIAM",7X,"Qu",7X," Eu ",3X,"GAMMA AVG",6X,"E50"))");
    io::write(run, LOUT, R"((17X,A3,8X,A2,1X,A3,"/",A2,"**2",1X,A3,"/",A2,"**2",1X,A3,"/",A2,"**3"))", SW.UDEP,
              SW.ULEN, SW.UFOR, SW.ULEN, SW.UFOR, SW.ULEN, SW.UFOR, SW.ULEN);
    io::write(run, LOUT, R"((10X,F10.2,F10.3,1P,3E10.2,1P,E12.3,/,37X,"Y",19X,"P",/,37X,A2,15X,A3,A1,A2))",
              ENG ? XS / 12 : XS, B, QUR, EIR, GAMMA, KRM, SW.ULEN, SW.UFOR, "/", SW.ULEN);
    for (int J = 1; J <= NPYP; ++J) PYLINE(run, "(21X,2E20.3)", "(I5,2(2X,E10.3))", J, CV.Y(J), CV.P(J));
    PYMULT(run, PMU, YMU);
    return PUR;
  };

  PYLAYR(run, N, AT_DEPTH, AT_SIDE);
}
