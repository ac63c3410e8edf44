// stadat.cpp -- station data of the wall: rigidity from the wall sections, loads,
// couples and axial loads from the stiffness and load records, lateral and rotational
// restraints, tie backs as springs with prestress loads, and the pressure table as
// transverse load, each distributed over its stations by the range rule.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <string>

#include "report/report.h"
#include "wall/ranges.h"
#include "wall/wall_impl.h"

namespace {

using StationValues = Table<double, 1, MXSTA>;  // a station table of the Model

// Record lines of "STIFFNESS AND LOAD DATA" in the three layouts.
void ECHREC(Run& run, int KLAY, long long IFROM, long long ITO, int KCONT, double EI, double Q,
            double S, double T, double R, double P) {
  // Stations too large for I4 print as asterisks; clamp them into int first.
  const int IF = static_cast<int>(std::clamp(IFROM, -9999LL, 99999LL));
  const int IT = static_cast<int>(std::clamp(ITO, -9999LL, 99999LL));
  if (KLAY == LAYFR) {
    io::write(run, LOUT, "(5X,I4,4X,I3,1X,1P,6E10.3)", IF, KCONT, EI, Q, S, T, R, P);
  } else if (KLAY == LAYTO) {
    io::write(run, LOUT, "(9X,I4,I3,1X,1P,6E10.3)", IT, KCONT, EI, Q, S, T, R, P);
  } else {
    io::write(run, LOUT, "(5X,2I4,I3,1X,1P,6E10.3)", IF, IT, KCONT, EI, Q, S, T, R, P);
  }
}

// The input record behind a range (WHAT as the range rule names it, record J, read at
// input line LINE), for messages about the values it gives.
std::string RECOF(Run& run, const char* WHAT, int J, int LINE) {
  std::string W(WHAT);
  for (char& ch : W) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return INREC(run, W, J, LINE);
}

// The first station K of TAB in K1..K2 whose value is not a finite number, or 0.
int NOTFIN(const StationValues& TAB, int K1, int K2) {
  for (int K = K1; K <= K2; ++K)
    if (!std::isfinite(TAB(K))) return K;
  return 0;
}

// The range rule: stations IF..IL (station numbers) receive V1 + (V2 - V1)*(k - F)/(L - F)
// with weight 1, then the same at the two end stations with weight -0.5, so that the ends
// carry half; a single station receives V1 in full. Nothing is written outside stations
// -2..NI+2: a station above -2 is an input error, a non-zero value below NI+2 is data
// beyond the end. WHAT, J and the input line LINE name the record in the message.
void RANGE(Run& run, StationValues& TAB, long long IF, long long IL, double V1, double V2,
           const char* WHAT, int J, int LINE) {
  const int NI = run.m.C.NI;
  const auto NAMED = [&](const std::string& T) {
    return std::string(WHAT) + " " + std::to_string(J) + T + ONLINE(LINE);
  };
  if (IL < IF)
    NOTORD(run, NAMED(" ENDS AT STATION " + std::to_string(IL) + ", ABOVE ITS FIRST STATION " + std::to_string(IF)));
  if (IF < -2)
    INPERR(run, "ERROR -- " + NAMED(" STARTS AT STATION " + std::to_string(IF) + ", ABOVE STATION -2"));
  const long long KF = IF + 4, KL = IL + 4, KMAX = NI + 6;
  const std::string BELOW = " LOADS STATIONS BELOW STATION " + std::to_string(NI + 2);
  if (KF == KL) {
    if (KF > KMAX && V1 != 0) BEYOND(run, NAMED(BELOW));
  } else if (KL > KMAX && (V2 != 0 || (V1 != 0 && KL - 1 > KMAX))) {
    // Beyond NI+2 the values run linearly to V2: non-zero unless V2 = 0 and at most the
    // last station lies beyond, or both ends are zero.
    BEYOND(run, NAMED(BELOW));
  }
  RANGEW(KF, KL, KMAX, V1, V2, [&](int K, double V) { TAB(K) += V; });
  // Values of the input interpolated or summed beyond the range of the numbers.
  if (KF <= KMAX)
    if (const int K = NOTFIN(TAB, static_cast<int>(KF), static_cast<int>(std::min(KL, KMAX))))
      NONFIN(run, "THE VALUE AT STATION " + std::to_string(K - 4), RECOF(run, WHAT, J, LINE));
}

// Step 1: flexural rigidity from the wall sections, top to bottom of each cross section.
void WALLEI(Run& run) {
  const auto& C = run.m.C;
  const auto& WS = run.m.WS;
  const auto& CS = run.m.CS;
  auto& EI = run.m.STA.EI;
  if (C.NSECT > MXSECT) TOOMCH(run, "NUMBER OF WALL SECTIONS", C.NSECT, MXSECT);
  for (int N = 1; N <= C.NSECT; ++N) {
    const int IS = WS.ISEC(N);
    if (IS < 1 || IS > C.NCROSS || IS > MXCROS)
      INPERR(run, "ERROR -- WALL SECTION " + std::to_string(N) + ONLINE(WS.LWS(N)) + " NAMES CROSS SECTION " +
                      std::to_string(IS) + ", NOT ONE OF 1 TO " + std::to_string(C.NCROSS));
    const int IF = STATION(C, WS.XTOP(N));
    const int IL = STATION(C, WS.XBOT(N));
    const double EIT = CS.EMT(IS) * CS.XIT(IS);
    const double EIB = CS.EMB(IS) * CS.XIB(IS);
    if (!std::isfinite(EIT) || !std::isfinite(EIB))
      NONFIN(run, "THE FLEXURAL RIGIDITY E*I OF CROSS SECTION " + std::to_string(IS),
             INREC(run, "cross section", IS, run.m.CS.LCROS(IS)));
    ECHREC(run, KLAYOT(0, IF, IL), IF, IL, 0, EIT, 0, 0, 0, 0, 0);
    RANGE(run, EI, IF, IL, EIT, EIB, "WALL SECTION", N, WS.LWS(N));
  }
}

// Step 2: stiffness and load records (Q, T, P) and the applied-couple list, rebuilt for
// every problem from this problem's records with a non-zero T.
void RECQTP(Run& run) {
  const auto& C = run.m.C;
  const auto& REC = run.m.REC;
  auto& STA = run.m.STA;
  const int N = std::max(REC.NREC4, 0);
  if (N > MXREC4) TOOMCH(run, "NUMBER OF STIFFNESS AND LOAD RECORDS", N, MXREC4);
  for (int J = 1; J <= N; ++J)
    ECHREC(run, KLAYOT(J > 1 ? REC.ICONT4(J - 1) : 0, REC.IFROM4(J), REC.ITO4(J)), REC.IFROM4(J),
           REC.ITO4(J), REC.ICONT4(J), 0, REC.Q4(J), 0, REC.T4(J), 0, REC.P4(J));
  RANGES(
      N, [&](int J) { return REC.IFROM4(J); }, [&](int J) { return REC.ITO4(J); },
      [&](int J) { return REC.ICONT4(J); },
      [&](long long IF, long long IL, int J1, int J2) {
        const int LINE = REC.LREC4(J1);
        RANGE(run, STA.Q, IF, IL, REC.Q4(J1), REC.Q4(J2), "STIFFNESS AND LOAD RECORD", J1, LINE);
        RANGE(run, STA.T, IF, IL, REC.T4(J1), REC.T4(J2), "STIFFNESS AND LOAD RECORD", J1, LINE);
        RANGE(run, STA.P, IF, IL, REC.P4(J1), REC.P4(J2), "STIFFNESS AND LOAD RECORD", J1, LINE);
      });
  STA.NCOUP = 0;
  for (int J = 1; J <= N; ++J) {
    if (REC.T4(J) == 0) continue;
    STA.NCOUP = STA.NCOUP + 1;
    STA.KCOUP(STA.NCOUP) = static_cast<int>(std::clamp(REC.IFROM4(J) + 4LL, -1000000LL, 1000000LL));
    STA.CCOUP(STA.NCOUP) = REC.T4(J) / (2 * C.H);
    if (!std::isfinite(STA.CCOUP(STA.NCOUP)))
      NONFIN(run, "THE COUPLE T/(2*H)", RECOF(run, "STIFFNESS AND LOAD RECORD", J, REC.LREC4(J)));
  }
}

// Step 3: restraint records (S, R), and their own part of S and R for the results.
void RESTRN(Run& run) {
  const auto& REC = run.m.REC;
  auto& STA = run.m.STA;
  const int N = std::max(REC.NRES, 0);
  if (N > MXRES) TOOMCH(run, "NUMBER OF RESTRAINT RECORDS", N, MXRES);
  for (int J = 1; J <= N; ++J)
    ECHREC(run, KLAYOT(J > 1 ? REC.ICONTR(J - 1) : 0, REC.IFROMR(J), REC.ITOR(J)), REC.IFROMR(J),
           REC.ITOR(J), REC.ICONTR(J), 0, 0, REC.SR(J), 0, REC.RR(J), 0);
  RANGES(
      N, [&](int J) { return REC.IFROMR(J); }, [&](int J) { return REC.ITOR(J); },
      [&](int J) { return REC.ICONTR(J); },
      [&](long long IF, long long IL, int J1, int J2) {
        RANGE(run, STA.S, IF, IL, REC.SR(J1), REC.SR(J2), "RESTRAINT RECORD", J1, REC.LRES(J1));
        RANGE(run, STA.R, IF, IL, REC.RR(J1), REC.RR(J2), "RESTRAINT RECORD", J1, REC.LRES(J1));
        RANGE(run, STA.SREST, IF, IL, REC.SR(J1), REC.SR(J2), "RESTRAINT RECORD", J1, REC.LRES(J1));
        RANGE(run, STA.RREST, IF, IL, REC.RR(J1), REC.RR(J2), "RESTRAINT RECORD", J1, REC.LRES(J1));
      });
}

// Step 4: tie backs, a spring KTB and a prestress load FTB at the station of each
// (single station, full value); then "TIE BACK DATA".
void TIEBCK(Run& run) {
  const auto& C = run.m.C;
  const auto& L = run.m.LAB;
  auto& STA = run.m.STA;
  auto& TIE = run.m.TIE;
  const int NT = std::max(C.NTIE, 0);
  if (NT > MXTIE) TOOMCH(run, "NUMBER OF TIE BACKS", NT, MXTIE);
  for (int I = 1; I <= NT; ++I) {
    const int J = STATION(C, TIE.DEPTH(I));
    // A tie back acts on the wall: stations 0..NI. Above the top is an input error,
    // below the bottom is data beyond the end.
    const std::string TB = "TIE BACK " + std::to_string(I), AT = ONLINE(TIE.LTIE(I));
    if (J < 0) INPERR(run, "ERROR -- " + TB + " AT STATION " + std::to_string(J) + " IS ABOVE THE TOP OF THE WALL" + AT);
    if (J > C.NI) BEYOND(run, TB + " AT STATION " + std::to_string(J) + " IS BELOW THE WALL" + AT);
    if (!(TIE.XLU(I) > 0) || !(TIE.SPACE(I) > 0))
      INPERR(run, "ERROR -- " + TB + ": UNBONDED LENGTH AND SPACING MUST BE POSITIVE" + AT);
    const double CA = std::cos(TIE.ANGLE(I) * PI_SINGLE / 180);
    double KTB = 0, FTB = 0;  // not computed for other unit codes
    if (C.IUNIT == ENGLISH) {
      KTB = TIE.AREA(I) * TIE.ELAS(I) * CA * C.RV6 / (12 * TIE.XLU(I) * 12 * TIE.SPACE(I));
      FTB = -TIE.F0(I) * CA * C.RV6 / (12 * TIE.SPACE(I));
    } else if (C.IUNIT == SI) {
      KTB = TIE.AREA(I) * TIE.ELAS(I) * CA * C.RV6 / (TIE.XLU(I) * TIE.SPACE(I));
      FTB = -TIE.F0(I) * CA * C.RV6 / TIE.SPACE(I);
    }
    const int K = J + 4;
    TIE.KSTA(I) = K;
    TIE.KTB(I) = KTB;
    TIE.FTB(I) = FTB;
    STA.S(K) += KTB;
    STA.Q(K) += FTB;
    if (!std::isfinite(STA.S(K)) || !std::isfinite(STA.Q(K)))
      NONFIN(run, "THE STIFFNESS OR PRESTRESS LOAD OF TIE BACK " + std::to_string(I),
             INREC(run, "tie back", I, run.m.TIE.LTIE(I)));
    ECHREC(run, KLAYOT(0, J, J), J, J, 0, 0, FTB, KTB, 0, 0, 0);
  }
  TIE.NTIEF = NT;
  if (NT == 0) return;
  io::write(run, LOUT, R"((/,/,/,6X,"**************************************************",/,6X,"*                  TIE BACK DATA                 *",/,6X,"**************************************************",/,/,6X,"   DEPTH      AREA    ELASTIC   UNBONDED   HORIZ.  ","  ANCHOR  PRESTRESS.",/,6X,"                      MODULUS    LENGTH    ANGLE   "," SPACING    FORCE"))");
  io::write(run, LOUT, R"((6X,4X,A2,7X,A2,"**","2",2X,A4,"/",A2,"**","2",5X,A2,7X,"DEG",7X,A2,6X,A4))", L.ULENB,
            L.ULEN2, L.UFOR4, L.ULEN2, L.ULENB, L.ULENB, L.UFOR4);
  for (int I = 1; I <= NT; ++I)
    io::write(run, LOUT, "(6X,1P,7E10.3)", TIE.DEPTH(I), TIE.AREA(I), TIE.ELAS(I), TIE.XLU(I),
              TIE.ANGLE(I), TIE.SPACE(I), TIE.F0(I));
}

// Depth and load of the pressure table: row R of depth PT(R, PT_DEPTH) and load per station
// PT(R, PT_LOAD); before the first row the table's zero entry (depth 0, load 0). Interpolated
// linearly between the rows that bracket X; beyond the last row, the last load. IR is
// the caller's row pointer for increasing depths.
double PLOAD(const PressureTable& PRS, int NPRES, double X, int& IR) {
  while (IR <= NPRES && PRS.PT(IR, PT_DEPTH) < X) ++IR;
  if (IR > NPRES) return PRS.PT(NPRES, PT_LOAD);
  const double D1 = PRS.PT(IR, PT_DEPTH), P1 = PRS.PT(IR, PT_LOAD);
  if (X == D1) return P1;
  const double D0 = IR > 1 ? PRS.PT(IR - 1, PT_DEPTH) : 0.0;
  const double P0 = IR > 1 ? PRS.PT(IR - 1, PT_LOAD) : 0.0;
  if (D1 == D0) return P1;
  return P0 + (P1 - P0) * (X - D0) / (D1 - D0);
}

// The input records behind the pressure table: the wall record of the earth-pressure
// data, or the specified pressures.
std::string EPREC(Run& run) {
  if (run.m.C.KEP == 1) return INREC(run, "specified pressures", 0, run.m.SOIL.LSPP(1));
  return INREC(run, "wall record of the earth-pressure data", 0, run.m.SOIL.LWALL);
}

// Earth-pressure option 4: stations 1..NX above the excavation level get, in place of
// the plain load, a six-point support curve of the pressure-table row at or below the
// station depth. Choices made here:
//  - the forces are loads per station, like the plain loads: the table's pressures per
//    unit length of wall (columns 3 to 6) are multiplied by h;
//  - the increment of the third point is zero, so Pm = 1.5*P0; Pm is kept at or below
//    the passive value Pp, so that the force never falls again on the way to passive;
//  - each curve acts at its own station alone (CONTD = 0, full weight), exactly where
//    the plain load would act; a chain would halve the curves at its two ends;
//  - the deflections must increase: RV6 that puts them out of order is an input error.
// The curves are the first NCRV4 records of CRV.
void EPCRVS(Run& run, int NPRES, int NX) {
  const auto& C = run.m.C;
  const auto& PRS = run.m.PRS;
  auto& CRV = run.m.CRV;
  if (NX < 1) return;
  const double H = C.H;
  const double YB = C.IUNIT == ENGLISH ? 40 : 1;
  const double Y[7] = {0, -YB, -3 * C.RV6 / 80, -C.RV6 / 10667, 0, C.RV6 / 357, YB};
  for (int I = 2; I <= 6; ++I)
    if (!(Y[I] > Y[I - 1]))
      INPERR(run, "ERROR -- WITH EARTH-PRESSURE OPTION 4 THE VALUE RV6 OF THE SECOND CONTROL "
                  "RECORD GIVES SUPPORT-CURVE DEFLECTIONS OUT OF ORDER" + ONLINE(C.LCTL2));
  int IR = 1;
  for (int I = 1; I <= NX; ++I) {
    const double X = I * H;
    while (IR < NPRES && PRS.PT(IR, PT_DEPTH) < X - 1.0E-6 * H) ++IR;
    const double PP = PRS.PT(IR, PT_PASSIVE) * H;
    const double P0 = PRS.PT(IR, PT_ATREST) * H;
    const double PA = (PRS.PT(IR, PT_ACTIVE) + PRS.PT(IR, PT_SURCHARGE)) * H;
    const double DPM = 0;  // increment above the at-rest value
    double PM = P0 + DPM;
    if (PM > PP || PM <= P0) PM = 1.5 * P0;
    if (PM > PP) PM = PP;
    const double F[7] = {0, PP, PP, PM, P0, PA, PA};
    for (int N = 1; N <= 6; ++N)
      if (!std::isfinite(F[N])) NONFIN(run, "THE SUPPORT CURVE OF STATION " + std::to_string(I), EPREC(run));
    if (I > C.NI) {
      for (int N = 1; N <= 6; ++N)
        if (F[N] != 0) BEYOND(run);
      continue;
    }
    if (CRV.NCRV4 >= MXCRV) TOOMCH(run, "NUMBER OF SUPPORT CURVES", CRV.NCRV4 + 1, MXCRV);
    const int J = ++CRV.NCRV4;
    CRV.FROM(J) = I + 4;
    CRV.TO(J) = I + 4;
    CRV.CONTD(J) = 0;
    CRV.POINTS(J) = 6;
    for (int N = 1; N <= 6; ++N) {
      CRV.Y(J, N) = Y[N];
      CRV.F(J, N) = F[N];
    }
  }
}

}  // namespace

int KLAYOT(int KCPREV, int IFROM, int ITO) {
  if (KCPREV == 1) return LAYTO;
  if (IFROM == ITO) return LAYFR;
  return LAYFT;
}

void CLRSTA(Stations& STA) {
  STA.EI.fill(0);
  STA.Q.fill(0);
  STA.S.fill(0);
  STA.T.fill(0);
  STA.R.fill(0);
  STA.P.fill(0);
  STA.SREST.fill(0);
  STA.RREST.fill(0);
}

void STADAT(Run& run) {
  const auto& L = run.m.LAB;
  auto& STA = run.m.STA;
  CLRSTA(STA);
  io::write(run, LOUT, R"((/,/,/,6X,"**************************************************",/,6X,"*        STIFFNESS AND LOAD DATA                 *",/,6X,"**************************************************",/,/,6X,"EI - FLEXURAL RIGIDITY,  Q - TRANSVERSE LOAD,",/,6X,"S - STIFFNESS OF TRANSVERSE RESISTANCE,",/,6X,"T - TORQUE,              P - AXIAL LOAD,",/,6X,"R - STIFFNESS OF TORSIONAL RESISTANCE.",/,/,/,/,"     FROM TO CONTD     EI         Q        S","        T         R         P"))");
  io::write(run, LOUT, R"((18X,A4,"-",A2,"**","2",4X,A4,4X,A4,"/",A2,3X,A3,"-",A3,2X,A3,"-",A3,4X,A4))", L.UFOR4,
            L.ULEN2, L.UFOR4, L.UFOR4, L.ULEN2, L.ULEN3, L.UFOR3, L.ULEN3, L.UFOR3, L.UFOR4);
  WALLEI(run);
  run.m.ITR.NSECF = run.m.C.NSECT;
  RECQTP(run);
  RESTRN(run);
  TIEBCK(run);
}

void PRSLOD(Run& run) {
  const auto& C = run.m.C;
  const auto& PRS = run.m.PRS;
  auto& STA = run.m.STA;
  const int NI = C.NI;
  run.m.CRV.NCRV4 = 0;
  // Step 6: no earth pressure, no load (an empty table adds nothing).
  const int NPRES = C.KEP >= 1 ? std::clamp(PRS.NPRES, 0, MXPRES) : 0;
  if (NPRES > 0) {
    const int NP = NEAREST(PRS.PT(NPRES, PT_DEPTH) / C.H);
    // Option 4: support curves at stations 1..NX in place of the plain load. The station
    // below them keeps its plain load: leaving it unloaded would lose the pressure of
    // one whole station at the excavation level.
    int NX = 0;
    if (C.KEP == 4) {
      NX = std::clamp(NEAREST(C.XEXC / C.H), 0, std::max(NP, 0));
      EPCRVS(run, NPRES, NX);
    }
    int IR = 1;
    for (int I = 1; I <= NP; ++I) {
      const double P = PLOAD(PRS, NPRES, I * C.H, IR);
      if (I <= NX) continue;
      if (I > NI + 2) {
        if (P != 0) BEYOND(run);
        continue;
      }
      STA.Q(I + 4) += P;
      if (!std::isfinite(STA.Q(I + 4)))
        NONFIN(run, "THE LOAD OF THE EARTH PRESSURE AT STATION " + std::to_string(I), EPREC(run));
    }
  }
  // Step 7: nothing may load the stations below the wall.
  const int K1 = NI + 5, K2 = NI + 6;
  if (STA.EI(K1) != 0 || STA.Q(K1) != 0 || STA.S(K1) != 0 || STA.T(K1) != 0 || STA.R(K1) != 0 ||
      STA.P(K1) != 0 || STA.EI(K2) != 0 || STA.T(K2) != 0 || STA.R(K2) != 0 || STA.P(K2) != 0)
    BEYOND(run);
}
