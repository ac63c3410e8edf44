// soilcase.h -- a model with a soil profile for the soil-resistance tests: report,
// curve-exchange file and console in memory or in a scratch directory, and readers of
// the curves the report shows.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "../engine.h"
#include "soil/soil_impl.h"

struct SoilCase : Engine {
  // SI wall of 100 increments of 0.1 m, excavation 3 m down, WA = 4 WP (no closely-spaced
  // reduction), no water, no pressure table, static loading; layers added by LAYER.
  SoilCase() : Engine("soil") {
    u.open_memory_output(LOUT, "report");
    auto& C = m.C;
    C.IUNIT = SI;
    C.NI = 100;
    C.H = 0.1;
    C.XEXC = 3.0;
    C.KPYGEN = 2;
    auto& S = m.SOIL;
    S.WA = 4.0;
    S.WP = 1.0;
    S.ZWA = 100;
    S.ZWP = 100;
    S.KSTAT = 1;
    S.CYCLES = 0;
    m.D.NAMES[9] = (dir / "in.pyc").string();
  }
  // English wall: 100 increments of 12 in, excavation 120 in down.
  void english() {
    m.C.IUNIT = ENGLISH;
    m.C.H = 12.0;
    m.C.XEXC = 120.0;
    m.SOIL.ZWA = 10000;
    m.SOIL.ZWP = 10000;
  }
  // One input layer down to ZBOT (below the top of the wall).
  void layer(int type, double zbot, double gamma, double stop, double sbot, double e50top = 0.01,
             double e50bot = 0.01, double phitop = 0, double phibot = 0) {
    auto& S = m.SOIL;
    const int J = ++S.NL;
    S.LTYPE(J) = type;
    S.ZBOT(J) = zbot;
    S.GAMMA(J) = gamma;
    S.STRTOP(J) = stop;
    S.STRBOT(J) = sbot;
    S.E50TOP(J) = e50top;
    S.E50BOT(J) = e50bot;
    S.PHITOP(J) = phitop;
    S.PHIBOT(J) = phibot;
  }
  std::string report() const { return u.text(LOUT); }
  std::string console() const { return u.text(0); }
  void write(const std::string& name, const std::string& text) const {
    std::ofstream f(dir / name, std::ios::binary);
    f << text;
  }
};

inline std::vector<std::string> split_lines(const std::string& t) { return Engine::split(t); }

// The (y, p) point lines of the curve tables in a report: every line of 21 blanks and
// two numbers. Returns the curves in order, 17 points each.
struct Pts {
  std::vector<double> y, p;
};
inline std::vector<Pts> report_curves(const std::string& report) {
  std::vector<Pts> curves;
  Pts cur;
  for (const auto& s : split_lines(report)) {
    if (s.size() != 61 || s.compare(0, 21, std::string(21, ' ')) != 0) continue;
    double y = 0, p = 0;
    char extra = 0;
    if (std::sscanf(s.c_str(), "%lf %lf %c", &y, &p, &extra) != 2) continue;
    cur.y.push_back(y);
    cur.p.push_back(p);
    if (cur.y.size() == NPYP) {
      curves.push_back(cur);
      cur = Pts{};
    }
  }
  return curves;
}
