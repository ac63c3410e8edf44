// outpt7.cpp -- the wall, surcharge and soil sections of the earth-pressure report, and
// the two checks that stop the run when the working layer table cannot be used.
// Depths, thicknesses, heights and water tables print in feet in English units; widths
// and surcharge distances in inches.
#include <algorithm>
#include <string>

#include "pressure/pressure_impl.h"
#include "report/report.h"

namespace {

// WALL INFORMATION.
void WALINF(Run& run) {
  const auto& EP = run.m.EP;
  const auto& SOIL = run.m.SOIL;
  const auto& C = run.m.C;
  const auto& L = run.m.LAB;
  const auto& UDEP = C.IUNIT == ENGLISH ? L.ULENA : Chars<8>(L.ULEN3.view());
  io::write(run, LOUT, R"((/,/,/,6X,50("*"),/,6X,"*                WALL INFORMATION                *",/,6X,50("*"),/))");
  io::write(run, LOUT, R"((6X,"FREE HEIGHT OF WALL                    = ",1P,E10.3,A3,/,6X,"WIDTH FOR EARTH PRESSURE, WA           = ",1P,E10.3,A3,/,6X,"WIDTH FOR SOIL RESISTANCE, WP          = ",1P,E10.3,A3,/,6X,"DEPTH TO THE WATER TABLE AT BACKFILL   = ",1P,E10.3,A3,/,6X,"DEPTH TO THE WATER TABLE AT EXCAVATION = ",1P,E10.3,A3))",
            PRDEP(C, EP.HFREE), UDEP, SOIL.WA, L.ULEN3, SOIL.WP, L.ULEN3, PRDEP(C, EP.ZWA), UDEP,
            PRDEP(C, EP.ZWP), UDEP);
  io::write(run, LOUT, R"((6X,"UNIT WEIGHT OF WATER                   = ",1P,E10.3,A4,A1,A2,A2,A1,/,6X,"SLOPE OF THE BACKFILL (deg.)           = ",1P,E10.3,/,6X,"SLOPE OF THE EXCAVATION GROUND (deg.)  = ",1P,E10.3,/,6X,"MODIFICATION FOR ACTIVE EARTH PRESSURE = ",1P,E10.3,/))",
            EP.GAMW, L.UFOR4, L.USLASH, L.ULEN2, L.UPOW, L.UCUBE, SOIL.BETA, 0.0, SOIL.AMOD);
}

// SURCHARGE INFORMATION; each listed row also becomes the single-load values (its
// distance and its load, the loads of the other two kinds 0).
void SURINF(Run& run) {
  auto& EP = run.m.EP;
  const auto& SOIL = run.m.SOIL;
  const auto& L = run.m.LAB;
  io::write(run, LOUT, R"((/,/,6X,50("*"),/,6X,"*              SURCHARGE INFORMATION             *",/,6X,50("*"),/,/,6X,"UNIFORM SURFACE PRESSURE     =",1P,E10.3,A4,A1,A2,A2,A1))",
            EP.QSURF, L.UFOR4, L.USLASH, L.ULEN2, L.UPOW, L.USQ);
  const int NSUR = SOIL.NSUR < MXSUR ? SOIL.NSUR : MXSUR;
  for (int I = 1; I <= NSUR; ++I) {
    const int KIND = SOIL.KSUR(I);
    if (KIND == 1) {
      io::write(run, LOUT, R"((/,6X,"SURCHARGE LOADING NO.        = ",I10,/,6X,"POINT LOAD                   = ",E10.3,A4,/,6X,"HORIZONTAL DISTANCE BETWEEN  = ",E10.3,A3,/,6X,"THE WALL AND SURCHARGE         ",/,6X,"VERTICAL DISTANCE BETWEEN    = ",E10.3,A3,/,6X,"THE WALL AND SURCHARGE         ",/,6X,"FACTOR FOR SURCHARGE LOAD    = ",E10.3,/))",
                I, SOIL.SLOAD(I), L.UFOR4, SOIL.SDIST(I), L.ULEN3, SOIL.SVERT(I), L.ULEN3, SOIL.SFACT(I));
      EP.XSUR = SOIL.SDIST(I);
      EP.QPOINT = SOIL.SLOAD(I);
      EP.QLINE = 0;
      EP.QSTRIP = 0;
    } else if (KIND == 2) {
      io::write(run, LOUT, R"((/,6X,"SURCHARGE LOADING NO.        = ",I10,/,6X,"LINE LOAD                    = ",E10.3,A4,A1,A2,/,6X,"HORIZONTAL DISTANCE BETWEEN  = ",E10.3,A3,/,6X,"THE WALL AND SURCHARGE         ",/,6X,"VERTICAL DISTANCE BETWEEN    = ",E10.3,A3,/,6X,"THE WALL AND SURCHARGE         ",/,6X,"FACTOR FOR SURCHARGE LOAD    = ",E10.3,/))",
                I, SOIL.SLOAD(I), L.UFOR4, L.USLASH, L.ULEN2, SOIL.SDIST(I), L.ULEN3, SOIL.SVERT(I),
                L.ULEN3, SOIL.SFACT(I));
      EP.XSUR = SOIL.SDIST(I);
      EP.QLINE = SOIL.SLOAD(I);
      EP.QPOINT = 0;
      EP.QSTRIP = 0;
    } else if (KIND == 3) {
      io::write(run, LOUT, R"((/,6X,"SURCHARGE LOADING NO.        = ",I10,/,6X,"STRIP LOAD                   = ",E10.3,A4,A1,A2,A2,A1,/,6X,"WIDTH OF THE STRIP LOAD      = ",E10.3,A3,/,6X,"HORIZONTAL DISTANCE BETWEEN  = ",E10.3,A3,/,6X,"WALL AND MIDDLE OF STRIP WIDTH          ",/,6X,"VERTICAL DISTANCE BETWEEN    = ",E10.3,A3,/,6X,"THE WALL AND SURCHARGE         ",/,6X,"FACTOR FOR SURCHARGE LOAD    = ",E10.3,/))",
                I, SOIL.SLOAD(I), L.UFOR4, L.USLASH, L.ULEN2, L.UPOW, L.USQ, SOIL.SWIDTH(I), L.ULEN3,
                SOIL.SDIST(I), L.ULEN3, SOIL.SVERT(I), L.ULEN3, SOIL.SFACT(I));
      EP.XSUR = SOIL.SDIST(I);
      EP.QSTRIP = SOIL.SLOAD(I);
      EP.BSTRIP = SOIL.SWIDTH(I);
      EP.QPOINT = 0;
      EP.QLINE = 0;
    }
    // other kind codes are not listed (SURPRS takes them as point loads)
  }
}

// SOIL INFORMATION: the working layers.
void SOIINF(Run& run) {
  const auto& EP = run.m.EP;
  const auto& C = run.m.C;
  io::write(run, LOUT, R"((/,/,6X,50("*"),/,6X,"*                SOIL INFORMATION                *",/,6X,50("*"),/,/,7X,"         TOTAL   COHESION/       TOTAL UNIT",/,7X,"LAYER  THICKNESS STRENGTH    PHI   WEIGHT   DRAINED  ZTOP"))");
  if (C.IUNIT == ENGLISH) {
    io::write(run, LOUT, R"((7X,"NO.",6X,"FT",8X,"PSI",7X,"DEG",5X,"PCI",5X,"T OR F",3X,"FT"))");
  } else {
    io::write(run, LOUT, R"((7X,"NO.",6X," M",8X,"kPa",7X,"DEG",3X,"kN/M^3",4X,"T OR F",3X," M"))");
  }
  for (int J = 1; J <= EP.NLW; ++J)
    io::write(run, LOUT, "(7X,I3,F9.1,F10.1,F10.1,F9.3,5X,L1,F10.2)", J, PRDEP(C, EP.THICK(J)),
              EP.STREN(J), EP.PHI(J), EP.WEIGHT(J), EP.DRAIND(J), PRDEP(C, EP.ZTOP(J)));
}

// Why no working layer starts at the excavation level: the free height is negative, or
// the profile (no layers, a layer whose bottom does not lie below the one above, or the
// last bottom) ends at or above it. Depths in the unit of the input.
std::string NOEXC(Run& run) {
  const auto& S = run.m.SOIL;
  const std::string WALL = "(" + ATLINE("WALL RECORD", S.LWALL) + ")";
  if (S.HFREE < 0)
    return "ERROR -- THE FREE HEIGHT HFREE = " + LTEXT(run, S.HFREE) + " " + WALL +
           " IS NEGATIVE: NO SOIL LAYER CAN START AT THE EXCAVATION LEVEL";
  const std::string ABOVE = "ABOVE THE EXCAVATION LEVEL HFREE = " + LTEXT(run, S.HFREE) + " " + WALL;
  if (S.NL <= 0)
    return "ERROR -- NO SOIL PROFILE: THE SOIL RECORD" + ONLINE(S.LSOIL) + " GIVES NL = " +
           std::to_string(S.NL) + " SOIL LAYERS, SO NO LAYER STARTS AT THE EXCAVATION LEVEL";
  const int NL = std::min(S.NL, MXLAY);
  double ZEND = 0;
  int J = 1;
  while (J <= NL && S.ZBOT(J) > ZEND) ZEND = S.ZBOT(J++);
  std::string T;
  if (J <= NL) {
    T = "ERROR -- SOIL LAYER " + std::to_string(J) + ONLINE(S.LLAY(J)) + " HAS ITS BOTTOM AT " +
        LTEXT(run, S.ZBOT(J)) + ", NOT BELOW " + (J == 1 ? "THE TOP OF THE WALL" : "THE LAYER ABOVE") +
        ": THE SOIL PROFILE ENDS AT " + LTEXT(run, ZEND) + ", AT OR " + ABOVE;
  } else {
    T = "ERROR -- THE SOIL PROFILE ENDS AT " + LTEXT(run, ZEND) + " (" +
        ATLINE("BOTTOM OF SOIL LAYER " + std::to_string(NL), S.LLAY(NL)) + "), AT OR " + ABOVE;
  }
  // Depths written in feet in English units fall short by a factor of twelve.
  if (run.m.C.IUNIT == ENGLISH && ZEND > 0 && 12 * ZEND > S.HFREE)
    T += "; IN ENGLISH UNITS LAYER DEPTHS ARE GIVEN IN INCHES";
  return T;
}

}  // namespace

void OUTPT7(Run& run) {
  WALINF(run);
  SURINF(run);
  SOIINF(run);
  // No working layer starts at the excavation level (a profile ending above it): the
  // pressures below the excavation cannot be formed.
  if (run.m.EP.IEXC == 0) STOPMS(run, "1", NOEXC(run));
  if (run.m.EP.KOVFL == 1)
    STOPMS(run, "2", "ERROR -- THE " + std::to_string(run.m.SOIL.NL) + " SOIL LAYERS (" +
                         ATLINE("SOIL RECORD", run.m.SOIL.LSOIL) +
                         "), SPLIT AT THE EXCAVATION LEVEL AND AT THE WATER TABLE OF THE BACKFILL, MAKE MORE THAN " +
                         std::to_string(MXLW) + " LAYERS OF EARTH PRESSURE");
}
