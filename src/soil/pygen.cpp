// pygen.cpp -- p-y curve generation: the soil layers below the excavation surface down
// to two increments below the wall tip, five curve depths per layer (more when the run
// asks for them), the distributions of unit weight and strength, "SOIL LAYERS AND
// STRENGTH DATA" with the warning of curve depths too coarse, and the curves of every
// layer by its soil type, written to the curve-exchange file.
#include <algorithm>
#include <cmath>
#include <string>

#include "report/report.h"
#include "soil/soil_impl.h"

namespace {

// A value of a layer given at its top (A) and bottom (B), at the fraction F of its
// thickness; the ends are taken as given.
double LERP(double A, double B, double F) {
  if (F == 0) return A;
  if (F == 1) return B;
  return A + (B - A) * F;
}

// Working values of the problem: labels, constants, spacing ratio and cycles.
void PYSET(Run& run) {
  const auto& C = run.m.C;
  const auto& S = run.m.SOIL;
  auto& SW = run.m.SW;
  const bool ENG = C.IUNIT == ENGLISH;
  SW.UDEP = ENG ? " FT" : "  M";
  SW.UFOR = ENG ? "LBS" : " KN";
  SW.ULEN = ENG ? "IN" : " M";
  SW.GAMW = ENG ? 0.036f : 9.81f;  // single-precision constants, as the earth pressure uses them
  SW.EPS = ENG ? 0.1 : 0.01;
  SW.YREF = ENG ? 12.0 : 0.3048;
  SW.RWAWP = S.WA / S.WP;
  SW.SRATIO = std::max(SW.RWAWP, 1.0);
  SW.CYCLES = S.CYCLES;
  if (CYCLIC(run.m) && !(SW.CYCLES >= 1.0E-6)) SW.CYCLES = 100;
  SW.XEND = (C.NI + 2) * C.H - C.XEXC;
  SW.NCD = std::clamp(run.m.D.NCDRUN, NCDDEF, MXCD);
}

// Unit-weight points of one layer from T to U, with a break at the water table ZW.
void PYGAMP(SoilWork& SW, double T, double U, double G, double ZW) {
  auto ADD = [&](double X, double W) {
    const int I = ++SW.NGP;
    SW.XG(I) = X;
    SW.GG(I) = W;
  };
  const double GW = G - SW.GAMW;
  if (ZW <= T) {
    ADD(T, GW);
    ADD(U, GW);
  } else if (ZW >= U) {
    ADD(T, G);
    ADD(U, G);
  } else {
    ADD(T, G);
    ADD(ZW, G);
    ADD(ZW, GW);
    ADD(U, GW);
  }
}

// Curve depths too coarse where it matters. A curve between two curve depths is their
// linear interpolation, which misstates the resistance where it does not grow linearly
// with depth: in sand and silt, whose wedge resistance against a pile grows with the
// square of the depth over the top tens of widths and whose curves scale with the
// coefficients A and B of x/b over the top five, and in stiff clay with free water,
// whose curves scale with As or Ac of x/b over the top four (interpolated across the top
// of such a layer, a thick one is stiffer and stronger than its soil). Near the top of a
// layer, where the response of the wall is decided, the curve depths should lie no more
// than one width b apart: a layer is coarse when two consecutive curve depths, the first
// within CDZONE widths of the layer's top, lie more than b apart. The other clays resist
// linearly with depth (up to a constant), and so does rock; against a continuous wall
// (spacing ratio below 1.1) the resistance is the passive pressure, linear in depth, its
// coefficients of depth reaching their end value within a few feet: none is checked.
constexpr double CDZONE = 10;  // widths below the top of a layer where the spacing counts

bool CDCURV(const SoilWork& SW, int N) {
  const int K = SW.KTYPE(N);
  return K == 2 || K == 4 || K == 5;  // stiff clay with free water, sand, silt
}

// The warning of each coarse layer, naming the layer and the number of curve depths per
// layer (BRANTO_CURVE_DEPTHS, or the host's --curve-depths) that spaces its depths no
// more than b apart.
void CDCOAR(Run& run) {
  const auto& SW = run.m.SW;
  const double B = run.m.SOIL.WP;
  if (SW.SRATIO < 1.1 || !(B > 0)) return;
  // A length as the report gives depths: feet in English units, two decimals.
  const bool ENG = run.m.C.IUNIT == ENGLISH;
  const auto LEN = [&](double X) {
    const std::string F = io::format("(F12.2)", ENG ? X / 12 : X);
    return F.substr(std::min(F.find_first_not_of(' '), F.size())) + (ENG ? " FT" : " M");
  };
  static const char* const NAME[8] = {"SOFT CLAY", "SOFT CLAY", "STIFF CLAY WITH FREE WATER",
                                      "STIFF CLAY WITHOUT FREE WATER", "SAND", "SILT", "ROCK", "WEAK ROCK"};
  for (int N = 1; N <= SW.NLI; ++N) {
    if (!CDCURV(SW, N)) continue;
    double DMAX = 0;  // the widest spacing that starts within the zone
    for (int I = 1; I < SW.NCD; ++I)
      if (SW.XC(N, I) - SW.XT(N) < CDZONE * B) DMAX = std::max(DMAX, SW.XC(N, I + 1) - SW.XC(N, I));
    if (!(DMAX > B)) continue;
    const double NEED = std::ceil((SW.XB(N) - SW.XT(N)) / B) + 1;  // spacing (U - T)/(NEED - 1) <= b
    const int K = SW.KTYPE(N);
    std::string TEXT = "SOIL LAYER " + std::to_string(SW.LNUM(N)) + " (" + NAME[K >= 1 && K <= 7 ? K : 1] +
                       "): CURVE DEPTHS " + LEN(DMAX) + " APART NEAR ITS TOP, MORE THAN THE WIDTH " + LEN(B) +
                       ": ITS RESISTANCE MAY BE OVERSTATED";
    if (NEED <= MXCD) {
      const std::string NC = std::to_string(static_cast<int>(NEED));
      TEXT += "; SET BRANTO_CURVE_DEPTHS=" + NC + " (BRANTO --curve-depths " + NC + ") FOR " + NC +
              " CURVE DEPTHS PER LAYER";
    } else {
      TEXT += "; GIVE IT AS THINNER LAYERS (BRANTO_CURVE_DEPTHS ALLOWS " + std::to_string(MXCD) +
              " CURVE DEPTHS PER LAYER)";
    }
    WARN(run, TEXT);
  }
}

}  // namespace

void PYLAYS(Run& run) {
  const auto& C = run.m.C;
  const auto& S = run.m.SOIL;
  auto& SW = run.m.SW;
  PYSET(run);
  SW.NLI = 0;
  SW.NGP = 0;
  SW.NSP = 0;
  const double XEXC = C.XEXC;
  const double ZW = S.ZWA - XEXC;  // backfill water table below the excavation surface
  const int NL = std::clamp(S.NL, 0, MXLAY);
  double ZPREV = 0;  // top of input layer J below the top of the wall
  for (int J = 1; J <= NL; ++J) {
    const double ZB = S.ZBOT(J);
    // A layer of no thickness ends the profile, as it ends the earth-pressure profile.
    if (!(ZB > ZPREV)) break;
    // Step 1: layers at or above the excavation surface are skipped.
    if (ZB <= XEXC) {
      ZPREV = ZB;
      continue;
    }
    const double ZT = std::max(ZPREV, XEXC);
    if (ZT - XEXC >= SW.XEND) break;
    // Step 2: the profile ends two increments below the tip; the layer that reaches
    // past it is cut there, with its values at the cut.
    const bool CUT = ZB - XEXC > SW.XEND;
    const double FT = (ZT - ZPREV) / (ZB - ZPREV);
    const double FB = CUT ? (SW.XEND + XEXC - ZPREV) / (ZB - ZPREV) : 1.0;
    const int N = ++SW.NLI;
    SW.LNUM(N) = J;
    SW.KTYPE(N) = S.LTYPE(J);
    SW.XT(N) = ZT - XEXC;
    SW.XB(N) = CUT ? SW.XEND : ZB - XEXC;
    SW.GAMI(N) = S.GAMMA(J);
    SW.ST(N) = LERP(S.STRTOP(J), S.STRBOT(J), FT);
    SW.SB(N) = LERP(S.STRTOP(J), S.STRBOT(J), FB);
    SW.PHT(N) = LERP(S.PHITOP(J), S.PHIBOT(J), FT);
    SW.PHB(N) = LERP(S.PHITOP(J), S.PHIBOT(J), FB);
    SW.E5T(N) = LERP(S.E50TOP(J), S.E50BOT(J), FT);
    SW.E5B(N) = LERP(S.E50TOP(J), S.E50BOT(J), FB);
    SW.KPT(N) = LERP(S.KPYTOP(J), S.KPYBOT(J), FT);
    SW.KPB(N) = LERP(S.KPYTOP(J), S.KPYBOT(J), FB);
    SW.RQ(N) = S.RQD(J);
    SW.F(N) = 0;
    SW.HEQ(N) = SW.XT(N);
    // Step 4: NCD curve depths (five unless the run asks for more), the outer ones the
    // end distance from the layer's ends, the others evenly spaced: at the quarters for
    // five. A layer whose end distance is not below that spacing keeps its outer depths
    // half the spacing from its ends, so that its curve depths stay in order.
    const double T = SW.XT(N), U = SW.XB(N);
    const int NCD = SW.NCD;
    const double FR1 = 1.0 / (NCD - 1);  // the spacing as a fraction of the thickness
    const double E = SW.EPS < FR1 * (U - T) ? SW.EPS : (0.5 * FR1) * (U - T);
    SW.XC(N, 1) = T + E;
    for (int I = 2; I < NCD; ++I) SW.XC(N, I) = T + (static_cast<double>(I - 1) / (NCD - 1)) * (U - T);
    SW.XC(N, NCD) = U - E;
    // Step 3: unit weight, effective below the backfill water table.
    PYGAMP(SW, T, U, S.GAMMA(J), ZW);
    // Strength distribution: the layer's top and bottom points.
    for (int K = 1; K <= 2; ++K) {
      const int I = ++SW.NSP;
      SW.XS(I) = K == 1 ? T : U;
      SW.SS(I) = K == 1 ? SW.ST(N) : SW.SB(N);
      SW.PHIS(I) = K == 1 ? SW.PHT(N) : SW.PHB(N);
      SW.E50S(I) = K == 1 ? SW.E5T(N) : SW.E5B(N);
      SW.KPYS(I) = K == 1 ? SW.KPT(N) : SW.KPB(N);
      SW.RQDS(I) = SW.RQ(N);
    }
    if (CUT) break;
    ZPREV = ZB;
  }
}

// "SOIL LAYERS AND STRENGTH DATA": layers, both distributions, the reduction factors and
// the heading of the curves.
void PYREPT(Run& run) {
  const auto& C = run.m.C;
  const auto& S = run.m.SOIL;
  const auto& SW = run.m.SW;
  const bool ENG = C.IUNIT == ENGLISH;
  const double DU = ENG ? 12.0 : 1.0;  // depths are printed in feet in English units
  io::write(run, LOUT, R"((/,/,6X,"**************************************************",/,6X,"*        SOIL LAYERS AND STRENGTH DATA           *",/,6X,"**************************************************",/))");
  io::write(run, LOUT, R"((9X,"X AT THE SURFACE OF EXCAVATION SIDE     = ",F10.2,A3))", C.XEXC / DU, SW.UDEP);
  io::write(run, LOUT, R"((/,9X,I1," LAYER(S) OF SOIL"))", SW.NLI);
  for (int N = 1; N <= SW.NLI; ++N) {
    io::write(run, LOUT, R"((/,9X,"LAYER",I3))", N);
    const int K = SW.KTYPE(N);
    switch (K) {
      case 2: io::write(run, LOUT, R"((9X,"THE SOIL IS A STIFF CLAY WITH FREE WATER"))"); break;
      case 3: io::write(run, LOUT, R"((9X,"THE SOIL IS A STIFF CLAY WITHOUT FREE WATER"))"); break;
      case 4: io::write(run, LOUT, R"((9X,"THE SOIL IS A SAND"))"); break;
      case 5: io::write(run, LOUT, R"((9X,"THE SOIL IS A SILT"))"); break;
      case 6: io::write(run, LOUT, R"((9X,"THE LAYER IS ROCK"))"); break;
      case 7: io::write(run, LOUT, R"((9X,"THE LAYER IS WEAK ROCK"))"); break;
      default: io::write(run, LOUT, R"((9X,"THE SOIL IS A SOFT CLAY"))"); break;  // soft clay serves them
    }
    if (CYCLIC(run.m) && K >= 1 && K <= 5) io::write(run, LOUT, R"(("              CYCLIC MODEL"))");
  }
  // Unit weight with depth (depths from the top of the wall).
  io::write(run, LOUT, R"((/,9X,"DISTRIBUTION OF EFFECTIVE UNIT WEIGHT WITH DEPTH",/,27X,I2," POINTS",/))", SW.NGP);
  io::write(run, LOUT, R"((15X,"X,",A3,1X,"WEIGHT,",A3,"/",A2,"**3"))", SW.UDEP, SW.UFOR, SW.ULEN);
  for (int I = 1; I <= SW.NGP; ++I)
    io::write(run, LOUT, "(5X,F15.4,1P,E15.4)", (C.XEXC + SW.XG(I)) / DU, SW.GG(I));
  // Strength parameters with depth.
  io::write(run, LOUT, R"((/,9X,"DISTRIBUTION OF STRENGTH PARAMETERS WITH DEPTH",/,27X,I2," POINTS",/))", SW.NSP);
  io::write(run, LOUT, R"((15X,"X,",A3,4X,"S,",A3,"/",A2,"**2",4X,"PHI,DEGREE ",12X,"E50",2X,"KPY,",A3,"/",A2,"**3"))",
            SW.UDEP, SW.UFOR, SW.ULEN, SW.UFOR, SW.ULEN);
  for (int I = 1; I <= SW.NSP; ++I) {
    const double X = (C.XEXC + SW.XS(I)) / DU;
    if (SW.E50S(I) <= 1.0E-6) {
      io::write(run, LOUT, R"((5X,F15.2,2X,1P,E13.4,2X,0P,F13.3,7X,"-----",3X,2X,1P,E13.4))", X, SW.SS(I),
                SW.PHIS(I), SW.KPYS(I));
    } else {
      io::write(run, LOUT, "(5X,F15.2,2X,1P,E13.4,2X,0P,F13.3,1P,E15.4,2X,1P,E13.4)", X, SW.SS(I), SW.PHIS(I),
                SW.E50S(I), SW.KPYS(I));
    }
  }
  // The modification factors as given.
  const int NM = std::min(C.NPYMOD, MXPYM);
  if (NM > 0) {
    io::write(run, LOUT, R"((/,9X,"REDUCTION FACTORS FOR CLOSELY-SPACED WALL ELEMENTS",/,7X,"                                 ",/,7X,"      DEPTH     P-FACTOR     Y-FACTOR        ",/))");
    for (int I = 1; I <= NM; ++I)
      io::write(run, LOUT, "(12X,F7.2,4X,F6.2,6X,F6.2)", S.PYMD(I), S.PYMP(I), S.PYMY(I));
  }
  CDCOAR(run);
  io::write(run, LOUT, R"((/,/,8X,"P-Y CURVES DATA",/))");
}

namespace {

// The user curves at the head of the curve-exchange file, as read from the input.
void PYUSRF(Run& run) {
  const auto& U = run.m.UPY;
  auto& SW = run.m.SW;
  SW.NUSRF = std::clamp(run.m.C.NPYU, 0, MXPYU);
  for (int I = 1; I <= SW.NUSRF; ++I) {
    const int NP = std::clamp(U.NPT(I), 0, MXCPT);
    io::list_write(run, LPYW, U.KEY(I), NP);
    for (int J = 1; J <= NP; ++J) io::list_write(run, LPYW, J, U.YU(I, J), U.PU(I, J));
  }
}

}  // namespace

void PYDISP(Run& run) {
  auto& SW = run.m.SW;
  for (int N = 1; N <= SW.NLI; ++N) {
    SW.NLCUR = N;
    SW.KSOIL = SW.KTYPE(N);
    switch (SW.KSOIL) {
      case 2: STIFFW(run, N); break;
      case 3: STIFFD(run, N); break;
      case 4: SANDPY(run, N); break;
      case 5: SILTPY(run, N); break;
      case 6: ROCKPY(run, N); break;
      case 7: WROCKPY(run, N); break;
      default:
        SOFTCL(run, N);
        break;
    }
  }
}

void PYGEN(Run& run) {
  const auto& C = run.m.C;
  const auto& S = run.m.SOIL;
  auto& SW = run.m.SW;
  io::write(run, LCON, R"((" READ SOIL DATA...."))");
  // Every curve is built on the width WP, and its depths start at the excavation surface.
  // No wall record read at all: the soil profile comes only with the earth-pressure data.
  if (!(S.WP > 0) && S.LWALL == 0)
    INPERR(run, "ERROR -- P-Y CURVES ARE TO BE GENERATED (KPYGEN = 2, " + ATLINE("CONTROL RECORD", C.LCTRL) +
                    "), BUT NO SOIL PROFILE HAS BEEN READ: IT IS READ ONLY WITH THE EARTH-PRESSURE DATA, KEP = 2 "
                    "OR MORE IN A PROBLEM WITH WALL SECTIONS (HERE KEP = " + std::to_string(C.KEP) + ", NSECT = " +
                    std::to_string(C.NSECT) + ")");
  if (!(S.WP > 0))
    INPERR(run, "ERROR -- THE WIDTH FOR SOIL RESISTANCE (WP) MUST BE POSITIVE WHEN P-Y CURVES ARE GENERATED (" +
                    ATLINE("WALL RECORD, VALUE 3", S.LWALL) + ")");
  if (!(C.XEXC >= 0))
    INPERR(run, "ERROR -- THE DEPTH OF THE EXCAVATION SURFACE (XEXC) MUST NOT BE NEGATIVE WHEN P-Y CURVES ARE GENERATED (" +
                    ATLINE("SECOND CONTROL RECORD, VALUE 5", C.LCTL2) + ")");
  PYLAYS(run);
  PYREPT(run);
  // The curve-exchange file: the count, the user curves, the generated curves.
  const auto& NAME = run.m.D.NAMES[9];
  if (NAME.trimmed().empty()) throw io::FileError("no curve-exchange file named in NAMES.dat (record 9)");
  run.u.open(LPYW, NAME.trimmed(), "curve-exchange file");
  SW.NUSRF = std::clamp(C.NPYU, 0, MXPYU);
  SW.NGEN = SW.NCD * SW.NLI;
  SW.KHELD = 1;
  SW.NHELD = 0;
  SW.NXCNT = SW.NUSRF + SW.NGEN;
  io::list_write(run, LPYW, SW.NXCNT);
  PYUSRF(run);
  PYDISP(run);
  run.u.close(LPYW);
}
