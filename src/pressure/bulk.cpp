// bulk.cpp -- the lateral pressure sampled along the wall: twelve columns per depth
// (active earth and water, surcharge, passive, at rest, the parts of the active load),
// the apparent-pressure envelopes of options 3 and 5, and the pressure-exchange file.
// Rows are formed in the pressure table PRS.PT and written from there; the driver reads
// the file back over it.
#include <algorithm>
#include <cmath>
#include <string>

#include "pressure/pressure_impl.h"
#include "report/report.h"

namespace {

// Samples per unit length: one per inch in English units, one per 0.05 m in SI.
int SPERL(const Control& C) { return C.IUNIT == SI ? 20 : 1; }

// The working layers sampled: every layer from the top down to the one that reaches the
// wall tip, that one only down to the tip; when the profile ends above the tip, the last
// working layer is carried down to it. So the table always ends at the wall tip, and
// the rows counted are the rows formed.
int JLAST(const Run& run) {
  const auto& EP = run.m.EP;
  const double WL = run.m.C.H * run.m.C.NI;
  for (int J = 1; J <= EP.NLW; ++J)
    if (EP.ZTOP(J + 1) >= WL - EP.TOLEP) return J;
  return EP.NLW;
}
// Samples of layer J (up to JLAST) and the thickness they cover.
int NSAMP(const Run& run, int J, int JL, double& T) {
  const auto& EP = run.m.EP;
  T = J < JL ? EP.THICK(J) : run.m.C.H * run.m.C.NI - EP.ZTOP(J);
  // Beyond +-1.0E7 samples the bound: far more rows than the table holds.
  return NEAREST(T * SPERL(run.m.C), 10000000);
}

bool ENVOPT(int KEP) { return KEP == 3 || KEP == 5; }

// A row of the table that is not finite ends the run before the exchange file is
// written, naming the input behind it: the surcharge rows when its surcharge part is not
// finite, else the soil layer at its depth (the profile's last layer below it).
void PTFIN(Run& run, int NROWS) {
  const auto& PT = run.m.PRS.PT;
  const auto& SOIL = run.m.SOIL;
  for (int I = 1; I <= NROWS; ++I) {
    int K = 1;
    while (K <= NPTCOL && std::isfinite(PT(I, K))) ++K;
    if (K > NPTCOL) continue;
    const std::string WHAT = "THE LATERAL PRESSURE OF ROW " + std::to_string(I) + " OF THE PRESSURE TABLE";
    if (!std::isfinite(PT(I, PT_SIGMAH)) && SOIL.NSUR > 0)
      NONFIN(run, WHAT, INREC(run, "surcharge row", 1, SOIL.LSUR(1)));
    const int NL = std::clamp(SOIL.NL, 1, MXLAY);
    int J = 1;
    while (J < NL && !(PT(I, PT_DEPTH) <= SOIL.ZBOT(J))) ++J;
    NONFIN(run, WHAT, INREC(run, "soil layer", J, SOIL.LLAY(J)));
  }
}

}  // namespace

BulkRows BULKN(Run& run) {
  const auto& EP = run.m.EP;
  const int JL = JLAST(run);
  BulkRows R;
  R.NFORM = 1;
  int NABOVE = 0;  // samples above the excavation level
  for (int J = 1; J <= JL; ++J) {
    double T;
    const int N = std::max(0, NSAMP(run, J, JL, T));
    R.NFORM += N;
    if (J < EP.IEXC) NABOVE += N;
    if (R.NFORM > MXPRES) break;  // already too many; keep the sum in range
  }
  // Options 3 and 5 write the last sample above the excavation level twice: with the
  // envelope and as formed. The count announced includes it, so the reader reads every
  // row written, the wall-tip row included.
  R.NWRITE = R.NFORM + (ENVOPT(run.m.C.KEP) && NABOVE > 0 ? 1 : 0);
  return R;
}

namespace {

// What the sampling leaves for the envelopes: the running active and earth forces above
// HFREE, and the last row above the excavation level.
struct Sampled {
  double F = 0, FE = 0;
  int ILAST = 1;
};

// BULKSM -- the surface row (depth 0) and the sampled rows of the working layers down to
// the wall tip: rows 1..NR.NFORM of PT.
Sampled BULKSM(Run& run, const BulkRows& NR) {
  auto& EP = run.m.EP;
  const auto& C = run.m.C;
  auto& PT = run.m.PRS.PT;
  const int KEP = C.KEP;
  const double M = run.m.SOIL.AMOD;
  const double TOL = EP.TOLEP;
  const double SIGV1 = EP.SIGV(1);

  // First row, depth 0.
  for (int K = 1; K <= NPTCOL; ++K) PT(1, K) = 0;
  PT(1, PT_LOAD) = EP.KA(1) * M * SIGV1;
  const double C4 = SIGV1 <= 0 ? 0 : PT(1, PT_LOAD);
  PT(1, PT_SURCHARGE) = C4;
  PT(1, PT_TOTAL) = KEP == 5 ? 0 : C4;
  PT(1, PT_PASSIVE) = EP.KP(1) * M * SIGV1;
  PT(1, PT_SURFACE) = KEP == 5 ? 0 : C4;

  // Rows of the layers.
  Sampled S;                        // running forces above HFREE, last row above
  double C2PREV = PT(1, PT_LOAD);   // PT_LOAD of the row above
  double EPREV = PT(1, PT_SURFACE) + PT(1, PT_EARTH);  // earth-only value of the row above
  double GPS = 0, GAR = 0;          // passive and at-rest gradients of the last layer above
  int IROW = 1;                     // row
  const int JL = JLAST(run);
  const double SDIV = C.IUNIT == SI ? 20 : 1;
  for (int J = 1; J <= JL; ++J) {
    double T;
    const int N = NSAMP(run, J, JL, T);
    if (N <= 0) continue;
    const bool ABOVE = J < EP.IEXC;
    const double KA = EP.KA(J), SQKA = EP.SQKA(J), KP = EP.KP(J), TANKP = EP.TANKP(J), K0 = EP.K0(J);
    const double C2S = 2 * EP.STREN(J);
    const double GP = EP.WETTOP(J) && EP.DRAIND(J) ? EP.WEIGHT(J) - EP.GAMW : EP.WEIGHT(J);
    const double W = EP.WETTOP(J) ? EP.GAMW : 0;
    const double WD = EP.DRAIND(J) && EP.WATFLG == 1 ? W : 0;
    const double WU = !EP.DRAIND(J) ? W : 0;
    const double DZ0 = EP.ZTOP(J) - EP.ZWA;
    const double SIG = ABOVE ? EP.SIGV(J) : EP.SIGV(EP.IEXC);
    // Values at the top of the layer and their gradients per unit depth. Below the
    // excavation level the active pressure stays at its excavation-level value and the
    // passive and at-rest gradients are those of the last layer above.
    const double E0 = M * (KA * SIG - C2S * SQKA);
    double A0, GEW, P0, R0;
    if (ABOVE) {
      A0 = M * (KA * SIG - C2S * SQKA + WD * DZ0);
      GEW = M * (KA * GP + WD);
      P0 = M * (KP * SIG + TANKP * C2S + WD * DZ0);
      GPS = M * (KP * GP + WD);
      GAR = M * (K0 * GP + WD);
    } else {
      A0 = EP.HFREE < EP.ZWA ? E0 : M * (KA * SIG - C2S * SQKA + WD * (EP.HFREE - EP.ZWA));
      GEW = 0;
      P0 = M * (KP * SIG + C2S * SQKA + WD * DZ0);
    }
    R0 = M * ((SIG + C2S) * K0 + WD * DZ0);
    const double W0 = M * (WD + WU) * DZ0;
    const double GW = M * (WD + WU);
    const double C9 = SIGV1 < 1.0E-6f ? 0 : std::max(0.0, M * (KA * SIGV1 - C2S * SQKA));

    for (int K = 1; K <= N; ++K) {
      const double DZ = K * T / N;
      const double Z = EP.ZTOP(J) + DZ;
      ++IROW;
      double EW = A0 + GEW * DZ;
      double E = ABOVE ? E0 - M * WU * DZ0 + (M * KA * GP - M * WU) * DZ : E0;
      double WAT = W0 + GW * DZ;
      double PS = P0 + GPS * DZ;
      double AR = R0 + GAR * DZ;
      // Step 1: surcharge.
      SURPRS(run, Z);
      const double SH = EP.SIGMAH;
      double C2 = KEP == 3 ? EW : EW + SH;
      double C3 = EW;
      PS = PS + SH;
      AR = AR + SH;
      // Step 2: water on the excavation side.
      const double U = Z > EP.ZWP ? (Z - EP.ZWP) * EP.GAMW : 0;
      const double UH = Z > EP.ZWP ? std::max(0.0, (std::min(Z, EP.HFREE) - EP.ZWP) * EP.GAMW) : 0;
      WAT = WAT - M * U;
      if (EP.WETTOP(J)) {
        C2 = C2 - M * UH;
        C3 = C3 - M * UH;
      }
      // Step 3: floors that keep the active pressures strictly positive.
      const double RF = static_cast<float>(IROW) * 1.0E-12f;
      if (C2 < TOL) C2 = RF;
      if (C3 < TOL) C3 = RF;
      if (!(E >= TOL)) {
        if (WAT <= TOL) {
          E = RF;
        } else {
          WAT = WAT + E;
          E = RF;
          if (WAT < TOL) WAT = RF;
        }
      }
      // Step 4: the surface-pressure part.
      C3 = C3 - C9;
      const double C7 = E - C9;
      PT(IROW, PT_DEPTH) = Z;
      PT(IROW, PT_LOAD) = C2;
      PT(IROW, PT_ACTIVE) = C3;
      PT(IROW, PT_SURCHARGE) = SH + C9;
      PT(IROW, PT_PASSIVE) = PS;
      PT(IROW, PT_ATREST) = AR;
      PT(IROW, PT_EARTH) = C7;
      PT(IROW, PT_WATER) = WAT;
      PT(IROW, PT_SURFACE) = C9;
      PT(IROW, PT_SIGMAH) = SH;
      PT(IROW, PT_ENVELOPE) = 0;
      PT(IROW, PT_TOTAL) = C9 + C7 + SH + WAT;
      // Step 5: trapezoid sums above the excavation level.
      if (ABOVE) {
        S.F = S.F + (C2PREV + C2) / 2 / SDIV;
        S.FE = S.FE + (EPREV + E) / 2 / SDIV;
        S.ILAST = IROW;
      }
      C2PREV = C2;
      EPREV = E;
    }
  }
  assert(IROW == NR.NFORM);
  (void)NR;
  return S;
}

// BULKEN -- options 3 and 5: the apparent-pressure envelopes above the excavation level
// (rows 2..ILAST). The last row above is kept once more, as formed, right after the
// envelope rows.
void BULKEN(Run& run, const BulkRows& NR, const Sampled& S) {
  auto& EP = run.m.EP;
  const auto& C = run.m.C;
  auto& PT = run.m.PRS.PT;
  const int KEP = C.KEP;
  const double M = run.m.SOIL.AMOD;
  const double SIGV1 = EP.SIGV(1);
  const double F = S.F, FE = S.FE;
  const int ILAST = S.ILAST;
  const int NWRITE = NR.NWRITE;
  if (NWRITE > NR.NFORM)
    for (int I = NR.NFORM; I >= ILAST; --I)
      for (int K = 1; K <= NPTCOL; ++K) PT(I + 1, K) = PT(I, K);
  const double HD = EP.HFREE;
  const int NT = std::clamp(C.NTIE, 0, MXTIE);
  const auto& KSTA = run.m.TIE.KSTA;
  const double ZTIE1 = NT >= 1 ? (KSTA(1) - 4) * C.H : 0;
  const double ZTIEN = NT >= 1 ? (KSTA(NT) - 4) * C.H : 0;
  // Geometry: ramp to A, plateau to PEND, down over B.
  double A = 2 * ZTIE1 / 3, B, PEND;
  if (NT < 2) {
    B = 2 * (HD - ZTIE1) / 3;
    PEND = HD / 3 + A;
  } else {
    B = 2 * (HD - ZTIEN) / 3;
    PEND = HD - B;
  }
  if (KEP == 5 && EP.ITYPE1 == 1) {
    A = HD / 4;
    B = 0;
    PEND = HD;
  }
  auto PEAK = [&](double FF) {
    if (NT == 1) return HD != 0 ? 3.9f * FF / (2 * HD) : 0.0;
    if (NT >= 2) {
      const double DEN = HD - (HD - ZTIEN + ZTIE1) / 3;
      return DEN != 0 ? 1.3f * FF / DEN : 0.0;
    }
    return 0.0;
  };
  auto ENV = [&](double P, double Z) {
    if (Z < A) return P * Z / A;
    if (Z <= PEND || B == 0) return P;
    return P - (Z - PEND) * P / B;
  };
  const double PEAK1 = PEAK(F);
  const double PEAK2 = KEP == 3 ? PEAK(FE) : EP.KA(EP.IEXC) * EP.SIGV(EP.IEXC) * M;
  for (int I = 2; I <= ILAST; ++I) {
    const double Z = PT(I, PT_DEPTH);
    PT(I, PT_LOAD) = ENV(PEAK1, Z);
    PT(I, PT_ENVELOPE) = ENV(PEAK2, Z);
    if (KEP == 3) {
      PT(I, PT_TOTAL) = PT(I, PT_ENVELOPE) + PT(I, PT_SIGMAH) + PT(I, PT_WATER);
    } else {
      PT(I, PT_TOTAL) = PT(I, PT_ENVELOPE) + PT(I, PT_SIGMAH);
      PT(I, PT_SURFACE) = PEAK2 != 0 ? SIGV1 * EP.KA(1) * M * PT(I, PT_ENVELOPE) / PEAK2 : 0;
      PT(I, PT_EARTH) = PT(I, PT_ENVELOPE) - PT(I, PT_SURFACE);
      PT(I, PT_WATER) = 0;
    }
  }
  if (KEP == 5)
    for (int I = ILAST + 1; I <= NWRITE; ++I) {
      PT(I, PT_ENVELOPE) = 0;
      PT(I, PT_EARTH) = PT(I, PT_EARTH) + PT(I, PT_WATER);
      PT(I, PT_WATER) = 0;
    }
}

// BULKWR -- the pressure-exchange file of rows 1..NWRITE: the count, then one record of
// twelve values per row. Each row is kept in PH as the file holds it (three significant
// digits), which is what the driver reads back; when a row would not read back so, the
// driver reads the file.
void BULKWR(Run& run, int NWRITE) {
  auto& PRS = run.m.PRS;
  const auto& PT = PRS.PT;
  PTFIN(run, NWRITE);
  const auto& NAME = run.m.D.NAMES[10];
  if (NAME.trimmed().empty()) throw io::FileError("no pressure-exchange file named in NAMES.dat (record 10)");
  run.u.open(LNAM, NAME.trimmed(), "pressure-exchange file");
  io::list_write(run, LNAM, NWRITE);
  auto& PH = PRS.PH;
  PRS.KHELD = 1;
  PRS.NHELD = NWRITE;
  for (int I = 1; I <= NWRITE; ++I) {
    for (int K = 1; K <= NPTCOL; ++K) PH(I, K) = PT(I, K);
    // The whole row, columns 1 to NPTCOL in order.
    if (!io::write_held(run, LNAM, "(12(1X,E10.3))", PH(I, 1), PH(I, 2), PH(I, 3), PH(I, 4), PH(I, 5), PH(I, 6),
                        PH(I, 7), PH(I, 8), PH(I, 9), PH(I, 10), PH(I, 11), PH(I, 12)))
      PRS.KHELD = 0;
  }
  run.u.close(LNAM);
}

}  // namespace

void BULK(Run& run) {
  const BulkRows NR = BULKN(run);
  if (NR.NWRITE > MXPRES) TOOMCH(run, "ROWS OF THE PRESSURE TABLE", NR.NWRITE, MXPRES);
  run.m.PRS.NPRES = 0;
  const Sampled S = BULKSM(run, NR);
  if (ENVOPT(run.m.C.KEP)) BULKEN(run, NR, S);
  BULKWR(run, NR.NWRITE);
}
