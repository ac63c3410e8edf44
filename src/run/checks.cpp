// checks.cpp -- the checks that never change the analysis: input values that the engine
// takes in a way the user may not expect, each named in one WARNING line of a block after
// the input echo; a solution that holds no equilibrium; data left unread after the end
// code that ends the run. Depths and lengths are shown in the unit of the input.
#include <algorithm>
#include <cmath>
#include <string>

#include "report/report.h"
#include "run/run_impl.h"

namespace {

// The sixth value of a layer's top record, taken as the active earth-pressure
// coefficient whenever it is above 1.0E-7, is no plausible coefficient above this bound
// (the usual KPY of the same field is thousands).
constexpr double KOPTMX = 5.0;

// Two values given for one quantity agree within this fraction of the larger (at least
// of 1 unit).
bool SAME(double A, double B) { return std::fabs(A - B) <= 1.0E-5 * std::max({1.0, std::fabs(A), std::fabs(B)}); }

// One warning of the block after the input echo; the first opens the block with an
// empty line of the report.
void BWARN(Run& run, int& NW, const std::string& TEXT) {
  if (NW++ == 0 && run.u.is_open(LOUT)) io::list_write(run, LOUT);
  WARN(run, TEXT);
}

// The input lines L1 to L2 of a group of records: " (INPUT LINES 4 TO 5)".
std::string LINES(int L1, int L2) {
  if (L1 <= 0 || L2 <= L1) return ONLINE(L1);
  return " (INPUT LINES " + std::to_string(L1) + " TO " + std::to_string(L2) + ")";
}

// The soil profile in use: layers 1..JEND-1, up to the first layer whose bottom is not
// below the one above (a thickness of 0 or less ends the profile); ZEND its bottom.
struct Profile {
  int JEND = 1;
  double ZEND = 0;
};
Profile PROFIL(const SoilInput& S) {
  Profile P;
  const int NL = std::clamp(S.NL, 0, MXLAY);
  while (P.JEND <= NL && S.ZBOT(P.JEND) > P.ZEND) P.ZEND = S.ZBOT(P.JEND++);
  return P;
}

// The soil profile read in this problem leaves no layer at the excavation level: the
// earth pressure stops the run with its own explanation, which the warnings about the
// profile would only repeat.
bool NOEXC(const Run& run) {
  const auto& C = run.m.C;
  const auto& S = run.m.SOIL;
  return C.NSECT > 0 && C.KEP >= 2 && (S.HFREE < -1.0E-5 || !(PROFIL(S).ZEND > S.HFREE + 1.0E-5));
}

// Wall data: stations 0..NI that the wall sections leave without rigidity, each run of
// them in one warning.
void CHKEI(Run& run, int& NW) {
  const auto& C = run.m.C;
  const auto& EI = run.m.STA.EI;
  const auto& WS = run.m.WS;
  const int NS = std::min(C.NSECT, MXSECT);
  const double DU = C.IUNIT == ENGLISH ? C.H / 12 : C.H;  // station spacing in the unit of the depths
  for (int I = 0; I <= C.NI; ++I) {
    if (EI(I + 4) > 0) continue;
    int I2 = I;
    while (I2 < C.NI && !(EI(I2 + 5) > 0)) ++I2;
    BWARN(run, NW,
          "THE WALL SECTIONS" + (NS >= 1 ? LINES(WS.LWS(1), WS.LWS(NS)) : std::string()) + " LEAVE STATIONS " +
              std::to_string(I) + " TO " + std::to_string(I2) + " (DEPTHS " + RTEXT(I * DU) + " TO " + RTEXT(I2 * DU) +
              (C.IUNIT == ENGLISH ? " FT" : " M") +
              ") WITHOUT RIGIDITY IN THE FIRST SOLUTION: CHECK THE DEPTHS OF THE SECTIONS AND THE E AND I "
              "OF THEIR CROSS SECTIONS");
    I = I2;
  }
}

// Soil profile, read in this problem: the layers, their type codes and the sixth value
// of their top records, and where the profile ends.
void CHKSOI(Run& run, int& NW) {
  const auto& C = run.m.C;
  const auto& S = run.m.SOIL;
  const Profile P = PROFIL(S);
  const double XL = C.NI * C.H;
  const int NL = std::clamp(S.NL, 0, MXLAY);
  // A layer whose bottom does not lie below the one above ends the profile.
  if (P.JEND <= NL && !NOEXC(run)) {
    BWARN(run, NW,
          "SOIL LAYER " + std::to_string(P.JEND) + ONLINE(S.LLAY(P.JEND)) + " HAS ITS BOTTOM AT " +
              LTEXT(run, S.ZBOT(P.JEND)) + ", NOT BELOW " + (P.JEND == 1 ? "THE TOP OF THE WALL" : "THE LAYER ABOVE") +
              ": THE SOIL PROFILE ENDS THERE AND " +
              (P.JEND == NL ? "THE LAYER IS"
                            : "LAYERS " + std::to_string(P.JEND) + " TO " + std::to_string(NL) + " ARE") +
              " NOT USED (BOTTOMS ARE DEPTHS BELOW THE TOP OF THE WALL)");
  }
  // Above the excavation level the earth pressure cannot be formed: the stop that
  // follows says so. Above the wall tip both sides lose their soil below it.
  if (P.JEND > 1 && P.ZEND > S.HFREE && P.ZEND < XL && !SAME(P.ZEND, XL)) {
    std::string T = "THE SOIL PROFILE ENDS AT " + LTEXT(run, P.ZEND) + " (" +
                    ATLINE("BOTTOM OF SOIL LAYER " + std::to_string(P.JEND - 1), S.LLAY(P.JEND - 1)) +
                    "), ABOVE THE WALL TIP AT " + LTEXT(run, XL) +
                    ": THE EARTH PRESSURE CARRIES THE LAST LAYER DOWN TO THE TIP";
    if (C.KPYGEN == 2) T += ", THE P-Y CURVES END AT " + LTEXT(run, P.ZEND);
    if (C.IUNIT == ENGLISH && 12 * P.ZEND >= XL) T += "; IN ENGLISH UNITS LAYER DEPTHS ARE GIVEN IN INCHES";
    BWARN(run, NW, T);
  }
  // Layers the wall reaches (its tip and the two stations below it).
  double ZTOP = 0;
  for (int J = 1; J < P.JEND && ZTOP < (C.NI + 2) * C.H; ZTOP = S.ZBOT(J++)) {
    const int KT = S.LTYPE(J);
    if (KT < 1 || KT > 7) {
      BWARN(run, NW,
            "SOIL LAYER " + std::to_string(J) + ONLINE(S.LLAY(J)) + " HAS THE SOIL TYPE CODE " + std::to_string(KT) +
                ", NOT ONE OF 1 TO 7: ITS P-Y CURVES ARE BUILT AS SOFT CLAY, ITS EARTH "
                "PRESSURE AS FOR " +
                (KT >= 4 ? "A DRAINED SOIL (CODES 4 TO 7)" : "AN UNDRAINED SOIL (CODES 1 TO 3)"));
    }
    // Rock keeps its Rankine coefficient whatever the field holds.
    const double KOPT = S.KPYTOP(J);
    if (KT != 6 && KT != 7 && KOPT > KOPTMX) {
      BWARN(run, NW,
            "SOIL LAYER " + std::to_string(J) + " (" + ATLINE("TOP RECORD", S.LLTOP(J)) + "): ITS SIXTH VALUE " +
                RTEXT(KOPT) +
                ", THE KPY OF ITS P-Y CURVES, IS ALSO TAKEN AS ITS ACTIVE EARTH-PRESSURE "
                "COEFFICIENT, IN PLACE OF THE RANKINE ONE; NO COEFFICIENT IS ABOVE " +
                RTEXT(KOPTMX) + " (0 THERE KEEPS THE RANKINE ONE)");
    }
  }
}

}  // namespace

void CHECKS(Run& run) {
  const auto& C = run.m.C;
  const auto& S = run.m.SOIL;
  const auto& TIE = run.m.TIE;
  int NW = 0;  // warnings of the block so far
  const double XL = C.NI * C.H;
  const std::string CTL2 = ATLINE("SECOND CONTROL RECORD", C.LCTL2);
  // The length of the wall is NI*H; HWALL is only printed.
  if (std::fabs(XL - C.HWALL) > 0.5 * C.H) {
    BWARN(run, NW,
          "THE WALL IS NI * H = " + std::to_string(C.NI) + " * " + RTEXT(C.H) + " = " + LTEXT(run, XL) +
              " LONG, BUT ITS HEIGHT HWALL IS " + LTEXT(run, C.HWALL) + " (" + CTL2 +
              "): THE ANALYSIS TAKES NI * H, THE REPORT PRINTS HWALL");
  }
  // The profile and the wall record in force (read now or by an earlier problem).
  const bool GENEP = C.KEP >= 2 && S.LWALL > 0;
  if (GENEP && !SAME(C.XEXC, S.HFREE)) {
    BWARN(run, NW,
          "THE EXCAVATION DEPTH IS GIVEN TWICE AND DIFFERS: XEXC = " + LTEXT(run, C.XEXC) + " (" + CTL2 +
              "), HFREE = " + LTEXT(run, S.HFREE) + " (" + ATLINE("WALL RECORD", S.LWALL) +
              "); THE EARTH PRESSURE TAKES HFREE, THE P-Y CURVES AND THE WALL WIDTHS TAKE XEXC");
  }
  if (GENEP && TIE.NTIEF > 0 && !SAME(C.RV6, S.WA)) {
    BWARN(run, NW,
          "RV6 = " + RTEXT(C.RV6) + " (" + CTL2 + ") DIFFERS FROM THE WIDTH WA = " + LTEXT(run, S.WA) + " (" +
              ATLINE("WALL RECORD", S.LWALL) +
              "): RV6 IS THE WIDTH OF WALL ANALYSED; THE TIE BACKS ARE SCALED "
              "TO RV6, THE EARTH LOADS TO WA");
  }
  if (C.NSECT > 0) CHKEI(run, NW);
  if (C.NSECT > 0 && C.KEP >= 2) CHKSOI(run, NW);
  // Generated curves need a layer below the excavation surface within the wall.
  if (C.KPYGEN == 2 && S.WP > 0 && S.LWALL > 0 && !NOEXC(run)) {
    const Profile P = PROFIL(S);
    const double XEND = (C.NI + 2) * C.H;  // the curves end two increments below the tip
    if (!(P.ZEND > C.XEXC && C.XEXC < XEND)) {
      BWARN(run, NW,
            "P-Y CURVES ARE ASKED FOR (KPYGEN = 2, " + ATLINE("CONTROL RECORD", C.LCTRL) +
                "), BUT NONE ARE GENERATED: NO SOIL LAYER LIES BELOW THE EXCAVATION SURFACE XEXC = " +
                LTEXT(run, C.XEXC) + " ALONG THE WALL (THE SOIL PROFILE ENDS AT " + LTEXT(run, P.ZEND) + ")");
    }
  }
}

void CHKMEC(Run& run) {
  const auto& C = run.m.C;
  const auto& STA = run.m.STA;
  auto& ITR = run.m.ITR;
  ITR.KMECH = 0;
  // The failing exits have their own warnings.
  if (ITR.KEXIT != KXLIN && ITR.KEXIT != KXCONV && ITR.KEXIT != KXLIMC) return;
  const double XL = C.NI * C.H;
  int KMAX = 4, KNAN = 0;
  for (int K = 4; K <= C.NI + 4; ++K) {
    for (double V : {STA.W(K), STA.SLOPE(K), STA.XMOM(K), STA.SHEAR(K), STA.XNF(K)})
      if (!std::isfinite(V) && KNAN == 0) KNAN = K;
    if (std::fabs(STA.W(K)) > std::fabs(STA.W(KMAX))) KMAX = K;
  }
  if (KNAN > 0) {
    ITR.KMECH = 1;
    WARN(run, "NO EQUILIBRIUM WAS FOUND: THE SOLUTION HOLDS VALUES THAT ARE NOT FINITE (STATION " +
                  std::to_string(KNAN - 4) +
                  "): THE WALL IS A MECHANISM, ITS SUPPORTS CANNOT HOLD ITS LOADS; "
                  "THE RESULTS BELOW ARE NO ANSWER");
  } else if (std::fabs(STA.W(KMAX)) > XL) {
    ITR.KMECH = 1;
    WARN(run, "NO EQUILIBRIUM WAS FOUND: THE DEFLECTION " + LTEXT(run, STA.W(KMAX)) + " AT STATION " +
                  std::to_string(KMAX - 4) + " EXCEEDS THE LENGTH OF THE WALL, " + LTEXT(run, XL) +
                  ": THE WALL IS A MECHANISM, ITS SUPPORTS CANNOT HOLD ITS LOADS; THE RESULTS BELOW ARE NO ANSWER");
  }
}

void CHKEND(Run& run) {
  const auto& D = run.m.D;
  const int L = run.u.next_data_line(LINP);
  if (L == 0) return;
  WARN(run, "DATA AFTER THE END OF THE RUN: THE END CODE " + std::to_string(D.KEND) + ONLINE(D.LKEND) +
                " ENDS THE RUN (" +
                (D.KEND == 0 ? std::string("0 ALWAYS DOES") : "IT EQUALS THE STAGE INDICATOR ISTAGE") +
                "), SO INPUT LINE " + std::to_string(L) +
                " AND THE LINES AFTER IT ARE NOT READ; ANOTHER PROBLEM FOLLOWS AN END CODE OTHER THAN 0 AND ISTAGE");
}
