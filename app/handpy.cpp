// handpy.cpp -- p-y curves by hand, each from its paper: the ultimate resistance, the
// characteristic deflections and the branches of the curve, in the papers' own form.
#include "handpy.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace verify {

namespace {

constexpr double PI = 3.14159265358979323846;

// Linear interpolation in a table of a coefficient read from a chart against x/b,
// constant beyond its last point.
double chart(const std::vector<double>& at, const std::vector<double>& val, double r) {
  if (r <= at.front()) return val.front();
  for (std::size_t i = 1; i < at.size(); ++i)
    if (r <= at[i]) return val[i - 1] + (val[i] - val[i - 1]) * (r - at[i - 1]) / (at[i] - at[i - 1]);
  return val.back();
}

// Matlock (1970): Np = 3 + gamma x/c + J x/b (J = 0.5), at most 9; p/pu = 0.5 (y/y50)^(1/3)
// with y50 = 2.5 e50 b, pu beyond 8 y50. Cyclic: below xr = 6 c b/(gamma b + J c) the curve
// holds 0.72 pu beyond 3 y50; above xr it falls from 0.72 pu at 3 y50 to 0.72 pu x/xr at
// 15 y50.
double soft_clay(double y, double x, double b, double c, double gamma, double e50, bool cyclic) {
  const double J = 0.5;
  const double pu = std::min(3 + gamma * x / c + J * x / b, 9.0) * c * b;
  const double y50 = 2.5 * e50 * b;
  const double p = 0.5 * pu * std::cbrt(y / y50);
  if (!cyclic) return y <= 8 * y50 ? p : pu;
  if (y <= 3 * y50) return p;
  const double xr = 6 * c * b / (gamma * b + J * c);
  if (x >= xr) return 0.72 * pu;
  const double pend = 0.72 * pu * x / xr;
  if (y >= 15 * y50) return pend;
  return 0.72 * pu - (0.72 * pu - pend) * (y - 3 * y50) / (12 * y50);
}

// Reese, Cox and Koop (1974): the smaller of the wedge and flow resistances, K0 = 0.4.
double sand_ps(double x, double b, double phi_deg, double gamma) {
  const double phi = phi_deg * PI / 180, alpha = phi / 2, beta = PI / 4 + phi / 2, K0 = 0.4;
  const double Ka = std::pow(std::tan(PI / 4 - phi / 2), 2);
  const double tb = std::tan(beta), tbp = std::tan(beta - phi);
  const double wedge = gamma * x *
                       (K0 * x * std::tan(phi) * std::sin(beta) / (tbp * std::cos(alpha)) +
                        tb / tbp * (b + x * tb * std::tan(alpha)) +
                        K0 * x * tb * (std::tan(phi) * std::sin(beta) - std::tan(alpha)) - Ka * b);
  const double flow = Ka * b * gamma * x * (std::pow(tb, 8) - 1) + K0 * b * gamma * x * std::tan(phi) * std::pow(tb, 4);
  return std::min(wedge, flow);
}

// The coefficients A and B of the sand curves, read from the charts of the paper at
// x/b = 0, 0.5, ..., 3, 4, 5 (constant below).
const std::vector<double> XB_SAND{0, 0.5, 1.0, 1.5, 2.0, 2.5, 3.0, 4.0, 5.0};
double sand_A(double r, bool cyclic) {
  static const std::vector<double> S{2.83, 2.48, 2.11, 1.76, 1.48, 1.23, 1.06, 0.90, 0.88};
  static const std::vector<double> C{0.75, 0.93, 1.07, 1.11, 1.03, 0.98, 0.94, 0.90, 0.88};
  return chart(XB_SAND, cyclic ? C : S, r);
}
double sand_B(double r, bool cyclic) {
  static const std::vector<double> S{2.14, 1.83, 1.54, 1.27, 1.05, 0.86, 0.71, 0.53, 0.50};
  static const std::vector<double> C{0.53, 0.72, 0.83, 0.86, 0.82, 0.77, 0.70, 0.55, 0.55};
  return chart(XB_SAND, cyclic ? C : S, r);
}

// The curve of the sand method through (ym, pm) and (yu, pu): initial line k x y, the
// parabola C y^(1/n) from where it meets the line to ym, a straight line to yu, then pu.
double sand_shape(double y, double kx, double pm, double ym, double pu, double yu) {
  const double m = (pu - pm) / (yu - ym);
  const double n = pm / (std::fabs(m) * ym);
  const double C = pm / std::pow(ym, 1 / n);
  double p;
  if (y <= ym) {
    p = C * std::pow(y, 1 / n);
  } else if (y <= yu) {
    p = pm + m * (y - ym);
  } else {
    p = pu;
  }
  return std::min(p, kx * y);
}

double sand(double y, double x, double b, double phi, double gamma, double k, bool cyclic) {
  const double ps = sand_ps(x, b, phi, gamma);
  return sand_shape(y, k * x, sand_B(x / b, cyclic) * ps, b / 60, sand_A(x / b, cyclic) * ps, 3 * b / 80);
}

// Reese, Cox and Koop (1975): pc the smaller of 2 ca b + gamma b x + 2.83 ca x and 11 c b;
// y50 = e50 b; As and Ac read from the charts against x/b.
double stiff_clay_water(double y, double x, double b, double c, double ca, double gamma, double e50, double k,
                        bool cyclic) {
  static const std::vector<double> XB{0, 1, 2, 3, 4, 5};
  static const std::vector<double> AS{0.223, 0.46, 0.55, 0.59, 0.60, 0.60};
  static const std::vector<double> AC{0.20, 0.29, 0.30, 0.30, 0.30, 0.30};
  const double pc = std::min(2 * ca * b + gamma * b * x + 2.83 * ca * x, 11 * c * b);
  const double y50 = e50 * b;
  const double As = chart(XB, AS, x / b), Ac = chart(XB, AC, x / b);
  double p;
  if (!cyclic) {
    const double ya = As * y50;
    if (y <= ya) {
      p = 0.5 * pc * std::sqrt(y / y50);
    } else if (y <= 6 * ya) {
      p = 0.5 * pc * std::sqrt(y / y50) - 0.055 * pc * std::pow((y - ya) / ya, 1.25);
    } else if (y <= 18 * ya) {
      p = 0.5 * pc * std::sqrt(6 * As) - 0.411 * pc - 0.0625 / y50 * pc * (y - 6 * ya);
    } else {
      p = pc * (1.225 * std::sqrt(As) - 0.75 * As - 0.411);  // as the paper rounds 0.5 sqrt(6)
    }
  } else {
    const double yp = 4.1 * As * y50;
    if (y <= 0.6 * yp) {
      p = Ac * pc * (1 - std::pow(std::fabs((y - 0.45 * yp) / (0.45 * yp)), 2.5));
    } else if (y <= 1.8 * yp) {
      p = 0.936 * Ac * pc - 0.085 / y50 * pc * (y - 0.6 * yp);
    } else {
      p = 0.936 * Ac * pc - 0.102 / y50 * pc * yp;
    }
  }
  return std::min(p, k * x * y);
}

// Welch and Reese (1972): pu = (3 + gamma x/c + 0.5 x/b) c b, at most 9 c b; y50 = 2.5 e50 b;
// static p/pu = 0.5 (y/y50)^(1/4) to 16 y50; cyclic, after N cycles a resistance p is
// reached at y = ys + 9.6 (p/pu)^4 y50 log10 N, ys the static deflection of p.
double stiff_clay_dry(double y, double x, double b, double c, double gamma, double e50, double cycles, bool cyclic) {
  const double pu = std::min((3 + gamma * x / c + 0.5 * x / b) * c * b, 9 * c * b);
  const double y50 = 2.5 * e50 * b;
  // (p/pu)^4 = y / (y50 (16 + 9.6 log10 N)): N = 1 gives the static curve
  const double N = cyclic ? cycles : 1.0;
  const double r4 = y / (y50 * (16 + 9.6 * std::log10(N)));
  return r4 >= 1 ? pu : pu * std::pow(r4, 0.25);
}

// Silt: the frictional resistance of sand (1974) and the cohesive resistance of soft clay
// (Np c b, Np = 3 + gamma x/c + 0.5 x/b at most 9) shape a curve of the sand method with
// pu = A p_phi and pm = 1.5 p_phi + pc at yu = 3b/80, ym = b/60.
double silt(double y, double x, double b, double c, double phi, double gamma, double k, bool cyclic) {
  const double pphi = sand_ps(x, b, phi, gamma);
  const double pc = std::min(3 + gamma * x / c + 0.5 * x / b, 9.0) * c * b;
  return sand_shape(y, k * x, 1.5 * pphi + pc, b / 60, sand_A(x / b, cyclic) * pphi, 3 * b / 80);
}

// Reese and Nyman (1978), vuggy limestone: su = qu/2; slope 2000 su to y = 0.0004 b, then
// slope 100 su up to the ultimate b su.
double rock(double y, double b, double qu) {
  const double su = qu / 2, y1 = 0.0004 * b;
  if (y <= y1) return 2000 * su * y;
  return std::min(2000 * su * y1 + 100 * su * (y - y1), b * su);
}

// Reese (1997), weak rock: alpha_r = 1 - (2/3) RQD/100; pur = alpha_r qu b (1 + 1.4 xr/b) to
// xr = 3b, 5.2 alpha_r qu b below; Kir = kir Em with kir = 100 + 400 xr/(3b) to 3b, 500
// below; yrm = krm b; p = Kir y to yA = (pur / (2 yrm^(1/4) Kir))^(4/3), then
// pur/2 (y/yrm)^(1/4) up to pur.
double weak_rock(double y, double xr, double b, double qu, double em, double krm, double rqd) {
  const double ar = 1 - 2.0 / 3.0 * rqd / 100;
  const double pur = xr <= 3 * b ? ar * qu * b * (1 + 1.4 * xr / b) : 5.2 * ar * qu * b;
  const double Kir = (xr <= 3 * b ? 100 + 400 * xr / (3 * b) : 500) * em;
  const double yrm = krm * b;
  const double yA = std::pow(pur / (2 * std::pow(yrm, 0.25) * Kir), 4.0 / 3.0);
  if (y <= yA) return Kir * y;
  return std::min(pur / 2 * std::pow(y / yrm, 0.25), pur);
}

}  // namespace

void add_hand_curves(std::map<std::string, Function>& f) {
  using A = std::vector<double>;
  f["py_soft_clay"] = {7, [](const A& a) { return soft_clay(a[0], a[1], a[2], a[3], a[4], a[5], a[6] != 0); },
                       "py_soft_clay(y, x, b, c, gamma, e50, cyclic): Matlock (1970)"};
  f["py_sand"] = {7, [](const A& a) { return sand(a[0], a[1], a[2], a[3], a[4], a[5], a[6] != 0); },
                  "py_sand(y, x, b, phi, gamma, k, cyclic): Reese, Cox and Koop (1974)"};
  f["py_stiff_clay_water"] = {
      9, [](const A& a) { return stiff_clay_water(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8] != 0); },
      "py_stiff_clay_water(y, x, b, c, ca, gamma, e50, k, cyclic): Reese, Cox and Koop (1975)"};
  f["py_stiff_clay_dry"] = {
      8, [](const A& a) { return stiff_clay_dry(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7] != 0); },
      "py_stiff_clay_dry(y, x, b, c, gamma, e50, cycles, cyclic): Welch and Reese (1972)"};
  f["py_silt"] = {8, [](const A& a) { return silt(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7] != 0); },
                  "py_silt(y, x, b, c, phi, gamma, k, cyclic): sand (1974) with the cohesion of soft clay"};
  f["py_rock"] = {3, [](const A& a) { return rock(a[0], a[1], a[2]); }, "py_rock(y, b, qu): Reese and Nyman (1978)"};
  f["py_weak_rock"] = {7, [](const A& a) { return weak_rock(a[0], a[1], a[2], a[3], a[4], a[5], a[6]); },
                       "py_weak_rock(y, xr, b, qu, em, krm, rqd): Reese (1997)"};
  // Sand coefficients and ultimate resistance, for the characteristic values of a case.
  f["sand_A"] = {2, [](const A& a) { return sand_A(a[0], a[1] != 0); }, "sand_A(x/b, cyclic): chart value A"};
  f["sand_B"] = {2, [](const A& a) { return sand_B(a[0], a[1] != 0); }, "sand_B(x/b, cyclic): chart value B"};
  f["sand_ps"] = {4, [](const A& a) { return sand_ps(a[0], a[1], a[2], a[3]); },
                  "sand_ps(x, b, phi, gamma): smaller of the wedge and flow resistances"};
}

}  // namespace verify
