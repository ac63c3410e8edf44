// press7.cpp -- earth-pressure set-up of a problem: working values, the working layer
// table split at the excavation level and the backfill water table, the effective
// overburden stress and the Rankine coefficients of each working layer.
#include <algorithm>
#include <cmath>
#include <string>

#include "pressure/pressure_impl.h"
#include "report/report.h"

void PRESS7(Run& run) {
  auto& EP = run.m.EP;
  const auto& SOIL = run.m.SOIL;
  // Step 1: working copies of the wall and surface-load values; unit weight of water.
  EP = EarthPressure{};
  EP.HFREE = SOIL.HFREE;
  EP.ZWA = SOIL.ZWA;
  EP.ZWP = SOIL.ZWP;
  EP.QSURF = SOIL.QSURF;
  EP.XSUR = SOIL.XSUR;
  EP.QPOINT = SOIL.QPOINT;
  EP.QLINE = SOIL.QLINE;
  EP.QSTRIP = SOIL.QSTRIP;
  EP.BSTRIP = SOIL.BSTRIP;
  EP.GAMW = run.m.C.IUNIT == SI ? 9.81f : 0.036f;
  EP.TOLEP = 1.0E-5f;
  EP.WATFLG = SOIL.IWATER;
  // Surcharge rows need the free height as their reference length: refuse the problem
  // before any section is written.
  if (SOIL.NSUR > 0) SURREF(run);
  // Step 2: working layers.
  LAYERS(run);
  // Steps 3 to 5.
  OUTPT7(run);
  START7(run);
  FORCES(run);
  BULK(run);
}

void LAYERS(Run& run) {
  auto& EP = run.m.EP;
  const auto& SOIL = run.m.SOIL;
  const double TOL = EP.TOLEP;
  // Key depths: HFREE and ZWA ascending, one key when they agree, none at (or above) the
  // top of the profile.
  double KEY[2];
  int NKEY = 0;
  const double KLO = std::min(EP.HFREE, EP.ZWA), KHI = std::max(EP.HFREE, EP.ZWA);
  if (KLO >= TOL) KEY[NKEY++] = KLO;
  if (!(std::fabs(KHI - KLO) < TOL) && KHI >= TOL) KEY[NKEY++] = KHI;

  const int NL = std::clamp(SOIL.NL, 0, MXLAY);
  EP.ITYPE1 = NL >= 1 ? SOIL.LTYPE(1) : 0;
  EP.NLW = 0;
  EP.KOVFL = 0;
  // One working row of thickness T with the properties of input row I.
  auto ADD = [&](int I, double T) {
    if (EP.NLW == MXLW) {
      EP.KOVFL = 1;
      return;
    }
    const int J = ++EP.NLW;
    EP.LAYIN(J) = I;
    EP.THICK(J) = T;
    EP.STREN(J) = SOIL.STRTOP(I);
    EP.PHI(J) = SOIL.PHITOP(I);
    EP.WEIGHT(J) = SOIL.GAMMA(I);
    EP.DRAIND(J) = SOIL.LTYPE(I) >= 4;
    EP.KOPT(J) = SOIL.LTYPE(I) == 6 || SOIL.LTYPE(I) == 7 ? 0 : SOIL.KPYTOP(I);
  };
  int IK = 0;       // next key not yet passed
  double ZRUN = 0;  // running depth: top of the input row
  for (int I = 1; I <= NL; ++I) {
    // A row of zero or negative thickness ends the profile.
    const double T = SOIL.ZBOT(I) - (I == 1 ? 0.0 : SOIL.ZBOT(I - 1));
    if (!(T > 0)) break;
    const double BOT = ZRUN + T;
    double TOP = ZRUN;
    bool SPLIT = false;
    for (;;) {
      const double TREST = SPLIT ? BOT - TOP : T;
      if (IK == NKEY) {
        ADD(I, TREST);
        break;
      }
      if (std::fabs(BOT - KEY[IK]) < TOL) {  // the key is this bottom: no split
        KEY[IK] = BOT;
        ++IK;
        ADD(I, TREST);
        break;
      }
      if (BOT < KEY[IK]) {
        ADD(I, TREST);
        break;
      }
      ADD(I, KEY[IK] - TOP);  // split at the key; the rest starts there
      TOP = KEY[IK];
      SPLIT = true;
      ++IK;
    }
    ZRUN = BOT;
  }
  // Tops of the rows; row NLW+1 is the bottom of the profile.
  EP.ZTOP(1) = 0;
  for (int J = 1; J <= EP.NLW; ++J) EP.ZTOP(J + 1) = EP.ZTOP(J) + EP.THICK(J);
  EP.IEXC = 0;
  EP.IWAT = 0;
  for (int J = 1; J <= EP.NLW; ++J) {
    if (EP.IEXC == 0 && std::fabs(EP.ZTOP(J) - EP.HFREE) < TOL) EP.IEXC = J;
    if (EP.IWAT == 0 && std::fabs(EP.ZTOP(J) - EP.ZWA) < TOL) EP.IWAT = J;
  }
}

void LAYFIN(Run& run, int J, double X, std::string_view VALUE, bool WALL) {
  if (std::isfinite(X)) return;
  const int L = std::clamp(run.m.EP.LAYIN(std::clamp(J, 1, MXLW + 1)), 1, MXLAY);
  std::string REC = INREC(run, "soil layer", L, run.m.SOIL.LLAY(L));
  if (WALL) REC += "; " + INREC(run, "wall record", 0, run.m.SOIL.LWALL);
  NONFIN(run, VALUE, REC);
}

void START7(Run& run) {
  auto& EP = run.m.EP;
  const auto& C = run.m.C;
  const auto& L = run.m.LAB;
  const int NLW = EP.NLW;
  const double TOL = EP.TOLEP;
  // Layers below water.
  for (int J = 1; J <= NLW; ++J)
    EP.WETTOP(J) = EP.ZTOP(J) > EP.ZWA || std::fabs(EP.ZTOP(J) - EP.ZWA) < TOL;

  // Overburden stress: total down the profile, then effective where the top is wet.
  io::write(run, LOUT, R"((/,/,6X,50("*"),/,6X,"*            EFFECTIVE OVERBURDEN STRESS         *",/,6X,50("*"),/,/,6X,"          DEPTH                     STRESS       ",/,16X,A3,22X,A4,A1,A2,A2,A1))",
            L.ULENB, L.UFOR4, L.USLASH, L.ULEN2, L.UPOW, L.USQ);
  EP.SIGV(1) = EP.QSURF;
  for (int J = 1; J <= NLW - 1; ++J) EP.SIGV(J + 1) = EP.SIGV(J) + EP.THICK(J) * EP.WEIGHT(J);
  for (int J = 1; J <= NLW; ++J) {
    if (EP.WETTOP(J)) EP.SIGV(J) = EP.SIGV(J) - (EP.ZTOP(J) - EP.ZWA) * EP.GAMW;
    LAYFIN(run, std::max(J - 1, 1), EP.SIGV(J), "THE EFFECTIVE OVERBURDEN STRESS OF WORKING LAYER " + std::to_string(J));
    io::write(run, LOUT, "(12X,1P,E10.3,17X,1P,E10.3)", PRDEP(C, EP.ZTOP(J)), EP.SIGV(J));
  }
  if (NLW >= 1) EP.ZTOP(NLW + 1) = EP.ZTOP(NLW) + EP.THICK(NLW);
  // Undrained layers with an optional coefficient carry the total stress on.
  for (int J = 1; J <= NLW; ++J)
    if (EP.KOPT(J) > 1.0E-7f && !EP.DRAIND(J) && EP.WETTOP(J))
      EP.SIGV(J) = EP.SIGV(J) + (EP.ZTOP(J) - EP.ZWA) * EP.GAMW;

  // Coefficients: Rankine, the active one for a sloping backfill; angles in degrees
  // divided by 57.2958.
  io::write(run, LOUT, R"L((/,/,6X,50("*"),/,6X,"* ACTIVE AND PASSIVE EARTH PRESSURE COEFFICIENT  *",/,6X,50("*"),/,/,6X,"  LAYER         ACTIVE EARTH     PASSIVE EARTH(*)","  OPTIONAL EARTH(**)",/,6X,"   NO.          COEFFICIENT       COEFFICIENT    ","   COEFFICIENT  "))L");
  const double BETA = run.m.SOIL.BETA;
  const double ABETA = std::fabs(BETA);
  const double B = std::cos(BETA / DEGRAD_SINGLE);
  for (int J = 1; J <= NLW; ++J) {
    const double PHI = EP.PHI(J);
    // Step 1: flat backfill.
    const double T = std::tan((45 - PHI / 2) / DEGRAD_SINGLE);
    EP.KA(J) = T * T;
    EP.SQKA(J) = T;
    if (ABETA > 0 && PHI > ABETA) {
      // Step 2: sloping backfill (a friction angle beyond 90 degrees gives s = 0).
      const double CP = std::cos(PHI / DEGRAD_SINGLE);
      const double S = std::sqrt(std::max(0.0, B * B - CP * CP));
      EP.KA(J) = B * (B - S) / (B + S);
      EP.SQKA(J) = std::sqrt(EP.KA(J));
    } else if (ABETA > 0 && J < EP.IEXC) {
      // Step 3: slope not below the friction angle in a layer above the excavation
      // level: flat-backfill values, and the warning on the report and the log.
      for (int IU : {LOUT, LLOG})
        io::write(run, IU, R"((/,/,"**** WARNING ******",/,"THE BACKFILL SLOPE ANGLE SHOULD BE LESS THAN THE 'INTERNAL FRICTION ANGLE OF SAND."))");
    }
    // Steps 4 and 5: passive and at rest, flat backfill always.
    EP.TANKP(J) = std::tan((45 + PHI / 2) / DEGRAD_SINGLE);
    EP.KP(J) = EP.TANKP(J) * EP.TANKP(J);
    EP.K0(J) = 1 - std::sin(PHI / DEGRAD_SINGLE);
    for (double X : {EP.KA(J), EP.KP(J), EP.K0(J)})
      LAYFIN(run, J, X, "AN EARTH PRESSURE COEFFICIENT OF WORKING LAYER " + std::to_string(J), true);
    // Step 6: the row shows the computed KA.
    io::write(run, LOUT, "(10X,I2,9X,1P,E10.3,8X,1P,E10.3,8X,1P,E10.3)", J, EP.KA(J), EP.KP(J),
              EP.KOPT(J));
    // Step 7: an optional coefficient replaces KA without strength term; option 5
    // takes KOPT (0) even when none is given.
    if (EP.KOPT(J) > 1.0E-7f) {
      EP.KA(J) = EP.KOPT(J);
      EP.SQKA(J) = 0;
    } else if (C.KEP == 5) {
      EP.KA(J) = EP.KOPT(J);
    }
  }
  io::write(run, LOUT, R"L((/,6X,"NOTES:",/,6X,"(*)  PASSIVE EARTH COEFFICIENT IS PRINTED ONLY FOR ","REFERENCE, ",/,6X,"     IT IS NOT USED FOR ANALYSIS",/,6X,"(**) OPTIONAL EARTH COEFFICIENT IS USED TO ESTIMATE"," ACTIVE PRESSURE ",/,6X,"     IF IT IS DIFFERENT THAN ZERO"))L");
}
