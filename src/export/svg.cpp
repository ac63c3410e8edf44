// svg.cpp -- line charts as inline SVG with real axes: nice ticks, labelled units, a
// legend, the zero line, reference levels and annotated extremes.
#include "export/svg.h"

#include <kainjow/mustache.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

namespace svg {

namespace {

constexpr double CHARW = 5.6;  // width of one character of the 10px labels, px
constexpr double ROWH = 13;    // height of a legend row, px

// A pixel coordinate, two decimals.
std::string px(double v) {
  char b[32];
  const auto r = std::to_chars(b, b + sizeof b, std::round(v * 100) / 100, std::chars_format::fixed, 2);
  std::string s(b, r.ptr);
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s.pop_back();
  return s == "-0" ? "0" : s;
}

bool finite(double v) { return std::isfinite(v); }

// Range of the finite values of the series on one axis.
void range(const Chart& c, bool xaxis, double& lo, double& hi, bool& any) {
  for (const Series& s : c.series)
    for (double v : xaxis ? s.x : s.y) {
      if (!finite(v)) continue;
      if (!any) {
        lo = hi = v;
        any = true;
      }
      lo = std::min(lo, v);
      hi = std::max(hi, v);
    }
}

// Ticks whose labels fit the axis length: fewer intervals until they do.
Ticks fitted(double lo, double hi, int target, double length, bool horizontal) {
  Ticks t = nice_ticks(lo, hi, target);
  for (int n = target; n > 1; --n) {
    t = nice_ticks(lo, hi, n);
    const double space = length / static_cast<double>(std::max(1LL, t.last - t.first));
    std::size_t w = 0;
    for (long long k = t.first; k <= t.last; ++k) w = std::max(w, tick_text(t, k).size());
    if (horizontal ? space > w * CHARW + 6 : space > 14) break;
  }
  return t;
}

struct Frame {
  double x0, x1, y0, y1;  // plot area, px
  Ticks tx, ty;
  bool down;
  double X(double v) const { return x0 + (v - tx.lo()) / (tx.hi() - tx.lo()) * (x1 - x0); }
  double Y(double v) const {
    const double f = (v - ty.lo()) / (ty.hi() - ty.lo());
    return down ? y0 + f * (y1 - y0) : y1 - f * (y1 - y0);
  }
};

void text(std::string& o, double x, double y, const std::string& anchor, const std::string& s,
          const std::string& extra = "") {
  o += "<text x=\"" + px(x) + "\" y=\"" + px(y) + "\" text-anchor=\"" + anchor + "\"" + extra + ">" + escape(s) +
       "</text>";
}

void line(std::string& o, double x1, double y1, double x2, double y2, const std::string& attrs) {
  o += "<line x1=\"" + px(x1) + "\" y1=\"" + px(y1) + "\" x2=\"" + px(x2) + "\" y2=\"" + px(y2) + "\" " + attrs + "/>";
}

}  // namespace

const char* colour(int i) {
  static const char* const P[] = {"#1f77b4", "#d62728", "#2ca02c", "#9467bd", "#ff7f0e",
                                  "#8c564b", "#e377c2", "#17becf", "#7f7f7f", "#bcbd22"};
  return P[((i % 10) + 10) % 10];
}

std::string escape(const std::string& s) { return kainjow::mustache::html_escape<std::string>(s); }

Ticks nice_ticks(double lo, double hi, int target) {
  Ticks t;
  if (!finite(lo) || !finite(hi)) lo = hi = 0;
  if (lo > hi) std::swap(lo, hi);
  if (hi - lo <= 1.0E-12 * std::max(std::fabs(lo), std::fabs(hi))) {
    const double d = lo == 0 ? 1.0 : 0.1 * std::fabs(lo);
    lo -= d;
    hi += d;
  }
  target = std::max(target, 1);
  const double raw = (hi - lo) / target;
  const double p = std::pow(10.0, std::floor(std::log10(raw)));
  const double f = raw / p;
  const double m = f < 1.4142 ? 1 : f < 3.1623 ? 2 : f < 7.0711 ? 5 : 10;  // the nearest on a log scale
  t.step = m * p;
  t.first = static_cast<long long>(std::floor(lo / t.step + 1.0E-9));
  t.last = static_cast<long long>(std::ceil(hi / t.step - 1.0E-9));
  if (t.last <= t.first) t.last = t.first + 1;
  return t;
}

std::string tick_text(const Ticks& t, long long k) {
  if (k == 0) return "0";
  // step = M * 10**E with M = 1, 2 or 5: the value is the integer k*M times 10**E.
  const int E = static_cast<int>(std::floor(std::log10(t.step) + 1.0E-9));
  const long long M = std::llround(t.step / std::pow(10.0, E));
  const long long N = k * M;
  if (E >= 0 && E <= 4) return std::to_string(N * static_cast<long long>(std::llround(std::pow(10.0, E))));
  std::string digits = std::to_string(N < 0 ? -N : N);
  const std::string sign = N < 0 ? "-" : "";
  if (E < 0 && E >= -3) {  // fixed: -E decimals
    const int D = -E;
    while (static_cast<int>(digits.size()) <= D) digits.insert(digits.begin(), '0');
    std::string s = digits.substr(0, digits.size() - D) + "." + digits.substr(digits.size() - D);
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    return sign + s;
  }
  // exponent form with the digits of N: d.ddd e x
  const int X = E + static_cast<int>(digits.size()) - 1;
  std::string mant = digits.substr(0, 1);
  std::string rest = digits.substr(1);
  while (!rest.empty() && rest.back() == '0') rest.pop_back();
  if (!rest.empty()) mant += "." + rest;
  return sign + mant + "e" + std::to_string(X);
}

std::string short_number(double v) {
  if (!finite(v)) return "-";
  if (v == 0) return "0";  // and not "-0"
  char b[40];
  const double a = std::fabs(v);
  const bool expo = a != 0 && (a < 1.0E-3 || a >= 1.0E5);
  const auto r = expo ? std::to_chars(b, b + sizeof b, v, std::chars_format::scientific, 3)
                      : std::to_chars(b, b + sizeof b, v, std::chars_format::general, 4);
  return std::string(b, r.ptr);
}

std::string render(const Chart& c) {
  // Legend rows above the plot, tick labels left and below.
  int nleg = 0;
  if (c.legend)
    for (const Series& s : c.series) nleg += s.name.empty() ? 0 : 1;
  nleg = std::max(nleg, c.legend_rows);
  Frame f;
  f.down = c.depth_down;
  f.x0 = 50;
  f.x1 = c.width - 10;
  f.y0 = 22 + nleg * ROWH + 6;
  f.y1 = c.height - 34;
  double xlo = 0, xhi = 0, ylo = 0, yhi = 0;
  bool anyx = false, anyy = false;
  range(c, true, xlo, xhi, anyx);
  range(c, false, ylo, yhi, anyy);
  // Zero belongs on the value axes, so that the zero line shows.
  xlo = std::min(xlo, 0.0);
  xhi = std::max(xhi, 0.0);
  ylo = std::min(ylo, 0.0);
  yhi = std::max(yhi, 0.0);
  if (c.ymin < c.ymax) {
    ylo = c.ymin;
    yhi = c.ymax;
  }
  f.tx = fitted(xlo, xhi, 4, f.x1 - f.x0, true);
  // Room on the right for half of the last tick label, then the ticks again for the
  // narrower plot.
  const double half = 0.5 * CHARW * static_cast<double>(tick_text(f.tx, f.tx.last).size()) + 3;
  if (c.width - f.x1 < half) {
    f.x1 = c.width - half;
    f.tx = fitted(xlo, xhi, 4, f.x1 - f.x0, true);
  }
  f.ty = fitted(ylo, yhi, 8, f.y1 - f.y0, false);
  if (c.ymin < c.ymax) {  // a fixed range keeps its ends exactly
    f.ty = nice_ticks(ylo, yhi, 8);
  }

  std::string o;
  o.reserve(4096 + 24 * c.series.size() * (c.series.empty() ? 0 : c.series[0].x.size()));
  o += "<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"chart\" width=\"" + px(c.width) + "\" height=\"" +
       px(c.height) + "\" viewBox=\"0 0 " + px(c.width) + " " + px(c.height) +
       "\" font-family=\"sans-serif\" font-size=\"10\">";
  o += "<title>" + escape(c.title) + "</title>";
  o += "<rect x=\"0\" y=\"0\" width=\"" + px(c.width) + "\" height=\"" + px(c.height) + "\" fill=\"#ffffff\"/>";
  text(o, c.width / 2, 13, "middle", c.title, " font-size=\"11\" font-weight=\"bold\"");
  // Legend.
  int row = 0;
  if (c.legend)
    for (const Series& s : c.series) {
      if (s.name.empty()) continue;
      const double y = 22 + row * ROWH + 6;
      line(o, f.x0, y - 3, f.x0 + 16, y - 3,
           std::string("stroke=\"") + colour(s.color) + "\" stroke-width=\"2\"" +
               (s.dashed ? " stroke-dasharray=\"4 2\"" : ""));
      text(o, f.x0 + 20, y, "start", s.name);
      ++row;
    }
  // Grid and ticks.
  o += "<g class=\"axes\" stroke=\"#dddddd\" stroke-width=\"1\">";
  for (long long k = f.tx.first; k <= f.tx.last; ++k) {
    const double X = f.X(static_cast<double>(k) * f.tx.step);
    o += "<g class=\"xtick\">";
    line(o, X, f.y0, X, f.y1, "");
    text(o, X, f.y1 + 12, "middle", tick_text(f.tx, k), " stroke=\"none\" fill=\"#333333\"");
    o += "</g>";
  }
  for (long long k = f.ty.first; k <= f.ty.last; ++k) {
    const double Y = f.Y(static_cast<double>(k) * f.ty.step);
    o += "<g class=\"ytick\">";
    line(o, f.x0, Y, f.x1, Y, "");
    text(o, f.x0 - 4, Y + 3.5, "end", tick_text(f.ty, k), " stroke=\"none\" fill=\"#333333\"");
    o += "</g>";
  }
  o += "</g>";
  o += "<rect x=\"" + px(f.x0) + "\" y=\"" + px(f.y0) + "\" width=\"" + px(f.x1 - f.x0) + "\" height=\"" +
       px(f.y1 - f.y0) + "\" fill=\"none\" stroke=\"#555555\"/>";
  // Zero lines.
  line(o, f.X(0), f.y0, f.X(0), f.y1, "class=\"zero\" stroke=\"#000000\" stroke-width=\"1\"");
  if (!c.depth_down) line(o, f.x0, f.Y(0), f.x1, f.Y(0), "class=\"zero\" stroke=\"#000000\" stroke-width=\"1\"");
  // Axis labels.
  text(o, (f.x0 + f.x1) / 2, c.height - 6, "middle", c.xlabel);
  o += "<text x=\"12\" y=\"" + px((f.y0 + f.y1) / 2) + "\" text-anchor=\"middle\" transform=\"rotate(-90 12 " +
       px((f.y0 + f.y1) / 2) + ")\">" + escape(c.ylabel) + "</text>";
  // Reference levels; levels at one depth share a line and a label.
  std::vector<Level> levels;
  for (const Level& l : c.levels) {
    auto same = std::find_if(levels.begin(), levels.end(), [&](const Level& k) { return k.y == l.y; });
    if (same == levels.end()) {
      levels.push_back(l);
    } else {
      same->text += ", " + l.text;
    }
  }
  for (const Level& l : levels) {
    if (!(l.y >= f.ty.lo() && l.y <= f.ty.hi())) continue;
    const double Y = f.Y(l.y);
    const bool water = l.css == "water";
    line(o, f.x0, Y, f.x1, Y,
         "class=\"" + l.css + "\" stroke=\"" + (water ? "#3b7dd8" : "#8b5a2b") +
             "\" stroke-width=\"1\" stroke-dasharray=\"5 3\"");
    text(o, f.x0 + 2, Y - 2, "start", l.text, std::string(" font-size=\"8\" fill=\"") + (water ? "#3b7dd8" : "#8b5a2b") + "\"");
  }
  // Series.
  for (const Series& s : c.series) {
    const std::string head = "<polyline class=\"series\" data-series=\"" + escape(s.key) + "\" data-stage=\"" +
                             std::to_string(s.stage) + "\" fill=\"none\" stroke=\"" + colour(s.color) +
                             "\" stroke-width=\"1.6\"" + (s.dashed ? " stroke-dasharray=\"4 2\"" : "") + " points=\"";
    std::string pts;
    const auto flush = [&] {
      if (!pts.empty()) o += head + pts + "\"/>";
      pts.clear();
    };
    const std::size_t n = std::min(s.x.size(), s.y.size());
    for (std::size_t i = 0; i < n; ++i) {
      if (!finite(s.x[i]) || !finite(s.y[i])) {
        flush();
        continue;
      }
      if (!pts.empty()) pts += ' ';
      pts += px(f.X(s.x[i]));
      pts += ',';
      pts += px(f.Y(s.y[i]));
    }
    flush();
  }
  // Notes: a marker and its text, kept inside the plot.
  for (const Note& n : c.notes) {
    if (!finite(n.x) || !finite(n.y)) continue;
    const double X = f.X(n.x), Y = f.Y(n.y);
    o += "<circle class=\"note\" cx=\"" + px(X) + "\" cy=\"" + px(Y) + "\" r=\"3\" fill=\"#000000\"/>";
    // The text on the side with more room, kept inside the chart.
    const double W = 5.2 * static_cast<double>(n.text.size());
    const bool left = X - f.x0 > f.x1 - X;
    const double TX = left ? std::max(X - 5, W + 2) : std::min(X + 5, c.width - W - 2);
    const double TY = std::clamp(Y + (Y < f.y0 + 14 ? 12.0 : -5.0), f.y0 + 10, f.y1 - 3);
    text(o, TX, TY, left ? "end" : "start", n.text, " font-size=\"9\" font-weight=\"bold\"");
  }
  o += "</svg>";
  return o;
}

std::string wall(const Wall& w) {
  Frame f;
  f.down = true;
  f.x0 = 50;
  f.x1 = w.width - 10;
  f.y0 = 22 + std::max(w.legend_rows, 0) * ROWH + 6;
  f.y1 = w.height - 34;
  f.tx = nice_ticks(0, 1, 1);
  f.ty = nice_ticks(w.ymin, w.ymax > w.ymin ? w.ymax : w.ymin + 1, 8);
  const double XW = f.x0 + 0.58 * (f.x1 - f.x0);  // the wall's axis
  const double TOP = f.Y(0), TIP = f.Y(w.length), BOT = f.y1;
  std::string o;
  o += "<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"wall\" width=\"" + px(w.width) + "\" height=\"" +
       px(w.height) + "\" viewBox=\"0 0 " + px(w.width) + " " + px(w.height) +
       "\" font-family=\"sans-serif\" font-size=\"10\">";
  o += "<title>" + escape(w.title) + "</title>";
  o += "<rect x=\"0\" y=\"0\" width=\"" + px(w.width) + "\" height=\"" + px(w.height) + "\" fill=\"#ffffff\"/>";
  text(o, w.width / 2, 13, "middle", w.title, " font-size=\"11\" font-weight=\"bold\"");
  // Depth axis.
  o += "<g class=\"axes\" stroke=\"#dddddd\" stroke-width=\"1\">";
  for (long long k = f.ty.first; k <= f.ty.last; ++k) {
    const double Y = f.Y(static_cast<double>(k) * f.ty.step);
    o += "<g class=\"ytick\">";
    line(o, f.x0 - 3, Y, f.x0, Y, "stroke=\"#555555\"");
    text(o, f.x0 - 5, Y + 3.5, "end", tick_text(f.ty, k), " stroke=\"none\" fill=\"#333333\"");
    o += "</g>";
  }
  o += "</g>";
  line(o, f.x0, f.y0, f.x0, f.y1, "stroke=\"#555555\"");
  o += "<text x=\"12\" y=\"" + px((f.y0 + f.y1) / 2) + "\" text-anchor=\"middle\" transform=\"rotate(-90 12 " +
       px((f.y0 + f.y1) / 2) + ")\">" + escape(w.ylabel) + "</text>";
  // Ground: the backfill from the top, the excavation side from the excavation level.
  const auto rect = [&](double x, double y, double wd, double ht, const std::string& attrs) {
    if (wd <= 0 || ht <= 0) return;
    o += "<rect x=\"" + px(x) + "\" y=\"" + px(y) + "\" width=\"" + px(wd) + "\" height=\"" + px(ht) + "\" " + attrs + "/>";
  };
  const double EXC = std::clamp(f.Y(w.excavation), f.y0, BOT);
  rect(f.x0 + 1, std::max(TOP, f.y0), XW - f.x0 - 1, BOT - std::max(TOP, f.y0), "class=\"backfill\" fill=\"#e9d8b4\"");
  rect(XW, EXC, f.x1 - XW, BOT - EXC, "class=\"excavation\" fill=\"#e9d8b4\"");
  line(o, f.x0 + 1, std::max(TOP, f.y0), XW, std::max(TOP, f.y0), "stroke=\"#8b5a2b\" stroke-width=\"1.5\"");
  line(o, XW, EXC, f.x1, EXC, "class=\"excavation\" stroke=\"#8b5a2b\" stroke-width=\"1.5\"");
  text(o, f.x1 - 2, EXC < f.y0 + 12 ? EXC + 24 : EXC - 3, "end", w.excavation_text, " font-size=\"9\" fill=\"#8b5a2b\"");
  text(o, (f.x0 + XW) / 2, std::max(TOP, f.y0) + 12, "middle", "backfill", " font-size=\"9\" fill=\"#8b5a2b\"");
  // Water tables, where they lie along the axis.
  const auto water = [&](double z, double xa, double xb) {
    if (!(z >= f.ty.lo() && z <= f.ty.hi())) return;
    const double Y = f.Y(z), XM = (xa + xb) / 2;
    line(o, xa, Y, xb, Y, "class=\"water\" stroke=\"#3b7dd8\" stroke-width=\"1.5\"");
    o += "<path d=\"M" + px(XM - 4) + " " + px(Y - 7) + " L" + px(XM + 4) + " " + px(Y - 7) + " L" + px(XM) + " " +
         px(Y - 1) + " Z\" fill=\"#3b7dd8\"/>";
  };
  if (w.water) {
    water(w.water_backfill, f.x0 + 1, XW);
    water(w.water_excavation, XW, f.x1);
  }
  // The wall, and its tie backs into the backfill: the unbonded length, then the bond.
  rect(XW - 3, TOP, 6, TIP - TOP, "class=\"wallbody\" fill=\"#444444\"");
  text(o, XW + 5, std::min(TIP + 11, BOT + 10), "start", w.wall_text, " font-size=\"9\"");
  for (const Anchor& a : w.anchors) {
    const double Y = f.Y(a.depth);
    const double R = 0.85 * (XW - 3 - f.x0);
    const double T = a.angle * 3.14159265358979 / 180;
    const double DX = -std::cos(T), DY = std::sin(T);
    line(o, XW - 3, Y, XW - 3 + 0.6 * R * DX, Y + 0.6 * R * DY, "class=\"tieback\" stroke=\"#222222\" stroke-width=\"1.5\"");
    line(o, XW - 3 + 0.6 * R * DX, Y + 0.6 * R * DY, XW - 3 + R * DX, Y + R * DY,
         "stroke=\"#222222\" stroke-width=\"4\"");
    text(o, XW + 5, Y + 3, "start", a.label, " font-size=\"9\"");
  }
  o += "</svg>";
  return o;
}

}  // namespace svg
