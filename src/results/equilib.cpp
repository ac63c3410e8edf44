// equilib.cpp -- the equilibrium of the last solution: horizontal force and moment about
// the wall tip of everything that acted on the wall, which must vanish for a solution of
// the station equations.
//
// The equation of station K (K = 3..NI+5), divided by h**3, reads
//   (M(K-1) - 2M(K) + M(K+1))/h + SW W - QW
//     + (c(K-1) - c(K+1))/(2h) = 0,   c(J) = T(J) + h P(J) th(J) + R(J) th(J),
// with M = EI W'' and th the central slope. Its beam term sums to zero over the stations,
// and so do its moments about the tip (the wall has no rigidity beyond its end
// stations). What remains is the balance of the actions: station loads Q, springs SW
// (support curves, tie backs, restraints), and couples c, each of which acts as the
// forces +c/(2h) at J-1 and -c/(2h) at J+1 of the stations that have an equation (a
// couple in full, inside the wall). The equation of a station held by a specified point
// is replaced; its residual is the reaction of the point.
#include <algorithm>
#include <cmath>

#include "results/results.h"

namespace results {

namespace {

struct Balance {
  int NI = 0;
  double H = 0;
  double F = 0, M = 0;  // the component's force and moment about the tip
  double FABS = 0;      // the sum of the magnitudes of its station forces
  // Arm of station K above the tip.
  double arm(int K) const { return (NI + 4 - K) * H; }
  void force(int K, double V) {
    F += V;
    M += V * arm(K);
    FABS += std::fabs(V);
  }
  // A couple C at station J: its forces at the neighbours that have an equation.
  void couple(int J, double C) {
    const double V = C / (2 * H);
    if (3 <= J - 1 && J - 1 <= NI + 5) force(J - 1, V);
    if (3 <= J + 1 && J + 1 <= NI + 5) force(J + 1, -V);
  }
};

std::string e10(double X) { return io::format("(1PE10.3)", X); }

}  // namespace

Equilibrium equilibrium(const Model& m, std::vector<double>* RF) {
  const auto& C = m.C;
  const auto& STA = m.STA;
  const auto& TIE = m.TIE;
  const auto& EI = STA.EI;
  Equilibrium e;
  const int NI = C.NI;
  if (NI < 1 || NI > MXNI || !(C.H > 0)) return e;
  const double H = C.H;
  // The deflections as the sweeps solved them: W(1), W(2), W(NI+6) and W(NI+7) are zero
  // there (W(2) and W(NI+6) are extrapolated afterwards, for the results).
  const auto W = [&](int K) { return K <= 2 || K >= NI + 6 ? 0.0 : STA.W(K); };
  const auto TH = [&](int K) { return (W(K + 1) - W(K - 1)) / (2 * H); };
  const auto XM = [&](int K) { return EI(K) * (W(K - 1) - 2 * W(K) + W(K + 1)) / C.H2; };

  Balance LOAD{NI, H}, COUP{NI, H}, AXIAL{NI, H}, SUPP{NI, H}, TIEB{NI, H}, REST{NI, H}, NODE{NI, H};

  // Tie backs: prestress load less spring times deflection, at their stations.
  Arr<double, 1, MXSTA> FTB;  // prestress load of the tie backs by station
  for (int I = 1; I <= std::min(TIE.NTIEF, MXTIE); ++I) {
    const int K = TIE.KSTA(I);
    if (K < 3 || K > NI + 5) continue;
    double HF, FS, FT;
    TIEFRC(C, TIE, I, W(K), HF, FS, FT);
    FTB(K) += TIE.FTB(I);
    TIEB.force(K, HF);
  }
  for (int K = 3; K <= NI + 5; ++K) {
    const double FQ = STA.Q(K) - FTB(K);                                   // station loads
    const double FS = (STA.QW(K) - STA.Q(K)) - (STA.SW(K) - STA.S(K)) * W(K);  // support curves
    const double FR = -STA.SREST(K) * W(K);                                // lateral restraints
    LOAD.force(K, FQ);
    SUPP.force(K, FS);
    REST.force(K, FR);
  }
  // Couples of the stations -2..NI+2: applied, of the axial loads, of the rotational
  // restraints.
  for (int J = 2; J <= NI + 6; ++J) {
    COUP.couple(J, STA.T(J));
    AXIAL.couple(J, H * STA.P(J) * TH(J));
    REST.couple(J, STA.RREST(J) * TH(J));
  }
  // The reactions of the specified points: the residual of each replaced equation.
  if (RF != nullptr) RF->assign(MXSTA + 1, 0.0);
  for (int K = 3; K <= NI + 5; ++K) {
    if (STA.KODE(K) == 1) continue;
    const double CM = STA.T(K - 1) + H * STA.P(K - 1) * TH(K - 1) + STA.R(K - 1) * TH(K - 1);
    const double CP = STA.T(K + 1) + H * STA.P(K + 1) * TH(K + 1) + STA.R(K + 1) * TH(K + 1);
    const double R = (XM(K - 1) - 2 * XM(K) + XM(K + 1)) / H + STA.SW(K) * W(K) - STA.QW(K) + (CM - CP) / (2 * H);
    NODE.force(K, R);
    if (RF != nullptr) (*RF)[K] = R;
  }

  const std::pair<const char*, const Balance*> PARTS[] = {
      {"station_loads", &LOAD}, {"couples", &COUP},    {"axial_loads", &AXIAL},      {"support_curves", &SUPP},
      {"tie_backs", &TIEB},     {"restraints", &REST}, {"specified_points", &NODE}};
  // The reference: the largest total of the station forces of one kind (a resultant
  // that does not shrink with the increment length, as a force per station does).
  double FMAX = 0;
  for (const auto& [NAME, B] : PARTS) {
    e.components.push_back({NAME, B->F, B->M});
    e.force += B->F;
    e.moment += B->M;
    if (B != &COUP && B != &AXIAL) FMAX = std::max(FMAX, B->FABS);
  }
  e.reference_force = FMAX;
  e.reference_moment = FMAX * NI * H;
  if (FMAX > 0) {
    e.relative_force = std::fabs(e.force) / e.reference_force;
    e.relative_moment = std::fabs(e.moment) / e.reference_moment;
  }
  const int KX = m.ITR.KEXIT;
  e.checked = (KX == KXLIN || KX == KXCONV || KX == KXLIMC) && m.ITR.KMECH == 0;
  e.large = e.checked && !(e.relative_force <= EQTOL && e.relative_moment <= EQTOL);
  if (e.large)
    e.warning = "RESIDUAL FORCE " + e10(e.force) + ", RESIDUAL MOMENT ABOUT THE TIP " + e10(e.moment) + " (" +
                e10(e.relative_force) + " AND " + e10(e.relative_moment) +
                " OF THE LARGEST TOTAL FORCE OF ONE KIND, AND OF ITS MOMENT OVER THE WALL LENGTH): THE RESULTS DO NOT BALANCE THE LOADS";
  return e;
}

}  // namespace results
