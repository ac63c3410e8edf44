// beamcol_test.cpp -- the beam-column solver against closed forms, equilibrium and a
// dense solve of the same difference equations assembled here from moments and slopes.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "wall/wall_impl.h"

namespace {


// A fresh model of NI increments of length H; every station ordinary.
struct Wall {
  std::unique_ptr<Model> mp = std::make_unique<Model>();
  Model& m = *mp;
  io::Units units;  // the solver writes nothing
  Run run{m, units};
  Stations& STA = m.STA;
  int NI;
  double H;
  Wall(int ni, double h) : NI(ni), H(h) {
    m.C.NI = ni;
    m.C.H = h;
    m.C.H2 = h * h;
    m.C.H3 = h * h * h;
    m.C.TOL = 1.0E-5f;
    m.C.DMAX = 1.0E10;
    for (int K = 1; K <= NI + 7; ++K) STA.KODE(K) = 1;
  }
  // Station i (not the internal index) of a table.
  static int k(int i) { return i + 4; }
  // EI over stations i1..i2, full value at every station.
  void ei(int i1, int i2, double v) {
    for (int i = i1; i <= i2; ++i) STA.EI(k(i)) = v;
  }
  void point(int M, int station, int kase, double def, double slp) {
    STA.ISTA(M) = station;
    STA.KASE(M) = kase;
    STA.SPDEF(M) = def;
    STA.SPSLP(M) = slp;
    m.C.NPTS = M;
    SETKOD(run, M);
  }
  double w(int i) const { return STA.W(k(i)); }
  double mom(int i) const { return STA.XMOM(k(i)); }
  double shear(int i) const { return STA.SHEAR(k(i)); }
  double nf(int i) const { return STA.XNF(k(i)); }
};

// The same difference equations assembled as a dense system and solved by Gaussian
// elimination with partial pivoting. Each station's equation is written from its
// physical terms: h**2 times the second difference of the moments M = EI*curvature, the
// axial and rotational-spring terms through the slopes of the neighbours, the spring and
// the load. Deflections outside stations -1..NI+1 are zero. A slope point is enforced by
// an unknown restraining couple at its station, which enters the equations of the two
// neighbours, plus the slope equation; a fixed deflection replaces its station's equation.
std::vector<double> dense_solve(const Wall& wl, std::vector<double>* couples = nullptr) {
  const Stations& S = wl.STA;
  const int NI = wl.NI;
  const double h = wl.H;
  const int K0 = 3, K1 = NI + 5;
  std::vector<int> slope;  // internal index of each slope point
  for (int M = 1; M <= wl.m.C.NPTS; ++M)
    if (S.KASE(M) >= 2) slope.push_back(S.ISTA(M) + 4);
  const int nw = K1 - K0 + 1;
  const int n = nw + static_cast<int>(slope.size());
  std::vector<std::vector<double>> A(n, std::vector<double>(n + 1, 0.0));
  auto col = [&](int K) { return K - K0; };
  auto add = [&](std::vector<double>& row, int K, double v) {
    if (K0 <= K && K <= K1) row[col(K)] += v;
  };
  for (int K = K0; K <= K1; ++K) {
    auto& row = A[col(K)];
    // h**2 * (M(K-1) - 2 M(K) + M(K+1))
    for (int J = K - 1; J <= K + 1; ++J) {
      const double wgt = (J == K ? -2.0 : 1.0) * S.EI(J);
      add(row, J - 1, wgt);
      add(row, J, -2 * wgt);
      add(row, J + 1, wgt);
    }
    // axial load and rotational spring at the neighbours, through their slopes
    // 0.5 h**3 (P theta)(K-1) - 0.5 h**3 (P theta)(K+1), theta = (W(J+1)-W(J-1))/(2h)
    const double cm = 0.5 * h * h * (h * S.P(K - 1) + S.R(K - 1)) / (2 * h);
    const double cp = 0.5 * h * h * (h * S.P(K + 1) + S.R(K + 1)) / (2 * h);
    add(row, K, cm);
    add(row, K - 2, -cm);
    add(row, K + 2, -cp);
    add(row, K, cp);
    add(row, K, h * h * h * S.SW(K));
    row[n] = h * h * h * S.QW(K) + 0.5 * h * h * (S.T(K + 1) - S.T(K - 1));
  }
  for (std::size_t j = 0; j < slope.size(); ++j) {
    const int K = slope[j];
    const int c = nw + static_cast<int>(j);
    A[col(K - 1)][c] -= 0.5 * h * h;  // couple TC at K: f(K-1) += h**2/2 TC
    A[col(K + 1)][c] += 0.5 * h * h;  //                 f(K+1) -= h**2/2 TC
  }
  for (int M = 1; M <= wl.m.C.NPTS; ++M) {
    const int K = S.ISTA(M) + 4;
    if (S.KASE(M) != 2) {  // deflection fixed: the station's equation is replaced
      auto& row = A[col(K)];
      for (double& v : row) v = 0;
      row[col(K)] = 1;
      row[n] = S.SPDEF(M);
    }
  }
  for (std::size_t j = 0; j < slope.size(); ++j) {
    const int K = slope[j];
    int M = 1;
    while (S.ISTA(M) + 4 != K || S.KASE(M) < 2) ++M;
    auto& row = A[nw + j];
    row[col(K + 1)] = 1;
    row[col(K - 1)] = -1;
    row[n] = 2 * h * S.SPSLP(M);
  }
  for (int i = 0; i < n; ++i) {
    int p = i;
    for (int r = i + 1; r < n; ++r)
      if (std::fabs(A[r][i]) > std::fabs(A[p][i])) p = r;
    std::swap(A[i], A[p]);
    for (int r = i + 1; r < n; ++r) {
      const double q = A[r][i] / A[i][i];
      for (int c = i; c <= n; ++c) A[r][c] -= q * A[i][c];
    }
  }
  std::vector<double> x(n);
  for (int i = n - 1; i >= 0; --i) {
    double s = A[i][n];
    for (int c = i + 1; c < n; ++c) s -= A[i][c] * x[c];
    x[i] = s / A[i][i];
  }
  std::vector<double> W(wl.NI + 7 + 1, 0.0);  // by internal index
  for (int K = K0; K <= K1; ++K) W[K] = x[col(K)];
  if (couples != nullptr) couples->assign(x.begin() + nw, x.end());  // one per slope point
  return W;
}

// A wall with everything the equation has: varying EI, axial load, rotational and
// transverse springs, loads and couples.
void fill_general(Wall& wl) {
  auto& S = wl.STA;
  for (int i = 0; i <= wl.NI; ++i) {
    const int K = Wall::k(i);
    S.EI(K) = 2.0E6 * (1.0 + 0.3 * std::sin(0.7 * i));
    S.P(K) = 150.0 + 40.0 * i;
    S.R(K) = 500.0 * (i % 3);
    S.SW(K) = 40.0 + 25.0 * (i % 4);
    S.QW(K) = 100.0 * std::cos(0.9 * i);
    S.T(K) = (i % 5 == 2) ? 300.0 : 0.0;
  }
  S.EI(Wall::k(0)) *= 0.5;
  S.EI(Wall::k(wl.NI)) *= 0.5;
}

void expect_matches_dense(const Wall& wl, double rel) {
  const std::vector<double> D = dense_solve(wl);
  double wmax = 0;
  for (int K = 3; K <= wl.NI + 5; ++K) wmax = std::fmax(wmax, std::fabs(D[K]));
  ASSERT_GT(wmax, 0.0);
  for (int K = 3; K <= wl.NI + 5; ++K)
    EXPECT_NEAR(wl.STA.W(K), D[K], rel * wmax) << "station " << K - 4;
}

}  // namespace

// ---------------------------------------------------------------------------
// Condition coding of the specified points.
TEST(SETKOD, CodesEachCaseAndTheLaterPointWins) {
  Wall wl(20, 1.0);
  wl.point(1, 2, 1, 0.5, 0.0);    // deflection
  wl.point(2, 6, 2, 0.0, 0.01);   // slope
  wl.point(3, 10, 3, 0.0, 0.0);   // deflection and slope
  wl.point(4, 14, 0, 0.1, 0.0);   // any case below 2 is a deflection
  wl.point(5, 18, 7, 0.0, 0.0);   // any case above 3 is both
  wl.point(6, 18, 1, 0.2, 0.0);   // the later point at the same station wins
  const int want[] = {1, 2, 1, 1, 3, 1, 5, 1, 3, 4, 5, 1, 1, 2, 1, 1, 3, 2, 5, 1};
  for (int i = 1; i <= 20; ++i) {
    EXPECT_EQ(want[i - 1], wl.STA.KODE(Wall::k(i))) << "station " << i;
  }
  EXPECT_EQ(1, wl.STA.KPT(Wall::k(2)));
  EXPECT_EQ(2, wl.STA.KPT(Wall::k(5)));
  EXPECT_EQ(2, wl.STA.KPT(Wall::k(7)));
  EXPECT_EQ(3, wl.STA.KPT(Wall::k(10)));
  EXPECT_EQ(5, wl.STA.KPT(Wall::k(17)));
  EXPECT_EQ(6, wl.STA.KPT(Wall::k(18)));
  EXPECT_EQ(5, wl.STA.KPT(Wall::k(19)));
}

TEST(BEAMCOL, LaterPointAtOneStationGivesItsValue) {
  // Two deflection points at one station: the station takes the later value, and a
  // point after them takes its own value, not its predecessor's.
  Wall wl(10, 1.0);
  wl.ei(0, 10, 1.0E4);
  wl.point(1, 3, 1, 0.25, 0.0);
  wl.point(2, 3, 1, 0.75, 0.0);
  wl.point(3, 8, 1, -0.5, 0.0);
  BEAMCOL(wl.run);
  EXPECT_EQ(0.75, wl.w(3));
  EXPECT_EQ(-0.5, wl.w(8));
}

// ---------------------------------------------------------------------------
// Closed forms.
TEST(BEAMCOL, CantileverUnderTipLoad) {
  // Fixed bottom (deflection and slope zero at station NI), free top, uniform EI,
  // load P at station 0. Moments and shears are exact above the support. The deflection
  // is a cubic, which central differences reproduce, but the fixed end gives station
  // NI-1 half its deflection: the tip is short by 3h/(4L) - h**2/(2L**2) of P*L**3/(3EI),
  // first order in h.
  const double P = 1000.0, EI = 3.0E7, L = 240.0;
  double last_err = 1.0;
  for (int NI : {10, 20, 40, 80}) {
    Wall wl(NI, L / NI);
    wl.ei(0, NI, EI);
    wl.STA.QW(Wall::k(0)) = P;
    wl.point(1, NI, 3, 0.0, 0.0);
    BEAMCOL(wl.run);
    const double exact = P * L * L * L / (3 * EI);
    const double err = (exact - wl.w(0)) / exact;
    EXPECT_NEAR(0.75 / NI - 0.5 / (NI * NI), err, 1e-9) << "NI " << NI;
    EXPECT_LT(err, 0.6 * last_err) << "NI " << NI;
    last_err = err;
    EXPECT_EQ(0.0, wl.w(NI));
    EXPECT_EQ(wl.w(NI - 1), wl.w(NI + 1));

    STARES(wl.run);
    const double h = wl.H;
    for (int i = 0; i <= NI; ++i) EXPECT_NEAR(P * i * h, wl.mom(i), 1e-9 * P * L) << i;  // P*L at the fixed end
    EXPECT_NEAR(P / 2, wl.shear(0), 1e-9 * P);  // the load sits on station 0
    for (int i = 1; i < NI - 1; ++i) EXPECT_NEAR(P, wl.shear(i), 1e-9 * P) << i;
    EXPECT_NEAR(P, wl.nf(0), 1e-9 * P);
    for (int i = 1; i < NI; ++i) EXPECT_NEAR(0.0, wl.nf(i), 1e-9 * P) << i;
    EXPECT_NEAR(P, wl.shear(NI - 1), 1e-9 * P);
    EXPECT_NEAR(P / 2, wl.shear(NI), 1e-9 * P);  // the reaction sits on station NI
    EXPECT_NEAR(-P, wl.nf(NI), 1e-9 * P);
  }
}

TEST(STARES, RestrainedHeadOfABeamOnSprings) {
  // Long beam on springs k (EI 5E4, k 5000, beta L = 8, h = L/400), lateral load P at the
  // head. Fixed head, by a zero slope or by a stiff rotational restraint: the head
  // moment is -P/(2 beta), to first order in h (0.49 % here: the end station's curvature
  // carries the rigidity of a whole station). A couple C0 at a free head: the head
  // moment is C0. The moment of the next station follows the closed form.
  const double EI = 5.0E4, k = 5000.0, P = 100.0, C0 = 100.0;
  const double beta = std::sqrt(std::sqrt(k / (4 * EI)));
  const int NI = 400;
  enum { SLOPE0, RSTIFF, COUPLE };
  for (int head : {SLOPE0, RSTIFF, COUPLE}) {
    Wall wl(NI, 8.0 / beta / NI);
    const double h = wl.H;
    wl.ei(0, NI, EI);
    for (int i = 0; i <= NI; ++i) wl.STA.SW(Wall::k(i)) = (i == 0 || i == NI ? 0.5 : 1.0) * k * h;
    if (head == SLOPE0) wl.point(1, 0, 2, 0.0, 0.0);
    if (head == RSTIFF) wl.STA.R(Wall::k(0)) = 1.0E4 * EI;
    if (head == COUPLE) {
      wl.STA.T(Wall::k(0)) = C0;
      wl.STA.NCOUP = 1;
      wl.STA.KCOUP(1) = Wall::k(0);
      wl.STA.CCOUP(1) = C0 / (2 * h);
    } else {
      wl.STA.QW(Wall::k(0)) = P;
    }
    BEAMCOL(wl.run);
    STARES(wl.run);
    SCOPED_TRACE(head);
    const double bh = beta * h, M0 = P / (2 * beta);
    if (head == COUPLE) {
      EXPECT_NEAR(C0, wl.mom(0), 1e-9 * C0);
      EXPECT_NEAR(C0 * std::exp(-bh) * (std::cos(bh) + std::sin(bh)), wl.mom(1), 1e-3 * C0);
    } else {
      EXPECT_NEAR(-M0, wl.mom(0), 0.005 * M0);
      EXPECT_NEAR(-M0 * std::exp(-bh) * (std::cos(bh) - std::sin(bh)), wl.mom(1), 0.005 * M0);
    }
    // Shears: half the force at the head station (as at a free head); at the next station
    // the force at the head and half its own.
    const double F0 = wl.STA.QW(Wall::k(0)) - wl.STA.SW(Wall::k(0)) * wl.w(0);
    const double F1 = -wl.STA.SW(Wall::k(1)) * wl.w(1);
    EXPECT_NEAR(F0 / 2, wl.shear(0), 1e-7 * P);
    EXPECT_NEAR(F0 + F1 / 2, wl.shear(1), 1e-7 * P);
    EXPECT_NEAR(F0, wl.nf(0), 1e-7 * P);
    EXPECT_NEAR(F1, wl.nf(1), 1e-7 * P);
  }
}

TEST(STARES, EndMomentsMatchTheDenseSolve) {
  // Every kind of term, slopes specified at both ends: the end moment is the moment of
  // the curvature plus half of every couple at the end (applied, restraint, holding
  // couple of the dense solve), with the sign of the end.
  for (int NI : {1, 12, 40}) {
    Wall wl(NI, 6.0);
    fill_general(wl);
    wl.STA.T(Wall::k(0)) = 250.0;
    wl.STA.T(Wall::k(NI)) = -400.0;
    wl.STA.R(Wall::k(0)) = 7000.0;
    wl.STA.R(Wall::k(NI)) = 3000.0;
    wl.point(1, 0, 2, 0.0, 0.002);
    wl.point(2, NI, 3, 0.0, 0.0015);
    BEAMCOL(wl.run);
    std::vector<double> TC;
    expect_matches_dense(wl, 1e-9);
    dense_solve(wl, &TC);
    ASSERT_EQ(2u, TC.size());
    std::vector<double> curv(NI + 1);
    for (int i = 0; i <= NI; ++i)
      curv[i] = wl.STA.EI(Wall::k(i)) * (wl.w(i - 1) - 2 * wl.w(i) + wl.w(i + 1)) / (wl.H * wl.H);
    STARES(wl.run);
    const auto& S = wl.STA;
    const double C0 = S.T(Wall::k(0)) + S.R(Wall::k(0)) * 0.002 + TC[0];
    const double CN = S.T(Wall::k(NI)) + S.R(Wall::k(NI)) * 0.0015 + TC[1];
    const double scale = std::fabs(C0) + std::fabs(CN) + std::fabs(curv[0]) + std::fabs(curv[NI]);
    EXPECT_NEAR(curv[0] + C0 / 2, wl.mom(0), 1e-7 * scale) << NI;
    EXPECT_NEAR(curv[NI] - CN / 2, wl.mom(NI), 1e-7 * scale) << NI;
    for (int i = 1; i < NI; ++i) EXPECT_NEAR(curv[i], wl.mom(i), 1e-9 * scale) << i;
  }
}

TEST(BEAMCOL, SimplySupportedBeamUnderUniformLoad) {
  // Pinned ends (deflection zero at stations 0 and NI), load q per length as q*h per
  // station. Moments are the exact parabola; the deflection error of central
  // differences is the parabola of curvature q*h**2/(12EI), so the midspan deflection is
  // 5qL**4/(384EI) times 1 + 0.8(h/L)**2.
  const double q = 2.0, EI = 5.0E8, L = 400.0;
  const int NI = 40;
  Wall wl(NI, L / NI);
  const double h = wl.H;
  wl.ei(0, NI, EI);
  for (int i = 0; i <= NI; ++i) wl.STA.QW(Wall::k(i)) = q * h;
  wl.point(1, 0, 1, 0.0, 0.0);
  wl.point(2, NI, 1, 0.0, 0.0);
  BEAMCOL(wl.run);
  const double exact = 5 * q * L * L * L * L / (384 * EI);
  EXPECT_NEAR(exact * (1 + 0.8 / (NI * NI)), wl.w(NI / 2), 1e-9 * exact);
  for (int i = 0; i <= NI / 2; ++i) EXPECT_NEAR(wl.w(i), wl.w(NI - i), 1e-12 * exact) << i;
  STARES(wl.run);
  for (int i = 0; i <= NI; ++i) {
    const double x = i * h;
    EXPECT_NEAR(-q * x * (L - x) / 2, wl.mom(i), 1e-9 * q * L * L) << i;
  }
  // Net forces: the load inside, the load less the reaction at the pinned ends (half
  // the load between them), and nothing overall.
  double sum = 0;
  for (int i = 0; i <= NI; ++i) {
    const double want = (i == 0 || i == NI) ? -q * (L - h) / 2 : q * h;
    EXPECT_NEAR(want, wl.nf(i), 1e-9 * q * L) << i;
    sum += wl.nf(i);
  }
  EXPECT_NEAR(0.0, sum, 1e-9 * q * L);
}

TEST(BEAMCOL, LongBeamOnSpringsUnderPointLoad) {
  // Beam on an elastic foundation of modulus k: w(0) = P*beta/(2k), M(0) = P/(4 beta),
  // beta = (k/(4EI))**0.25 = 1 here; ends free and ten 1/beta from the load.
  const double EI = 1.0E6, k = 4.0 * EI, P = 5.0E4;
  const int NI = 400;
  Wall wl(NI, 20.0 / NI);
  const double h = wl.H;
  wl.ei(0, NI, EI);
  wl.STA.EI(Wall::k(0)) = EI / 2;
  wl.STA.EI(Wall::k(NI)) = EI / 2;
  for (int i = 0; i <= NI; ++i) wl.STA.SW(Wall::k(i)) = (i == 0 || i == NI ? 0.5 : 1.0) * k * h;
  wl.STA.QW(Wall::k(NI / 2)) = P;
  BEAMCOL(wl.run);
  const double beta = 1.0;
  EXPECT_NEAR(P * beta / (2 * k), wl.w(NI / 2), 1e-3 * P * beta / (2 * k));
  // Equilibrium: the springs carry the whole load.
  double sum = 0;
  for (int i = 0; i <= NI; ++i) sum += wl.STA.SW(Wall::k(i)) * wl.w(i);
  EXPECT_NEAR(P, sum, 1e-9 * P);
  STARES(wl.run);
  EXPECT_NEAR(-P / (4 * beta), wl.mom(NI / 2), 2 * beta * h / 3 * P / (4 * beta));
  // Net force per station is the load less the spring force, station by station.
  double fsum = 0;
  for (int i = 0; i <= NI; ++i) {
    const int K = Wall::k(i);
    EXPECT_NEAR(wl.STA.QW(K) - wl.STA.SW(K) * wl.w(i), wl.nf(i), 1e-8 * P) << i;
    fsum += wl.nf(i);
  }
  EXPECT_NEAR(0.0, fsum, 1e-8 * P);
}

// ---------------------------------------------------------------------------
// Specified deflections and slopes.
TEST(BEAMCOL, SpecifiedDeflectionsAreExact) {
  Wall wl(30, 6.0);
  fill_general(wl);
  wl.point(1, 7, 1, 0.0, 0.0);
  wl.point(2, 19, 1, 0.0123, 0.0);
  wl.point(3, 31, 1, -0.004, 0.0);  // station NI+1
  BEAMCOL(wl.run);
  EXPECT_EQ(0.0, wl.w(7));
  EXPECT_EQ(0.0123, wl.w(19));
  EXPECT_EQ(-0.004, wl.w(31));
  expect_matches_dense(wl, 1e-9);
}

TEST(BEAMCOL, ZeroSlopeAtTheTopMirrorsStationMinusOne) {
  Wall wl(20, 12.0);
  fill_general(wl);
  wl.point(1, 0, 2, 0.0, 0.0);
  wl.point(2, 20, 1, 0.0, 0.0);
  BEAMCOL(wl.run);
  EXPECT_EQ(wl.w(-1), wl.w(1));
  EXPECT_NE(0.0, wl.w(0));
}

TEST(BEAMCOL, SlopeConditionsMatchTheDenseSolve) {
  // Slope-only and deflection-and-slope points on a wall with every kind of term; the
  // elimination of the restraining couple must reproduce the dense solution, and the
  // deflection given with a slope-only point must not matter.
  for (int NI : {12, 40}) {
    Wall wl(NI, 6.0);
    fill_general(wl);
    wl.point(1, 0, 2, 0.0, 0.002);
    wl.point(2, NI / 3, 1, 0.01, 0.0);
    wl.point(3, NI / 2, 2, 0.0, -0.001);
    wl.point(4, NI, 3, 0.0, 0.0015);
    BEAMCOL(wl.run);
    expect_matches_dense(wl, 1e-9);
    STARES(wl.run);
    EXPECT_NEAR(0.002, wl.STA.SLOPE(Wall::k(0)), 1e-12);
    EXPECT_NEAR(-0.001, wl.STA.SLOPE(Wall::k(NI / 2)), 1e-12);
    EXPECT_NEAR(0.0015, wl.STA.SLOPE(Wall::k(NI)), 1e-12);
    EXPECT_EQ(0.0, wl.w(NI));

    std::vector<double> first(NI + 8);
    for (int K = 3; K <= NI + 5; ++K) first[K] = wl.STA.W(K);
    wl.STA.SPDEF(1) = 7.0;
    wl.STA.SPDEF(3) = -3.0;
    BEAMCOL(wl.run);
    for (int K = 3; K <= NI + 5; ++K) EXPECT_EQ(first[K], wl.STA.W(K)) << K;
  }
}

TEST(BEAMCOL, SlopeWithoutDeflectionOnAFreeBeam) {
  // A slope point alone (with springs to hold the beam) and a slope at the bottom.
  Wall wl(16, 3.0);
  fill_general(wl);
  wl.point(1, 5, 2, 0.0, 0.003);
  wl.point(2, 16, 2, 0.0, -0.002);
  BEAMCOL(wl.run);
  expect_matches_dense(wl, 1e-9);
}

// ---------------------------------------------------------------------------
// Limits: one increment, zero pivots, the counters.
TEST(BEAMCOL, OneIncrement) {
  Wall wl(1, 10.0);
  fill_general(wl);
  BEAMCOL(wl.run);
  expect_matches_dense(wl, 1e-9);
  EXPECT_EQ(0.0, wl.STA.W(wl.NI + 6));
  EXPECT_EQ(2, wl.STA.NCLOSE);  // stations 0 and 1 moved from zero

  // Old values at stations -1 and 2 are not compared; stations 0 and 1 are.
  BEAMCOL(wl.run);
  EXPECT_EQ(0, wl.STA.NCLOSE);
  EXPECT_EQ(0.0, wl.STA.DWMAX);
  wl.STA.W(3) += 1.0;
  wl.STA.W(6) += 1.0;
  wl.STA.W(4) += 0.5;
  BEAMCOL(wl.run);
  EXPECT_EQ(1, wl.STA.NCLOSE);
  EXPECT_NEAR(0.5, wl.STA.DWMAX, 1e-12);
}

TEST(BEAMCOL, CountersAreStrictAndCoverStationsZeroToNI) {
  // Unloaded wall held at +-D at its ends: a straight line, beyond D only at the
  // fictitious stations -1 and NI+1, which are not counted.
  Wall wl(8, 1.0);
  wl.ei(0, 8, 1.0E3);
  const double D = 0.75;
  wl.point(1, 0, 1, D, 0.0);
  wl.point(2, 8, 1, -D, 0.0);
  wl.m.C.DMAX = D;  // equal is not beyond
  BEAMCOL(wl.run);
  ASSERT_GT(std::fabs(wl.w(-1)), D);
  ASSERT_GT(std::fabs(wl.w(9)), D);
  EXPECT_EQ(0, wl.STA.NEXCEED);
  wl.m.C.DMAX = std::nextafter(D, 0.0);
  BEAMCOL(wl.run);
  EXPECT_EQ(2, wl.STA.NEXCEED);
  // Change equal to the tolerance is closed; a hair more is not.
  const double TOL = wl.m.C.TOL;
  wl.STA.W(Wall::k(0)) = D - TOL;  // exact: D and TOL are binary fractions apart
  BEAMCOL(wl.run);
  ASSERT_EQ(TOL, std::fabs(D - (D - TOL)));
  EXPECT_EQ(0, wl.STA.NCLOSE);
  EXPECT_EQ(TOL, wl.STA.DWMAX);
  wl.STA.W(Wall::k(0)) = D - 2 * TOL;
  BEAMCOL(wl.run);
  EXPECT_EQ(1, wl.STA.NCLOSE);
  EXPECT_EQ(2 * TOL, wl.STA.DWMAX);
}

TEST(BEAMCOL, ZeroPivotGivesZerosNotNaN) {
  // No rigidity, no springs: every pivot is zero, at the slope conditions too, where
  // the held pivot of the slope start is zero.
  Wall wl(10, 2.0);
  for (int i = 0; i <= 10; ++i) wl.STA.QW(Wall::k(i)) = 100.0;
  wl.point(1, 3, 2, 0.0, 0.01);
  wl.point(2, 7, 3, 0.0, 0.02);
  BEAMCOL(wl.run);
  for (int K = 1; K <= MXSTA; ++K) {
    ASSERT_TRUE(std::isfinite(wl.STA.W(K))) << K;
    ASSERT_TRUE(std::isfinite(wl.STA.AR(K))) << K;
  }
  EXPECT_EQ(0.0, wl.w(0));
  EXPECT_EQ(0.0, wl.w(7));
  EXPECT_NEAR(-2 * wl.H * 0.02, wl.w(6), 1e-15);  // W(K) = W(K+2) - 2h*slope still holds
  EXPECT_TRUE(std::isfinite(wl.STA.DWMAX));
  STARES(wl.run);
  for (int K = 3; K <= wl.NI + 5; ++K) ASSERT_TRUE(std::isfinite(wl.STA.SHEAR(K))) << K;
}

TEST(BEAMCOL, UnsetCodesAreOrdinaryStations) {
  // A table never coded (zero) solves as all ordinary stations.
  Wall coded(12, 5.0), fresh(12, 5.0);
  fill_general(coded);
  fill_general(fresh);
  for (int K = 1; K <= MXSTA; ++K) fresh.STA.KODE(K) = 0;
  BEAMCOL(coded.run);
  BEAMCOL(fresh.run);
  for (int K = 3; K <= 17; ++K) EXPECT_EQ(coded.STA.W(K), fresh.STA.W(K)) << K;
}

TEST(BEAMCOL, LargestWallFitsTheTables) {
  Wall wl(MXNI, 1.0);
  wl.ei(0, MXNI, 1.0E6);
  for (int i = 0; i <= MXNI; ++i) wl.STA.SW(Wall::k(i)) = 10.0;
  wl.STA.QW(Wall::k(0)) = 1000.0;
  wl.point(1, MXNI, 3, 0.0, 0.0);
  BEAMCOL(wl.run);
  STARES(wl.run);
  EXPECT_EQ(MXSTA, MXNI + 7);
  EXPECT_GT(wl.w(0), 0.0);
  EXPECT_EQ(0.0, wl.STA.W(MXSTA));
}

// ---------------------------------------------------------------------------
// Derived results.
TEST(STARES, EndsAndTheMomentAhead) {
  Wall wl(24, 6.0);
  fill_general(wl);
  wl.STA.EI(Wall::k(-1)) = 1.0E6;      // even with rigidity, station -1 has no moment
  wl.STA.EI(Wall::k(wl.NI + 1)) = 1.0E6;  // and station NI+1 none, by the extrapolation
  for (int K = 1; K <= MXSTA; ++K) wl.STA.T(K) = 0;
  BEAMCOL(wl.run);
  STARES(wl.run);
  const int NI = wl.NI;
  const double h = wl.H;
  EXPECT_EQ(2 * wl.w(-1) - wl.w(0), wl.w(-2));
  EXPECT_EQ(2 * wl.w(NI + 1) - wl.w(NI), wl.w(NI + 2));
  EXPECT_EQ(0.0, wl.mom(-1));
  const double scale = std::fabs(wl.mom(1)) + std::fabs(wl.mom(NI - 1));
  EXPECT_NEAR(0.0, wl.mom(NI + 1), 1e-9 * scale);
  EXPECT_NEAR(wl.mom(1) / (2 * h), wl.shear(0), 1e-9 * scale / h);
  EXPECT_NEAR(-wl.mom(NI - 1) / (2 * h), wl.shear(NI), 1e-9 * scale / h);
  for (int i = 0; i <= NI; ++i) {
    const int K = Wall::k(i);
    const double c = wl.STA.EI(K) * (wl.w(i - 1) - 2 * wl.w(i) + wl.w(i + 1)) / (h * h);
    EXPECT_NEAR(c, wl.mom(i), 1e-12 * scale) << i;
    EXPECT_NEAR((wl.w(i + 1) - wl.w(i - 1)) / (2 * h), wl.STA.SLOPE(K), 1e-15) << i;
  }
}

TEST(STARES, AppliedCouplesLeaveShearFreeOfTheMomentJump) {
  // Cantilever fixed at the bottom with a couple C0 at a station: the moment is C0
  // below it, half of it at its station and zero above; with the corrections the shear
  // and the net force are zero at every station clear of the support.
  const double EI = 2.0E7, C0 = 5.0E4;
  for (int j : {0, 6}) {
    const int NI = 20;
    Wall wl(NI, 12.0);
    const double h = wl.H;
    wl.ei(0, NI, EI);
    wl.STA.T(Wall::k(j)) = C0;
    wl.STA.NCOUP = 1;
    wl.STA.KCOUP(1) = Wall::k(j);
    wl.STA.CCOUP(1) = C0 / (2 * h);
    wl.point(1, NI, 3, 0.0, 0.0);
    BEAMCOL(wl.run);
    expect_matches_dense(wl, 1e-9);
    STARES(wl.run);
    for (int i = 0; i < NI - 1; ++i) {
      EXPECT_NEAR(0.0, wl.shear(i), 1e-9 * C0 / h) << "couple at " << j << ", station " << i;
      EXPECT_NEAR(0.0, wl.nf(i), 1e-9 * C0 / h) << "couple at " << j << ", station " << i;
    }
    for (int i = j + 1; i <= NI; ++i) EXPECT_NEAR(wl.mom(j + 1), wl.mom(i), 1e-9 * C0) << i;
    EXPECT_NEAR(C0, wl.mom(NI - 1), 1e-9 * C0);
    EXPECT_NEAR(j == 0 ? C0 : C0 / 2, wl.mom(j), 1e-9 * C0);  // at an end, the moment inside the wall
    for (int i = 0; i < j; ++i) EXPECT_NEAR(0.0, wl.mom(i), 1e-9 * C0) << i;
  }
}
