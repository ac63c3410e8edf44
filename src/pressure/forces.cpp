// forces.cpp -- resultant active earth and water forces of the working layers above the
// excavation level, per unit width of wall, with their points of application; the
// check that the net active force pushes the wall toward the excavation.
#include <cmath>
#include <string>

#include "pressure/pressure_impl.h"
#include "report/report.h"

void FORCES(Run& run) {
  auto& EP = run.m.EP;
  const auto& C = run.m.C;
  const auto& L = run.m.LAB;
  const double M = run.m.SOIL.AMOD;
  const double TOL = EP.TOLEP;
  for (int I = 1; I <= MXLW + 1; ++I) {
    EP.PA1(I) = EP.PA2(I) = EP.PA3(I) = EP.PA4(I) = 0;
    EP.PW1(I) = EP.PW2(I) = 0;
    EP.Z1(I) = EP.Z2(I) = 0;
    EP.Z3(I) = -1.0E-5f;  // no tension zone
  }

  // Earth forces of the layers above the excavation level.
  io::write(run, LOUT, R"((/,/,6X,50("*"),/,6X,"*      ACTIVE EARTH PRESSURE OF EACH LAYER       *",/,6X,50("*"),/,/,6X," LAYER     PA1     Z1        PA2     Z2        PA3     Z3","        PA4",/,6X,"  NO",4X,3(A4,A1,A2,1X,3X,A3,4X),A4,A1,A2))",
            L.UFOR4, L.USLASH, L.ULEN2, L.ULENB, L.UFOR4, L.USLASH, L.ULEN2, L.ULENB, L.UFOR4,
            L.USLASH, L.ULEN2, L.ULENB, L.UFOR4, L.USLASH, L.ULEN2);
  for (int I = 1; I <= EP.IEXC - 1; ++I) {
    const double T = EP.THICK(I);
    const double CS = EP.STREN(I);
    const double GP = EP.WETTOP(I) && EP.DRAIND(I) ? EP.WEIGHT(I) - EP.GAMW : EP.WEIGHT(I);
    // Steps 1 to 4: uniform part with the surcharge force, weight part, strength part.
    EP.PA1(I) = M * EP.KA(I) * EP.SIGV(I) * T + SURLAY(run, EP.ZTOP(I), T);
    EP.PA2(I) = 0.5 * EP.KA(I) * M * (T * T) * GP;
    EP.PA3(I) = -(M * 2 * T * CS * EP.SQKA(I));
    EP.Z1(I) = EP.ZTOP(I) + T / 2;
    EP.Z2(I) = EP.ZTOP(I) + (2 * T) / 3;
    // Step 5: tension at the top of the layer. Only the bottom part of thickness TP,
    // where the net pressure is positive, loads the wall (a triangle to PB at the
    // bottom); with no positive pressure at the bottom nothing is loaded (TP = 0).
    if (EP.PA1(I) + EP.PA3(I) < 0) {
      const double S = 2 * CS * EP.SQKA(I);
      const double PB = EP.KA(I) * EP.SIGV(I + 1) - S;
      const double TP = PB > 0 ? T * PB / ((S - EP.KA(I) * EP.SIGV(I)) + PB) : 0;
      EP.PA1(I) = 0;
      EP.PA2(I) = 0;
      EP.PA3(I) = 0;
      EP.PA4(I) = PB > 0 ? 0.5 * M * PB * TP : 0;
      EP.Z3(I) = EP.ZTOP(I + 1) - TP / 3;
    }
    // Step 6.
    if (!std::isfinite(EP.PA1(I)) && !std::isfinite(SURLAY(run, EP.ZTOP(I), T)))
      NONFIN(run, "THE SURCHARGE FORCE ON WORKING LAYER " + std::to_string(I),
             INREC(run, "surcharge row", 1, run.m.SOIL.LSUR(1)));
    for (double X : {EP.PA1(I), EP.PA2(I), EP.PA3(I), EP.PA4(I)})
      LAYFIN(run, I, X, "THE ACTIVE EARTH FORCE OF WORKING LAYER " + std::to_string(I), true);
    io::write(run, LOUT, "(6X,I4,3(1X,F10.2,1X,F6.2),1X,F10.2)", I, EP.PA1(I), PRDEP(C, EP.Z1(I)),
              EP.PA2(I), PRDEP(C, EP.Z2(I)), EP.PA3(I), PRDEP(C, EP.Z3(I)), EP.PA4(I));
  }

  // Water forces: only when a layer starts at the backfill water table above the
  // excavation level; drained layers at or below the table.
  if (1 <= EP.IWAT && EP.IWAT < EP.IEXC) {
    io::write(run, LOUT, R"((/,/,6X,50("*"),/,6X,"*      ACTIVE WATER PRESSURE OF EACH LAYER       *",/,6X,50("*"),/,/,6X," LAYER    PW1     Z1       PW2      Z2                ",/,6X,"  NO",4X,A4,A1,A2,1X,1X,A3,5X,A4,A1,A2,1X,2X,A3,/))",
              L.UFOR4, L.USLASH, L.ULEN2, L.ULENB, L.UFOR4, L.USLASH, L.ULEN2, L.ULENB);
    for (int I = EP.IWAT; I <= EP.IEXC - 1; ++I) {
      const double T = EP.THICK(I);
      const double D = EP.ZTOP(I);
      if (EP.DRAIND(I) && (D > EP.ZWA || std::fabs(D - EP.ZWA) < TOL)) {
        EP.PW1(I) = (D - EP.ZWA) * EP.GAMW * M * T;
        EP.PW2(I) = M * 0.5 * EP.GAMW * (T * T);
        LAYFIN(run, I, EP.PW1(I) + EP.PW2(I), "THE WATER FORCE OF WORKING LAYER " + std::to_string(I), true);
        EP.WATFLG = 1;
        io::write(run, LOUT, "(6X,I2,2(1X,F10.2,1X,F6.2))", I, EP.PW1(I), PRDEP(C, EP.Z1(I)),
                  EP.PW2(I), PRDEP(C, EP.Z2(I)));
      }
    }
  }

  // Net check: the resultant of the layers above the excavation level must push.
  double R = 0;
  for (int I = 1; I <= EP.IEXC - 1; ++I)
    R += EP.PA1(I) + EP.PA2(I) + EP.PA3(I) + EP.PA4(I) + EP.PW1(I) + EP.PW2(I);
  if (R < TOL)
    for (int IU : {LCON, LOUT}) io::write(run, IU, R"((/,/,5X,"Net active pressure is negative.",/))");
}
