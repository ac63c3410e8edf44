// control.cpp -- the records that open and close a problem: title, control record,
// second control record, specified deflections and slopes, end code; their echo in the
// report, and the run-ending messages of the input checks.
#include <cmath>
#include <string>

#include "report/report.h"
#include "run/run_impl.h"
#include "wall/wall.h"

void RDTITL(Run& run) {
  auto& D = run.m.D;
  io::read_a(run, LINP, {"title record"}, 70, D.TITLE);
  D.NPROB = D.NPROB + 1;
  if (D.NPROB == 1) D.TITLE1 = D.TITLE;
}

void RDCTRL(Run& run) {
  auto& C = run.m.C;
  io::list_read(run, LINP,
                {"control record", 0, "IUNIT NPTS NSECT NCROSS NPYMOD KEP KPYGEN NPYU ISTAGE NEIU NTIE KHINGE"},
                C.IUNIT, C.NPTS, C.NSECT, C.NCROSS, C.NPYMOD, C.KEP, C.KPYGEN, C.NPYU, C.ISTAGE,
                C.NEIU, C.NTIE, C.KHINGE);
  C.LCTRL = run.u.last_record(LINP).first;
}

void NEGERR(Run& run, const char* NAME, int VALUE, const char* REC, int IVAL, int LINE, const char* WHAT) {
  INPERR(run, "ERROR -- " + std::string(NAME) + " = " + std::to_string(VALUE) + " (" +
                  ATLINE(std::string(REC) + ", VALUE " + std::to_string(IVAL), LINE) + "): A NEGATIVE " + WHAT +
                  " ENDS THE RUN");
}

void ECHCTL(Run& run) {
  const auto& C = run.m.C;
  auto& D = run.m.D;
  if (C.KEP >= 2) D.KGENEP = 1;
  if (C.KPYGEN == 2) D.KGENPY = 1;
  io::write(run, LOUT, R"((/,/,6X,"**************************************************",/,6X,"*        PROGRAM CONTROL PARAMETERS              *",/,6X,"**************************************************",/,/,6X,"NO OF POINTS FOR SPECIFIED DEFLECTIONS AND SLOPES  = ",I2,/,6X,"NO OF WALL SECTIONS                                = ",I2,/,6X,"NO OF CROSS SECTIONS                               = ",I2,/,6X,"GENERATE EARTH PRESSURE INTERNALLY                 = ",I2,/,6X,"GENERATE SOIL RESISTANCE (P-Y) CURVES INTERNALLY   = ",I2,/,6X,"NO OF P-Y MODIFICATION FACTORS FOR GEN. P-Y CURVES = ",I2,/,6X,"NO OF USER-SPECIFIED SOIL RESISTANCE (P-Y) CURVES  = ",I2,/,6X,"NO OF TIE BACKS                                    = ",I2))",
            C.NPTS, C.NSECT, C.NCROSS, D.KGENEP, D.KGENPY, C.NPYMOD, C.NPYU, C.NTIE);
  if (C.NTIE > 0 && C.KHINGE == 1) {
    io::write(run, LOUT, R"((6X,"CONSIDER ZERO MOMENT (AASHTO HINGE MODEL) IN WALL",/,6X,"AT TIE BACK LOCATIONS EXCEPT TOP ONE",/))");
  } else if (C.NTIE <= 0) {
    io::list_write(run, LOUT);
  }
}

void RDCTL2(Run& run) {
  auto& C = run.m.C;
  const auto& L = run.m.LAB;
  io::list_read(run, LINP, {"second control record", 0, "NI H DMAX TOL XEXC RV6 HWALL ITMAX IV9 IV10"},
                C.NI, C.H, C.DMAX, C.TOL, C.XEXC, C.RV6, C.HWALL, C.ITMAX, C.IV9, C.IV10);
  C.LCTL2 = run.u.last_record(LINP).first;
  const std::string AT = ONLINE(C.LCTL2);
  if (C.ITMAX < 0) NEGERR(run, "ITMAX", C.ITMAX, "SECOND CONTROL RECORD", 8, C.LCTL2, "MAXIMUM NUMBER OF ITERATIONS");
  // Every problem ends in bounded time: at most MXITER iterations (also for a limit kept
  // through a null value), and a closure tolerance that can be met (checked below).
  if (C.ITMAX > MXITER) {
    WARN(run, "MAXIMUM NUMBER OF ITERATIONS " + std::to_string(C.ITMAX) + " IS ABOVE " + std::to_string(MXITER) +
                  ": " + std::to_string(MXITER) + " ITERATIONS ARE MADE AT MOST" + AT);
    C.ITMAX = MXITER;
  }
  // The station tables hold stations -2..NI+2 and a working entry: NI+7 <= MXSTA.
  if (C.NI < 1)
    INPERR(run, "ERROR -- NUMBER OF INCREMENTS " + std::to_string(C.NI) + " IS LESS THAN 1" + AT);
  if (C.NI > MXNI) TOOMCH(run, "NUMBER OF INCREMENTS", C.NI, MXNI, C.LCTL2);
  if (!(C.H > 0)) INPERR(run, "ERROR -- THE INCREMENT LENGTH MUST BE POSITIVE" + AT);
  if (C.RV6 == 0) INPERR(run, "ERROR -- VALUE 6 OF THE SECOND CONTROL RECORD (RV6) MUST NOT BE ZERO" + AT);
  if (C.TOL < 0)
    INPERR(run, "ERROR -- THE DEFLECTION CLOSURE TOLERANCE (TOL) MUST NOT BE NEGATIVE" + AT);
  C.H2 = C.H * C.H;
  C.H3 = C.H2 * C.H;
  // The solution divides by H**2 and H**3.
  if (!std::isfinite(C.H3) || C.H3 == 0)
    INPERR(run, "ERROR -- THE INCREMENT LENGTH H IS OUT OF RANGE: H**3 MUST BE A FINITE NUMBER ABOVE ZERO (" +
                    INREC(run, "second control record", 0, C.LCTL2) + ")");
  // Wall geometry: the height in feet with the depth label in English units.
  if (C.IUNIT == ENGLISH) {
    io::write(run, LOUT, R"((/,6X,"HEIGHT OF WALL                                     = ",F10.3,A3,/,6X,"NUMBER OF INCREMENTS                               = ",I10,/,6X,"INCREMENT LENGTH                                   = ",F10.3,A3))",
              C.HWALL / 12, L.ULENA, C.NI, C.H, L.ULEN3);
  } else {
    io::write(run, LOUT, R"((/,6X,"HEIGHT OF WALL                                     = ",F10.3,A3,/,6X,"NUMBER OF INCREMENTS                               = ",I10,/,6X,"INCREMENT LENGTH                                   = ",F10.3,A3))",
              C.HWALL, L.ULEN3, C.NI, C.H, L.ULEN3);
  }
  if (C.ITMAX > 0)
    io::write(run, LOUT, R"((6X,"MAXIMUM ALLOWABLE DEFLECTION                       = ",F10.3,A3,/,6X,"DEFLECTION CLOSURE TOLERANCE                       = ",1P,E10.3,A3,/,6X,"MAXIMUM NUMBER OF ITERATIONS                       = ",I10))",
              C.DMAX, L.ULEN3, C.TOL, L.ULEN3, C.ITMAX);
}

void RDSPEC(Run& run) {
  auto& C = run.m.C;
  auto& STA = run.m.STA;
  const auto& L = run.m.LAB;
  STA.KODE.fill(1);
  STA.KPT.fill(0);
  if (C.NPTS < 0)
    NEGERR(run, "NPTS", C.NPTS, "CONTROL RECORD", 2, C.LCTRL, "NUMBER OF SPECIFIED DEFLECTIONS AND SLOPES");
  if (C.NPTS == 0) {
    io::list_write(run, LOUT);
    io::write(run, LOUT, R"(("                    "))");
    return;
  }
  if (C.NPTS > MXPTS) TOOMCH(run);
  io::write(run, LOUT, R"((/,/,6X,"**************************************************",/,6X,"*        SPECIFIED DEFLECTIONS AND SLOPES        *",/,6X,"**************************************************",/,/,5X,"     STA      CASE       DEFLECTION        SLOPE",/,5X,"                            ",A2,"              RAD"))",
            L.ULEN2);
  for (int M = 1; M <= C.NPTS; ++M) {
    int& KASE = STA.KASE(M);
    int& ISTA = STA.ISTA(M);
    io::list_read(run, LINP, {"specified point", M, "KASE ISTA SPDEF SPSLP"}, KASE, ISTA, STA.SPDEF(M),
                  STA.SPSLP(M));
    STA.LPT(M) = run.u.last_record(LINP).first;
    // Stations in non-decreasing order, the first at -1 or below the wall top no further.
    if (M == 1 ? ISTA < -1 : ISTA < STA.ISTA(M - 1))
      NOTORD(run, "SPECIFIED POINT " + std::to_string(M) + " AT STATION " + std::to_string(ISTA) +
                      (M == 1 ? std::string(", ABOVE STATION -1") : ", ABOVE THE POINT BEFORE IT") + ONLINE(STA.LPT(M)));
    // A deflection may be given at stations -1..NI+1, a slope (its condition spans the
    // stations on either side) at 0..NI; anything else would code stations the
    // solution never reaches or the tables do not hold.
    if (KASE < 2 ? ISTA > C.NI + 1 : (ISTA < 0 || ISTA > C.NI))
      INPERR(run, "ERROR -- SPECIFIED POINT " + std::to_string(M) + " AT STATION " + std::to_string(ISTA) +
                      " IS OUTSIDE THE STATIONS " + (KASE < 2 ? "-1" : "0") + " TO " +
                      std::to_string(KASE < 2 ? C.NI + 1 : C.NI) + " WHERE IT CAN ACT" + ONLINE(STA.LPT(M)));
    SETKOD(run, M);
    if (KASE == 2) {
      io::write(run, LOUT, R"((10X,I3,7X,I2,11X,"NONE",8X,1P,E10.3))", ISTA, KASE, STA.SPSLP(M));
    } else if (KASE >= 3) {
      io::write(run, LOUT, R"((10X,I3,7X,I2,3X,2(5X,1P,E10.3)))", ISTA, KASE, STA.SPDEF(M), STA.SPSLP(M));
    } else {
      io::write(run, LOUT, R"((10X,I3,7X,I2,8X,1P,E10.3,9X,"NONE"))", ISTA, KASE, STA.SPDEF(M));
    }
  }
}

void RDKEND(Run& run) {
  io::list_read(run, LINP, {"end code record", 0, "KEND"}, run.m.D.KEND);
  run.m.D.LKEND = run.u.last_record(LINP).first;
}
