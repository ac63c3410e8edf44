// sandpy.cpp -- p-y curves of sand, static and cyclic: an initial straight line, a
// parabola, and two straight segments through (ym, pm) and (yu, pu), from the wedge and
// flow resistance of the sand (or the passive resistance of a continuous wall).
#include <algorithm>
#include <cmath>
#include <string>

#include "soil/soil_impl.h"

double KPCONT(double PHI, double DELTA, double COSD, double BETAS) {
  const double CP = std::cos(PHI);
  // A slope steeper than the friction angle leaves no root: the term counts as 0.
  const double ARG = std::max(0.0, std::sin(PHI + DELTA) * std::sin(PHI - BETAS) / (COSD * std::cos(BETAS)));
  const double DEN = 1 - std::sqrt(ARG);
  if (!(DEN > 1.0E-6)) return -1;
  return CP * CP / COSD / (DEN * DEN);
}

double KPLAYR(Run& run, int N, double PHI, double DELTA, double COSD, double BETAS) {
  const double KP = KPCONT(PHI, DELTA, COSD, BETAS);
  if (KP < 0)
    PYERR(run, N, "ERROR -- THE FRICTION ANGLE OF SOIL LAYER " + std::to_string(run.m.SW.LNUM(N)) +
                   " IS TOO LARGE FOR THE PASSIVE RESISTANCE OF A CONTINUOUS WALL");
  return KP;
}

SandPar SANDPR(double PU, double PM, double YU, double YM, double KX, double BREF, bool NOCURV) {
  SandPar S;
  S.PU = PU;
  S.PM = PM;
  S.YU = YU;
  S.YM = YM;
  S.KX = KX;
  if (NOCURV) {  // no depth or no friction: nothing to shape, yk as at the surface
    S.YK = 2 * BREF;
    return S;
  }
  S.M = (PU - PM) / (YU - YM);
  S.INVN = std::fabs(S.M) * YM / PM;
  S.CC = PM / std::pow(YM, S.INVN);
  // yk = (C/kx)**(n/(n-1)); n above 1 whenever pm and pu come from the coefficient tables.
  S.YK = S.INVN < 1 ? std::pow(S.CC / KX, 1 / (1 - S.INVN)) : YM;
  return S;
}

namespace {

// Points 1 to 17 of the sand deflections for y1, ym and yu.
void SANDYS(double Y1, double YM, double YU, bool SIXTHS, PyCurve& CV) {
  CV.Y(1) = 0;
  if (SIXTHS && Y1 > 0.75 * YM) {
    for (int J = 1; J <= 6; ++J) CV.Y(1 + J) = Y1 * J / 6;
    for (int J = 1; J <= 5; ++J) CV.Y(7 + J) = Y1 + (YM - Y1) * J / 6;
  } else {
    CV.Y(2) = Y1 / 2;
    CV.Y(3) = Y1;
    for (int J = 1; J <= 9; ++J) CV.Y(3 + J) = Y1 + (YM - Y1) * J / 10;
  }
  CV.Y(13) = YM;
  CV.Y(14) = (YU + 2 * YM) / 3;
  CV.Y(15) = (2 * YU + YM) / 3;
  CV.Y(16) = YU;
  CV.Y(17) = 1.2 * YU;
}

}  // namespace

void SANDCV(SandPar S, bool SIXTHS, bool NOCURV, PyCurve& CV) {
  if (!NOCURV && S.YK > S.YU) {
    // The initial line meets the curve beyond yu: yu moves to pu/kx, ym with it.
    const double YP = S.PU / S.KX;
    S.YM = S.YM * YP / S.YU;
    S.YU = YP;
    S.YK = S.YM / 10;
  }
  const double Y1 = S.YK > S.YM / 5 ? S.YM / 10 : S.YK;
  SANDYS(Y1, S.YM, S.YU, SIXTHS, CV);
  for (int J = 1; J <= NPYP; ++J) {
    const double Y = CV.Y(J);
    double P = 0;
    if (!NOCURV) {
      if (Y <= S.YK && Y < S.YM) {
        P = S.KX * Y;
      } else if (Y < S.YM) {
        P = S.CC * std::pow(Y, S.INVN);
      } else if (Y < S.YU) {
        P = S.PM + S.M * (Y - S.YM);
      } else {
        P = S.PU;
      }
      P = std::min(P, S.KX * Y);
    }
    CV.P(J) = P;
  }
}

void SANDPY(Run& run, int N) {
  auto& SW = run.m.SW;
  const auto& S = run.m.SOIL;
  const bool ENG = run.m.C.IUNIT == ENGLISH;
  const double B = S.WP;
  const bool CONT = SW.SRATIO < 1.1;  // continuous wall: passive earth pressure
  const double BREF = CONT ? SW.YREF : B;
  const int KSTAT = CYCLIC(run.m) ? 0 : 1;
  const double THETAE = S.BETAE / DEGRAD;
  double PHID = 0, GAMMA = 0, KPY = 0;

  // Friction angle, unit weight and KPY once per curve depth, below the excavation surface.
  auto AT_DEPTH = [&](int, double D) {
    PHID = PHILK(run, D);
    GAMMA = GAMAVG(run, D);
    KPY = KPYLK(run, D);
    PYPOS(run, N, KPY, "KPY", "SAND");
    return EqIn{KQSAND, 0, 0, GAMMA, B, PHID};
  };

  auto AT_SIDE = [&](int KSIDE, double X, double XS) {
    const double THETA = KSIDE == KEXCS && std::fabs(THETAE) > 1.0E-15 ? THETAE : 0.0;
    // Steps 1 to 5: ultimate resistance.
    double PST = 0, PSD = 0, PS = 0;
    if (!CONT) {
      SANDPS(PHID, GAMMA, XS, B, THETA, PST, PSD);
      PS = std::min(PST, PSD);
    } else if (PHID > 0 && XS > 0) {
      const double PHI = PHID * PISAND / 180;
      const double KP = KPLAYR(run, N, PHI, PHI / 2, std::cos(PHI / 2), THETA);
      PS = KSIDE == KEXCS ? KP * B * XS * GAMMA : KP * B * SVBACK(run, XS);
    }
    // Steps 6 to 10: the characteristic points and the parabola.
    const double A = SANDA(KSTAT, XS / BREF), BC = SANDB(KSTAT, XS / BREF);
    const double PU = A * PS, PM = BC * PS;
    const bool NOCURV = !(PS > 0) || !(XS > 0);
    const SandPar P = SANDPR(PU, PM, 3 * BREF / 80, BREF / 60, KPY * XS, BREF, NOCURV);
    PyCurve CV;
    SANDCV(P, false, NOCURV, CV);
    // Multipliers and the pressure offset (no cohesion).
    double Q = QLOAD(run, X) / SW.SRATIO;
    if (Q < 1.0E-5) Q = 0;
    double PMU = 1, YMU = 1;
    PYMODS(run, X, KSIDE, Q, CV, PMU, YMU);
    // The report and the curve-exchange records.
    PYSIDE(run, KSIDE);
    const char* DL = ENG ? "FT" : " M";
    const double XP = ENG ? XS / 12 : XS;
    if (!CONT) {
      io::write(run, LOUT, R"((/,/,11X,"DEPTH BELOW GS",2X,"DIAM",3X,"PHI",2X,"GAMMA AVG",4X,"A",5X,"B",5X,"PCT",7X,"PCD",/,17X,A2,9X,A2,9X,A3,A1,A2,A2,A1,/,10X,F10.2,4X,2F7.2,1P,E9.2,2X,0P,F5.2,1X,F5.2,1P,2E9.2,/,/,38X,"Y",19X,"P",/,38X,A2,15X,A3,A1,A2))",
                DL, SW.ULEN, SW.UFOR, "/", SW.ULEN, "**", "3", XP, B, PHID, GAMMA, A, BC, PST, PSD, SW.ULEN, SW.UFOR,
                "/", SW.ULEN);
    } else {
      io::write(run, LOUT, R"((/,/,11X,"DEPTH BELOW GS",2X,"DIAM",3X,"PHI",2X,"GAMMA AVG",4X,"A",5X,"B",5X,"PC ",/,17X,A2,9X,A2,9X,A3,A1,A2,A2,A1,/,10X,F10.2,4X,2F7.2,1P,E9.2,2X,0P,F5.2,1X,F5.2,1P,E9.2,/,/,38X,"Y",19X,"P",/,38X,A2,15X,A3,A1,A2))",
                DL, SW.ULEN, SW.UFOR, "/", SW.ULEN, "**", "3", XP, B, PHID, GAMMA, A, BC, PS, SW.ULEN, SW.UFOR, "/",
                SW.ULEN);
    }
    for (int J = 1; J <= NPYP; ++J) PYLINE(run, "(21X,2F20.3)", "(I5,1X,1P,E10.3,1X,1P,E10.3)", J, CV.Y(J), CV.P(J));
    PYMULT(run, PMU, YMU);
    return PU;
  };

  PYLAYR(run, N, AT_DEPTH, AT_SIDE, true);
}
